// The plot window's transforms, kept between map lines.
#pragma once

namespace vantrel {

struct PlotState {};

}  // namespace vantrel
