#include "Physics/CurveConstant.h"
#include "Physics/CurveCubic.h"
#include "Physics/CurveLinear.h"
#include "Physics/CurvePeriodic.h"
#include "Physics/CurvePiecewise.h"
#include "Physics/CurveQuadratic.h"
#include "Physics/CurveShim.h"
#include "Physics/NaturalCubicSpline.h"
#include "Util/Exception.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace Ostra::Physics {
namespace {

using Util::CountedPtr;

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
// Relative to the size of the terms summed, so cancellation is allowed for.
constexpr double CubicTolerance = 1e-9;
constexpr double FiniteDifferenceStep = 1e-5;
constexpr double DerivativeTolerance = 1e-5;

CountedPtr<Curve> Make(Curve* curve) { return CountedPtr<Curve>(curve); }

// Runs body and returns the failed assertion's expression, or "" when none failed.
std::string AssertionOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const Util::XAssertion& failure) {
    return failure.Expression;
  }
  return "";
}

CountedPtr<Curve> OpenSpline(bool clamped) {
  NaturalCubicSpline spline(false);
  if (clamped)
    spline.SetEndSlopes(0.5, -2.0);
  const double knots[][2] = {{0, 1}, {1.5, 3}, {2, 2.5}, {4, -1}, {7, 0}, {10, 4}};
  for (const auto& knot : knots)
    spline.AddPoint(knot[0], knot[1]);
  return spline.Build();
}

CountedPtr<Curve> ClosedSpline() {
  NaturalCubicSpline spline(true);
  const double knots[][2] = {{0, 1}, {10, 2}, {20, 3}, {25, -1}};
  for (const auto& knot : knots)
    spline.AddPoint(knot[0], knot[1]);
  spline.Close(30);
  return spline.Build();
}

struct PropertyCase {
  const char* Name;
  std::function<CountedPtr<Curve>()> MakeCurve;
  double Lo;
  double Hi;
};

const PropertyCase PropertyCases[] = {
    {"constant", [] { return Make(new CurveConstant(2.5)); }, -10, 10},
    {"linear", [] { return Make(new CurveLinear(1.5, -2)); }, -10, 10},
    {"quadratic", [] { return Make(new CurveQuadratic(0.5, -1, 3)); }, -10, 10},
    {"cubic", [] { return Make(new CurveCubic(0.2, -0.5, 1, 4)); }, -10, 10},
    {"hermite", [] { return Make(new CurveCubic(CurveCubic::FromHermite(1, 3, -2, 0.5))); }, 0, 1},
    {"shim", [] { return Make(new CurveShim(Make(new CurveCubic(1, -2, 0.5, 3)), 2, 5, 1.5)); }, 2,
     5},
    {"shim far from zero",
     [] { return Make(new CurveShim(Make(new CurveQuadratic(1, 0, 0)), 100, 104, -2)); }, 100, 104},
    {"natural spline", [] { return OpenSpline(false); }, 0, 10},
    {"clamped spline", [] { return OpenSpline(true); }, 0, 10},
    {"closed spline", [] { return ClosedSpline(); }, 0, 30},
    {"periodic quadratic",
     [] { return Make(new CurvePeriodic(Make(new CurveQuadratic(0.1, -2, 1)), 10, 30)); }, -35, 70},
    {"periodic spline", [] { return Make(new CurvePeriodic(ClosedSpline(), 0, 30)); }, -65, 95},
};

double CubicAt(const Curve& curve, double t, double* scale) {
  double a, b, c, d;
  curve.GetCubic(t, &a, &b, &c, &d);
  *scale = 1.0 + std::fabs(a * t * t * t) + std::fabs(b * t * t) + std::fabs(c * t) + std::fabs(d);
  return ((a * t + b) * t + c) * t + d;
}

// Parameters across the range, off any knot so that finite differences stay on one
// piece.
std::vector<double> SampleParameters(double lo, double hi) {
  constexpr int Count = 97;
  std::vector<double> result;
  for (int i = 0; i < Count; ++i)
    result.push_back(lo + (i + 0.37) / Count * (hi - lo));
  return result;
}

TEST(CurveProperties, theLocalCubicEqualsTheCurveForEveryClassAndItsDerivative) {
  for (const PropertyCase& test : PropertyCases) {
    const CountedPtr<Curve> curve = test.MakeCurve();
    const CountedPtr<Curve> derivative = curve->Derivative();
    for (const Curve* subject : {curve.Get(), derivative.Get()}) {
      for (const double t : SampleParameters(test.Lo, test.Hi)) {
        double scale;
        const double cubic = CubicAt(*subject, t, &scale);
        EXPECT_NEAR(cubic, subject->Evaluate(t), CubicTolerance * scale)
            << test.Name << (subject == curve.Get() ? "" : " derivative") << " at t = " << t;
      }
    }
  }
}

