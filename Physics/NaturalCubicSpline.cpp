#include "Physics/NaturalCubicSpline.h"

#include "Physics/CurveCubic.h"
#include "Physics/CurveShim.h"
#include "Util/Exception.h"

#include <cstddef>

namespace Ostra::Physics {

NaturalCubicSpline::NaturalCubicSpline(bool closed) : IsClosed(closed) {
  if (IsClosed) {
    // Stands for the last knot one period early; Close fills it in.
    XValues.push_back(0.0);
    YValues.push_back(0.0);
  }
}

void NaturalCubicSpline::SetEndSlopes(double startSlope, double endSlope) {
  StartSlope = startSlope;
  EndSlope = endSlope;
  HasEndSlopes = true;
}

void NaturalCubicSpline::AddPoint(double x, double y) {
  XValues.push_back(x);
  YValues.push_back(y);
}

void NaturalCubicSpline::Close(double xEnd) {
  UTIL_ASSERT(IsClosed);
  // The placeholder and at least two real knots: the wrap reads the first two.
  UTIL_ASSERT(YValues.size() >= 3);
  const double period = xEnd - XValues[1];
  XValues[0] = XValues[1] - (xEnd - XValues.back());
  YValues[0] = YValues.back();
  const double second_x = XValues[2] + period;
  const double first_y = YValues[1];
  const double second_y = YValues[2];
  XValues.push_back(xEnd);
  YValues.push_back(first_y);
  XValues.push_back(second_x);
  YValues.push_back(second_y);
}

Util::CountedPtr<CurvePiecewise> NaturalCubicSpline::Build() const {
  const std::size_t n = XValues.size();
  UTIL_ASSERT(n >= 2);
  const std::vector<double>& x = XValues;
  const std::vector<double>& y = YValues;

  std::vector<double> h(n - 1);
  std::vector<double> h2(n - 1);
  for (std::size_t i = 0; i + 1 < n; ++i) {
    h[i] = x[i + 1] - x[i];
    h2[i] = h[i] * h[i];
  }

  // Unknowns: the first derivative at every knot. Interior rows are the continuity
  // of the second derivative, multiplied through by h(i-1)^2 * h(i)^2.
  Matrix matrix(n, n, 1, 1);
  // The band storage is not guaranteed to start out zero.
  matrix.clear();
  Vector rhs(n);
  for (std::size_t i = 1; i + 1 < n; ++i) {
    matrix(i, i - 1) = h[i - 1] * h2[i];
    matrix(i, i) = 2.0 * h[i] * h2[i - 1] + 2.0 * h[i - 1] * h2[i];
    matrix(i, i + 1) = h2[i - 1] * h[i];
    rhs(i) = 3.0 * (h2[i] * (y[i] - y[i - 1]) + h2[i - 1] * (y[i + 1] - y[i]));
  }
  const std::size_t last = n - 1;
  if (HasEndSlopes) {
    matrix(0, 0) = 1.0;
    rhs(0) = StartSlope;
    matrix(last, last) = 1.0;
    rhs(last) = EndSlope;
  } else {
    // Zero second derivative at both ends.
    matrix(0, 0) = 2.0 * h2[0];
    matrix(0, 1) = h2[0];
    rhs(0) = 3.0 * h[0] * (y[1] - y[0]);
    matrix(last, last - 1) = h2[last - 1];
    matrix(last, last) = 2.0 * h2[last - 1];
    rhs(last) = 3.0 * h[last - 1] * (y[last] - y[last - 1]);
  }

  Vector slopes(n);
  Solve(matrix, rhs, slopes);

  // A closed spline drops the pieces before its first real knot and after the
  // period's end, so it covers exactly one period.
  const std::size_t first_knot = IsClosed ? 1 : 0;
  const std::size_t last_knot = IsClosed ? n - 2 : n - 1;
  auto* curve = new CurvePiecewise(x[first_knot]);
  Util::CountedPtr<CurvePiecewise> result(curve);
  for (std::size_t i = first_knot; i < last_knot; ++i) {
    // Hermite slopes are per unit of the shim's [0, 1], hence the factor h.
    const Util::CountedPtr<Curve> cubic(new CurveCubic(
        CurveCubic::FromHermite(y[i], y[i + 1], slopes(i) * h[i], slopes(i + 1) * h[i])));
    curve->Add(Util::CountedPtr<Curve>(new CurveShim(cubic, x[i], x[i + 1], 1.0)), x[i + 1]);
  }
  return result;
}

void NaturalCubicSpline::Solve(const Matrix& matrix, const Vector& rhs, Vector& solution) {
  const std::size_t n = rhs.size();
  UTIL_ASSERT_TEXT(matrix.size1() == n, "input_matrix_A.size1() == n");
  UTIL_ASSERT_TEXT(matrix.size2() == n, "input_matrix_A.size2() == n");
  UTIL_ASSERT_TEXT(solution.size() == n, "vector_x.size() == n");
  if (n == 0)
    return;

  // The three diagonals, read through the const interface: entries outside the band
  // read as zero.
  std::vector<double> lower(n, 0.0);
  std::vector<double> diagonal(n);
  std::vector<double> upper(n, 0.0);
  std::vector<double> r(n);
  for (std::size_t i = 0; i < n; ++i) {
    diagonal[i] = matrix(i, i);
    if (i > 0)
      lower[i] = matrix(i, i - 1);
    if (i + 1 < n)
      upper[i] = matrix(i, i + 1);
    r[i] = rhs(i);
  }

  // Thomas algorithm: Gaussian elimination without pivoting.
  for (std::size_t i = 0; i + 1 < n; ++i) {
    UTIL_ASSERT_TEXT(diagonal[i] != 0.0, "matrix_A(i, i) != 0.0");
    upper[i] /= diagonal[i];
    r[i] /= diagonal[i];
    diagonal[i + 1] -= lower[i + 1] * upper[i];
    r[i + 1] -= lower[i + 1] * r[i];
  }
  // A singular system would otherwise give infinite or NaN slopes.
  UTIL_ASSERT_TEXT(diagonal[n - 1] != 0.0, "matrix_A(n - 1, n - 1) != 0.0");
  solution(n - 1) = r[n - 1] / diagonal[n - 1];
  for (std::size_t i = n - 1; i > 0; --i)
    solution(i - 1) = r[i - 1] - upper[i - 1] * solution(i);
}

} // namespace Ostra::Physics
