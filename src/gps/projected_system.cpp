// The PROJ adapter: the only file that speaks PROJ's C interface.
#include "gps/projected_system.h"

#include <dlfcn.h>
#include <proj.h>

#include <cmath>
#include <filesystem>

#include "notation/numbers.h"

namespace vantrel {
namespace {

// Metres in one foot of each kind: the store keeps US survey feet as they
// are and turns every other linear unit into international feet, or on
// request into US survey feet.
constexpr double kMetresPerFoot = 0.3048;
constexpr double kMetresPerUsSurveyFoot = 1200.0 / 3937.0;
// Two unit factors closer than this (relative) are the same unit.
constexpr double kUnitTolerance = 1e-12;
// Half the step, in degrees of latitude (about 1.1 m), over which the
// meridian's grid direction and length are measured for the factors.
constexpr double kFactorStepDegrees = 1e-5;

// PROJ's C interface, taken from the library when the first system is
// selected rather than linked: PROJ and the libraries it brings (SQLite,
// curl, TLS) are some forty shared objects whose loading would cost every
// run milliseconds before its first line, and most jobs never select one.
#define VANTREL_PROJ_FUNCTIONS(X) \
  X(proj_context_create) X(proj_context_destroy) X(proj_context_errno) X(proj_context_errno_string) \
  X(proj_context_get_database_path) X(proj_context_set_search_paths) X(proj_coord) X(proj_create) \
  X(proj_create_crs_to_crs_from_pj) X(proj_crs_get_coordinate_system) X(proj_crs_get_geodetic_crs) \
  X(proj_crs_get_sub_crs) X(proj_cs_get_axis_info) X(proj_destroy) X(proj_ellipsoid_get_parameters) \
  X(proj_errno) X(proj_errno_reset) X(proj_get_area_of_use) X(proj_get_ellipsoid) X(proj_get_name) \
  X(proj_get_source_crs) X(proj_get_type) X(proj_log_func) X(proj_log_level) \
  X(proj_normalize_for_visualization) X(proj_trans)

struct ProjFunctions {
#define VANTREL_PROJ_POINTER(name) decltype(&::name) name = nullptr;
  VANTREL_PROJ_FUNCTIONS(VANTREL_PROJ_POINTER)
#undef VANTREL_PROJ_POINTER
};

// Filled by LoadProj before any PROJ object exists; kept for the life of the
// program, as the library is.
ProjFunctions api;

// Loads the library once; the loader's reason when it could not, else empty.
const std::string& LoadProj() {
  static const std::string problem = [] {
    void* library = dlopen(VANTREL_PROJ_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return std::string(dlerror());
    std::string missing;
#define VANTREL_PROJ_RESOLVE(name)                                      \
  api.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name)); \
  if (api.name == nullptr && missing.empty()) missing = #name;
    VANTREL_PROJ_FUNCTIONS(VANTREL_PROJ_RESOLVE)
#undef VANTREL_PROJ_RESOLVE
    return missing.empty() ? std::string() : std::string(VANTREL_PROJ_LIBRARY) + " has no " + missing;
  }();
  return problem;
}

struct PjDeleter {
  void operator()(PJ* object) const { api.proj_destroy(object); }
};
struct ContextDeleter {
  void operator()(PJ_CONTEXT* context) const { api.proj_context_destroy(context); }
};
using PjObject = std::unique_ptr<PJ, PjDeleter>;

bool SameFactor(double a, double b) { return std::fabs(a - b) <= kUnitTolerance * b; }

// PROJ writes its complaints through the log function; the last one is the
// reason given to the surveyor, without the name of the routine or
// projection that opens it ("proj_create: crs not found").
void KeepLastMessage(void* appData, int, const char* message) {
  std::string text = message == nullptr ? "" : message;
  size_t colon = text.find(": ");
  if (colon != std::string::npos && text.find(' ') > colon) text.erase(0, colon + 2);
  *static_cast<std::string*>(appData) = text;
}

}  // namespace

