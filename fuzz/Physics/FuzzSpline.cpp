// Fits splines through arbitrary knots, then evaluates, differentiates, wraps and
// intersects them at arbitrary parameters. Refusals by assertion are expected; a
// built spline must evaluate anywhere inside its own range.
#include "Physics/CurveConstant.h"
#include "Physics/CurvePeriodic.h"
#include "Physics/FindRootBrent.h"
#include "Physics/Intersections.h"
#include "Physics/NaturalCubicSpline.h"
#include "Util/Exception.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Ostra::Physics::Curve;
using Ostra::Util::CountedPtr;

// Input layout: a flags byte (1 closed, 2 end slopes, 4 knots as increments), a knot
// count byte, then little-endian doubles: the slopes, the knots' (x, y), xEnd, and
// the parameters to evaluate at.
class Input {
public:
  Input(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}

  bool Byte(std::uint8_t* value) {
    if (Size < 1)
      return false;
    *value = *Data;
    Skip(1);
    return true;
  }

  bool Double(double* value) {
    if (Size < sizeof(double))
      return false;
    std::memcpy(value, Data, sizeof(double));
    Skip(sizeof(double));
    return true;
  }

private:
  void Skip(std::size_t count) {
    Data += count;
    Size -= count;
  }

  const std::uint8_t* Data;
  std::size_t Size;
};

template <class Body> void Try(Body body) {
  try {
    body();
  } catch (const Ostra::Util::XAssertion&) {
  }
}

CountedPtr<Ostra::Physics::CurvePiecewise> BuildSpline(Input& in) {
  std::uint8_t flags = 0;
  std::uint8_t count = 0;
  if (!in.Byte(&flags) || !in.Byte(&count))
    return {};
  Ostra::Physics::NaturalCubicSpline spline((flags & 1) != 0);
  if (flags & 2) {
    double start_slope = 0;
    double end_slope = 0;
    if (!in.Double(&start_slope) || !in.Double(&end_slope))
      return {};
    spline.SetEndSlopes(start_slope, end_slope);
  }
  double x = 0;
  for (int i = 0; i < count; ++i) {
    double a = 0;
    double y = 0;
    if (!in.Double(&a) || !in.Double(&y))
      break;
    x = (flags & 4) ? x + std::fabs(a) : a;
    spline.AddPoint(x, y);
  }
  CountedPtr<Ostra::Physics::CurvePiecewise> result;
  Try([&] {
    if (flags & 1) {
      double x_end = 0;
      in.Double(&x_end);
      spline.Close((flags & 4) ? x + std::fabs(x_end) : x_end);
    }
    result = spline.Build();
  });
  return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  const CountedPtr<Ostra::Physics::CurvePiecewise> spline = BuildSpline(in);
  std::vector<double> parameters;
  for (double t = 0; in.Double(&t);)
    parameters.push_back(t);
  if (!spline)
    return 0;

  const CountedPtr<Curve> curve = spline;
  CountedPtr<Curve> periodic;
  Try([&] {
    periodic = CountedPtr<Curve>(
        new Ostra::Physics::CurvePeriodic(curve, spline->GetBegin(), spline->GetEnd()));
  });
  const CountedPtr<Curve> derivative = curve->Derivative();
  for (const double t : parameters) {
    const bool inside = t >= spline->GetBegin() && t <= spline->GetEnd();
    try {
      double a, b, c, d;
      curve->Evaluate(t);
      curve->GetCubic(t, &a, &b, &c, &d);
      derivative->Evaluate(t);
    } catch (const Ostra::Util::XAssertion&) {
      if (inside)
        std::abort();
    }
    if (periodic)
      Try([&] { periodic->Evaluate(t); });
  }

  if (parameters.size() >= 2) {
    const CountedPtr<Curve> level(new Ostra::Physics::CurveConstant(parameters[0]));
    Try([&] {
      const double root = Ostra::Physics::FindIntersection(periodic ? periodic : curve, level, 1.0,
                                                           0.0, parameters[1], 1e-9);
      static_cast<void>(root);
    });
    Try([&] {
      auto f = [&](double t) { return curve->Evaluate(t) - parameters[0]; };
      const double root =
          Ostra::Physics::FindRootBrent(f, spline->GetBegin(), spline->GetEnd(), 1e-9);
      if (!(root >= spline->GetBegin() && root <= spline->GetEnd()))
        std::abort();
    });
  }
  return 0;
}
