#pragma once

#include "Physics/Curve.h"

#include <vector>

namespace Ostra::Physics {

// Contiguous segments over [Begin, End], each evaluated at the global t. A t on
// the boundary of two segments belongs to the earlier one.
class CurvePiecewise : public Curve {
public:
  struct Segment {
    double Begin;
    double End;
    Util::CountedPtr<Ostra::Physics::Curve> Curve;
  };

  // An empty curve with Begin = End = start.
  explicit CurvePiecewise(double start);

  // Appends curve over [End, end]. A curve defined on [0, 1] must first be wrapped
  // in a CurveShim. Throws Util::XAssertion, appending nothing, unless end > End.
  void Add(const Util::CountedPtr<Curve>& curve, double end);

  // Throw Util::XAssertion for t outside [Begin, End] (NaN included) and for a
  // curve without segments.
  double Evaluate(double t) const override;
  void GetCubic(double t, double* a, double* b, double* c, double* d) const override;
  void GetSegmentRange(double t, double* begin, double* end) const;

  Util::CountedPtr<Curve> Derivative() const override;

  double GetBegin() const { return Begin; }
  double GetEnd() const { return End; }
  const std::vector<Segment>& GetSegments() const { return Segments; }

private:
  const Segment& FindSegment(double t) const;

  double Begin;
  double End;
  std::vector<Segment> Segments;
};

} // namespace Ostra::Physics