struct ProjectedSystem::Proj {
  // Declared first, released last: every object below belongs to it.
  std::unique_ptr<PJ_CONTEXT, ContextDeleter> context;
  std::string dataFolder;       // empty: PROJ's own search
  std::string databaseProblem;  // empty when proj.db was found
  std::string lastMessage;      // PROJ's last complaint

  PjObject crs;         // the projected system as resolved
  PjObject conversion;  // its geographic CRS to it, longitude/latitude and easting/northing order
  std::string name;
  std::string unitDescription;
  double toStoreFeet = 1;  // store feet per unit of the system
  double metresPerUnit = 1;
  double semiMajor = 0, eccentricitySquared = 0;
  bool hasArea = false;
  double west = 0, south = 0, east = 0, north = 0;

  // PROJ's reason for the last failure of `object` (or of the context):
  // its logged complaint, otherwise the text of its error number.
  std::string Reason(const PJ* object) {
    if (!lastMessage.empty()) return lastMessage;
    int code = object == nullptr ? api.proj_context_errno(context.get()) : api.proj_errno(object);
    const char* text = code == 0 ? nullptr : api.proj_context_errno_string(context.get(), code);
    return text != nullptr ? text : "PROJ gave no reason";
  }
};

ProjectedSystem::ProjectedSystem(std::string dataFolder) : proj_(std::make_unique<Proj>()) {
  proj_->dataFolder = std::move(dataFolder);
}

ProjectedSystem::~ProjectedSystem() = default;

