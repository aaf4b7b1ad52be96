#pragma once

#include "Physics/CurvePiecewise.h"
#include "Util/CountedPtr.h"

#include <boost/numeric/ublas/banded.hpp>
#include <boost/numeric/ublas/vector.hpp>

#include <vector>

namespace Ostra::Physics {

// A C1 cubic spline through knots (x, y), built as a CurvePiecewise of one CurveShim
// over a Hermite CurveCubic per knot interval.
//
// Open: natural ends (zero second derivative) or, after SetEndSlopes, clamped ends.
// Closed: for a periodic function. The knots of one period are added, then Close
// wraps them with one knot before and two after, and Build covers exactly one
// period. The two slopes at the period's ends are separate unknowns, so they agree
// only closely.
//
// Use: constructor, SetEndSlopes (optional), AddPoint per knot in strictly
// increasing x, Close (closed only), Build.
class NaturalCubicSpline {
public:
  // std::vector storage: ublas's default array calls std::allocator::construct,
  // which C++20 removed.
  using Matrix = boost::numeric::ublas::banded_matrix<double, boost::numeric::ublas::row_major,
                                                      std::vector<double>>;
  using Vector = boost::numeric::ublas::vector<double, std::vector<double>>;

  explicit NaturalCubicSpline(bool closed);

  void SetEndSlopes(double startSlope, double endSlope);
  void AddPoint(double x, double y);

  // xEnd is where the first knot recurs, one period after it. Throws
  // Util::XAssertion for an open spline or fewer than two knots.
  void Close(double xEnd);

  // Throws Util::XAssertion for fewer than two knots, or when the knots are not
  // strictly increasing.
  Util::CountedPtr<CurvePiecewise> Build() const;

  // Solves the tridiagonal system matrix * solution = rhs without pivoting; matrix
  // and rhs are left unchanged. Throws Util::XAssertion for mismatched sizes and a
  // zero pivot.
  static void Solve(const Matrix& matrix, const Vector& rhs, Vector& solution);

private:
  std::vector<double> XValues;
  std::vector<double> YValues;
  double StartSlope = 0.0;
  double EndSlope = 0.0;
  bool IsClosed;
  bool HasEndSlopes = false;
};

} // namespace Ostra::Physics
