// Normal equations of a least-squares adjustment held sparse: built from the
// linearised observations, ordered to keep the factor thin (approximate
// minimum degree), factorised as L D L', solved, and partly inverted — only
// the elements of the inverse on the factor's pattern, which hold every
// cofactor an observation or a point needs, so no dense inverse is formed.
#pragma once

#include <Eigen/SparseCholesky>
#include <array>
#include <vector>

namespace vantrel {

// Most unknowns one observation reaches: three points of an angle, north
// and east each, or two points and an orientation.
inline constexpr int kMostRowUnknowns = 6;

// One observation linearised: the unknowns it reaches and its partial
// derivatives by them.
struct DesignRow {
  int size = 0;
  std::array<int, kMostRowUnknowns> column{};
  std::array<double, kMostRowUnknowns> coefficient{};
  void Add(int c, double a) {
    column[size] = c;
    coefficient[size++] = a;
  }
};

class NormalEquations {
 public:
  explicit NormalEquations(int unknowns) : unknowns_(unknowns) {}

  // Builds N = A'PA and n = A'Pw, and factorises N; the pattern is ordered
  // once, on the first call. Returns the first unknown whose pivot shows it
  // fixed by nothing the others do not already fix, or -1.
  int Factorise(const std::vector<DesignRow>& rows, const std::vector<double>& weights,
                const std::vector<double>& misclosures);

  // The corrections of the unknowns.
  Eigen::VectorXd Solve() const;

  // Computes the elements of the inverse of N on the factor's pattern;
  // then Cofactor(i, j) gives any element whose unknowns share a row.
  void InvertOnPattern();
  double Cofactor(int i, int j) const;

  // a Q a': the variance (a-priori unit) a row's adjusted value carries.
  double Explained(const DesignRow& row) const;

 private:
  int unknowns_;
  bool analysed_ = false;
  Eigen::SparseMatrix<double> normal_;
  Eigen::VectorXd right_;
  Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>, Eigen::Lower, Eigen::AMDOrdering<int>> factor_;
  std::vector<double> inverseDiagonal_;  // in the factor's order
  std::vector<double> inverseBelow_;     // on the pattern of L
  std::vector<int> position_;            // factor index of each unknown
};

}  // namespace vantrel
