// Format notes: lap-curve files (.lcv)
//
// Little-endian throughout, u32 integers and IEEE f64 reals, no padding, no header
// beyond the version word:
//   u32 version          3 when written; 0 to 3 are read
//   f64 spacing          metres between records
//   u32 record count     records a fit produces
//   u32 n                control points, then n x 40 bytes:
//                        f64 longitude, x, y, dx/ds, dy/ds
// Version 2 then holds u32 m and m x 24 bytes of speed-limit ranges
// {f64 from, f64 to, f64 limit}, both ends included and a range also catching the
// records past the lap end through their longitude less one lap. Version 3 holds u32 m
// and m x 16 bytes of speed-limit points {f64 longitude, f64 limit}, each belonging to
// the record at exactly that longitude. Versions 0 and 1 end after the control points.
// Nothing follows the last section and the file length is not checked.
//
// The records themselves are not stored: reading fits the curve again over the track
// the caller supplies, so the header values are checked against that track before
// anything is allocated or sampled.

#include "Papy/Curve/LpFileCurve.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <utility>

#include "Papy/Track/Track.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

namespace Layout {
constexpr U32 WrittenVersion = 3;
constexpr U32 NewestVersion = 3;
constexpr U32 RangesVersion = 2;
constexpr U32 PointsVersion = 3;
constexpr U64 HeaderSize = 20;
constexpr U64 PointRecordSize = 40;
constexpr U64 CountSize = 4;
constexpr U64 SpeedLimitRangeSize = 24;
constexpr U64 SpeedLimitPointSize = 16;
constexpr U32 MinControlPoints = 2;
// Files the program writes cover about one lap; twice that is generous.
constexpr double MaxLapsOfRecords = 2.0;
// About 3000 km at 3 m spacing: no track comes near, and the fit stays affordable.
constexpr U32 MaxRecordCount = 1u << 20;
} // namespace Layout

[[noreturn]] void Fail(const Util::BinaryStream& stream, const std::string& message) {
  throw Util::XFileFormat(stream.Name(), message);
}

LpFileCurve::PointRecord ReadPoint(Util::BinaryStream& stream) {
  LpFileCurve::PointRecord p;
  p.Longitude = Util::ReadF64(stream);
  p.X = Util::ReadF64(stream);
  p.Y = Util::ReadF64(stream);
  p.XSlope = Util::ReadF64(stream);
  p.YSlope = Util::ReadF64(stream);
  return p;
}

// Appends little-endian fields to a buffer that is written in one go.
class FieldWriter {
public:
  explicit FieldWriter(std::size_t capacity) { Bytes.reserve(capacity); }

  void PutU32(Ostra::U32 v) {
    unsigned char b[4];
    Util::StoreU32(b, v);
    Bytes.insert(Bytes.end(), b, b + 4);
  }
  void PutF64(double v) {
    unsigned char b[8];
    Util::StoreU64(b, std::bit_cast<U64>(v));
    Bytes.insert(Bytes.end(), b, b + 8);
  }
  void PutPoint(const LpFileCurve::PointRecord& p) {
    PutF64(p.Longitude);
    PutF64(p.X);
    PutF64(p.Y);
    PutF64(p.XSlope);
    PutF64(p.YSlope);
  }

  std::vector<unsigned char> Bytes;
};

// The first index in [begin, end) at which a predicate that holds up to some index
// and fails from there on fails; end when it always holds.
template <class Predicate>
U32 FirstFailing(U32 begin, U32 end, Predicate holds) {
  while (begin < end) {
    const U32 middle = begin + (end - begin) / 2;
    if (holds(middle))
      begin = middle + 1;
    else
      end = middle;
  }
  return begin;
}

} // namespace

