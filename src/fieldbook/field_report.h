// The reduction report of a raw file, as a surveyor reads it: the units and
// corrections, then for every setup its station, backsight, backsight check,
// set means with their spreads and the traverse courses, the points met
// again and the records skipped, each with its record.
#pragma once

#include <functional>
#include <string>

#include "fieldbook/raw_readers.h"
#include "fieldbook/reduction.h"

namespace vantrel {

struct FieldReportContext {
  std::string fileName;  // without its folder
  RawFormat format;
  double setTolerance;   // radians
  // How a point id is shown: "Pt 12", the number it is stored under.
  std::function<std::string(const std::string& id)> pointLabel;
};

// Writes every row through `write`, the points themselves excepted (the
// command lists them as they are stored).
void WriteFieldReport(const ReductionResult& result, const FieldReportContext& context,
                      const std::function<void(const std::string&)>& write);

}  // namespace vantrel
