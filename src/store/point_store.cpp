#include "store/point_store.h"

#include <bit>
#include <cmath>

#include "notation/geometry.h"

namespace vantrel {

const Point PointStore::kEmpty{};

bool Point::HoldsAnything() const {
  return north != UndefinedCoord || east != UndefinedCoord || elevation || !description.empty() || !name.empty();
}

Point& PointStore::Slot(int n) {
  size_t index = static_cast<size_t>(n);
  if (index >= slots_.size()) {
    // Grown by halves at least, so a store filled in ascending order moves
    // its points a few times only.
    size_t size = std::min(std::max(index + 1, slots_.size() + slots_.size() / 2), static_cast<size_t>(capacity_) + 1);
    slots_.resize(size);
    used_.resize((size + 63) / 64);
  }
  return slots_[index];
}

void PointStore::Update(int n) {
  uint64_t& word = used_[static_cast<size_t>(n) / 64];
  uint64_t bit = uint64_t{1} << (n % 64);
  bool wasUsed = (word & bit) != 0, isUsed = slots_[n].HoldsAnything();
  if (wasUsed == isUsed) return;
  word ^= bit;
  usedCount_ += isUsed ? 1 : -1;
}

void PointStore::Store(int n, double north, double east) {
  if (north == UndefinedCoord && east == UndefinedCoord) return Clear(n);
  Point& p = Slot(n);
  p = Point{north, east, std::nullopt, {}, {}};
  Update(n);
}

void PointStore::Move(int n, double north, double east) {
  Point& p = Slot(n);
  p.north = north;
  p.east = east;
  Update(n);
}

void PointStore::Clear(int n) {
  if (static_cast<size_t>(n) >= slots_.size()) return;
  slots_[n] = Point{};
  Update(n);
}

void PointStore::SetElevation(int n, std::optional<double> elevation) {
  Slot(n).elevation = elevation;
  Update(n);
}

void PointStore::SetDescription(int n, std::string description) {
  Slot(n).description = std::move(description);
  Update(n);
}

void PointStore::SetName(int n, std::string name) {
  Slot(n).name = std::move(name);
  Update(n);
}

void PointStore::ClearAll() {
  slots_.clear();
  used_.clear();
  usedCount_ = 0;
}

int PointStore::NextUsed(int from, int last) const {
  size_t limit = std::min(static_cast<size_t>(last) + 1, slots_.size());
  size_t n = static_cast<size_t>(from);
  while (n < limit) {
    uint64_t word = used_[n / 64] >> (n % 64);
    if (word != 0) {
      n += static_cast<size_t>(std::countr_zero(word));
      return n < limit ? static_cast<int>(n) : last + 1;
    }
    n = (n / 64 + 1) * 64;
  }
  return last + 1;
}

double PointDistance(const PointStore& points, int i, int j) {
  return std::hypot(points.East(i) - points.East(j), points.North(i) - points.North(j));
}

double PointAzimuth(const PointStore& points, int i, int j) {
  return AzimuthOf(points.East(j) - points.East(i), points.North(j) - points.North(i));
}

double ArcDelta(const PointStore& points, int pc, int center, int pt) {
  double delta = PointAzimuth(points, center, pt) - PointAzimuth(points, center, pc);
  if (delta < -PI) delta += TWO_PI;
  if (delta > PI) delta -= TWO_PI;
  return delta;
}

bool SamePlace(const PointStore& points, int i, int j) {
  return points.North(i) == points.North(j) && points.East(i) == points.East(j);
}

bool PointStore::operator==(const PointStore& other) const {
  if (capacity_ != other.capacity_ || usedCount_ != other.usedCount_) return false;
  for (int n : Numbers())
    if (!((*this)[n] == other[n])) return false;
  return true;
}

}  // namespace vantrel
