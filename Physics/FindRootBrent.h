#pragma once

#include "Util/Exception.h"

#include <algorithm>
#include <cmath>

namespace Ostra::Physics {

// Brent's method: a root of f inside the bracket [x1, x2] (either order). Returns b
// with f(b) == 0, or with the remaining bracket around b within 6e-8*|b| + tol/2.
// f is any callable double(double), called by reference: at x1, at x2, then once
// per iteration.
//
// Throws Util::XAssertion when f(x1) and f(x2) have the same strict sign (or either
// is NaN), and after 100 iterations without convergence.
template <class Functor> double FindRootBrent(Functor&& f, double x1, double x2, double tolerance) {
  constexpr int MaxIterations = 100;
  // Twice the relative precision assumed for a function value.
  constexpr double RelativeTolerance = 6e-08;

  double a = x1;
  double b = x2;
  double c = x2;
  double d = 0.0;
  double e = 0.0;
  double fa = f(a);
  double fb = f(b);
  UTIL_ASSERT((fa >= 0.0 && fb <= 0.0) || (fa <= 0.0 && fb >= 0.0));
  double fc = fb;

  for (int iteration = 0; iteration < MaxIterations; ++iteration) {
    if ((fb >= 0.0 && fc >= 0.0) || (fb <= 0.0 && fc <= 0.0)) {
      // b and c do not bracket the root: take a as the other end again.
      c = a;
      fc = fa;
      d = b - a;
      e = d;
    }
    if (std::fabs(fc) < std::fabs(fb)) {
      a = b;
      b = c;
      c = a;
      fa = fb;
      fb = fc;
      fc = fa;
    }
    const double tol1 = RelativeTolerance * std::fabs(b) + 0.5 * tolerance;
    const double xm = 0.5 * (c - b);
    if (std::fabs(xm) <= tol1 || fb == 0.0)
      return b;

    if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
      const double s = fb / fa;
      double p;
      double q;
      if (a == c) {
        p = 2.0 * xm * s;
        q = 1.0 - s;
      } else {
        q = fa / fc;
        const double r = fb / fc;
        p = s * (2.0 * xm * q * (q - r) - (b - a) * (r - 1.0));
        q = (q - 1.0) * (r - 1.0) * (s - 1.0);
      }
      if (p > 0.0)
        q = -q;
      p = std::fabs(p);
      const double min1 = 3.0 * xm * q - std::fabs(tol1 * q);
      const double min2 = std::fabs(e * q);
      if (2.0 * p < std::min(min1, min2)) {
        e = d;
        d = p / q;
      } else {
        d = xm;
        e = d;
      }
    } else {
      d = xm;
      e = d;
    }

    a = b;
    fa = fb;
    if (std::fabs(d) > tol1)
      b += d;
    else
      b += xm >= 0.0 ? std::fabs(tol1) : -std::fabs(tol1);
    fb = f(b);
  }
  UTIL_ASSERT(false);
  return b;
}

} // namespace Ostra::Physics
