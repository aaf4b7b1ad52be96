#include "Papy/Ptf/PtfTrackXSection.h"

#include "Papy/N4/ThreeDObjectXSection.h"

namespace Ostra::Papy {

PtfTrackXSection::PtfTrackXSection(const CountedPtr<ThreeDObjectXSection>& section,
                                   double length)
    : Section(section), Length(length) {}

PtfTrackXSection::~PtfTrackXSection() = default;

double PtfTrackXSection::GetStartLatitude() const { return Section->GetStartLatitude(); }

double PtfTrackXSection::GetEndLatitude() const { return Section->GetEndLatitude(); }

void PtfTrackXSection::SetLatitude(double start_latitude, double end_latitude) {
  Section->SetLatitudes(start_latitude, end_latitude);
}

double PtfTrackXSection::GetStartAltitude() const { return Section->GetStartAltitude(); }

double PtfTrackXSection::GetEndAltitude() const { return Section->GetEndAltitude(); }

double PtfTrackXSection::GetStartSlope() const { return Section->GetStartSlope(); }

double PtfTrackXSection::GetEndSlope() const { return Section->GetEndSlope(); }

void PtfTrackXSection::SetAltitudes(double start_altitude, double end_altitude,
                                    double start_slope, double end_slope) {
  Section->SetAltitudes(start_altitude, end_altitude, start_slope, end_slope);
}

double PtfTrackXSection::GetLinearCoefficient() const { return Section->GetLinearCoefficient(); }

double PtfTrackXSection::GetSquareCoefficient() const { return Section->GetSquareCoefficient(); }

double PtfTrackXSection::GetCubeCoefficient() const { return Section->GetCubeCoefficient(); }

double PtfTrackXSection::GetAltitudeAt(double distance) const {
  const double t = Length > 0.0 ? distance / Length : 0.0;
  return Section->GetAltitudeAt(t);
}

} // namespace Ostra::Papy
