#include "Physics/CurveShim.h"

#include "Util/Exception.h"

namespace Ostra::Physics {

CurveShim::CurveShim(const Util::CountedPtr<Curve>& inner, double begin, double end, double scale)
    : Inner(inner), Begin(begin), End(end), Length(end - begin), Scale(scale) {
  UTIL_ASSERT(end > begin);
}

double CurveShim::ToInner(double t) const {
  UTIL_ASSERT(t >= Begin);
  UTIL_ASSERT(t <= End);
  return (t - Begin) / Length;
}

double CurveShim::Evaluate(double t) const { return Scale * Inner->Evaluate(ToInner(t)); }

void CurveShim::GetCubic(double t, double* a, double* b, double* c, double* d) const {
  double ia;
  double ib;
  double ic;
  double id;
  Inner->GetCubic(ToInner(t), &ia, &ib, &ic, &id);
  // Scale * p((t - Begin) / Length) expanded in powers of t.
  const double s = Scale;
  const double l1 = Length;
  const double l2 = l1 * l1;
  const double l3 = l2 * l1;
  const double b1 = Begin;
  const double b2 = b1 * b1;
  const double b3 = b2 * b1;
  *a = s * ia / l3;
  *b = s * ib / l2 - 3.0 * s * ia * b1 / l3;
  *c = s * ic / l1 - 2.0 * s * ib * b1 / l2 + 3.0 * s * ia * b2 / l3;
  *d = s * id - s * ic * b1 / l1 + s * ib * b2 / l2 - s * ia * b3 / l3;
}

Util::CountedPtr<Curve> CurveShim::Derivative() const {
  return Util::CountedPtr<Curve>(new CurveShim(Inner->Derivative(), Begin, End, Scale / Length));
}

} // namespace Ostra::Physics
