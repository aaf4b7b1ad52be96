#pragma once

#include "Physics/Curve.h"

namespace Ostra::Physics {

// a*t^2 + b*t + c.
class CurveQuadratic : public Curve {
public:
  CurveQuadratic(double a, double b, double c);

  double Evaluate(double t) const override;
  void GetCubic(double t, double* a, double* b, double* c, double* d) const override;
  Util::CountedPtr<Curve> Derivative() const override;

private:
  double A;
  double B;
  double C;
};

} // namespace Ostra::Physics
