#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "Papy/Curve/LpFileCurve.h"
#include "TestSupport/ByteBuilder.h"
#include "Util/CountedPtr.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "TestSupport/OvalTrack.h"

namespace Ostra::Test {

using Papy::LpFileCurve;
using PointRecord = LpFileCurve::PointRecord;

constexpr double Spacing = 3.0;

// The exact point, with its derivative along the distance, of the line at a constant
// latitude.
inline PointRecord LinePoint(const OvalTrack& track, double latitude, double distance) {
  const Papy::TrackFrame frame = track.GetFrame(distance, latitude);
  const double speed = track.PlanSpeed(distance, latitude);
  return {distance, frame.X, frame.Y, speed * std::cos(frame.Orientation),
          speed * std::sin(frame.Orientation)};
}

// Control points of that line at record longitudes k x Spacing, k = 1, 1 + every, ...
inline std::vector<PointRecord> LinePoints(const OvalTrack& track, double latitude,
                                           unsigned every) {
  std::vector<PointRecord> points;
  for (unsigned k = 1; static_cast<double>(k) * Spacing < track.Length; k += every)
    points.push_back(LinePoint(track, latitude, static_cast<double>(k) * Spacing));
  return points;
}

// The records a lap needs, the last one at or just past the lap end.
inline U32 LapRecordCount(const OvalTrack& track) {
  return static_cast<U32>(track.Length / Spacing) + 1;
}

// A .lcv image up to and including the control points.
inline ByteBuilder LcvImage(U32 version, U32 recordCount, const std::vector<PointRecord>& points) {
  ByteBuilder b;
  b.U32(version).F64(Spacing).U32(recordCount).U32(static_cast<U32>(points.size()));
  for (const auto& p : points)
    b.F64(p.Longitude).F64(p.X).F64(p.Y).F64(p.XSlope).F64(p.YSlope);
  return b;
}

inline CountedPtr<Util::BinaryStream> StreamOver(const std::vector<unsigned char>& bytes) {
  return CountedPtr<Util::BinaryStream>(new Util::MemoryStream("test.lcv", bytes));
}

inline LpFileCurve Read(const ByteBuilder& image, const CountedPtr<Papy::Track>& track) {
  return LpFileCurve(StreamOver(image.Data()), track);
}

// A lap of version 3 records over the points, without speed limits.
inline LpFileCurve LapCurve(const CountedPtr<Papy::Track>& track,
                            const std::vector<PointRecord>& points) {
  const auto& oval = dynamic_cast<const OvalTrack&>(*track);
  return Read(LcvImage(3, LapRecordCount(oval), points).U32(0), track);
}

inline std::vector<unsigned char> WrittenBytes(const LpFileCurve& curve) {
  Util::MemoryStream out("out.lcv");
  curve.Write(out);
  return out.Bytes();
}

// The expression of the assertion f fails, or "no assertion".
template <class F>
std::string AssertionOf(F&& f) {
  try {
    f();
  } catch (const Util::XAssertion& e) {
    return e.Expression;
  }
  return "no assertion";
}

} // namespace Ostra::Test
