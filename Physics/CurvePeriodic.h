#pragma once

#include "Physics/Curve.h"

namespace Ostra::Physics {

// Repeats Inner, the curve of one period on [Begin, End], over every t. Both ends
// of the period are kept as they are: t = End reads Inner at End, not at Begin.
class CurvePeriodic : public Curve {
public:
  // Throws Util::XAssertion unless end > begin.
  CurvePeriodic(const Util::CountedPtr<Curve>& inner, double begin, double end);

  // A t that is not finite is passed to Inner unchanged.
  double Evaluate(double t) const override;
  void GetCubic(double t, double* a, double* b, double* c, double* d) const override;
  Util::CountedPtr<Curve> Derivative() const override;

  const Util::CountedPtr<Curve>& GetInner() const { return Inner; }
  double GetBegin() const { return Begin; }
  double GetEnd() const { return End; }
  double GetPeriod() const { return Period; }

private:
  double Wrap(double t) const;

  Util::CountedPtr<Curve> Inner;
  double Begin;
  double End;
  double Period;
};

} // namespace Ostra::Physics
