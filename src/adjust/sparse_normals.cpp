#include "adjust/sparse_normals.h"

#include <algorithm>

namespace vantrel {
namespace {

// A pivot of the factorisation below this share of its diagonal element
// means the unknown is fixed by nothing the earlier unknowns do not already
// fix (rounding leaves about 1e-16 of a dependent one).
constexpr double kDependentPivot = 1e-9;

}  // namespace

int NormalEquations::Factorise(const std::vector<DesignRow>& rows, const std::vector<double>& weights,
                               const std::vector<double>& misclosures) {
  // The lower triangle of N, with n beside it.
  std::vector<Eigen::Triplet<double>> entries;
  entries.reserve(rows.size() * kMostRowUnknowns * (kMostRowUnknowns + 1) / 2);
  right_ = Eigen::VectorXd::Zero(unknowns_);
  for (size_t k = 0; k < rows.size(); ++k) {
    const DesignRow& row = rows[k];
    for (int a = 0; a < row.size; ++a) {
      const double weighted = weights[k] * row.coefficient[a];
      right_(row.column[a]) += weighted * misclosures[k];
      for (int b = 0; b < row.size; ++b)
        if (row.column[b] <= row.column[a])
          entries.emplace_back(row.column[a], row.column[b], weighted * row.coefficient[b]);
    }
  }
  normal_.resize(unknowns_, unknowns_);
  normal_.setFromTriplets(entries.begin(), entries.end());
  if (unknowns_ == 0) return -1;
  if (!analysed_) {
    factor_.analyzePattern(normal_);
    analysed_ = true;
  }
  factor_.factorize(normal_);

  // The first pivot, in the order of elimination, that has lost all but
  // rounding of its diagonal element.
  const Eigen::VectorXd pivots = factor_.vectorD();
  const auto& toUnknown = factor_.permutationPinv().indices();
  for (int k = 0; k < unknowns_; ++k) {
    const int unknown = toUnknown(k);
    const double diagonal = normal_.coeff(unknown, unknown);
    if (!(diagonal > 0) || !(pivots(k) > kDependentPivot * diagonal)) return unknown;
  }
  return -1;
}

Eigen::VectorXd NormalEquations::Solve() const {
  return unknowns_ > 0 ? Eigen::VectorXd(factor_.solve(right_)) : Eigen::VectorXd();
}

void NormalEquations::InvertOnPattern() {
  if (unknowns_ == 0) return;
  // With N = L D L' (in the factor's order), Z = N^-1 satisfies
  //   Z(i, j) = -sum over k of L(k, j) Z(i, k)   for i > j on the pattern,
  //   Z(j, j) = 1 / D(j) - sum over k of L(k, j) Z(k, j),
  // k running over the rows of column j of L; the columns are done from the
  // last, and every Z(i, k) needed lies on the pattern already done.
  const Eigen::SparseMatrix<double>& lower = factor_.matrixL().nestedExpression();
  const int* start = lower.outerIndexPtr();
  const int* rowOf = lower.innerIndexPtr();
  const double* l = lower.valuePtr();
  const Eigen::VectorXd pivots = factor_.vectorD();
  inverseDiagonal_.assign(static_cast<size_t>(unknowns_), 0);
  inverseBelow_.assign(static_cast<size_t>(lower.nonZeros()), 0);
  std::vector<double> column;
  for (int j = unknowns_ - 1; j >= 0; --j) {
    const int first = start[j], count = start[j + 1] - first;
    column.assign(static_cast<size_t>(count), 0);
    const int* rows = rowOf + first;
    const double* below = l + first;
    double* z = column.data();
    for (int b = 0; b < count; ++b) {
      // Column rows[b] of Z holds Z(r_a, r_b) for the rows r_a of column j
      // below r_b (its pattern contains them, in ascending order). The sum
      // for Z(r_b, j) is kept apart from the column so that its additions
      // do not wait on the stores of the others.
      const int rb = rows[b];
      const double lb = below[b];
      double sum = -lb * inverseDiagonal_[static_cast<size_t>(rb)];
      int p = start[rb];
      const int end = start[rb + 1];
      for (int a = b + 1; a < count; ++a) {
        const int ra = rows[a];
        while (p < end && rowOf[p] != ra) ++p;
        if (p == end) break;
        const double zab = inverseBelow_[static_cast<size_t>(p++)];
        z[a] -= lb * zab;
        sum -= below[a] * zab;
      }
      z[b] += sum;
    }
    double diagonal = 1 / pivots(j);
    for (int a = 0; a < count; ++a) {
      inverseBelow_[static_cast<size_t>(first + a)] = column[static_cast<size_t>(a)];
      diagonal -= l[first + a] * column[static_cast<size_t>(a)];
    }
    inverseDiagonal_[static_cast<size_t>(j)] = diagonal;
  }
  const auto& toFactor = factor_.permutationP().indices();
  position_.assign(toFactor.data(), toFactor.data() + unknowns_);
}

double NormalEquations::Cofactor(int i, int j) const {
  int a = position_[static_cast<size_t>(i)], b = position_[static_cast<size_t>(j)];
  if (a == b) return inverseDiagonal_[static_cast<size_t>(a)];
  if (a < b) std::swap(a, b);
  const Eigen::SparseMatrix<double>& lower = factor_.matrixL().nestedExpression();
  const int* rows = lower.innerIndexPtr();
  const int *begin = rows + lower.outerIndexPtr()[b], *end = rows + lower.outerIndexPtr()[b + 1];
  const int* found = std::lower_bound(begin, end, a);
  return found != end && *found == a ? inverseBelow_[static_cast<size_t>(found - rows)] : 0;
}

double NormalEquations::Explained(const DesignRow& row) const {
  double explained = 0;
  for (int a = 0; a < row.size; ++a)
    for (int b = 0; b < row.size; ++b)
      explained += row.coefficient[a] * Cofactor(row.column[a], row.column[b]) * row.coefficient[b];
  return explained;
}

}  // namespace vantrel
