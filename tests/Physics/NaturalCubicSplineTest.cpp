#include "Physics/NaturalCubicSpline.h"
#include "Util/Exception.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace Ostra::Physics {
namespace {

using Util::CountedPtr;

constexpr double Tolerance = 1e-12;
// Slopes and second derivatives are compared relative to their size.
constexpr double ContinuityTolerance = 1e-9;

std::string AssertionOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const Util::XAssertion& failure) {
    return failure.Expression;
  }
  return "";
}

double SlopeAt(const Curve& curve, double t) { return curve.Derivative()->Evaluate(t); }

struct Knot {
  double X;
  double Y;
};

TEST(NaturalCubicSpline, throughTwoKnotsWithNaturalEndsIsAStraightLine) {
  NaturalCubicSpline spline(false);
  spline.AddPoint(0, 0);
  spline.AddPoint(1, 1);
  const CountedPtr<CurvePiecewise> curve = spline.Build();
  ASSERT_EQ(curve->GetSegments().size(), 1u);
  for (const double t : {0.0, 0.25, 0.5, 0.9, 1.0}) {
    EXPECT_NEAR(curve->Evaluate(t), t, Tolerance);
    EXPECT_NEAR(SlopeAt(*curve, t), 1.0, Tolerance);
  }
}

TEST(NaturalCubicSpline, clampedEndsTakeTheGivenSlopes) {
  NaturalCubicSpline spline(false);
  spline.SetEndSlopes(0, 0);
  spline.AddPoint(0, 0);
  spline.AddPoint(1, 1);
  spline.AddPoint(2, 0);
  const CountedPtr<CurvePiecewise> curve = spline.Build();
  EXPECT_NEAR(SlopeAt(*curve, 0), 0, Tolerance);
  EXPECT_NEAR(SlopeAt(*curve, 2), 0, Tolerance);
  EXPECT_NEAR(curve->Evaluate(1), 1, Tolerance);
}

TEST(NaturalCubicSpline, closedCoversExactlyOnePeriodWithSeparatelySolvedEndSlopes) {
  NaturalCubicSpline spline(true);
  spline.AddPoint(0, 1);
  spline.AddPoint(10, 2);
  spline.AddPoint(20, 3);
  spline.Close(30);
  const CountedPtr<CurvePiecewise> curve = spline.Build();

  const auto& segments = curve->GetSegments();
  ASSERT_EQ(segments.size(), 3u);
  EXPECT_EQ(curve->GetBegin(), 0);
  EXPECT_EQ(curve->GetEnd(), 30);
  const Knot knots[] = {{0, 1}, {10, 2}, {20, 3}, {30, 1}};
  for (const Knot& knot : knots)
    EXPECT_NEAR(curve->Evaluate(knot.X), knot.Y, Tolerance) << "x = " << knot.X;
  EXPECT_EQ(segments[1].Begin, 10);
  EXPECT_EQ(segments[2].Begin, 20);

  // The wrap knots (-10, 3) and (40, 2) shape the ends: symmetric data around the
  // period's end would give equal slopes, these give close but different ones.
  const double start_slope = SlopeAt(*curve, 0);
  const double end_slope = SlopeAt(*curve, 30);
  EXPECT_NEAR(start_slope, end_slope, 0.05);
  EXPECT_NE(start_slope, end_slope);
  EXPECT_LT(end_slope, 0);
}

// Knots with random spacing and values, seeded so failures repeat.
std::vector<Knot> RandomKnots(unsigned seed, int count) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> spacing(0.1, 5.0);
  std::uniform_real_distribution<double> value(-10.0, 10.0);
  std::vector<Knot> knots;
  double x = value(generator);
  for (int i = 0; i < count; ++i) {
    knots.push_back({x, value(generator)});
    x += spacing(generator);
  }
  return knots;
}

enum class Form { Natural, Clamped, Closed };