std::string ProjectedSystem::Select(std::string_view text, bool usSurveyFeet) {
  Proj& p = *proj_;
  if (!p.context) {
    if (const std::string& problem = LoadProj(); !problem.empty()) return "PROJ cannot be loaded: " + problem;
    // The context once per session; proj.db is looked for in the installed
    // proj-data unless a folder was given.
    p.context.reset(api.proj_context_create());
    api.proj_log_func(p.context.get(), &p.lastMessage, KeepLastMessage);
    api.proj_log_level(p.context.get(), PJ_LOG_ERROR);
    if (!p.dataFolder.empty()) {
      const char* paths[] = {p.dataFolder.c_str()};
      api.proj_context_set_search_paths(p.context.get(), 1, paths);
    }
    const char* database = api.proj_context_get_database_path(p.context.get());
    p.databaseProblem = database != nullptr && std::filesystem::is_regular_file(database)
                            ? ""
                            : "PROJ's database proj.db cannot be found (install the proj-data package)";
  }
  if (!p.databaseProblem.empty()) return p.databaseProblem;

  // A PROJ string names a coordinate system only with +type=crs.
  std::string definition(text);
  if (!definition.empty() && definition[0] == '+' && definition.find("type=crs") == std::string::npos)
    definition += " +type=crs";

  p.lastMessage.clear();
  PjObject crs(api.proj_create(p.context.get(), definition.c_str()));
  if (!crs) return p.Reason(nullptr);
  // A bound system (PROJ string with +towgs84) stands for its source, a
  // compound one for its horizontal part.
  if (api.proj_get_type(crs.get()) == PJ_TYPE_BOUND_CRS) crs.reset(api.proj_get_source_crs(p.context.get(), crs.get()));
  if (crs && api.proj_get_type(crs.get()) == PJ_TYPE_COMPOUND_CRS)
    crs.reset(api.proj_crs_get_sub_crs(p.context.get(), crs.get(), 0));
  if (!crs || api.proj_get_type(crs.get()) != PJ_TYPE_PROJECTED_CRS)
    return "it is not a projected coordinate system (grid north and east)";

  // Its axes: east and north, in one linear unit.
  PjObject axes(api.proj_crs_get_coordinate_system(p.context.get(), crs.get()));
  const char* directions[2] = {nullptr, nullptr};
  const char* unitName = nullptr;
  double metresPerUnit = 0;
  for (int k = 0; k < 2; ++k)
    if (!axes || !api.proj_cs_get_axis_info(p.context.get(), axes.get(), k, nullptr, nullptr, &directions[k],
                                        &metresPerUnit, &unitName, nullptr, nullptr))
      return p.Reason(nullptr);
  std::string first = directions[0], second = directions[1];
  if (!((first == "east" && second == "north") || (first == "north" && second == "east")))
    return "its axes run " + first + " and " + second + ", not north and east";
  if (!(metresPerUnit > 0)) return "its linear unit is unknown";
  bool inFeet = SameFactor(metresPerUnit, kMetresPerUsSurveyFoot) || SameFactor(metresPerUnit, kMetresPerFoot);
  if (usSurveyFeet && inFeet) return "USFT converts a metric system to US survey feet, and this one is in feet";

  // The conversion from its own geographic system, in longitude/latitude
  // and easting/northing order whatever the axis order of either.
  PjObject geographic(api.proj_crs_get_geodetic_crs(p.context.get(), crs.get()));
  if (!geographic) return p.Reason(nullptr);
  PjObject raw(api.proj_create_crs_to_crs_from_pj(p.context.get(), geographic.get(), crs.get(), nullptr, nullptr));
  if (!raw) return p.Reason(nullptr);
  PjObject conversion(api.proj_normalize_for_visualization(p.context.get(), raw.get()));
  if (!conversion) return p.Reason(nullptr);
  PjObject ellipsoid(api.proj_get_ellipsoid(p.context.get(), crs.get()));
  double semiMajor = 0, semiMinor = 0;
  if (!ellipsoid || !api.proj_ellipsoid_get_parameters(p.context.get(), ellipsoid.get(), &semiMajor, &semiMinor,
                                                   nullptr, nullptr))
    return p.Reason(nullptr);

  // Accepted: take it over.
  const char* name = api.proj_get_name(crs.get());
  p.name = name != nullptr ? name : "unnamed system";
  p.metresPerUnit = metresPerUnit;
  if (SameFactor(metresPerUnit, kMetresPerUsSurveyFoot)) {
    p.unitDescription = "US survey feet", p.toStoreFeet = 1;
  } else if (SameFactor(metresPerUnit, kMetresPerFoot)) {
    p.unitDescription = "feet", p.toStoreFeet = 1;
  } else {
    p.unitDescription = (SameFactor(metresPerUnit, 1) ? std::string("metres") : std::string(unitName)) +
                        (usSurveyFeet ? " converted to US survey feet" : " converted to feet");
    p.toStoreFeet = metresPerUnit / (usSurveyFeet ? kMetresPerUsSurveyFoot : kMetresPerFoot);
  }
  p.semiMajor = semiMajor;
  p.eccentricitySquared = 1 - (semiMinor / semiMajor) * (semiMinor / semiMajor);
  const char* areaName = nullptr;
  p.hasArea = api.proj_get_area_of_use(p.context.get(), crs.get(), &p.west, &p.south, &p.east, &p.north, &areaName) &&
              areaName != nullptr && p.west >= -180 && p.east <= 180;
  p.crs = std::move(crs);
  p.conversion = std::move(conversion);
  return "";
}

void ProjectedSystem::Unselect() {
  proj_->conversion.reset();
  proj_->crs.reset();
}

bool ProjectedSystem::IsSelected() const { return proj_->crs != nullptr; }

const std::string& ProjectedSystem::Name() const { return proj_->name; }

const std::string& ProjectedSystem::UnitDescription() const { return proj_->unitDescription; }

bool ProjectedSystem::InAreaOfUse(GeographicPosition position) const {
  const Proj& p = *proj_;
  if (!p.hasArea) return true;
  if (position.latitude < p.south || position.latitude > p.north) return false;
  // An area across the antimeridian runs from its west bound eastward past 180.
  if (p.west <= p.east) return position.longitude >= p.west && position.longitude <= p.east;
  return position.longitude >= p.west || position.longitude <= p.east;
}

