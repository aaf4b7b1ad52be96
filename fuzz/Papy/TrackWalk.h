#pragma once

#include "Papy/Track/Track.h"
#include "Papy/Track/TrackFSection.h"
#include "Papy/Track/TrackFrame.h"
#include "Papy/Track/TrackSegment.h"
#include "Papy/Track/TrackWSection.h"
#include "Papy/Track/TrackXSection.h"

// Shared by the fuzz targets that build a track from fuzzed bytes.
namespace Ostra::Papy::Fuzz {

// Touches every answer of every view; results are summed so nothing is optimised away.
inline double WalkTrack(const Track& track) {
  double sum = track.GetLength3D() + track.GetLength2D();
  for (U32 s = 0; s < track.GetSegmentCount(); ++s) {
    const auto segment = track.GetSegment(s);
    sum += segment->GetCentrelineStartX() + segment->GetCentrelineEndY() +
           segment->GetLength2D() + segment->GetEndOrientation();
    double cx, cy, r, sweep;
    segment->GetArc(cx, cy, r, sweep);
    sum += cx + cy + r + sweep;
    for (U32 i = 0; i < segment->GetXSectionCount(); ++i) {
      const auto x = segment->GetXSection(i);
      sum += x->GetStartLatitude() + x->GetEndAltitude() + x->GetEndSlope() +
             x->GetAltitudeAt(segment->GetLength2D() / 2);
    }
    for (U32 i = 0; i < segment->GetFSectionCount(); ++i) {
      const auto f = segment->GetFSection(i);
      sum += f->GetLeftEndLatitude() + f->GetRightStartLatitude() + f->GetSurfaceType();
    }
    for (U32 i = 0; i < segment->GetWSectionCount(); ++i) {
      const auto w = segment->GetWSection(i);
      sum += w->GetStartLatitude() + w->GetEndWidth() + w->GetStartHeight() + w->GetWallType();
    }
    sum += segment->GetFrame(0.0, 1.0).Z;
  }
  for (double d : {-1.0, 0.0, 0.5 * track.GetLength2D(), track.GetLength2D() + 3.0}) {
    const TrackFrame frame = track.GetFrame(d, -2.0);
    sum += frame.X + frame.Pitch + frame.Bank + frame.SurfaceType;
    double offset = 0.0;
    sum += track.GetSegmentAt(d, offset)->GetLength3D() + offset + track.Length2DToLength3D(d);
  }
  return sum;
}

} // namespace Ostra::Papy::Fuzz
