#include "adjust/statistics.h"

#include <cmath>

namespace vantrel {
namespace {

// The gamma ratio's series and continued fraction stop once a term changes
// the sum by less than this share of it; both converge within a few hundred
// terms for the degrees of freedom of any network the store can hold.
constexpr double kGammaTolerance = 1e-15;
constexpr int kGammaTerms = 10000;
constexpr double kTiny = 1e-300;

// Series for x < a + 1.
double GammaSeries(double a, double x) {
  double term = 1 / a, sum = term;
  for (int n = 1; n < kGammaTerms && std::fabs(term) > std::fabs(sum) * kGammaTolerance; ++n) {
    term *= x / (a + n);
    sum += term;
  }
  return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Continued fraction of the upper ratio Q(a, x) for x >= a + 1 (modified
// Lentz evaluation).
double GammaFraction(double a, double x) {
  double b = x + 1 - a, c = 1 / kTiny, d = 1 / b, h = d;
  for (int i = 1; i < kGammaTerms; ++i) {
    double an = -i * (i - a);
    b += 2;
    d = an * d + b;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = b + an / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1 / d;
    double step = d * c;
    h *= step;
    if (std::fabs(step - 1) < kGammaTolerance) break;
  }
  return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

}  // namespace

double LowerGammaRatio(double a, double x) {
  if (x <= 0) return 0;
  return x < a + 1 ? GammaSeries(a, x) : 1 - GammaFraction(a, x);
}

double ChiSquareQuantile(double p, int dof) {
  // Bisection on the distribution function: it rises monotonically, and 200
  // halvings take any bracket below the spacing of doubles.
  const double a = dof / 2.0;
  double low = 0, high = dof + 10 * std::sqrt(2.0 * dof) + 100;
  while (LowerGammaRatio(a, high / 2) < p) high *= 2;
  for (int i = 0; i < 200 && high - low > 1e-12 * high; ++i) {
    double middle = (low + high) / 2;
    (LowerGammaRatio(a, middle / 2) < p ? low : high) = middle;
  }
  return (low + high) / 2;
}

double EllipseFactor(double p, int dof) {
  if (dof <= 0) return std::sqrt(-2 * std::log(1 - p));
  // F(2, r) has the distribution function 1 - (1 + 2x/r)^(-r/2).
  double r = dof;
  double f = r / 2 * (std::pow(1 - p, -2 / r) - 1);
  return std::sqrt(2 * f);
}

}  // namespace vantrel
