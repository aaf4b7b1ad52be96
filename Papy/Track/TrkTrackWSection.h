#pragma once

#include "Papy/Track/TrackWSection.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Papy {

class TrkFile;

// Wall Index of a TRK section.
class TrkTrackWSection : public TrackWSection {
public:
  TrkTrackWSection(const CountedPtr<TrkFile>& file, U32 section, U32 index);

  double GetStartLatitude() const override;
  double GetEndLatitude() const override;
  double GetStartHeight() const override;
  double GetEndHeight() const override;
  double GetStartWidth() const override;
  double GetEndWidth() const override;
  int GetWallType() const override;

private:
  CountedPtr<TrkFile> File;
  U32 Section;
  U32 Index;
};

} // namespace Ostra::Papy
