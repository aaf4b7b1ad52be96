#include "Physics/CurvePeriodic.h"

#include "Util/Exception.h"

#include <algorithm>
#include <cmath>

namespace Ostra::Physics {

namespace {

// Parameters are normally within a period or two of the range, where wrapping step
// by step gives the same rounding as every other user of the curve. Further out,
// stepping could run for ever (or make no progress at all once the period is below
// the parameter's precision), so the remaining distance is reduced in one go.
constexpr int MaxWrapSteps = 64;

} // namespace

CurvePeriodic::CurvePeriodic(const Util::CountedPtr<Curve>& inner, double begin, double end)
    : Inner(inner), Begin(begin), End(end), Period(end - begin) {
  // Wrapping over an empty or reversed period would never end.
  UTIL_ASSERT(end > begin);
}

double CurvePeriodic::Wrap(double t) const {
  // Infinity plus a period is still infinity; let Inner judge such a t.
  if (!std::isfinite(t))
    return t;
  int steps = 0;
  for (; t < Begin && steps < MaxWrapSteps; ++steps)
    t += Period;
  for (; t > End && steps < MaxWrapSteps; ++steps)
    t -= Period;
  if ((t >= Begin && t <= End) || !std::isfinite(t))
    return t;

  // fmod is exact, so the offset from Begin is as precise as t allows.
  double offset = std::fmod(t, Period) - std::fmod(Begin, Period);
  while (offset < 0.0)
    offset += Period;
  while (offset > Period)
    offset -= Period;
  // Stepping down from above stops at End, never at Begin: keep that for whole
  // periods too, so both routes pick the same piece.
  if (offset == 0.0 && t > End)
    offset = Period;
  return std::clamp(Begin + offset, Begin, End);
}

double CurvePeriodic::Evaluate(double t) const { return Inner->Evaluate(Wrap(t)); }

void CurvePeriodic::GetCubic(double t, double* a, double* b, double* c, double* d) const {
  const double u = Wrap(t);
  double ia;
  double ib;
  double ic;
  double id;
  Inner->GetCubic(u, &ia, &ib, &ic, &id);
  // The inner polynomial p(u) rewritten as p(t - s), s being the periods removed.
  const double s = t - u;
  *a = ia;
  *b = ib - 3.0 * ia * s;
  *c = ic - 2.0 * ib * s + 3.0 * ia * s * s;
  *d = id - ic * s + ib * s * s - ia * s * s * s;
}

Util::CountedPtr<Curve> CurvePeriodic::Derivative() const {
  return Util::CountedPtr<Curve>(new CurvePeriodic(Inner->Derivative(), Begin, End));
}

} // namespace Ostra::Physics