LpFileCurve::LpFileCurve(const Util::CountedPtr<Util::BinaryStream>& stream_pointer,
                         const CountedPtr<Track>& track)
    : TrackModel(track) {
  Util::BinaryStream& stream = *stream_pointer;
  const U32 version = Util::ReadU32(stream);
  if (version > Layout::NewestVersion)
    Fail(stream, "Need newer version of program");

  const double spacing = Util::ReadF64(stream);
  if (!(std::isfinite(spacing) && spacing > 0.0))
    Fail(stream, "Lap curve file spacing not above 0");
  const U32 record_count = Util::ReadU32(stream);
  if (record_count == 0)
    Fail(stream, "Lap curve file record count 0");
  if (record_count > Layout::MaxRecordCount)
    Fail(stream, "Lap curve file record count above " + std::to_string(Layout::MaxRecordCount));
  if (static_cast<double>(record_count) * spacing >
      Layout::MaxLapsOfRecords * TrackModel->GetLength2D())
    Fail(stream, "Lap curve file record count beyond two laps of the track");

  const U32 point_count = Util::ReadU32(stream);
  if (point_count < Layout::MinControlPoints)
    Fail(stream, "Lap curve file control point count below 2");
  Util::RequireRemaining(stream, point_count * Layout::PointRecordSize);
  std::vector<PointRecord> points;
  points.reserve(point_count);
  // The fit joins each point to the next, adding a lap where the longitude drops, and
  // the last to the first a lap later. So a list may start anywhere in the lap and wrap
  // once: counted on past the drop, the longitudes must rise and stay within one lap of
  // the first.
  const double lap = TrackModel->GetLength2D();
  std::size_t wrap = 0; // the index of the point after the drop; 0 when none
  for (U32 k = 0; k < point_count; ++k) {
    points.push_back(ReadPoint(stream));
    const std::string point = "Lap curve file control point " + std::to_string(k);
    const double longitude = points.back().Longitude;
    if (!std::isfinite(longitude))
      Fail(stream, point + " longitude not finite");
    if (k > 0 && wrap == 0 && longitude < points[k - 1].Longitude)
      wrap = k;
    const auto counted = [&](std::size_t i) {
      return points[i].Longitude + (wrap != 0 && i >= wrap ? lap : 0.0);
    };
    if (k > 0 && !(counted(k - 1) < counted(k)))
      Fail(stream, point + " longitude not above the one before");
    if (!(counted(k) < points.front().Longitude + lap))
      Fail(stream, point + " longitude a lap or more past the first");
  }
  // The same closed line from its lowest point on, the order that finding a record's
  // control point relies on.
  std::rotate(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(wrap), points.end());

  std::vector<SpeedLimitRange> ranges;
  std::vector<SpeedLimitPoint> limits;
  if (version == Layout::RangesVersion) {
    const U32 range_count = Util::ReadU32(stream);
    Util::RequireRemaining(stream, range_count * Layout::SpeedLimitRangeSize);
    ranges.reserve(range_count);
    for (U32 r = 0; r < range_count; ++r) {
      SpeedLimitRange range;
      range.FromLongitude = Util::ReadF64(stream);
      range.ToLongitude = Util::ReadF64(stream);
      range.Limit = Util::ReadF64(stream);
      ranges.push_back(range);
    }
  } else if (version == Layout::PointsVersion) {
    const U32 limit_count = Util::ReadU32(stream);
    Util::RequireRemaining(stream, limit_count * Layout::SpeedLimitPointSize);
    limits.reserve(limit_count);
    for (U32 m = 0; m < limit_count; ++m) {
      SpeedLimitPoint limit;
      limit.Longitude = Util::ReadF64(stream);
      limit.Limit = Util::ReadF64(stream);
      limits.push_back(limit);
    }
  }

  Spacing = spacing;
  RecordCount = record_count;
  SpeedLimits = std::move(limits);
  try {
    Fit(std::move(points));
  } catch (const Util::XAssertion&) {
    // With the points in order, only their positions and slopes can fail the fit: the
    // line misses a record's cross-section, or is not a number there.
    Fail(stream, "Lap curve file control points make a line that misses a record's cross-section");
  }
  if (!ranges.empty())
    ApplySpeedLimitRanges(ranges);
}