TEST(CurveProperties, theDerivativeAgreesWithAFiniteDifference) {
  for (const PropertyCase& test : PropertyCases) {
    const CountedPtr<Curve> curve = test.MakeCurve();
    const CountedPtr<Curve> derivative = curve->Derivative();
    for (const double t : SampleParameters(test.Lo, test.Hi)) {
      const double h = FiniteDifferenceStep;
      if (t - h < test.Lo || t + h > test.Hi)
        continue;
      const double difference = (curve->Evaluate(t + h) - curve->Evaluate(t - h)) / (2 * h);
      const double value = derivative->Evaluate(t);
      EXPECT_NEAR(value, difference, DerivativeTolerance * (1.0 + std::fabs(value)))
          << test.Name << " at t = " << t;
      // The local cubic's own slope must agree too.
      double a, b, c, d;
      curve->GetCubic(t, &a, &b, &c, &d);
      EXPECT_NEAR(value, (3 * a * t + 2 * b) * t + c, 1e-8 * (1.0 + std::fabs(value)))
          << test.Name << " cubic slope at t = " << t;
    }
  }
}

TEST(CurveCubic, fromHermiteMeetsItsEndValuesAndSlopes) {
  const CurveCubic cubic = CurveCubic::FromHermite(1.5, -2, 3, 0.25);
  const CountedPtr<Curve> slope = cubic.Derivative();
  EXPECT_DOUBLE_EQ(cubic.Evaluate(0), 1.5);
  EXPECT_DOUBLE_EQ(cubic.Evaluate(1), -2);
  EXPECT_DOUBLE_EQ(slope->Evaluate(0), 3);
  EXPECT_DOUBLE_EQ(slope->Evaluate(1), 0.25);
}

TEST(CurveCubic, differentiatedFourTimesIsTheConstantZero) {
  CountedPtr<Curve> curve = Make(new CurveCubic(2, -3, 5, 7));
  for (int i = 0; i < 4; ++i)
    curve = curve->Derivative();
  ASSERT_NE(dynamic_cast<CurveConstant*>(curve.Get()), nullptr);
  EXPECT_EQ(curve->Evaluate(123.0), 0.0);
}

TEST(CurvePeriodic, wrapsByWholePeriodsKeepingBothEnds) {
  // The identity as inner curve shows the wrapped parameter.
  const CurvePeriodic periodic(Make(new CurveLinear(1, 0)), 10, 30);
  const struct {
    double T;
    double Wrapped;
  } cases[] = {{-35, 25}, {-15, 25}, {5, 25},       {10, 10},      {30, 30},       {50, 30},
               {70, 30},  {17, 17},  {1000005, 25}, {-999985, 15}, {20000030, 30}, {-19999990, 10}};
  for (const auto& test : cases)
    EXPECT_EQ(periodic.Evaluate(test.T), test.Wrapped) << "t = " << test.T;

  // A period reaching below zero, from far above and far below.
  const CurvePeriodic below_zero(Make(new CurveLinear(1, 0)), -15, 5);
  EXPECT_EQ(below_zero.Evaluate(20000010), -10);
  EXPECT_EQ(below_zero.Evaluate(-19999990), -10);
}

TEST(CurvePeriodic, localCubicAtWholePeriodsAwayGivesTheInnerValue) {
  const CountedPtr<Curve> inner = Make(new CurveCubic(0.01, -0.3, 2, 1));
  const CurvePeriodic periodic(inner, 10, 30);
  // Inside the period: its ends are not wrapped onto each other.
  for (const double u : {10.5, 17.0, 29.0})
    for (int k = -3; k <= 3; ++k) {
      const double t = u + k * 20.0;
      double scale;
      const double cubic = CubicAt(periodic, t, &scale);
      EXPECT_NEAR(cubic, inner->Evaluate(u), CubicTolerance * scale)
          << "u = " << u << ", k = " << k;
    }
}

TEST(CurvePeriodic, parametersFarAwayOrBelowThePeriodsPrecisionStillLandInRange) {
  const struct {
    double Begin;
    double End;
    double T;
  } cases[] = {{10, 30, 1e300},  {10, 30, -1e300},      {10, 30, 1e17},
               {0, 1e-20, 1e10}, {-1e-3, 1e-3, -4e200}, {0, 1, 1.7e308}};
  for (const auto& test : cases) {
    const CurvePeriodic periodic(Make(new CurveLinear(1, 0)), test.Begin, test.End);
    const double u = periodic.Evaluate(test.T);
    EXPECT_GE(u, test.Begin) << "t = " << test.T;
    EXPECT_LE(u, test.End) << "t = " << test.T;
  }
}

TEST(CurvePeriodic, rejectsAnEmptyOrReversedPeriod) {
  const struct {
    double Begin;
    double End;
  } cases[] = {{10, 10}, {30, 10}, {NaN, 1}};
  for (const auto& test : cases)
    EXPECT_EQ(AssertionOf([&] { CurvePeriodic(Make(new CurveConstant(1)), test.Begin, test.End); }),
              "end > begin")
        << test.Begin << ", " << test.End;
}

