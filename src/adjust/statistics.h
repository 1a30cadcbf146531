// Distributions behind the adjustment's statistics: chi-square quantiles for
// the test of the reference variance and the factor that turns a standard
// error ellipse into one at a chosen confidence.
#pragma once

namespace vantrel {

// Lower regularized incomplete gamma function P(a, x), a > 0, x >= 0.
double LowerGammaRatio(double a, double x);

// The value below which a chi-square variable of `dof` degrees of freedom
// falls with probability p (0 < p < 1, dof >= 1).
double ChiSquareQuantile(double p, int dof);

// Multiplier of the standard error ellipse for confidence p: sqrt(2 F(2, dof))
// when the reference variance is estimated from `dof` degrees of freedom,
// sqrt(chi-square(2)) when dof is 0 and the a-priori errors stand alone.
double EllipseFactor(double p, int dof);

}  // namespace vantrel
