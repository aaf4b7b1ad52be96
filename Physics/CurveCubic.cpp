#include "Physics/CurveCubic.h"

#include "Physics/CurveQuadratic.h"

namespace Ostra::Physics {

CurveCubic::CurveCubic(double a, double b, double c, double d) : A(a), B(b), C(c), D(d) {}

CurveCubic CurveCubic::FromHermite(double y0, double y1, double m0, double m1) {
  const double rise = y1 - y0;
  return CurveCubic(m0 + m1 - 2.0 * rise, 3.0 * rise - 2.0 * m0 - m1, m0, y0);
}

double CurveCubic::Evaluate(double t) const { return ((A * t + B) * t + C) * t + D; }

void CurveCubic::GetCubic(double, double* a, double* b, double* c, double* d) const {
  *a = A;
  *b = B;
  *c = C;
  *d = D;
}

Util::CountedPtr<Curve> CurveCubic::Derivative() const {
  return Util::CountedPtr<Curve>(new CurveQuadratic(3.0 * A, 2.0 * B, C));
}

} // namespace Ostra::Physics
