#pragma once

#include "Physics/Curve.h"

namespace Ostra::Physics {

class CurveConstant : public Curve {
public:
  explicit CurveConstant(double value);

  double Evaluate(double t) const override;
  void GetCubic(double t, double* a, double* b, double* c, double* d) const override;
  Util::CountedPtr<Curve> Derivative() const override;

private:
  double Value;
};

} // namespace Ostra::Physics
