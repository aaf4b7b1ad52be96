#include "Papy/Ptf/PtfTrackWSection.h"

#include "Papy/N4/ThreeDObjectWSection.h"

namespace Ostra::Papy {

PtfTrackWSection::PtfTrackWSection(const CountedPtr<ThreeDObjectWSection>& section)
    : Section(section) {}

PtfTrackWSection::~PtfTrackWSection() = default;

double PtfTrackWSection::GetStartLatitude() const { return Section->GetStartLatitude(); }

double PtfTrackWSection::GetEndLatitude() const { return Section->GetEndLatitude(); }

double PtfTrackWSection::GetStartHeight() const { return Section->GetStartHeight(); }

double PtfTrackWSection::GetEndHeight() const { return Section->GetEndHeight(); }

double PtfTrackWSection::GetStartWidth() const { return Section->GetStartWidth(); }

double PtfTrackWSection::GetEndWidth() const { return Section->GetEndWidth(); }

int PtfTrackWSection::GetWallType() const { return static_cast<int>(Section->GetWallType()); }

} // namespace Ostra::Papy
