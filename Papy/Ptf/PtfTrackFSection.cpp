#include "Papy/Ptf/PtfTrackFSection.h"

#include "Papy/N4/ThreeDObjectFSection.h"

namespace Ostra::Papy {

PtfTrackFSection::PtfTrackFSection(const CountedPtr<ThreeDObjectFSection>& right_line,
                                   const CountedPtr<ThreeDObjectFSection>& left_line)
    : LeftLine(left_line), RightLine(right_line) {}

PtfTrackFSection::~PtfTrackFSection() = default;

double PtfTrackFSection::GetRightStartLatitude() const { return RightLine->GetStartLatitude(); }

double PtfTrackFSection::GetRightEndLatitude() const { return RightLine->GetEndLatitude(); }

double PtfTrackFSection::GetLeftStartLatitude() const { return LeftLine->GetStartLatitude(); }

double PtfTrackFSection::GetLeftEndLatitude() const { return LeftLine->GetEndLatitude(); }

int PtfTrackFSection::GetSurfaceType() const {
  return static_cast<int>(RightLine->GetSurfaceType());
}

int PtfTrackFSection::GetGripModifier() const {
  return static_cast<int>(RightLine->GetGripModifier());
}

} // namespace Ostra::Papy
