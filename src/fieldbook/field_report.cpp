#include "fieldbook/field_report.h"

#include <algorithm>
#include <cmath>

#include "notation/angles.h"
#include "notation/format.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

constexpr NumberMask kFeet = "######0.000";
constexpr NumberMask kSeconds = "##0.0";
constexpr int kLabelWidth = 20, kValueWidth = 12, kSetAngleWidth = 14, kSecondsWidth = 9, kSpreadWidth = 8;

class ReportWriter {
 public:
  ReportWriter(const FieldReportContext& context, const std::function<void(const std::string&)>& write)
      : context_(context), write_(write) {}

  void Heading(const ReductionResult& result) {
    write_("");
    write_("Raw Data from " + context_.fileName + " (" + std::string(RawFormatCode(context_.format)) + ")");
    for (const std::string& setting : result.settings) write_(setting);
  }

  void operator()(const SetupRow& row) {
    write_("");
    std::string line = "Setup on " + Label(row.station) + " (record " + std::to_string(row.record) + ")";
    if (row.instrumentHeight) line += ", HI " + Trimmed(*row.instrumentHeight);
    if (row.freeStation) line += ", a free station as the instrument computed it";
    write_(line);
    setHeading_ = false;
  }

  void operator()(const BacksightRow& row) {
    if (row.oriented) return write_("Circle oriented in the field (record " + std::to_string(row.record) + ")");
    std::string line = "Backsight";
    if (row.point) line += " " + Label(*row.point);
    if (row.azimuth) {
      line += " Azimuth ";
      AppendAngle(line, *row.azimuth, "z");
      TrimEnd(line);
    } else {
      line += ", no back azimuth: readings to be oriented are skipped";
    }
    if (row.givenAzimuth) {
      line += " (the file gives ";
      AppendAngle(line, *row.givenAzimuth, "z");
      TrimEnd(line);
      line += ")";
    }
    write_(line + " (record " + std::to_string(row.record) + ")");
  }

  void operator()(const CheckRow& row) {
    std::string& heading = Row();
    heading = "Backsight Check " + Label(row.target);
    int computedWidth = kLabelWidth + kValueWidth - static_cast<int>(heading.size());
    AppendPadded(heading, "Computed", std::max(computedWidth, 9));
    AppendPadded(heading, "Measured", kValueWidth);
    AppendPadded(heading, "Difference", kValueWidth);
    write_(heading);
    Compared("Horizontal Distance", row.computedDistance, row.measuredDistance);
    if (row.computedElevation && row.measuredElevation)
      Compared("Elevation", *row.computedElevation, *row.measuredElevation);
    std::string& direction = Row();
    direction = "Direction";
    AppendPadded(direction, FormatMask(RadiansToSeconds(row.angleError), kSeconds),
                 kLabelWidth + 3 * kValueWidth - static_cast<int>(direction.size()));
    write_(direction + " s");
    setHeading_ = false;  // sets after the check get their heading again
  }

  void operator()(const SetRow& row) {
    if (!setHeading_) {
      std::string& heading = Row();
      heading = "Set to      Rounds";
      // An angle is written with a blank after its seconds.
      AppendPadded(heading, row.backsight ? "Angle Right" : "Azimuth", kSetAngleWidth - 1);
      heading += " ";
      // Seconds columns end in " s".
      for (const char* column : {"Spread", "Collim.", "Index"}) {
        AppendPadded(heading, column, kSecondsWidth - 2);
        heading += "  ";
      }
      AppendPadded(heading, "Slope Dist", kValueWidth - 2);
      AppendPadded(heading, "Spread", kSpreadWidth);
      write_(heading);
      setHeading_ = true;
    }
    std::string& line = Row();
    line = Label(row.target);
    AppendPadded(line, std::to_string(row.rounds), 18 - static_cast<int>(line.size()));
    AppendAngle(line, row.direction, "z", kSetAngleWidth);
    AppendSeconds(line, row.spread);
    if (row.collimation) AppendSeconds(line, *row.collimation);
    else AppendPadded(line, "", kSecondsWidth);
    if (row.indexError) AppendSeconds(line, *row.indexError);
    else AppendPadded(line, "", kSecondsWidth);
    if (row.slopeDistance) AppendMask(line, *row.slopeDistance, kFeet, kValueWidth);
    if (row.distanceSpread) AppendMask(line, *row.distanceSpread, "0.000", kSpreadWidth);
    TrimEnd(line);
    if (row.flagged) {
      line += " *";
      ++flaggedSets_;
    }
    write_(line);
  }