TEST(NaturalCubicSpline, passesThroughItsKnotsWithContinuousSlopes) {
  for (const Form form : {Form::Natural, Form::Clamped, Form::Closed}) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
      std::vector<Knot> knots = RandomKnots(seed, 2 + seed % 9 + (form == Form::Closed ? 1 : 0));
      NaturalCubicSpline spline(form == Form::Closed);
      if (form == Form::Clamped)
        spline.SetEndSlopes(-1.5, 2.0);
      double x_end = 0;
      if (form == Form::Closed) {
        // The last knot stands for the first one a period later.
        x_end = knots.back().X;
        knots.back().Y = knots.front().Y;
      }
      for (std::size_t i = 0; i < knots.size() - (form == Form::Closed ? 1 : 0); ++i)
        spline.AddPoint(knots[i].X, knots[i].Y);
      if (form == Form::Closed)
        spline.Close(x_end);
      const CountedPtr<CurvePiecewise> curve = spline.Build();

      const auto& segments = curve->GetSegments();
      ASSERT_EQ(segments.size(), knots.size() - 1) << "seed " << seed;
      for (std::size_t i = 0; i < knots.size(); ++i)
        EXPECT_NEAR(curve->Evaluate(knots[i].X), knots[i].Y, 1e-9) << "seed " << seed;
      for (std::size_t i = 0; i + 1 < segments.size(); ++i) {
        const double x = segments[i].End;
        const double left = SlopeAt(*segments[i].Curve, x);
        const double right = SlopeAt(*segments[i + 1].Curve, x);
        EXPECT_NEAR(left, right, ContinuityTolerance * (1 + std::fabs(left)))
            << "seed " << seed << " knot " << x;
        // The system imposes C2 at interior knots as well.
        const double left2 = segments[i].Curve->Derivative()->Derivative()->Evaluate(x);
        const double right2 = segments[i + 1].Curve->Derivative()->Derivative()->Evaluate(x);
        EXPECT_NEAR(left2, right2, 1e-7 * (1 + std::fabs(left2)))
            << "seed " << seed << " knot " << x;
      }
      const CountedPtr<Curve> second = curve->Derivative()->Derivative();
      if (form == Form::Natural) {
        EXPECT_NEAR(second->Evaluate(curve->GetBegin()), 0, 1e-9) << "seed " << seed;
        EXPECT_NEAR(second->Evaluate(curve->GetEnd()), 0, 1e-9) << "seed " << seed;
      } else if (form == Form::Clamped) {
        EXPECT_NEAR(SlopeAt(*curve, curve->GetBegin()), -1.5, 1e-12) << "seed " << seed;
        EXPECT_NEAR(SlopeAt(*curve, curve->GetEnd()), 2.0, 1e-12) << "seed " << seed;
      } else {
        EXPECT_EQ(curve->GetBegin(), knots.front().X);
        EXPECT_EQ(curve->GetEnd(), x_end);
        EXPECT_NEAR(curve->Evaluate(x_end), curve->Evaluate(curve->GetBegin()), 1e-9);
      }
    }
  }
}

TEST(NaturalCubicSpline, solveHandlesAHandMadeSystemAndLeavesItsInputs) {
  NaturalCubicSpline::Matrix matrix(3, 3, 1, 1);
  matrix.clear();
  matrix(0, 0) = 2;
  matrix(0, 1) = 1;
  matrix(1, 0) = 1;
  matrix(1, 1) = 3;
  matrix(1, 2) = 1;
  matrix(2, 1) = 1;
  matrix(2, 2) = 2;
  NaturalCubicSpline::Vector rhs(3);
  rhs(0) = 1;
  rhs(1) = 0;
  rhs(2) = 3;
  NaturalCubicSpline::Vector solution(3);
  NaturalCubicSpline::Solve(matrix, rhs, solution);
  EXPECT_NEAR(solution(0), 1, Tolerance);
  EXPECT_NEAR(solution(1), -1, Tolerance);
  EXPECT_NEAR(solution(2), 2, Tolerance);
  EXPECT_EQ(matrix(1, 1), 3);
  EXPECT_EQ(rhs(2), 3);
}

TEST(NaturalCubicSpline, solveRejectsMismatchedSizesAndZeroPivots) {
  NaturalCubicSpline::Matrix square(3, 3, 1, 1);
  square.clear();
  NaturalCubicSpline::Matrix wide(3, 4, 1, 1);
  wide.clear();
  NaturalCubicSpline::Matrix tall(4, 3, 1, 1);
  tall.clear();
  NaturalCubicSpline::Vector three(3, 1.0);
  NaturalCubicSpline::Vector four(4);

  EXPECT_EQ(AssertionOf([&] { NaturalCubicSpline::Solve(tall, three, three); }),
            "input_matrix_A.size1() == n");
  EXPECT_EQ(AssertionOf([&] { NaturalCubicSpline::Solve(wide, three, three); }),
            "input_matrix_A.size2() == n");
  EXPECT_EQ(AssertionOf([&] { NaturalCubicSpline::Solve(square, three, four); }),
            "vector_x.size() == n");
  EXPECT_EQ(AssertionOf([&] { NaturalCubicSpline::Solve(square, three, three); }),
            "matrix_A(i, i) != 0.0");
  square(0, 0) = 1;
  square(1, 1) = 1;
  EXPECT_EQ(AssertionOf([&] { NaturalCubicSpline::Solve(square, three, three); }),
            "matrix_A(n - 1, n - 1) != 0.0");
}

TEST(NaturalCubicSpline, refusesKnotSetsItCannotFit) {
  const struct {
    const char* Name;
    bool Closed;
    std::vector<Knot> Knots;
    bool CallClose;
    const char* Expression;
  } cases[] = {
      {"open, one knot", false, {{0, 1}}, false, "n >= 2"},
      {"open, no knot", false, {}, false, "n >= 2"},
      {"closed, one real knot", true, {{0, 1}}, true, "YValues.size() >= 3"},
      {"closed, no real knot", true, {}, true, "YValues.size() >= 3"},
      {"close on an open spline", false, {{0, 1}, {1, 2}, {2, 3}}, true, "IsClosed"},
      {"repeated x inside",
       false,
       {{0, 1}, {1, 2}, {1, 3}, {2, 0}},
       false,
       "matrix_A(i, i) != 0.0"},
      {"decreasing x", false, {{0, 1}, {-1, 2}}, false, "end > begin"},
  };
  for (const auto& test : cases) {
    NaturalCubicSpline spline(test.Closed);
    for (const Knot& knot : test.Knots)
      spline.AddPoint(knot.X, knot.Y);
    EXPECT_EQ(AssertionOf([&] {
                if (test.CallClose)
                  spline.Close(10);
                spline.Build();
              }),
              test.Expression)
        << test.Name;
  }
}

} // namespace
} // namespace Ostra::Physics
