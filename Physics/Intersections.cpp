#include "Physics/Intersections.h"

#include "Physics/FindRootBrent.h"
#include "Util/Exception.h"

namespace Ostra::Physics {

double CurveDifference::operator()(double t) const {
  // Sequenced so that A's range assertions come first.
  const double a_value = A->Evaluate(t);
  const double b_value = B->Evaluate(t);
  return K * a_value - b_value + C;
}

double FindIntersection(const Util::CountedPtr<Curve>& a, const Util::CountedPtr<Curve>& b,
                        double k, double c, double t0, double tolerance) {
  constexpr double InitialHalfWidth = 1e-06;
  constexpr int MaxDoublings = 100;

  CurveDifference difference{a, b, k, c};
  double half_width = InitialHalfWidth;
  double lo = t0 - half_width;
  double hi = t0 + half_width;
  double f_lo = difference(lo);
  double f_hi = difference(hi);
  // A NaN product is not > 0: the search stops and FindRootBrent rejects the bracket.
  for (int iter = 0; f_lo * f_hi > 0.0; ++iter) {
    UTIL_ASSERT_TEXT(iter < MaxDoublings, "iter < 100");
    half_width *= 2.0;
    lo = t0 - half_width;
    hi = t0 + half_width;
    f_lo = difference(lo);
    f_hi = difference(hi);
  }
  return FindRootBrent(difference, lo, hi, tolerance);
}

} // namespace Ostra::Physics
