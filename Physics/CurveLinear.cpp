#include "Physics/CurveLinear.h"

#include "Physics/CurveConstant.h"

namespace Ostra::Physics {

CurveLinear::CurveLinear(double a, double b) : A(a), B(b) {}

double CurveLinear::Evaluate(double t) const { return A * t + B; }

void CurveLinear::GetCubic(double, double* a, double* b, double* c, double* d) const {
  *a = 0.0;
  *b = 0.0;
  *c = A;
  *d = B;
}

Util::CountedPtr<Curve> CurveLinear::Derivative() const {
  return Util::CountedPtr<Curve>(new CurveConstant(A));
}

} // namespace Ostra::Physics