  void operator()(const TraverseRow& row) {
    std::string& line = Row();
    line = "Traverse ";
    if (row.angleRight) {
      line += Label(*row.backsight) + "-" + Number(row.station) + "-" + Number(row.target) + " Angle Right ";
      AppendAngle(line, *row.angleRight, "z");
    } else {
      line += Label(row.station) + "-" + Number(row.target) + " Azimuth ";
      AppendAngle(line, row.azimuth, "z");
    }
    TrimEnd(line);
    line += ", Horizontal Distance " + Trimmed(row.horizontalDistance);
    write_(line);
  }

  void operator()(const AgainRow& row) {
    static const char* kAgain[] = {"given again", "given again by GNSS", "occupied again", "observed again",
                                   "computed again by the instrument"};
    write_(Label(row.id) + " " + kAgain[static_cast<int>(row.source)] + " (record " + std::to_string(row.record) +
           "), differs by" + Differences(row.dNorth, row.dEast, row.dElevation));
  }

  void operator()(const InstrumentRow& row) {
    write_(Label(row.id) + " (record " + std::to_string(row.record) + ") differs from the instrument's coordinates by" +
           Differences(row.dNorth, row.dEast, row.dElevation));
  }

  void operator()(const NoteRow& row) { write_("Note (record " + std::to_string(row.record) + "): " + row.text); }

  void Skipped(const ReductionResult& result) {
    if (result.skippedCount == 0) return;
    write_("");
    write_("Records Skipped");
    for (const SkippedRecord& skipped : result.skipped)
      write_("Record " + std::to_string(skipped.record) + ": " + skipped.reason);
    int64_t more = result.skippedCount - static_cast<int64_t>(result.skipped.size());
    if (more > 0) write_("and " + std::to_string(more) + (more == 1 ? " more record" : " more records"));
  }

  void Flagged() {
    if (flaggedSets_ == 0) return;
    write_("");
    write_(std::to_string(flaggedSets_) + (flaggedSets_ == 1 ? " set spreads" : " sets spread") + " more than " +
           FormatMask(RadiansToSeconds(context_.setTolerance), kSeconds) + " s (marked *)");
  }

 private:
  std::string& Row() {
    row_.clear();
    return row_;
  }
  std::string Label(const std::string& id) const { return context_.pointLabel(id); }
  // The label's number alone, after a first "Pt ".
  std::string Number(const std::string& id) const {
    std::string label = Label(id);
    return label.starts_with("Pt ") ? label.substr(3) : label;
  }
  static std::string Trimmed(double feet) { return FormatMask(feet, "0.000"); }
  static void TrimEnd(std::string& line) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
  }
  static void AppendSeconds(std::string& line, double radians) {
    AppendPadded(line, FormatMask(RadiansToSeconds(radians), kSeconds) + " s", kSecondsWidth);
  }
  static std::string Differences(double dNorth, double dEast, std::optional<double> dElevation) {
    std::string text = " dN " + Trimmed(dNorth) + ", dE " + Trimmed(dEast);
    if (dElevation) text += ", dZ " + Trimmed(*dElevation);
    return text;
  }
  void Compared(const char* label, double computed, double measured) {
    std::string& line = Row();
    line = label;
    AppendMask(line, computed, kFeet, kLabelWidth + kValueWidth - static_cast<int>(line.size()));
    AppendMask(line, measured, kFeet, kValueWidth);
    AppendMask(line, measured - computed, kFeet, kValueWidth);
    write_(line);
  }

  const FieldReportContext& context_;
  const std::function<void(const std::string&)>& write_;
  std::string row_;
  bool setHeading_ = false;
  int flaggedSets_ = 0;
};

}  // namespace

void WriteFieldReport(const ReductionResult& result, const FieldReportContext& context,
                      const std::function<void(const std::string&)>& write) {
  ReportWriter writer(context, write);
  writer.Heading(result);
  for (const ReductionRow& row : result.rows) std::visit(writer, row);
  writer.Flagged();
  writer.Skipped(result);
}

}  // namespace vantrel