void LpFileCurve::ApplySpeedLimitRanges(const std::vector<SpeedLimitRange>& ranges) {
  const double lap = TrackModel->GetLength2D();
  const U32 count = GetRecordCount();
  const auto longitude = [this](U32 i) { return GetRecordLongitude(i); };
  // Longitudes grow with the record index, and so do those less one lap past the lap
  // end; a range therefore covers one run of records directly and at most one more
  // through the wrap, each found by bisection.
  const U32 first_wrapped = FirstFailing(0, count, [&](U32 i) { return !(lap < longitude(i)); });

  // The last range covering a record decides its limit. Going through the ranges from
  // the last, each record is decided once: next_open skips decided ones (a disjoint-set
  // forest with path halving), so overlapping ranges cost no more than disjoint ones.
  constexpr std::size_t Undecided = std::numeric_limits<std::size_t>::max();
  std::vector<std::size_t> decider(count, Undecided);
  std::vector<U32> next_open(static_cast<std::size_t>(count) + 1);
  for (U32 i = 0; i <= count; ++i)
    next_open[i] = i;
  const auto find_open = [&next_open](U32 i) {
    while (next_open[i] != i) {
      next_open[i] = next_open[next_open[i]];
      i = next_open[i];
    }
    return i;
  };
  const auto decide = [&](U32 begin, U32 end, std::size_t range) {
    for (U32 i = find_open(begin); i < end; i = find_open(i)) {
      decider[i] = range;
      next_open[i] = i + 1;
    }
  };

  for (std::size_t r = ranges.size(); r-- > 0;) {
    const double from = ranges[r].FromLongitude;
    const double to = ranges[r].ToLongitude;
    decide(FirstFailing(0, count, [&](U32 i) { return !(from <= longitude(i)); }),
           FirstFailing(0, count, [&](U32 i) { return longitude(i) <= to; }), r);
    const auto wrapped = [&](U32 i) { return longitude(i) - lap; };
    decide(FirstFailing(first_wrapped, count, [&](U32 i) { return !(from <= wrapped(i)); }),
           FirstFailing(first_wrapped, count, [&](U32 i) { return wrapped(i) <= to; }), r);
  }

  // One entry per covered record, holding the limit the record shows (0 and below
  // included), so that later fits give every record what was read.
  for (U32 i = 0; i < count; ++i) {
    if (decider[i] == Undecided)
      continue;
    const double limit = ranges[decider[i]].Limit;
    Records[i].SpeedLimit = limit;
    SpeedLimits.push_back({longitude(i), limit});
  }
}

void LpFileCurve::Write(const Util::CountedPtr<Util::BinaryStream>& stream) const {
  Write(*stream);
}

void LpFileCurve::Write(Util::BinaryStream& stream) const {
  std::vector<U32> limited;
  for (U32 i = 0; i < Records.size(); ++i)
    if (Records[i].SpeedLimit > 0.0)
      limited.push_back(i);

  const U64 size = Layout::HeaderSize + ControlPoints.size() * Layout::PointRecordSize +
                   Layout::CountSize + limited.size() * Layout::SpeedLimitPointSize;
  UTIL_ASSERT(size <= std::numeric_limits<U32>::max());
  FieldWriter out(size);
  out.PutU32(Layout::WrittenVersion);
  out.PutF64(Spacing);
  // The field, not the records held: both are the same after every fit.
  out.PutU32(RecordCount);
  out.PutU32(static_cast<U32>(ControlPoints.size()));
  for (const PointRecord& p : ControlPoints)
    out.PutPoint(p);
  // Limits come from the records; list entries that match no record are dropped.
  out.PutU32(static_cast<U32>(limited.size()));
  for (const U32 i : limited) {
    out.PutF64(GetRecordLongitude(i));
    out.PutF64(Records[i].SpeedLimit);
  }
  stream.Write(static_cast<U32>(out.Bytes.size()), out.Bytes.data());
}

} // namespace Ostra::Papy