std::optional<GridPosition> ProjectedSystem::ToGrid(GeographicPosition position, std::string& reason) const {
  Proj& p = *proj_;
  p.lastMessage.clear();
  api.proj_errno_reset(p.conversion.get());
  PJ_COORD in = api.proj_coord(position.longitude, position.latitude, 0, 0);
  PJ_COORD grid = api.proj_trans(p.conversion.get(), PJ_FWD, in);
  if (api.proj_errno(p.conversion.get()) != 0) {
    reason = p.Reason(p.conversion.get());
    return std::nullopt;
  }
  GridPosition result{grid.xy.y * p.toStoreFeet, grid.xy.x * p.toStoreFeet};
  if (!std::isfinite(result.north) || !std::isfinite(result.east)) {
    reason = "the grid position is beyond any number";
    return std::nullopt;
  }
  return result;
}

std::optional<GeographicPosition> ProjectedSystem::ToGeographic(GridPosition position, std::string& reason) const {
  Proj& p = *proj_;
  p.lastMessage.clear();
  api.proj_errno_reset(p.conversion.get());
  PJ_COORD in = api.proj_coord(position.east / p.toStoreFeet, position.north / p.toStoreFeet, 0, 0);
  PJ_COORD geographic = api.proj_trans(p.conversion.get(), PJ_INV, in);
  if (api.proj_errno(p.conversion.get()) != 0) {
    reason = p.Reason(p.conversion.get());
    return std::nullopt;
  }
  GeographicPosition result{geographic.lp.phi, geographic.lp.lam};
  if (!std::isfinite(result.latitude) || !std::isfinite(result.longitude)) {
    reason = "the latitude or longitude is beyond any number";
    return std::nullopt;
  }
  return result;
}

std::optional<GridFactors> ProjectedSystem::FactorsAt(GeographicPosition position, std::string& reason) const {
  // The meridian through the position, a short step either side, on the
  // grid: its grid azimuth is minus the convergence, its grid length over
  // its length on the ellipsoid the scale factor.
  const Proj& p = *proj_;
  GeographicPosition south = position, north = position;
  south.latitude -= kFactorStepDegrees;
  north.latitude += kFactorStepDegrees;
  std::optional<GridPosition> a = ToGrid(south, reason);
  if (!a) return std::nullopt;
  std::optional<GridPosition> b = ToGrid(north, reason);
  if (!b) return std::nullopt;
  double dNorth = b->north - a->north, dEast = b->east - a->east;
  double gridMetres = std::hypot(dNorth, dEast) / p.toStoreFeet * p.metresPerUnit;
  // Meridian arc: a(1 - e^2) / (1 - e^2 sin^2 phi)^(3/2) per radian.
  double sinLatitude = std::sin(position.latitude * PI / 180);
  double w = 1 - p.eccentricitySquared * sinLatitude * sinLatitude;
  double meridianRadius = p.semiMajor * (1 - p.eccentricitySquared) / (w * std::sqrt(w));
  double ellipsoidMetres = meridianRadius * 2 * kFactorStepDegrees * PI / 180;
  GridFactors factors{gridMetres / ellipsoidMetres, -std::atan2(dEast, dNorth), 0};
  // The parallel likewise, a short step west and east: its arc is the
  // radius of the prime vertical a / sqrt(w) times the cosine of the
  // latitude per radian (none at a pole, where the meridian's scale holds).
  double parallelRadius = p.semiMajor / std::sqrt(w) * std::cos(position.latitude * PI / 180);
  factors.parallelScale = factors.scale;
  if (parallelRadius > 1) {
    GeographicPosition west = position, east = position;
    west.longitude -= kFactorStepDegrees;
    east.longitude += kFactorStepDegrees;
    std::optional<GridPosition> c = ToGrid(west, reason);
    if (!c) return std::nullopt;
    std::optional<GridPosition> d = ToGrid(east, reason);
    if (!d) return std::nullopt;
    double parallelGridMetres = std::hypot(d->north - c->north, d->east - c->east) / p.toStoreFeet * p.metresPerUnit;
    factors.parallelScale = parallelGridMetres / (parallelRadius * 2 * kFactorStepDegrees * PI / 180);
  }
  if (!std::isfinite(factors.scale) || !(factors.scale > 0) || !std::isfinite(factors.convergence) ||
      !std::isfinite(factors.parallelScale)) {
    reason = "the grid has no scale factor there";
    return std::nullopt;
  }
  return factors;
}

}  // namespace vantrel
