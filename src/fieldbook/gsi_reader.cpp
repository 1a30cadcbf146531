// Leica GSI-8 and GSI-16: one block a line (GSI-16 blocks start with '*'),
// words of fixed width separated by blanks. A word opens with its word
// index (WI): 11 point id, 21 horizontal circle, 22 zenith, 31 slope and 32
// horizontal distance, 81-83 target east, north and height, 84-86 station
// east, north and height, 87 target and 88 instrument height, 71-79
// remarks. Position 5 is the input mode, position 6 the unit of the value,
// position 7 its sign, then 8 or 16 characters of data. GSI has no setup
// record: a block with station coordinates starts one, and the circle is
// the orientation the instrument was given in the field.
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "fieldbook/raw_readers.h"
#include "notation/numbers.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

// Word lengths without the blank that ends them: GSI-8 and GSI-16.
constexpr size_t kShortWord = 15, kLongWord = 23;
// A GSI-8 word holds at most 99 999.999 m: values near it may have lost
// their leading digits.
constexpr double kShortWordLimit = 99000;

struct GsiValue {
  std::optional<double> number;  // feet or radians
  std::string text;              // ids, codes and remarks
};

class GsiReader : public RawLineReader {
 public:
  GsiReader(Reduction& reduction, FootKind foot) : reduction_(reduction), foot_(foot) {}

  void Line(std::string_view line) override {
    // GeoEasy's marks for lines that hold no block.
    if (line.front() == '!' || line.front() == '\x03') return;
    if (line.front() == '*') line.remove_prefix(1);
    words_.clear();
    id_.clear();
    short_ = false;
    while (!line.empty()) {
      size_t start = line.find_first_not_of(' ');
      if (start == std::string_view::npos) break;
      line.remove_prefix(start);
      std::string_view word = line.substr(0, line.find(' '));
      line.remove_prefix(word.size());
      if (!Word(word)) return;
    }
    Block();
  }

 private:
  // Decodes one word into words_; false (after a skip or failure) when the
  // block cannot be read.
  bool Word(std::string_view word) {
    if (word.size() != kShortWord && word.size() != kLongWord) {
      reduction_.Skip("a GSI word of " + std::to_string(word.size()) + " characters (words hold 16 or 24)");
      return false;
    }
    short_ = short_ || word.size() == kShortWord;
    // Point and code ids carry a block number where other words carry
    // their flags.
    std::string_view opener = word.substr(0, 2);
    if (opener == "11" || opener == "41") {
      std::string_view data = word.substr(7);
      size_t digit = data.find_first_not_of('0');
      std::string text(digit == std::string_view::npos ? std::string_view("0") : data.substr(digit));
      if (opener == "11") id_ = text;
      else code_ = text;
      return true;
    }
    if (std::isdigit(static_cast<unsigned char>(word[2]))) {
      int index = (word[0] - '0') * 100 + (word[1] - '0') * 10 + (word[2] - '0');
      if ((index >= 330 && index <= 336) || (index >= 571 && index <= 574)) {
        reduction_.Fail("a level (DNA) file: staff readings are not total station data");
        return false;
      }
      return true;  // dates, times, versions, job and operator
    }
    if (!std::isdigit(static_cast<unsigned char>(word[0])) || !std::isdigit(static_cast<unsigned char>(word[1]))) {
      reduction_.Skip("a GSI word without a word index");
      return false;
    }
    int index = (word[0] - '0') * 10 + (word[1] - '0');
    char mode = word[4], unit = word[5], sign = word[6];
    std::string_view data = word.substr(7);
    if (index >= 42 && index <= 49) {
      size_t digit = data.find_first_not_of('0');
      if (digit != std::string_view::npos) code_ += " " + std::string(data.substr(digit));
      return true;
    }
    if (index >= 71 && index <= 79) {
      size_t digit = data.find_first_not_of('0');
      if (remark_.empty() && digit != std::string_view::npos) remark_ = std::string(data.substr(digit));
      return true;
    }
    bool length = index == 31 || index == 32 || index == 33 || (index >= 81 && index <= 88);
    bool angle = index == 21 || index == 22;
    if (!length && !angle) return true;  // instrument, ppm and other words
    // A value of dashes is no value.
    if (data.find('-') != std::string_view::npos) return true;
    std::optional<double> value = Value(data, unit, length);
    if (!value) {
      if (!reduction_.Failed())
        reduction_.Skip("a GSI word " + std::to_string(index) + " whose value cannot be read");
      return false;
    }
    if (sign == '-') *value = -*value;
    if (length && short_ && std::abs(*value) >= kShortWordLimit * toFeet_)
      reduction_.Setting("A GSI-8 coordinate near 99 999.999: its leading digits may be cut off");
    if (index == 84 || index == 85) freeStation_ = freeStation_ || mode == '4';
    words_.push_back({index, *value});
    return true;
  }

