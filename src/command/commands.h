// Every command's branch, one line each, grouped by the subsystem that
// implements it. A branch reads its groups from the session's argument store
// and says whether it ended normally or stopped early.
#pragma once

namespace vantrel {

class Session;
enum class Outcome;

// command/
Outcome CommentCommand(Session&);                // COM

// store/
Outcome ClearPointsCommand(Session&);            // CLR
Outcome RotatePointsCommand(Session&);           // ROT
Outcome KnownPointsCommand(Session&);            // KWN
Outcome DisplayPointsCommand(Session&);          // DSC
Outcome TranslateAxesCommand(Session&);          // TAX
Outcome SavePointFileCommand(Session&);          // DCF
Outcome ReadPointFileCommand(Session&);          // RCF
Outcome ListAngleRegistersCommand(Session&);     // DSA
Outcome ListDistanceRegistersCommand(Session&);  // DSD
Outcome SaveRegisterFileCommand(Session&);       // DDF, DAF
Outcome ReadRegisterFileCommand(Session&);       // RDF, RAF
Outcome RegisterEquationCommand(Session&);       // RTH
Outcome DescribePointsCommand(Session&);         // DES
Outcome DisplayPointsWithDescriptionsCommand(Session&);  // DSE

// cogo/
Outcome InverseBearingCommand(Session&);         // DAB
Outcome InverseAngleCommand(Session&);           // ANG
Outcome InverseAzimuthCommand(Session&);         // AZM
Outcome InverseDistanceCommand(Session&);        // DIS
Outcome TangentToCirclesCommand(Session&);       // TAN
Outcome ParallelLineCommand(Session&);           // PLL
Outcome LocateByAzimuthCommand(Session&);        // LZB
Outcome LocateByAngleCommand(Session&);          // LAD
Outcome LocateOnLineCommand(Session&);           // LLN
Outcome DivideArcCommand(Session&);              // DVA
Outcome DivideLineCommand(Session&);             // DVL
Outcome IntersectPointLinesCommand(Session&);    // PTS
Outcome IntersectDirectionsCommand(Session&);    // ZBI
Outcome IntersectCirclesCommand(Session&);       // ARR
Outcome FootOfPerpendicularCommand(Session&);    // TOF

// curves/
Outcome IntersectArcLineCommand(Session&);       // ALI, AZB
Outcome PointOnArcCommand(Session&);             // CPA
Outcome ArcLengthCommand(Session&);              // ARC
Outcome CurveFromPointsCommand(Session&);        // HA1, HA2
Outcome CurveFromDeflectionCommand(Session&);    // HA3

// traverse/
Outcome EnterTraverseCommand(Session&);          // TAA, TAB
Outcome AdjustPointsCommand(Session&);           // PAJ

// area/
Outcome FigureAreaCommand(Session&);             // TPR, ARE

// map/
Outcome MapPointsCommand(Session&);              // MAP
Outcome WriteDxfCommand(Session&);               // DXF

// gps/
Outcome GpsReferenceCommand(Session&);           // GRF
Outcome GpsToGridCommand(Session&);              // GPS
Outcome ListGpsCoordinatesCommand(Session&);     // GDS
Outcome CoordinateSystemCommand(Session&);       // GCS

// exchange/
Outcome WriteCsvPointsCommand(Session&);         // PNW
Outcome ReadCsvPointsCommand(Session&);          // PNR
Outcome WriteLandXmlCommand(Session&);           // LXW
Outcome ReadLandXmlCommand(Session&);            // LXR

// adjust/
Outcome LeastSquaresCommand(Session&);           // LSQ

// deeds/
Outcome MapCheckCommand(Session&);               // MCK
Outcome AreaCutCommand(Session&);                // CUT
Outcome LegalDescriptionCommand(Session&);       // LDW
// fieldbook/
Outcome RawDataCommand(Session&);                // RAW
// route/
Outcome AlignmentCommand(Session&);              // ALN
Outcome StationOffsetCommand(Session&);          // SOF
Outcome StakeoutCommand(Session&);               // LSO
Outcome VerticalCurveCommand(Session&);          // VCV

}  // namespace vantrel
