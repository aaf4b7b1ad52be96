#include "Physics/CurveConstant.h"

namespace Ostra::Physics {

CurveConstant::CurveConstant(double value) : Value(value) {}

double CurveConstant::Evaluate(double) const { return Value; }

void CurveConstant::GetCubic(double, double* a, double* b, double* c, double* d) const {
  *a = 0.0;
  *b = 0.0;
  *c = 0.0;
  *d = Value;
}

Util::CountedPtr<Curve> CurveConstant::Derivative() const {
  return Util::CountedPtr<Curve>(new CurveConstant(0.0));
}

} // namespace Ostra::Physics
