#include "Physics/CurvePiecewise.h"

#include "Util/Exception.h"

#include <algorithm>

namespace Ostra::Physics {

CurvePiecewise::CurvePiecewise(double start) : Begin(start), End(start) {}

void CurvePiecewise::Add(const Util::CountedPtr<Curve>& curve, double end) {
  UTIL_ASSERT(end > End);
  Segments.push_back(Segment{End, end, curve});
  End = end;
}

const CurvePiecewise::Segment& CurvePiecewise::FindSegment(double t) const {
  UTIL_ASSERT(t >= Begin);
  UTIL_ASSERT(t <= End);
  // Without segments Begin == End, and t == Begin would pass the range checks.
  UTIL_ASSERT(!Segments.empty());
  // The first segment whose end is not before t: a shared boundary belongs to the
  // earlier segment.
  const auto found =
      std::lower_bound(Segments.begin(), Segments.end(), t,
                       [](const Segment& segment, double value) { return segment.End < value; });
  return *found;
}

double CurvePiecewise::Evaluate(double t) const { return FindSegment(t).Curve->Evaluate(t); }

void CurvePiecewise::GetCubic(double t, double* a, double* b, double* c, double* d) const {
  FindSegment(t).Curve->GetCubic(t, a, b, c, d);
}

void CurvePiecewise::GetSegmentRange(double t, double* begin, double* end) const {
  const Segment& segment = FindSegment(t);
  *begin = segment.Begin;
  *end = segment.End;
}

Util::CountedPtr<Curve> CurvePiecewise::Derivative() const {
  auto* derivative = new CurvePiecewise(Begin);
  Util::CountedPtr<Curve> result(derivative);
  for (const Segment& segment : Segments)
    derivative->Add(segment.Curve->Derivative(), segment.End);
  return result;
}

} // namespace Ostra::Physics
