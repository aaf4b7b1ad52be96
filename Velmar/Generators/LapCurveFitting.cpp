#include "Velmar/Generators/LapCurveFitting.h"

#include <cmath>
#include <locale>

#include "Physics/CurveCubic.h"
#include "Physics/CurvePeriodic.h"
#include "Physics/CurvePiecewise.h"
#include "Physics/CurveShim.h"
#include "Physics/Intersections.h"
#include "Physics/NaturalCubicSpline.h"
#include "Util/Exception.h"
#include "Util/StringUtil.h"

namespace Ostra::Velmar {

namespace {

using Physics::Curve;
using Physics::CurveCubic;

// Far enough out that the two frames span any track's width: the line through them is
// the record's cross line.
constexpr double CrossLineReach = 10000.0;
constexpr double IntersectionTolerance = 1e-06;
// More record steps in one lap than any game's LP holds means a damaged spacing or
// length; refusing it keeps the piece list bounded.
constexpr double MaxLapSteps = 10'000'000.0;

bool IsPositive(double value) { return std::isfinite(value) && value > 0.0; }

CountedPtr<Curve> NewHermite(double v0, double v1, double m0, double m1) {
  return CountedPtr<Curve>(new CurveCubic(CurveCubic::FromHermite(v0, v1, m0, m1)));
}

// The distance along record k's cross line between a candidate piece (on u in [0, 1])
// and the path curves.
double CrossLineGap(const Papy::Track& track, double tk, const CountedPtr<Curve>& cx,
                    const CountedPtr<Curve>& cy, const CountedPtr<Curve>& x,
                    const CountedPtr<Curve>& y) {
  const Papy::TrackFrame a = track.GetFrame(tk, -CrossLineReach);
  const Papy::TrackFrame b = track.GetFrame(tk, CrossLineReach);
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  double u;
  double t;
  if (std::fabs(dy) < std::fabs(dx)) {
    const double m = dy / dx;
    const double c = a.Y - a.X * m;
    u = Physics::FindIntersection(cx, cy, m, c, 0.5, IntersectionTolerance);
    t = Physics::FindIntersection(x, y, m, c, tk, IntersectionTolerance);
  } else {
    const double m = dx / dy;
    const double c = a.X - a.Y * m;
    u = Physics::FindIntersection(cy, cx, m, c, 0.5, IntersectionTolerance);
    t = Physics::FindIntersection(y, x, m, c, tk, IntersectionTolerance);
  }
  return std::hypot(cx->Evaluate(u) - x->Evaluate(t), cy->Evaluate(u) - y->Evaluate(t));
}

} // namespace

double CurveToleranceFor(const std::string& baseName) {
  const std::locale locale;
  if (Util::CompareNoCase(baseName, "minrace", locale) == 0 ||
      Util::CompareNoCase(baseName, "maxrace", locale) == 0)
    return RaceLineCurveTolerance;
  return DefaultCurveTolerance;
}

std::vector<unsigned> LapRecords(const Papy::LpFile& lp, double lapLength) {
  const double spacing = lp.GetRecordSpacing();
  std::vector<unsigned> records;
  const U32 count = lp.GetRecordCount();
  for (U32 i = 0; i < count; ++i)
    if (lp.GetRecordLongitude(i) < lapLength + spacing)
      records.push_back(i);
  return records;
}

void MakePathCurves(const CountedPtr<Papy::LpFile>& lp, const CountedPtr<Papy::Track>& track,
                    CountedPtr<Physics::Curve>& x, CountedPtr<Physics::Curve>& y) {
  UTIL_ASSERT(lp && track);
  const double length = track->GetLength2D();
  UTIL_ASSERT(IsPositive(length) && IsPositive(lp->GetRecordSpacing()));
  MakePathSplines(lp, LapRecords(*lp, length), track, x, y);
}

void MakePathSplines(const CountedPtr<Papy::LpFile>& lp, const std::vector<unsigned>& records,
                     const CountedPtr<Papy::Track>& track, CountedPtr<Physics::Curve>& x,
                     CountedPtr<Physics::Curve>& y) {
  UTIL_ASSERT(lp && track);
  const double length = track->GetLength2D();
  UTIL_ASSERT(IsPositive(length));
  // Two knots make the smallest closed spline; with fewer the first knot would recur
  // at its own place.
  UTIL_ASSERT(records.size() >= 2);

  Physics::NaturalCubicSpline sx(true);
  Physics::NaturalCubicSpline sy(true);
  double first = 0.0;
  double end = 0.0;
  bool have_first = false;
  for (const unsigned r : records) {
    const double s = lp->GetRecordLongitude(r);
    const double lat = lp->GetRecordLatitude(r);
    const Papy::TrackFrame frame = track->GetFrame(s, lat);
    // A flag, not end == 0.0: a first record at longitude -L would otherwise be
    // mistaken for "none yet" by the next one.
    if (!have_first) {
      have_first = true;
      first = s;
      end = length + s;
    }
    sx.AddPoint(s, frame.X);
    sy.AddPoint(s, frame.Y);
  }
  sx.Close(end);
  sy.Close(end);
  x = CountedPtr<Curve>(new Physics::CurvePeriodic(sx.Build(), first, end));
  y = CountedPtr<Curve>(new Physics::CurvePeriodic(sy.Build(), first, end));
}

void FitLapCurve(const CountedPtr<Physics::Curve>& x, const CountedPtr<Physics::Curve>& y,
                 const CountedPtr<Papy::Track>& track, double spacing, double tolerance,
                 CountedPtr<Physics::Curve>& fittedX, CountedPtr<Physics::Curve>& fittedY) {
  UTIL_ASSERT(x && y && track);
  const double length = track->GetLength2D();
  UTIL_ASSERT(IsPositive(length) && IsPositive(spacing));
  UTIL_ASSERT(length / spacing <= MaxLapSteps);
  // NaN would pass every distance test and fold the lap into one piece.
  UTIL_ASSERT(!std::isnan(tolerance));

  const CountedPtr<Curve> dx_curve = x->Derivative();
  const CountedPtr<Curve> dy_curve = y->Derivative();
  double start = 0.0;
  bool have_start = false;
  CountedPtr<Physics::CurvePiecewise> px;
  CountedPtr<Physics::CurvePiecewise> py;

  // Each step ends at a later record than it began, and the last piece is clamped to
  // the lap's end, so the loop ends after at most one step per record.
  unsigned i = 0;
  for (;;) {
    const double t0 = static_cast<double>(i) * spacing;
    const double x0 = x->Evaluate(t0);
    const double y0 = y->Evaluate(t0);
    const double dx0 = dx_curve->Evaluate(t0);
    const double dy0 = dy_curve->Evaluate(t0);

    double best_t = t0;
    unsigned best_j = i + 1;
    CountedPtr<Curve> best_cx;
    CountedPtr<Curve> best_cy;
    bool exceeded = false;
    const double end = length + start;

    for (unsigned j = i + 1;; ++j) {
      double t1 = static_cast<double>(j) * spacing;
      if (end < t1)
        t1 = end;
      const double dt = t1 - t0;
      const double x1 = x->Evaluate(t1);
      const double y1 = y->Evaluate(t1);
      const double dx1 = dx_curve->Evaluate(t1);
      const double dy1 = dy_curve->Evaluate(t1);
      const CountedPtr<Curve> cx = NewHermite(x0, x1, dt * dx0, dt * dx1);
      const CountedPtr<Curve> cy = NewHermite(y0, y1, dt * dy0, dt * dy1);

      for (unsigned k = i + 1; k < j; ++k) {
        const double tk = static_cast<double>(k) * spacing;
        if (CrossLineGap(*track, tk, cx, cy, x, y) > tolerance) {
          exceeded = true;
          break;
        }
      }
      if (!exceeded) {
        best_t = t1;
        best_cx = cx;
        best_cy = cy;
        best_j = j;
      }
      if (!(end > best_t) || exceeded)
        break;
    }

    if (!have_start) {
      // The first piece is dropped: the chain starts where it ends, so that the last
      // piece can close the lap exactly one plan length later.
      have_start = true;
      start = best_t;
      px = CountedPtr<Physics::CurvePiecewise>(new Physics::CurvePiecewise(best_t));
      py = CountedPtr<Physics::CurvePiecewise>(new Physics::CurvePiecewise(best_t));
    } else {
      px->Add(CountedPtr<Curve>(new Physics::CurveShim(best_cx, t0, best_t, 1.0)), best_t);
      py->Add(CountedPtr<Curve>(new Physics::CurveShim(best_cy, t0, best_t, 1.0)), best_t);
    }
    if (length + start == best_t)
      break;
    i = best_j;
  }

  fittedX = CountedPtr<Curve>(new Physics::CurvePeriodic(px, start, length + start));
  fittedY = CountedPtr<Curve>(new Physics::CurvePeriodic(py, start, length + start));
}

CountedPtr<Papy::LpFileCurve> GenerateCurve(const CountedPtr<Papy::LpFile>& lp,
                                            const CountedPtr<Papy::Track>& track,
                                            double tolerance) {
  CountedPtr<Physics::Curve> x;
  CountedPtr<Physics::Curve> y;
  MakePathCurves(lp, track, x, y);
  CountedPtr<Physics::Curve> fitted_x;
  CountedPtr<Physics::Curve> fitted_y;
  FitLapCurve(x, y, track, lp->GetRecordSpacing(), tolerance, fitted_x, fitted_y);
  return CountedPtr<Papy::LpFileCurve>(new Papy::LpFileCurve(
      lp->GetRecordSpacing(), lp->GetRecordCount(), fitted_x, fitted_y, track));
}

} // namespace Ostra::Velmar