TEST(CurvePeriodic, passesParametersThatAreNotFiniteToTheInnerCurve) {
  const CurvePeriodic periodic(Make(new CurveShim(Make(new CurveLinear(1, 0)), 10, 30, 1)), 10, 30);
  const struct {
    double T;
    const char* Expression;
  } cases[] = {{Infinity, "t <= End"}, {-Infinity, "t >= Begin"}, {NaN, "t >= Begin"}};
  for (const auto& test : cases) {
    EXPECT_EQ(AssertionOf([&] { periodic.Evaluate(test.T); }), test.Expression) << test.T;
    double a, b, c, d;
    EXPECT_EQ(AssertionOf([&] { periodic.GetCubic(test.T, &a, &b, &c, &d); }), test.Expression)
        << test.T;
  }
}

TEST(CurvePiecewise, findsTheSegmentGivingABoundaryToTheEarlierOne) {
  CurvePiecewise piecewise(0);
  piecewise.Add(Make(new CurveConstant(1)), 1);
  piecewise.Add(Make(new CurveConstant(2)), 2);
  piecewise.Add(Make(new CurveConstant(3)), 4);
  const struct {
    double T;
    double Value;
    double Begin;
    double End;
  } cases[] = {{0, 1, 0, 1}, {0.5, 1, 0, 1}, {1, 1, 0, 1}, {1.0000001, 2, 1, 2},
               {2, 2, 1, 2}, {3, 3, 2, 4},   {4, 3, 2, 4}};
  for (const auto& test : cases) {
    EXPECT_EQ(piecewise.Evaluate(test.T), test.Value) << "t = " << test.T;
    double begin, end;
    piecewise.GetSegmentRange(test.T, &begin, &end);
    EXPECT_EQ(begin, test.Begin) << "t = " << test.T;
    EXPECT_EQ(end, test.End) << "t = " << test.T;
  }
}

TEST(CurvePiecewise, rejectsParametersOutsideItsRange) {
  CurvePiecewise piecewise(0);
  piecewise.Add(Make(new CurveConstant(1)), 1);
  const struct {
    double T;
    const char* Expression;
  } cases[] = {
      {-1e-12, "t >= Begin"}, {1.0000001, "t <= End"}, {NaN, "t >= Begin"}, {Infinity, "t <= End"}};
  for (const auto& test : cases)
    EXPECT_EQ(AssertionOf([&] { piecewise.Evaluate(test.T); }), test.Expression) << test.T;
}

TEST(CurvePiecewise, addRejectsAnEndNotAfterTheCurrentEndAndAppendsNothing) {
  CurvePiecewise piecewise(0);
  piecewise.Add(Make(new CurveConstant(1)), 1);
  for (const double end : {1.0, 0.5, NaN}) {
    EXPECT_EQ(AssertionOf([&] { piecewise.Add(Make(new CurveConstant(2)), end); }), "end > End");
    EXPECT_EQ(piecewise.GetSegments().size(), 1u);
    EXPECT_EQ(piecewise.GetEnd(), 1.0);
  }
}

TEST(CurvePiecewise, withoutSegmentsRefusesToEvaluateItsStart) {
  const CurvePiecewise empty(5);
  EXPECT_EQ(AssertionOf([&] { empty.Evaluate(5); }), "!Segments.empty()");
  EXPECT_EQ(AssertionOf([&] { empty.Derivative()->Evaluate(5); }), "!Segments.empty()");
}

TEST(CurveShim, mapsItsRangeOntoTheInnerUnitIntervalAndScales) {
  const CurveShim shim(Make(new CurveQuadratic(1, 0, 0)), 2, 4, 3);
  EXPECT_DOUBLE_EQ(shim.Evaluate(3), 0.75);

  const CountedPtr<Curve> derivative = shim.Derivative();
  const auto* derivative_shim = dynamic_cast<const CurveShim*>(derivative.Get());
  ASSERT_NE(derivative_shim, nullptr);
  EXPECT_EQ(derivative_shim->GetScale(), 1.5);
  EXPECT_EQ(derivative_shim->GetBegin(), 2);
  EXPECT_EQ(derivative_shim->GetEnd(), 4);
  EXPECT_DOUBLE_EQ(derivative_shim->GetInner()->Evaluate(0.5), 1.0);
  EXPECT_DOUBLE_EQ(derivative->Evaluate(3), 1.5);
}

TEST(CurveShim, rejectsAnEmptyRangeAndParametersOutsideIt) {
  const CountedPtr<Curve> inner = Make(new CurveLinear(1, 0));
  EXPECT_EQ(AssertionOf([&] { CurveShim(inner, 2, 2, 1); }), "end > begin");
  EXPECT_EQ(AssertionOf([&] { CurveShim(inner, 2, 1, 1); }), "end > begin");
  const CurveShim shim(inner, 2, 4, 1);
  EXPECT_EQ(AssertionOf([&] { shim.Evaluate(1.9); }), "t >= Begin");
  EXPECT_EQ(AssertionOf([&] { shim.Evaluate(4.1); }), "t <= End");
  EXPECT_EQ(AssertionOf([&] { shim.Evaluate(NaN); }), "t >= Begin");
}

} // namespace
} // namespace Ostra::Physics
