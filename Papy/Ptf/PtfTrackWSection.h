#pragma once

#include "Papy/Track/TrackWSection.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {

class ThreeDObjectWSection;

// An N4 wall section as a track-model wall; every answer comes from the N4 object.
class PtfTrackWSection : public TrackWSection {
public:
  explicit PtfTrackWSection(const CountedPtr<ThreeDObjectWSection>& section);
  ~PtfTrackWSection() override;

  double GetStartLatitude() const override;
  double GetEndLatitude() const override;
  double GetStartHeight() const override;
  double GetEndHeight() const override;
  double GetStartWidth() const override;
  double GetEndWidth() const override;
  int GetWallType() const override;

private:
  CountedPtr<ThreeDObjectWSection> Section;
};

} // namespace Ostra::Papy
