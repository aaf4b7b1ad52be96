#include "Papy/Track/TrkTrack.h"

#include "Papy/Track/TrkFile.h"
#include "Papy/Track/TrkFrame.h"
#include "Papy/Track/TrkTrackSegment.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

TrkTrack::TrkTrack(const CountedPtr<TrkFile>& file) : File(file) {
  const U32 count = File->GetSectionCount();
  Segments.reserve(count);
  for (U32 s = 0; s < count; ++s)
    Segments.emplace_back(new TrkTrackSegment(file, s));
}

// Members go in reverse order: the segments, then the file.
TrkTrack::~TrkTrack() = default;

double TrkTrack::GetLength3D() const { return TrkUnitsToMetres(File->GetLength()); }

double TrkTrack::GetLength2D() const { return File->GetLength2D(); }

double TrkTrack::Length2DToLength3D(double distance) const {
  return TrkUnitsToMetres(File->Length2DToLongitude(distance));
}

U32 TrkTrack::GetSegmentCount() const { return File->GetSectionCount(); }

CountedPtr<TrackSegment> TrkTrack::GetSegment(U32 index) const {
  UTIL_ASSERT(index < Segments.size());
  return Segments[index];
}

double TrkTrack::GetSegmentStart3D(U32 index) const {
  return TrkUnitsToMetres(File->GetSectionStart(index));
}

double TrkTrack::GetSegmentStart2D(U32 index) const { return File->GetSectionStart2D(index); }

CountedPtr<TrackSegment> TrkTrack::GetSegmentAt(double distance, double& offset) const {
  const U32 s = File->FindSection2D(distance, offset);
  UTIL_ASSERT(s < Segments.size());
  return Segments[s];
}

TrackFrame TrkTrack::GetFrame(double distance, double latitude) const {
  const S32 lat = MetresToTrkUnits(latitude);
  const S32 longitude = File->Length2DToLongitude(distance);
  return GetTrkFrame(*File, longitude, lat);
}

void TrkTrack::Write(const CountedPtr<Util::BinaryStream>& stream) const { File->Write(stream); }

} // namespace Ostra::Papy
