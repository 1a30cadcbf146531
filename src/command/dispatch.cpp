#include "command/dispatch.h"

#include <cstdint>
#include <iterator>

#include "command/commands.h"
#include "command/session.h"

namespace vantrel {
namespace {

constexpr CommandBranch kBranches[] = {
    {{"CLR"}, ClearPointsCommand},
    {{"ROT"}, RotatePointsCommand},
    {{"KWN"}, KnownPointsCommand},
    {{"DSC"}, DisplayPointsCommand},
    {{"COM"}, CommentCommand},
    {{"DCF"}, SavePointFileCommand},
    {{"RCF"}, ReadPointFileCommand},
    {{"TAX"}, TranslateAxesCommand},
    {{"DAB"}, InverseBearingCommand},
    {{"ANG"}, InverseAngleCommand},
    {{"AZM"}, InverseAzimuthCommand},
    {{"DIS"}, InverseDistanceCommand},
    {{"DSA"}, ListAngleRegistersCommand},
    {{"DSD"}, ListDistanceRegistersCommand},
    {{"TAN"}, TangentToCirclesCommand},
    {{"PLL"}, ParallelLineCommand},
    {{"LZB"}, LocateByAzimuthCommand},
    {{"LAD"}, LocateByAngleCommand},
    {{"LLN"}, LocateOnLineCommand},
    {{"DVA"}, DivideArcCommand},
    {{"DVL"}, DivideLineCommand},
    {{"PTS"}, IntersectPointLinesCommand},
    {{"ZBI"}, IntersectDirectionsCommand},
    {{"ARR"}, IntersectCirclesCommand},
    {{"TOF"}, FootOfPerpendicularCommand},
    {{"ALI", "AZB"}, IntersectArcLineCommand},
    {{"TAA", "TAB"}, EnterTraverseCommand},
    {{"PAJ"}, AdjustPointsCommand},
    {{"TPR", "ARE"}, FigureAreaCommand},
    {{"DDF", "DAF"}, SaveRegisterFileCommand},
    {{"RDF", "RAF"}, ReadRegisterFileCommand},
    {{"RTH"}, RegisterEquationCommand},
    {{"CPA"}, PointOnArcCommand},
    {{"ARC"}, ArcLengthCommand},
    {{"MAP"}, MapPointsCommand},
    {{"HA1", "HA2"}, CurveFromPointsCommand},
    {{"HA3"}, CurveFromDeflectionCommand},
    {{"GRF"}, GpsReferenceCommand},
    {{"GPS"}, GpsToGridCommand},
    {{"GDS"}, ListGpsCoordinatesCommand},
    {{"DES"}, DescribePointsCommand},
    {{"DSE"}, DisplayPointsWithDescriptionsCommand},
    {{"PNW"}, WriteCsvPointsCommand},
    {{"PNR"}, ReadCsvPointsCommand},
    {{"LSQ"}, LeastSquaresCommand},
    {{"DXF"}, WriteDxfCommand},
    {{"LXW"}, WriteLandXmlCommand},
    {{"LXR"}, ReadLandXmlCommand},
    {{"GCS"}, CoordinateSystemCommand, true},
    {{"MCK"}, MapCheckCommand},
    {{"CUT"}, AreaCutCommand},
    {{"LDW"}, LegalDescriptionCommand},
    {{"RAW"}, RawDataCommand},
    {{"ALN"}, AlignmentCommand},
    {{"SOF"}, StationOffsetCommand},
    {{"LSO"}, StakeoutCommand},
    {{"VCV"}, VerticalCurveCommand},
};

// Every data line looks its branch up, so the codes are compared as
// numbers, without a call per code: a three-character code packed into
// one, 0 for any other text (and for a branch's missing second code).
constexpr uint32_t CodeKey(std::string_view code) {
  if (code.size() != 3) return 0;
  return static_cast<uint32_t>(static_cast<unsigned char>(code[0])) |
         static_cast<uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(code[2])) << 16;
}

}  // namespace

const CommandBranch* FindBranch(std::string_view code) {
  static const auto kBranchKeys = [] {
    std::array<std::array<uint32_t, 2>, std::size(kBranches)> keys;
    for (size_t k = 0; k < keys.size(); ++k) keys[k] = {CodeKey(kBranches[k].codes[0]), CodeKey(kBranches[k].codes[1])};
    return keys;
  }();
  uint32_t key = CodeKey(code);
  if (key == 0) return nullptr;
  for (size_t k = 0; k < kBranchKeys.size(); ++k)
    if (kBranchKeys[k][0] == key || kBranchKeys[k][1] == key) return &kBranches[k];
  return nullptr;
}

Outcome RunCommand(Session& session, const CommandBranch* branch) {
  if (branch == nullptr || branch->run == nullptr) return Outcome::Completed;
  return branch->run(session);
}

}  // namespace vantrel
