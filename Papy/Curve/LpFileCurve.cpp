#include "Papy/Curve/LpFileCurve.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "Papy/Track/Track.h"
#include "Papy/Track/TrackFrame.h"
#include "Physics/CurveCubic.h"
#include "Physics/CurvePeriodic.h"
#include "Physics/CurvePiecewise.h"
#include "Physics/CurveShim.h"
#include "Physics/Intersections.h"
#include "Physics/NaturalCubicSpline.h"
#include "Util/Exception.h"
#include "Util/StringUtil.h"

namespace Ostra::Papy {

using Physics::Curve;

namespace {

// A record's cross-section is the line through the track frames this far out on
// either side; the latitude is measured from its outer end.
constexpr double CrossSectionHalfWidth = 10000.0;
constexpr double IntersectionTolerance = 1e-06;
// Where the local cubic of an input curve is read, just past a record longitude, so
// that a piece starting exactly on the record counts as starting there.
constexpr double CubicProbeOffset = 1e-06;

CountedPtr<Curve> MakeHermitePiece(double y0, double y1, double m0, double m1, double begin,
                                   double end) {
  const CountedPtr<Curve> cubic(
      new Physics::CurveCubic(Physics::CurveCubic::FromHermite(y0, y1, m0, m1)));
  return CountedPtr<Curve>(new Physics::CurveShim(cubic, begin, end, 1.0));
}

// The coefficients of both curves' local cubics at s.
std::array<double, 8> LocalCubics(const Curve& first, const Curve& second, double s) {
  std::array<double, 8> c{};
  first.GetCubic(s, &c[0], &c[1], &c[2], &c[3]);
  second.GetCubic(s, &c[4], &c[5], &c[6], &c[7]);
  return c;
}

// The clamped spline through a control point's new position between its two
// neighbours, which keep their positions and slopes.
CountedPtr<Physics::CurvePiecewise> SplineThroughThree(double x0, double y0, double slope0,
                                                       double x1, double y1, double x2, double y2,
                                                       double slope2) {
  Physics::NaturalCubicSpline spline(false);
  spline.SetEndSlopes(slope0, slope2);
  spline.AddPoint(x0, y0);
  spline.AddPoint(x1, y1);
  spline.AddPoint(x2, y2);
  return spline.Build();
}

// The limit of the first speed-limit entry at exactly a longitude, found in
// logarithmic time so that sampling stays linear in the record count.
class SpeedLimitLookup {
public:
  explicit SpeedLimitLookup(const std::vector<LpFileCurve::SpeedLimitPoint>& points) {
    Sorted.reserve(points.size());
    for (const auto& point : points)
      if (!std::isnan(point.Longitude)) // equals no longitude at all
        Sorted.push_back(point);
    // Stable, so that among equal longitudes the first added comes first.
    std::stable_sort(Sorted.begin(), Sorted.end(), [](const auto& a, const auto& b) {
      return a.Longitude < b.Longitude;
    });
  }

