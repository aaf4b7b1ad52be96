#pragma once

#include "Papy/Track/TrackXSection.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {

class ThreeDObjectXSection;

// An N4 cross section as a track-model cross section. The setters write into the N4
// object, so the archive writer and every other holder see the change.
class PtfTrackXSection : public TrackXSection {
public:
  // length is the plan length of the section's segment, metres: N4 profiles run over
  // the segment's fraction, the track model's GetAltitudeAt over a plan distance.
  PtfTrackXSection(const CountedPtr<ThreeDObjectXSection>& section, double length);
  ~PtfTrackXSection() override;

  double GetStartLatitude() const override;
  double GetEndLatitude() const override;
  void SetLatitude(double start_latitude, double end_latitude) override;
  double GetStartAltitude() const override;
  double GetEndAltitude() const override;
  double GetStartSlope() const override;
  double GetEndSlope() const override;
  void SetAltitudes(double start_altitude, double end_altitude, double start_slope,
                    double end_slope) override;
  double GetLinearCoefficient() const override;
  double GetSquareCoefficient() const override;
  double GetCubeCoefficient() const override;
  // The altitude at a plan distance from the segment's start; a segment without length
  // gives its start altitude.
  double GetAltitudeAt(double distance) const override;

private:
  CountedPtr<ThreeDObjectXSection> Section;
  double Length;
};

} // namespace Ostra::Papy
