#pragma once

#include "Physics/Curve.h"

namespace Ostra::Physics {

// a*t^3 + b*t^2 + c*t + d.
class CurveCubic : public Curve {
public:
  CurveCubic(double a, double b, double c, double d);

  // The cubic on [0, 1] with value y0 at 0, y1 at 1, slope m0 at 0 and m1 at 1.
  static CurveCubic FromHermite(double y0, double y1, double m0, double m1);

  double Evaluate(double t) const override;
  void GetCubic(double t, double* a, double* b, double* c, double* d) const override;
  Util::CountedPtr<Curve> Derivative() const override;

private:
  double A;
  double B;
  double C;
  double D;
};

} // namespace Ostra::Physics
