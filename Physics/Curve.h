#pragma once

#include "Util/CountedPtr.h"

namespace Ostra::Physics {

// A real function of one parameter t. Curves are immutable once built and shared
// through CountedPtr<Curve>; one curve graph is used by one thread at a time.
//
// Curves with a limited range (piecewise curves, shims) throw Util::XAssertion for
// a t outside it, NaN included.
class Curve {
public:
  virtual ~Curve() = default;

  virtual double Evaluate(double t) const = 0;

  // The coefficients of a*t^3 + b*t^2 + c*t + d, in the global parameter t, that
  // equals this curve on the piece containing t.
  virtual void GetCubic(double t, double* a, double* b, double* c, double* d) const = 0;

  // A newly allocated curve, owned by the returned pointer.
  virtual Util::CountedPtr<Curve> Derivative() const = 0;
};

} // namespace Ostra::Physics
