#include "Physics/FindRootBrent.h"

#include "Physics/CurveConstant.h"
#include "Physics/CurveLinear.h"
#include "Physics/CurvePiecewise.h"
#include "Physics/CurveQuadratic.h"
#include "Physics/Intersections.h"
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

constexpr double Tolerance = 1e-9;

std::string AssertionOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const Util::XAssertion& failure) {
    return failure.Expression;
  }
  return "";
}

CountedPtr<Curve> Make(Curve* curve) { return CountedPtr<Curve>(curve); }

// Records every parameter it is called with.
struct Recorder {
  std::function<double(double)> F;
  std::vector<double> Calls;

  double operator()(double x) {
    Calls.push_back(x);
    return F(x);
  }
};

// A curve that records where it is evaluated.
class RecordingCurve : public Curve {
public:
  RecordingCurve(CountedPtr<Curve> inner, std::vector<double>* calls)
      : Inner(std::move(inner)), Calls(calls) {}
  double Evaluate(double t) const override {
    Calls->push_back(t);
    return Inner->Evaluate(t);
  }
  void GetCubic(double t, double* a, double* b, double* c, double* d) const override {
    Inner->GetCubic(t, a, b, c, d);
  }
  CountedPtr<Curve> Derivative() const override { return Inner->Derivative(); }

private:
  CountedPtr<Curve> Inner;
  std::vector<double>* Calls;
};

TEST(FindRootBrent, findsRootsInsideTheirBracketFromEitherEnd) {
  const struct {
    const char* Name;
    double (*F)(double);
    double X1;
    double X2;
    double Root;
  } cases[] = {
      {"t - 0.3", [](double t) { return t - 0.3; }, 0, 1, 0.3},
      {"cos", [](double t) { return std::cos(t); }, 0, 2, std::acos(-1.0) / 2},
      {"t^3 - 2t - 5", [](double t) { return (t * t - 2) * t - 5; }, 2, 3, 2.0945514815423265},
      {"exp - 2", [](double t) { return std::exp(t) - 2; }, -1, 3, std::log(2.0)},
      {"steep step", [](double t) { return std::atan(1e6 * (t - 0.7)); }, 0, 1, 0.7},
  };
  for (const auto& test : cases) {
    for (const bool reversed : {false, true}) {
      Recorder f{test.F, {}};
      const double x1 = reversed ? test.X2 : test.X1;
      const double x2 = reversed ? test.X1 : test.X2;
      const double root = FindRootBrent(f, x1, x2, Tolerance);
      // The bracket left around the root is within 6e-8 * |root| + tolerance / 2.
      const double accuracy = 2 * (6e-08 * std::fabs(test.Root) + 0.5 * Tolerance);
      EXPECT_NEAR(root, test.Root, accuracy) << test.Name << (reversed ? " reversed" : "");
      ASSERT_GE(f.Calls.size(), 2u);
      EXPECT_EQ(f.Calls[0], x1) << test.Name;
      EXPECT_EQ(f.Calls[1], x2) << test.Name;
      for (const double x : f.Calls) {
        EXPECT_GE(x, std::min(x1, x2)) << test.Name;
        EXPECT_LE(x, std::max(x1, x2)) << test.Name;
      }
    }
  }
}

TEST(FindRootBrent, findsTheRootOfALineWithinTheTolerance) {
  auto f = [](double t) { return t - 0.3; };
  EXPECT_NEAR(FindRootBrent(f, 0.0, 1.0, Tolerance), 0.3, Tolerance);
  EXPECT_NEAR(FindRootBrent(f, 1.0, 0.0, Tolerance), 0.3, Tolerance);
}

TEST(FindRootBrent, returnsAZeroAtTheSecondEndOnTheFirstIteration) {
  Recorder f{[](double t) { return t - 1; }, {}};
  EXPECT_EQ(FindRootBrent(f, 0.0, 1.0, Tolerance), 1.0);
  EXPECT_EQ(f.Calls.size(), 2u);
}

TEST(FindRootBrent, rejectsABracketWithoutASignChangeBeforeIterating) {
  const struct {
    const char* Name;
    double (*F)(double);
  } cases[] = {
      {"both positive", [](double t) { return t * t + 1; }},
      {"both negative", [](double t) { return -t * t - 1; }},
      {"NaN", [](double) { return std::numeric_limits<double>::quiet_NaN(); }},
  };
  for (const auto& test : cases) {
    Recorder f{test.F, {}};
    EXPECT_EQ(AssertionOf([&] { FindRootBrent(f, -1.0, 1.0, Tolerance); }),
              "(fa >= 0.0 && fb <= 0.0) || (fa <= 0.0 && fb >= 0.0)")
        << test.Name;
    EXPECT_EQ(f.Calls.size(), 2u) << test.Name;
  }
}

