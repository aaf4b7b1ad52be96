#include "Papy/Track/TrkTrackFSection.h"

#include "Papy/Track/TrkFile.h"

namespace Ostra::Papy {

TrkTrackFSection::TrkTrackFSection(const CountedPtr<TrkFile>& file, U32 section, U32 index)
    : File(file), Section(section), Index(index) {}

double TrkTrackFSection::GetRightStartLatitude() const {
  return TrkUnitsToMetres(File->GetSurfaceRightStartLatitude(Section, Index));
}

double TrkTrackFSection::GetRightEndLatitude() const {
  return TrkUnitsToMetres(File->GetSurfaceRightEndLatitude(Section, Index));
}

double TrkTrackFSection::GetLeftStartLatitude() const {
  return TrkUnitsToMetres(File->GetSurfaceLeftStartLatitude(Section, Index));
}

double TrkTrackFSection::GetLeftEndLatitude() const {
  return TrkUnitsToMetres(File->GetSurfaceLeftEndLatitude(Section, Index));
}

int TrkTrackFSection::GetSurfaceType() const { return File->GetSurfaceType(Section, Index); }

int TrkTrackFSection::GetGripModifier() const {
  return File->GetSurfaceGripModifier(Section, Index);
}

} // namespace Ostra::Papy
