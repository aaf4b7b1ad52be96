#pragma once

#include <vector>

#include "Papy/Track/TrackSegment.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Papy {

class TrkFile;

// One TRK section as a track segment. Answers are read from the file and converted to
// metres and radians on every call.
class TrkTrackSegment : public TrackSegment {
public:
  TrkTrackSegment(const CountedPtr<TrkFile>& file, U32 section);
  ~TrkTrackSegment() override;

  bool IsCurve() const override;
  double GetCentrelineStartX() const override;
  double GetCentrelineStartY() const override;
  double GetCentrelineEndX() const override;
  double GetCentrelineEndY() const override;
  double GetLength3D() const override;
  double GetLength2D() const override;
  void GetArc(double& centre_x, double& centre_y, double& radius, double& sweep) const override;
  double GetStartOrientation() const override;
  double GetEndOrientation() const override;
  U32 GetXSectionCount() const override;
  CountedPtr<TrackXSection> GetXSection(U32 index) const override;
  U32 GetFSectionCount() const override;
  CountedPtr<TrackFSection> GetFSection(U32 index) const override;
  U32 GetWSectionCount() const override;
  CountedPtr<TrackWSection> GetWSection(U32 index) const override;
  TrackFrame GetFrame(double distance, double latitude) const override;

private:
  CountedPtr<TrkFile> File;
  U32 Section;
  U32 NextSection;
  std::vector<CountedPtr<TrackFSection>> FSections;
  std::vector<CountedPtr<TrackWSection>> WSections;
  std::vector<CountedPtr<TrackXSection>> XSections;
};

} // namespace Ostra::Papy
