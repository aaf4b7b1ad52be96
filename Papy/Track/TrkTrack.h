#pragma once

#include <vector>

#include "Papy/Track/Track.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Papy {

class TrkFile;

// A GPL or ICR2-format track: the track model over a TrkFile, one segment per section.
// Frames are computed on the file's integer grid: the latitude is truncated to whole
// TRK units and the plan distance goes through the file's plan map (floats).
class TrkTrack : public Track {
public:
  explicit TrkTrack(const CountedPtr<TrkFile>& file);
  ~TrkTrack() override;

  double GetLength3D() const override;
  double GetLength2D() const override;
  double Length2DToLength3D(double distance) const override;
  U32 GetSegmentCount() const override;
  CountedPtr<TrackSegment> GetSegment(U32 index) const override;
  double GetSegmentStart3D(U32 index) const override;
  double GetSegmentStart2D(U32 index) const override;
  CountedPtr<TrackSegment> GetSegmentAt(double distance, double& offset) const override;
  TrackFrame GetFrame(double distance, double latitude) const override;
  void Write(const CountedPtr<Util::BinaryStream>& stream) const override;

private:
  CountedPtr<TrkFile> File;
  std::vector<CountedPtr<TrackSegment>> Segments;
};

} // namespace Ostra::Papy
