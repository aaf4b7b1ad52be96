#pragma once

#include "Papy/Track/TrackFSection.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {

class ThreeDObjectFSection;

// A surface strip of an N4 segment. N4 stores the lines between strips, so a strip is
// two consecutive lines: its right edge, which also carries the strip's surface, and
// its left edge.
class PtfTrackFSection : public TrackFSection {
public:
  PtfTrackFSection(const CountedPtr<ThreeDObjectFSection>& right_line,
                   const CountedPtr<ThreeDObjectFSection>& left_line);
  ~PtfTrackFSection() override;

  double GetRightStartLatitude() const override;
  double GetRightEndLatitude() const override;
  double GetLeftStartLatitude() const override;
  double GetLeftEndLatitude() const override;
  // Throws XAssertion("false") for a right line whose surface code N4 does not define.
  int GetSurfaceType() const override;
  int GetGripModifier() const override;

private:
  CountedPtr<ThreeDObjectFSection> LeftLine;
  CountedPtr<ThreeDObjectFSection> RightLine;
};

} // namespace Ostra::Papy
