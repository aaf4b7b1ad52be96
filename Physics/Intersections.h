#pragma once

#include "Physics/Curve.h"
#include "Util/CountedPtr.h"

namespace Ostra::Physics {

// K * A(t) - B(t) + C, evaluating A before B.
struct CurveDifference {
  Util::CountedPtr<Curve> A;
  Util::CountedPtr<Curve> B;
  double K;
  double C;

  double operator()(double t) const;
};

// The root of k * a(t) - b(t) + c next to t0: widens a bracket around t0 from a
// half-width of 1e-6 by doubling until the difference changes sign, then refines it
// with FindRootBrent to the given tolerance.
//
// Throws Util::XAssertion ("iter < 100") when no sign change is found within a
// half-width of 1e-6 * 2^100, and passes on the curves' own range assertions.
double FindIntersection(const Util::CountedPtr<Curve>& a, const Util::CountedPtr<Curve>& b,
                        double k, double c, double t0, double tolerance);

} // namespace Ostra::Physics
