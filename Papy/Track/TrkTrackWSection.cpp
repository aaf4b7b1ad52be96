#include "Papy/Track/TrkTrackWSection.h"

#include "Papy/Track/TrkFile.h"

namespace Ostra::Papy {

TrkTrackWSection::TrkTrackWSection(const CountedPtr<TrkFile>& file, U32 section, U32 index)
    : File(file), Section(section), Index(index) {}

// The edge sum may be odd: it is halved after the conversion, never as an integer.
double TrkTrackWSection::GetStartLatitude() const {
  return TrkUnitsToMetres(WrapAdd(File->GetWallRightStartLatitude(Section, Index),
                                  File->GetWallLeftStartLatitude(Section, Index))) /
         2.0;
}

double TrkTrackWSection::GetEndLatitude() const {
  return TrkUnitsToMetres(WrapAdd(File->GetWallRightEndLatitude(Section, Index),
                                  File->GetWallLeftEndLatitude(Section, Index))) /
         2.0;
}

double TrkTrackWSection::GetStartHeight() const {
  return TrkUnitsToMetres(File->GetWallHeight(Section, Index));
}

double TrkTrackWSection::GetEndHeight() const {
  return TrkUnitsToMetres(File->GetWallHeight(Section, Index));
}

double TrkTrackWSection::GetStartWidth() const {
  return TrkUnitsToMetres(WrapSub(File->GetWallLeftStartLatitude(Section, Index),
                                  File->GetWallRightStartLatitude(Section, Index)));
}

double TrkTrackWSection::GetEndWidth() const {
  return TrkUnitsToMetres(WrapSub(File->GetWallLeftEndLatitude(Section, Index),
                                  File->GetWallRightEndLatitude(Section, Index)));
}

int TrkTrackWSection::GetWallType() const { return File->GetWallType(Section, Index); }

} // namespace Ostra::Papy