  double Find(double longitude) const {
    const auto it = std::lower_bound(
        Sorted.begin(), Sorted.end(), longitude,
        [](const LpFileCurve::SpeedLimitPoint& p, double lon) { return p.Longitude < lon; });
    return it != Sorted.end() && it->Longitude == longitude ? it->Limit : 0.0;
  }

private:
  std::vector<LpFileCurve::SpeedLimitPoint> Sorted;
};

bool ByLongitude(const LpFileCurve::PointRecord& a, const LpFileCurve::PointRecord& b) {
  return a.Longitude < b.Longitude;
}

} // namespace

LpFileCurve::LpFileCurve(double spacing, U32 recordCount, const CountedPtr<Curve>& first,
                         const CountedPtr<Curve>& second, const CountedPtr<Track>& track)
    : Spacing(spacing), RecordCount(recordCount), TrackModel(track) {
  // Control points are searched for at every multiple of the spacing.
  UTIL_ASSERT(std::isfinite(spacing) && spacing > 0.0);
  const double lap = TrackModel->GetLength2D();
  const CountedPtr<Curve> first_slope = first->Derivative();
  const CountedPtr<Curve> second_slope = second->Derivative();

  std::array<double, 8> reference = LocalCubics(*first, *second, CubicProbeOffset);
  std::vector<PointRecord> points;
  // s = k x spacing, never a running sum: the points must sit exactly on record
  // longitudes for FindControlPoint's exact comparison to recognise them.
  for (U64 k = 1;; ++k) {
    const double s = static_cast<double>(k) * spacing;
    if (!(s < lap))
      break;
    const std::array<double, 8> here = LocalCubics(*first, *second, s + CubicProbeOffset);
    if (here != reference) {
      points.push_back({s, first->Evaluate(s), second->Evaluate(s), first_slope->Evaluate(s),
                        second_slope->Evaluate(s)});
      reference = here;
    }
  }
  Fit(std::move(points));
}

U32 LpFileCurve::GetRecordIndex(double longitude) const {
  return FindRecordIndex(longitude, Records.size());
}

double LpFileCurve::GetRecordLongitude(U32 i) const {
  return static_cast<double>(i + 1) * Spacing;
}

bool LpFileCurve::IsControlPoint(U32 i) const { return FindControlPoint(i) < ControlPoints.size(); }

void LpFileCurve::SetRecordLatitude(U32 record_index, double latitude) {
  UTIL_ASSERT(IsControlPoint(record_index));
  const std::size_t k = FindControlPoint(record_index);
  const std::size_t n = ControlPoints.size();
  const double lap = TrackModel->GetLength2D();
  const PointRecord& centre = ControlPoints[k];
  // The neighbours round the lap's seam are taken one lap earlier or later, so that
  // the three knots increase.
  PointRecord previous = ControlPoints[k == 0 ? n - 1 : k - 1];
  PointRecord next = ControlPoints[k + 1 == n ? 0 : k + 1];
  if (centre.Longitude < previous.Longitude)
    previous.Longitude -= lap;
  if (next.Longitude < centre.Longitude)
    next.Longitude += lap;

  const TrackFrame target = TrackModel->GetFrame(centre.Longitude, latitude);
  const auto x_spline = SplineThroughThree(previous.Longitude, previous.X, previous.XSlope,
                                           centre.Longitude, target.X, next.Longitude, next.X,
                                           next.XSlope);
  const auto y_spline = SplineThroughThree(previous.Longitude, previous.Y, previous.YSlope,
                                           centre.Longitude, target.Y, next.Longitude, next.Y,
                                           next.YSlope);

  std::vector<PointRecord> points = ControlPoints;
  PointRecord& moved = points[k];
  moved.X = x_spline->Evaluate(moved.Longitude);
  moved.Y = y_spline->Evaluate(moved.Longitude);
  moved.XSlope = x_spline->Derivative()->Evaluate(moved.Longitude);
  moved.YSlope = y_spline->Derivative()->Evaluate(moved.Longitude);
  FitEdit(std::move(points));
}

void LpFileCurve::SetRecordLongitudinalSpeed(U32, double) { UTIL_ASSERT(false); }
void LpFileCurve::SetRecordLateralSpeed(U32, double) { UTIL_ASSERT(false); }
void LpFileCurve::SetRecordYawSpeed(U32, double) { UTIL_ASSERT(false); }

void LpFileCurve::SetControlPoint(U32 i, bool on) {
  if (on == IsControlPoint(i))
    return;
  if (on)
    AddControlPoint(i);
  else
    RemoveControlPoint(FindControlPoint(i));
}

void LpFileCurve::SetRecordSpeedLimit(U32 i, double limit) {
  const double longitude = GetRecordLongitude(i);
  // Every entry of the record goes, not only the first: a file can bring several, or
  // one without a positive limit, and the next fit would take the first of them
  // instead of the limit set here.
  std::erase_if(SpeedLimits,
                [longitude](const SpeedLimitPoint& p) { return p.Longitude == longitude; });
  Records[i].SpeedLimit = limit;
  if (limit > 0.0)
    SpeedLimits.push_back({longitude, limit});
}

U32 LpFileCurve::FindControlPoint(U32 i) const {
  const double longitude = GetRecordLongitude(i);
  const U32 count = static_cast<U32>(ControlPoints.size());
  for (U32 k = 0; k < count; ++k) {
    if (ControlPoints[k].Longitude == longitude)
      return k;
    if (ControlPoints[k].Longitude > longitude)
      break;
  }
  return count;
}

LpFileCurve::PointRecord LpFileCurve::GetControlPoint(U32 record_index) const {
  UTIL_ASSERT(IsControlPoint(record_index));
  return ControlPoints[FindControlPoint(record_index)];
}

void LpFileCurve::PutControlPoint(const PointRecord& p) { PutControlPoints({p}); }

void LpFileCurve::PutControlPoints(const std::vector<PointRecord>& put) {
  std::vector<PointRecord> points = ControlPoints;
  for (const PointRecord& p : put) {
    // A NaN longitude would leave the points unordered.
    UTIL_ASSERT(std::isfinite(p.Longitude));
    const auto same = std::find_if(points.begin(), points.end(), [&p](const PointRecord& q) {
      return q.Longitude == p.Longitude;
    });
    if (same != points.end())
      *same = p;
    else
      points.push_back(p);
  }
  std::stable_sort(points.begin(), points.end(), ByLongitude);
  FitEdit(std::move(points));
}

void LpFileCurve::AddControlPoint(U32 i) {
  UTIL_ASSERT(!IsControlPoint(i));
  const CurveRecord& record = Records[i];
  std::vector<PointRecord> points = ControlPoints;
  points.push_back(
      {GetRecordLongitude(i), record.X, record.Y, record.XSlope, record.YSlope});
  std::stable_sort(points.begin(), points.end(), ByLongitude);
  FitEdit(std::move(points));
}

void LpFileCurve::RemoveControlPoint(U32 k) {
  UTIL_ASSERT(k < ControlPoints.size());
  std::vector<PointRecord> points = ControlPoints;
  points.erase(points.begin() + k);
  FitEdit(std::move(points));
}

void LpFileCurve::FitEdit(std::vector<PointRecord> points) {
  // What a user's edit asks of the curve and it cannot give is refused in the user's
  // terms, rather than with the curve classes' assertions.
  if (points.size() < 2)
    throw Util::XUsage("A lap curve needs at least two control points, so this one stays.");
  try {
    Fit(std::move(points));
  } catch (const Util::XAssertion&) {
    throw Util::XUsage("That change would take the lap curve off the track, where it no longer "
                       "crosses every record's cross-section, so the lap curve stays as it was.");
  }
}

void LpFileCurve::Fit(std::vector<PointRecord> points) {
  UTIL_ASSERT_TEXT(!points.empty(), "!ControlPoints.empty()");
  const double lap = TrackModel->GetLength2D();
  const std::size_t n = points.size();
  const double start = points.front().Longitude;

  const CountedPtr<Physics::CurvePiecewise> x_pieces(new Physics::CurvePiecewise(start));
  const CountedPtr<Physics::CurvePiecewise> y_pieces(new Physics::CurvePiecewise(start));
  const PointRecord* previous = &points.front();
  double s0 = start;
  // k = n closes the loop: the last piece runs from the last point to the first one,
  // a lap later.
  for (std::size_t k = 1; k <= n; ++k) {
    const PointRecord& current = points[k % n];
    double s1 = current.Longitude;
    if (s1 < s0)
      s1 += lap;
    // Hermite slopes are per unit of the piece's own [0, 1] parameter.
    const double h = s1 - s0;
    x_pieces->Add(MakeHermitePiece(previous->X, current.X, previous->XSlope * h,
                                   current.XSlope * h, s0, s1),
                  s1);
    y_pieces->Add(MakeHermitePiece(previous->Y, current.Y, previous->YSlope * h,
                                   current.YSlope * h, s0, s1),
                  s1);
    previous = &current;
    s0 = s1;
  }
  const CountedPtr<Curve> first(new Physics::CurvePeriodic(x_pieces, start, start + lap));
  const CountedPtr<Curve> second(new Physics::CurvePeriodic(y_pieces, start, start + lap));
  std::vector<CurveRecord> records = Sample(first, second);

  // Nothing above touched the object; from here on nothing throws.
  ControlPoints.swap(points);
  FirstCurve = first;
  SecondCurve = second;
  Records.swap(records);
}

std::vector<LpFileCurve::CurveRecord> LpFileCurve::Sample(const CountedPtr<Curve>& first,
                                                          const CountedPtr<Curve>& second) const {
  const CountedPtr<Curve> first_slope = first->Derivative();
  const CountedPtr<Curve> second_slope = second->Derivative();
  const CountedPtr<Curve> first_bend = first_slope->Derivative();
  const CountedPtr<Curve> second_bend = second_slope->Derivative();
  const SpeedLimitLookup limits(SpeedLimits);

  std::vector<CurveRecord> records;
  records.reserve(RecordCount);
  for (U32 i = 0; i < RecordCount; ++i) {
    // Past the lap end the track wraps the longitude itself.
    const double longitude = GetRecordLongitude(i);
    const TrackFrame a = TrackModel->GetFrame(longitude, -CrossSectionHalfWidth);
    const TrackFrame b = TrackModel->GetFrame(longitude, CrossSectionHalfWidth);
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    // The cross-section as y = k x + c or x = k y + c, whichever is better conditioned.
    double t;
    if (std::fabs(dy) < std::fabs(dx)) {
      const double k = dy / dx;
      t = Physics::FindIntersection(first, second, k, a.Y - k * a.X, longitude,
                                    IntersectionTolerance);
    } else {
      const double k = dx / dy;
      t = Physics::FindIntersection(second, first, k, a.X - k * a.Y, longitude,
                                    IntersectionTolerance);
    }

    CurveRecord record;
    record.X = first->Evaluate(t);
    record.Y = second->Evaluate(t);
    record.Latitude = std::sqrt((record.X - a.X) * (record.X - a.X) +
                                (record.Y - a.Y) * (record.Y - a.Y)) -
                      CrossSectionHalfWidth;
    record.XSlope = first_slope->Evaluate(t);
    record.YSlope = second_slope->Evaluate(t);
    const double heading = std::atan2(record.YSlope, record.XSlope);
    double yaw = heading - TrackModel->GetFrame(longitude, 0.0).Orientation;
    if (yaw < -Util::Pi)
      yaw += 2.0 * Util::Pi;
    else if (yaw > Util::Pi)
      yaw -= 2.0 * Util::Pi;
    record.LateralSpeed = std::tan(yaw);
    const double speed_squared = record.XSlope * record.XSlope + record.YSlope * record.YSlope;
    record.YawSpeed =
        (record.XSlope * second_bend->Evaluate(t) - record.YSlope * first_bend->Evaluate(t)) /
        std::pow(speed_squared, 1.5);
    record.SpeedLimit = limits.Find(longitude);
    records.push_back(record);
  }
  return records;
}

} // namespace Ostra::Papy
