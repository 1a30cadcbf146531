// The one door to PROJ: a projected coordinate system resolved from its
// text (EPSG:3566, ESRI:102700, a WKT or a PROJ string), converting latitude
// and longitude on the system's own datum to grid north/east and back, in
// the feet the point store holds. PROJ is loaded and its context created at
// the first selection; the context is released with this object.
#pragma once

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Grid coordinates in the store's feet: US survey feet for a system in US
// survey feet, international feet for every other linear unit.
struct GridPosition {
  double north = 0;
  double east = 0;
};

// Degrees on the system's own datum; north and east positive.
struct GeographicPosition {
  double latitude = 0;
  double longitude = 0;
};

// The grid's distortion at a position: the point scale factor (grid
// distance / ellipsoid distance, along the meridian) and the meridian
// convergence in radians (true azimuth minus grid azimuth: positive where
// grid north lies east of true north). The scale along the parallel equals
// the meridian's in a conformal system; in an equal-area one (Albers) they
// differ and no one factor holds for every line.
struct GridFactors {
  double scale = 1;
  double convergence = 0;
  double parallelScale = 1;

  bool Conformal() const { return std::fabs(parallelScale - scale) <= 1e-7 * scale; }
};

class ProjectedSystem {
 public:
  // `dataFolder`, when given, is the only place PROJ looks for proj.db.
  explicit ProjectedSystem(std::string dataFolder = {});
  ~ProjectedSystem();
  ProjectedSystem(const ProjectedSystem&) = delete;
  ProjectedSystem& operator=(const ProjectedSystem&) = delete;

  // Makes the system named by `text` the current one. Returns an empty
  // string, or the reason it was refused (PROJ's own words, or that it is
  // not a projected system); a refusal keeps the current system. With
  // `usSurveyFeet` a system in metres (or any unit but a foot) reaches the
  // store in US survey feet, as legacy projects keep them; a system in feet
  // is then refused.
  std::string Select(std::string_view text, bool usSurveyFeet = false);
  void Unselect();
  bool IsSelected() const;

  // The system's name and how its unit reaches the store ("US survey
  // feet", "feet", "metres converted to feet", "metres converted to US
  // survey feet").
  const std::string& Name() const;
  const std::string& UnitDescription() const;

  // False only when the system declares an area of use and the position
  // lies outside it.
  bool InAreaOfUse(GeographicPosition position) const;

  // The conversions; nothing when PROJ refuses the position (its reason in
  // `reason`) or the result is not a finite number.
  std::optional<GridPosition> ToGrid(GeographicPosition position, std::string& reason) const;
  std::optional<GeographicPosition> ToGeographic(GridPosition position, std::string& reason) const;
  std::optional<GridFactors> FactorsAt(GeographicPosition position, std::string& reason) const;

 private:
  struct Proj;
  std::unique_ptr<Proj> proj_;
};

}  // namespace vantrel
