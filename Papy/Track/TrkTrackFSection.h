#pragma once

#include "Papy/Track/TrackFSection.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Papy {

class TrkFile;

// Surface strip Index of a TRK section.
class TrkTrackFSection : public TrackFSection {
public:
  TrkTrackFSection(const CountedPtr<TrkFile>& file, U32 section, U32 index);

  double GetRightStartLatitude() const override;
  double GetRightEndLatitude() const override;
  double GetLeftStartLatitude() const override;
  double GetLeftEndLatitude() const override;
  int GetSurfaceType() const override;
  int GetGripModifier() const override;

private:
  CountedPtr<TrkFile> File;
  U32 Section;
  U32 Index;
};

} // namespace Ostra::Papy
