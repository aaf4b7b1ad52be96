#include "Papy/Ptf/PtfTrack.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "Papy/N4/TdoFile.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "Papy/N4/ThreeDObjectTrack.h"
#include "Papy/N4/ThreeDObjectTrackSegment.h"
#include "Papy/Ptf/PtfTrackSegment.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

PtfTrack::PtfTrack(const CountedPtr<TdoFile>& file, const std::string& file_name) : File(file) {
  UTIL_ASSERT(!File.IsNull());
  const CountedPtr<ThreeDObjectRoot> root = File->GetRoot();
  if (root.IsNull() || root->GetChildCount() == 0)
    throw Util::XFileFormat(file_name, "N4 ptf file has no track");
  const CountedPtr<ThreeDObject> top = root->GetChild(0);
  if (dynamic_cast<ThreeDObjectTrack*>(top.Get()) == nullptr)
    throw Util::XFileFormat(file_name, "N4 ptf file has no track");
  TrackObject.DynamicCast(top);

  const U32 count = static_cast<U32>(TrackObject->GetSegmentCount());
  Segments.reserve(count);
  Starts.reserve(count + 1);
  Starts.push_back(0.0);
  for (U32 i = 0; i < count; ++i) {
    // A reference to another kind of object reads as an empty pointer or a failed cast.
    CountedPtr<ThreeDObjectTrackSegment> segment;
    try {
      segment = TrackObject->GetSegment(i);
    } catch (const std::bad_cast&) {
    }
    if (segment.IsNull())
      throw Util::XFileFormat(file_name, "N4 ptf Track segment of another kind");
    try {
      Segments.emplace_back(new PtfTrackSegment(segment));
    } catch (const std::bad_cast&) {
      throw Util::XFileFormat(file_name, "N4 ptf TrackSegment section of another kind");
    }
    Starts.push_back(Starts.back() + Segments.back()->GetLength2D());
  }
}

// Members go in reverse order: the segments, the track object, then the file that owns
// the N4 objects.
PtfTrack::~PtfTrack() = default;

double PtfTrack::GetLength3D() const { return GetLength2D(); }

double PtfTrack::GetLength2D() const { return Starts.back(); }

double PtfTrack::Length2DToLength3D(double distance) const { return distance; }

U32 PtfTrack::GetSegmentCount() const { return static_cast<U32>(Segments.size()); }

CountedPtr<TrackSegment> PtfTrack::GetSegment(U32 index) const {
  UTIL_ASSERT(index < Segments.size());
  return Segments[index];
}

double PtfTrack::GetSegmentStart3D(U32 index) const { return GetSegmentStart2D(index); }

double PtfTrack::GetSegmentStart2D(U32 index) const {
  UTIL_ASSERT(index < Segments.size());
  return Starts[index];
}

U32 PtfTrack::FindSegment(double distance, double& offset) const {
  const double length = GetLength2D();
  UTIL_ASSERT(length > 0.0);
  UTIL_ASSERT(std::isfinite(distance));
  // Lap curves sample a little past the lap's end, and callers step from negative
  // distances; any distance stands for its place in the lap.
  double d = std::fmod(distance, length);
  if (d < 0.0)
    d += length;
  if (d >= length)
    d = 0.0;
  // The last start at or below d; a segment without length shares its start with the
  // next one and is passed over.
  const auto after = std::upper_bound(Starts.begin(), Starts.end(), d);
  const U32 index = static_cast<U32>(after - Starts.begin()) - 1;
  UTIL_ASSERT(index < Segments.size());
  offset = d - Starts[index];
  return index;
}

CountedPtr<TrackSegment> PtfTrack::GetSegmentAt(double distance, double& offset) const {
  return Segments[FindSegment(distance, offset)];
}

TrackFrame PtfTrack::GetFrame(double distance, double latitude) const {
  double offset = 0.0;
  const U32 index = FindSegment(distance, offset);
  return Segments[index]->GetFrame(offset, latitude);
}

void PtfTrack::Write(const CountedPtr<Util::BinaryStream>& stream) const { File->Save(*stream); }

} // namespace Ostra::Papy
