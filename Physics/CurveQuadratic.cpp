#include "Physics/CurveQuadratic.h"

#include "Physics/CurveLinear.h"

namespace Ostra::Physics {

CurveQuadratic::CurveQuadratic(double a, double b, double c) : A(a), B(b), C(c) {}

double CurveQuadratic::Evaluate(double t) const { return (A * t + B) * t + C; }

void CurveQuadratic::GetCubic(double, double* a, double* b, double* c, double* d) const {
  *a = 0.0;
  *b = A;
  *c = B;
  *d = C;
}

Util::CountedPtr<Curve> CurveQuadratic::Derivative() const {
  return Util::CountedPtr<Curve>(new CurveLinear(2.0 * A, B));
}

} // namespace Ostra::Physics
