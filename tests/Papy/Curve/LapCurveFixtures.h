#pragma once

#include <cmath>
#include <vector>

#include "Papy/Curve/LpFileCurve.h"
#include "TestSupport/ByteBuilder.h"
#include "Util/CountedPtr.h"
#include "Util/MemoryStream.h"
#include "tests/Papy/Curve/OvalTrack.h"

namespace Ostra::Test {

using Papy::LpFileCurve;

// The exact point, with its derivative along the distance, of the line at a constant
// latitude.
inline LpFileCurve::PointRecord LinePoint(const OvalTrack& track, double latitude,
                                          double distance) {
  const Papy::TrackFrame frame = track.GetFrame(distance, latitude);
  const double speed = track.PlanSpeed(distance, latitude);
  return {distance, frame.X, frame.Y, speed * std::cos(frame.Orientation),
          speed * std::sin(frame.Orientation)};
}

// Control points of that line at record longitudes k x spacing, k = 1, 1 + every, ...
inline std::vector<LpFileCurve::PointRecord> LinePoints(const OvalTrack& track, double latitude,
                                                        double spacing, unsigned every) {
  std::vector<LpFileCurve::PointRecord> points;
  for (unsigned k = 1; static_cast<double>(k) * spacing < track.Length; k += every)
    points.push_back(LinePoint(track, latitude, static_cast<double>(k) * spacing));
  return points;
}

// The records a lap needs at a spacing, the last one at or just past the lap end.
inline U32 LapRecordCount(const OvalTrack& track, double spacing) {
  return static_cast<U32>(track.Length / spacing) + 1;
}

// A .lcv image up to and including the control points.
inline ByteBuilder LcvImage(U32 version, double spacing, U32 recordCount,
                            const std::vector<LpFileCurve::PointRecord>& points) {
  ByteBuilder b;
  b.U32(version).F64(spacing).U32(recordCount).U32(static_cast<U32>(points.size()));
  for (const auto& p : points)
    b.F64(p.Longitude).F64(p.X).F64(p.Y).F64(p.XSlope).F64(p.YSlope);
  return b;
}

inline CountedPtr<Util::BinaryStream> StreamOver(const std::vector<unsigned char>& bytes) {
  return CountedPtr<Util::BinaryStream>(new Util::MemoryStream("test.lcv", bytes));
}

inline std::vector<unsigned char> WrittenBytes(const LpFileCurve& curve) {
  Util::MemoryStream out("out.lcv");
  curve.Write(out);
  return out.Bytes();
}

} // namespace Ostra::Test
