#pragma once

#include "Physics/Curve.h"

namespace Ostra::Physics {

// a*t + b.
class CurveLinear : public Curve {
public:
  CurveLinear(double a, double b);

  double Evaluate(double t) const override;
  void GetCubic(double t, double* a, double* b, double* c, double* d) const override;
  Util::CountedPtr<Curve> Derivative() const override;

private:
  double A;
  double B;
};

} // namespace Ostra::Physics
