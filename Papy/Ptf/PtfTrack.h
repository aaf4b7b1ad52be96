#pragma once

#include <string>
#include <vector>

#include "Papy/Track/Track.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Papy {

class TdoFile;
class ThreeDObjectTrack;

// An N4 track (.ptf) as a track-model track: the archive's top object, which must be a
// track, with one PtfTrackSegment per N4 segment. The segments and their plan lengths
// are fixed at construction; the file is kept because it owns the N4 objects.
// N4 segments have one length, so plan distances and longitudes coincide.
class PtfTrack : public Track {
public:
  // file_name only names the file in error messages. Throws XFileFormat when the
  // archive's top object is no track, when a segment reference names another kind of
  // object or a segment's section reference does, and XAssertion for an arc segment
  // whose ends do not lie on one circle.
  explicit PtfTrack(const CountedPtr<TdoFile>& file, const std::string& file_name = std::string());
  ~PtfTrack() override;

  double GetLength3D() const override;
  double GetLength2D() const override;
  double Length2DToLength3D(double distance) const override;
  U32 GetSegmentCount() const override;
  CountedPtr<TrackSegment> GetSegment(U32 index) const override;
  double GetSegmentStart3D(U32 index) const override;
  double GetSegmentStart2D(U32 index) const override;
  // The distance is first wrapped into the lap. A distance at a segment's end belongs to
  // the next segment; segments without length are never returned. Throws XAssertion for
  // a track without length or a distance that is not finite.
  CountedPtr<TrackSegment> GetSegmentAt(double distance, double& offset) const override;
  // The frame of the segment at the wrapped distance; throws as GetSegmentAt.
  TrackFrame GetFrame(double distance, double latitude) const override;
  // Saves the whole archive; stream errors pass through.
  void Write(const CountedPtr<Util::BinaryStream>& stream) const override;

  const CountedPtr<ThreeDObjectTrack>& GetTrackObject() const { return TrackObject; }

private:
  U32 FindSegment(double distance, double& offset) const;

  CountedPtr<TdoFile> File;
  CountedPtr<ThreeDObjectTrack> TrackObject;
  std::vector<CountedPtr<TrackSegment>> Segments;
  // Starts[i] is the plan distance of segment i's start; Starts.back() the lap length.
  std::vector<double> Starts;
};

} // namespace Ostra::Papy