TEST(FindRootBrent, givesUpAfterAHundredIterations) {
  // A sign step at 0 with no tolerance: the bracket shrinks towards the smallest
  // numbers without ever meeting the relative tolerance.
  Recorder f{[](double t) { return t > 0 ? 1.0 : -1.0; }, {}};
  EXPECT_EQ(AssertionOf([&] { FindRootBrent(f, -1.0, 1.0, 0.0); }), "false");
  EXPECT_EQ(f.Calls.size(), 102u);
}

TEST(FindIntersection, widensTheBracketByDoublingThenRefinesTheRoot) {
  std::vector<double> calls;
  const CountedPtr<Curve> line = Make(new RecordingCurve(Make(new CurveLinear(1, 0)), &calls));
  const double root = FindIntersection(line, Make(new CurveConstant(2)), 1, 0, 0, Tolerance);
  EXPECT_NEAR(root, 2, Tolerance);

  // Twenty-one doublings: 22 brackets of two evaluations, then Brent starts again at
  // the final bracket's ends.
  ASSERT_GT(calls.size(), 46u);
  double half_width = 1e-06;
  for (int j = 0; j < 22; ++j) {
    EXPECT_EQ(calls[2 * j], -half_width) << "bracket " << j;
    EXPECT_EQ(calls[2 * j + 1], half_width) << "bracket " << j;
    half_width *= 2;
  }
  EXPECT_NEAR(calls[43], 2.097152, 1e-12);
  EXPECT_EQ(calls[44], calls[42]);
  EXPECT_EQ(calls[45], calls[43]);
}

TEST(FindIntersection, solvesTheScaledAndShiftedDifference) {
  const struct {
    const char* Name;
    CountedPtr<Curve> A;
    CountedPtr<Curve> B;
    double K;
    double C;
    double T0;
    double Root;
  } cases[] = {
      {"2t - 3 = 0", Make(new CurveLinear(1, 0)), Make(new CurveConstant(0)), 2, -3, 0, 1.5},
      {"t^2 = 4 near 1", Make(new CurveQuadratic(1, 0, 0)), Make(new CurveConstant(4)), 1, 0, 1, 2},
      {"t^2 = 4 near -1", Make(new CurveQuadratic(1, 0, 0)), Make(new CurveConstant(4)), 1, 0, -1,
       -2},
      {"root at t0", Make(new CurveLinear(1, 0)), Make(new CurveLinear(-1, 10)), 1, 0, 5, 5},
  };
  for (const auto& test : cases)
    EXPECT_NEAR(FindIntersection(test.A, test.B, test.K, test.C, test.T0, Tolerance), test.Root,
                Tolerance)
        << test.Name;
}

TEST(FindIntersection, reportsMissingRootsAndPassesOnCurveAssertions) {
  auto unit_line = [] {
    auto* piecewise = new CurvePiecewise(0);
    CountedPtr<Curve> result(piecewise);
    piecewise->Add(Make(new CurveLinear(1, 0)), 1);
    return result;
  };
  const struct {
    const char* Name;
    CountedPtr<Curve> A;
    CountedPtr<Curve> B;
    const char* Expression;
  } cases[] = {
      {"parallel level lines", Make(new CurveConstant(1)), Make(new CurveConstant(3)),
       "iter < 100"},
      {"parallel sloped lines", Make(new CurveLinear(1, 0)), Make(new CurveLinear(1, 1e9)),
       "iter < 100"},
      {"leaves the curve's range", unit_line(), Make(new CurveConstant(5)), "t >= Begin"},
      {"NaN", Make(new CurveConstant(std::numeric_limits<double>::quiet_NaN())),
       Make(new CurveConstant(0)), "(fa >= 0.0 && fb <= 0.0) || (fa <= 0.0 && fb >= 0.0)"},
  };
  for (const auto& test : cases)
    EXPECT_EQ(AssertionOf([&] { FindIntersection(test.A, test.B, 1, 0, 0.5, Tolerance); }),
              test.Expression)
        << test.Name;
}

} // namespace
} // namespace Ostra::Physics
