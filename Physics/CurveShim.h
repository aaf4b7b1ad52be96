#pragma once

#include "Physics/Curve.h"

namespace Ostra::Physics {

// Scale * Inner((t - Begin) / Length): maps [Begin, End] onto [0, 1] of Inner.
class CurveShim : public Curve {
public:
  // Throws Util::XAssertion unless end > begin.
  CurveShim(const Util::CountedPtr<Curve>& inner, double begin, double end, double scale);

  // Throw Util::XAssertion for t outside [Begin, End], NaN included.
  double Evaluate(double t) const override;
  void GetCubic(double t, double* a, double* b, double* c, double* d) const override;
  Util::CountedPtr<Curve> Derivative() const override;

  const Util::CountedPtr<Curve>& GetInner() const { return Inner; }
  double GetBegin() const { return Begin; }
  double GetEnd() const { return End; }
  double GetLength() const { return Length; }
  double GetScale() const { return Scale; }

private:
  double ToInner(double t) const;

  Util::CountedPtr<Curve> Inner;
  double Begin;
  double End;
  double Length;
  double Scale;
};

} // namespace Ostra::Physics
