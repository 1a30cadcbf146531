#include "command/dispatch.h"

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
};

}  // namespace

const CommandBranch* FindBranch(std::string_view code) {
  for (const CommandBranch& branch : kBranches)
    if (branch.codes[0] == code || (!branch.codes[1].empty() && branch.codes[1] == code)) return &branch;
  return nullptr;
}

Outcome RunCommand(Session& session) {
  const CommandBranch* branch = FindBranch(session.CurrentCommand);
  if (branch == nullptr || branch->run == nullptr) return Outcome::Completed;
  return branch->run(session);
}

}  // namespace vantrel
