// The point store and the two register banks: the surveyor's numbered points
// and registers, held apart from the commands that compute with them.
//
// Using the store (a Session holds one as `points`):
//   points.IsNumber(n)              n is one of 1..Capacity()
//   points.IsDefined(n)             both coordinates hold a value
//   points.North(n), points.East(n) the coordinates (UndefinedCoord when unset)
//   points[n]                       the whole Point: coordinates, elevation,
//                                   description, name (an empty Point when unset)
//   points.Store(n, north, east)    a new point: elevation, description and
//                                   name are cleared
//   points.Move(n, north, east)     the same point elsewhere (adjustments,
//                                   rotations): its attributes stay
//   points.Clear(n)                 the number holds nothing again
//   points.SetElevation/SetDescription/SetName(n, ...)
//   for (int n : points.Numbers())  every number that holds anything, in
//   for (int n : points.Numbers(first, last))   ascending order; the walk
//                                   costs with the numbers in use, not with
//                                   the capacity (test IsDefined where only
//                                   points with both coordinates count)
//   points == saved                 same points with the same attributes
//   PointDistance(points, i, j), PointAzimuth(points, i, j)

//
// Slots are allocated up to the highest number ever used, so a store of a
// large capacity with few points takes little memory.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "notation/numbers.h"

namespace vantrel {

inline constexpr int kDefaultCapacity = 1000;
inline constexpr int kRegisterCount = 100;
inline constexpr size_t kMaxDescription = 64;  // characters of a point description

struct Point {
  double north = UndefinedCoord;
  double east = UndefinedCoord;
  std::optional<double> elevation;  // feet
  std::string description;          // at most 64 characters
  std::string name;                 // the field's own id of the point, when it has one

  bool operator==(const Point&) const = default;
  // Anything at all held: a coordinate or an attribute.
  bool HoldsAnything() const;
};

class PointStore {
 public:
  explicit PointStore(int capacity = kDefaultCapacity) : capacity_(capacity) {}

  int Capacity() const { return capacity_; }
  bool IsNumber(int n) const { return n >= 1 && n <= capacity_; }

  // Reading: any number of 1..Capacity().
  const Point& operator[](int n) const { return static_cast<size_t>(n) < slots_.size() ? slots_[n] : kEmpty; }
  double North(int n) const { return (*this)[n].north; }
  double East(int n) const { return (*this)[n].east; }
  bool IsDefined(int n) const {
    const Point& p = (*this)[n];
    return p.north != UndefinedCoord && p.east != UndefinedCoord;
  }
  // Numbers that hold anything.
  int UsedCount() const { return usedCount_; }

  // Writing: numbers of 1..Capacity().
  void Store(int n, double north, double east);
  void Move(int n, double north, double east);
  void Clear(int n);
  void SetElevation(int n, std::optional<double> elevation);
  void SetDescription(int n, std::string description);
  void SetName(int n, std::string name);
  // Every number cleared.
  void ClearAll();

  // The numbers in use from `first` to `last`, ascending.
  class NumberRange {
   public:
    class Iterator {
     public:
      int operator*() const { return n_; }
      Iterator& operator++() {
        n_ = store_->NextUsed(n_ + 1, last_);
        return *this;
      }
      bool operator==(const Iterator& other) const { return n_ == other.n_; }

     private:
      friend class NumberRange;
      Iterator(const PointStore* store, int n, int last) : store_(store), n_(n), last_(last) {}
      const PointStore* store_;
      int n_, last_;
    };
    Iterator begin() const { return {store_, store_->NextUsed(first_, last_), last_}; }
    Iterator end() const { return {store_, last_ + 1, last_}; }

   private:
    friend class PointStore;
    NumberRange(const PointStore* store, int first, int last) : store_(store), first_(first), last_(last) {}
    const PointStore* store_;
    int first_, last_;
  };
  NumberRange Numbers() const { return Numbers(1, capacity_); }
  NumberRange Numbers(int first, int last) const { return {this, std::max(first, 1), std::min(last, capacity_)}; }

  bool operator==(const PointStore& other) const;

 private:
  static const Point kEmpty;

  Point& Slot(int n);
  // Keeps the in-use bit of n and the count in step with its slot.
  void Update(int n);
  // The first number in use from `from` to `last`, or last + 1.
  int NextUsed(int from, int last) const;

  int capacity_;
  std::vector<Point> slots_;    // [0] unused; grown up to the highest number used
  std::vector<uint64_t> used_;  // one bit a number: it holds anything
  int usedCount_ = 0;
};

// Between two defined points (numbers of the store): the distance, the
// azimuth from i to j as AzimuthOf gives it, and whether they lie at the same
// place (no line runs through them).
double PointDistance(const PointStore& points, int i, int j);
double PointAzimuth(const PointStore& points, int i, int j);
bool SamePlace(const PointStore& points, int i, int j);

// The central angle of the arc from point pc to point pt about `center`,
// positive when the arc runs clockwise: the difference of their azimuths
// from the center brought into -PI..PI, so that an arc never passes half a
// turn. An arc of exactly half a turn keeps the sign of that difference.
// The area, LandXML's rotation and every drawing of an arc take it from
// here, so that all of them mean one and the same arc.
double ArcDelta(const PointStore& points, int pc, int center, int pt);

// Whether the distances of an arc's two ends from its center differ by more
// than a thousandth of a foot: ARE then asks before it goes on with their
// mean, a drawing says it used it. The slack keeps radii typed exactly 0.001
// apart from being pushed over the limit by binary rounding.
inline bool UnequalRadii(double toPc, double toPt) {
  constexpr double kTolerance = 0.001 + 1e-9;
  return std::fabs(toPc - toPt) > kTolerance;
}

// The angle registers (radians) and the distance registers (feet), 0..99.
struct RegisterBanks {
  std::array<double, kRegisterCount> angle{};
  std::array<double, kRegisterCount> distance{};

  static bool IsNumber(int n) { return n >= 0 && n < kRegisterCount; }
  bool operator==(const RegisterBanks&) const = default;
};

}  // namespace vantrel