  // The value of a word's data in feet or radians, from its unit digit.
  std::optional<double> Value(std::string_view data, char unit, bool length) {
    static constexpr int kDecimals[] = {3, 3, 5, 5, 5, 4, 4, 4, 5};
    if (unit < '0' || unit > '8') return std::nullopt;
    int u = unit - '0';
    bool metres = u == 0 || u == 6 || u == 8, feet = u == 1 || u == 7;
    if (length != (metres || feet)) return std::nullopt;
    if (length && !LengthUnitIs(metres ? LengthUnit::Metre : LengthUnit::Foot)) return std::nullopt;
    if (u == 4) {
      reduction_.Setting("Angles in degrees, minutes and seconds");
      // Packed DMS: DDDMMSSs with tenths of a second last.
      if (data.find('.') != std::string_view::npos) return PackedDegreesText(data);
      size_t digit = data.find_first_not_of('0');
      std::string digits(digit == std::string_view::npos ? std::string_view("0") : data.substr(digit));
      if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
      return PackedDegreesText(digits.substr(0, digits.size() - 5) + "." + digits.substr(digits.size() - 5));
    }
    std::optional<double> number;
    if (data.find('.') != std::string_view::npos) {
      number = PlainDecimal(data);
    } else if (data.find_first_not_of("0123456789") == std::string_view::npos) {
      long long whole = 0;
      auto [end, error] = std::from_chars(data.data(), data.data() + data.size(), whole);
      if (error == std::errc() && end == data.data() + data.size())
        number = static_cast<double>(whole) / std::pow(10.0, kDecimals[u]);
    }
    if (!number) return std::nullopt;
    if (length) return *number * toFeet_;
    static const char* kAngleUnits[] = {"", "", "Angles in gon", "Angles in decimal degrees", "", "Angles in mil"};
    reduction_.Setting(kAngleUnits[u]);
    if (u == 2) return GonToRadians(*number);
    if (u == 3) return DegreesToRadians(*number);
    return MilToRadians(*number);
  }

  // The file's one length unit: the first length word decides it, and a
  // word in the other unit fails the file.
  bool LengthUnitIs(LengthUnit unit) {
    if (!unitKnown_) {
      unitKnown_ = true;
      unit_ = unit;
      toFeet_ = FeetPerUnit(unit, foot_);
      reduction_.Setting(unit == LengthUnit::Metre
                             ? std::string("Distances in metres, converted to ") +
                                   (foot_ == FootKind::UsSurvey ? "US survey feet" : "international feet")
                             : std::string("Distances in feet (GSI does not say which foot)"));
      return true;
    }
    if (unit == unit_) return true;
    reduction_.Fail("distances in " + std::string(LengthUnitName(unit)) + " after " +
                    std::string(LengthUnitName(unit_)) + " earlier in the file: mixed units are not reduced");
    return false;
  }

  std::optional<double> Find(int index) const {
    for (const auto& [i, value] : words_)
      if (i == index) return value;
    return std::nullopt;
  }

  void Block() {
    std::optional<double> circle = Find(21), stationEast = Find(84), stationNorth = Find(85);
    std::string note = std::move(remark_);
    remark_.clear();
    bool freeStation = freeStation_;
    freeStation_ = false;
    if (id_.empty()) {
      if (!code_.empty()) return;  // a code block, for the next measured point
      return reduction_.Skip("a GSI block without a point id (WI 11)");
    }
    if (stationEast && stationNorth) {
      FieldPosition at{*stationNorth, *stationEast, Find(86)};
      std::optional<double> instrument = Find(88);
      // A station block repeated as it was starts no new setup.
      bool same = lastStation_ && lastStation_->first == id_ && lastStation_->second.north == at.north &&
                  lastStation_->second.east == at.east && lastStation_->second.elevation == at.elevation;
      if (same) return;
      lastStation_ = {id_, at};
      if (!instrument) reduction_.Note("station " + id_ + " without an instrument height (WI 88)");
      reduction_.Occupy(id_, at, instrument, note, freeStation);
      reduction_.Heights(std::nullopt, Find(87));
      Backsight oriented;
      oriented.oriented = true;
      reduction_.Sight(oriented);
      return;
    }
    if (circle) {
      Reading reading;
      reading.target = id_;
      reading.horizontalKind = Horizontal::Circle;
      reading.horizontal = *circle;
      reading.zenith = Find(22);
      reading.slopeDistance = Find(31);
      if (!reading.slopeDistance) reading.horizontalDistance = Find(32);
      if (!reading.zenith && reading.horizontalDistance) reading.heightDifference = Find(33);
      reading.targetHeight = Find(87);
      std::optional<double> east = Find(81), north = Find(82);
      if (east && north) reading.instrumentResult = FieldPosition{*north, *east, Find(83)};
      reading.note = note.empty() ? std::move(code_) : note;
      code_.clear();
      if (std::optional<double> instrument = Find(88)) reduction_.Heights(instrument, std::nullopt);
      if (reading.targetHeight) reduction_.Heights(std::nullopt, reading.targetHeight);
      return reduction_.Observe(std::move(reading));
    }
    std::optional<double> east = Find(81), north = Find(82);
    if (east && north) return reduction_.Given(id_, {*north, *east, Find(83)}, note, FieldSource::Given);
    reduction_.Skip("a GSI block " + id_ + " with neither station, coordinates nor angles");
  }

  Reduction& reduction_;
  FootKind foot_;
  std::vector<std::pair<int, double>> words_;
  std::string id_, code_, remark_;
  bool short_ = false, freeStation_ = false;
  LengthUnit unit_ = LengthUnit::Metre;
  bool unitKnown_ = false;
  double toFeet_ = 1;
  std::optional<std::pair<std::string, FieldPosition>> lastStation_;
};

}  // namespace

std::unique_ptr<RawLineReader> MakeGsiReader(Reduction& reduction, FootKind foot) {
  return std::make_unique<GsiReader>(reduction, foot);
}

}  // namespace vantrel
