#include <cmath>
#include <limits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Util/Clipboard.h"
#include "Util/Exception.h"
#include "Velmar/Generators/ControlPointClipboard.h"
#include "Velmar/Generators/LapCurveFitting.h"
#include "WavyLine.h"

namespace Ostra::Velmar {
namespace {

using PointRecord = Papy::LpFileCurve::PointRecord;

struct Curves {
  CountedPtr<Papy::Track> Track = TestLines::MakeOval(100.0, 200.0);
  CountedPtr<Papy::LpFile> Line = TestLines::MakeWavyLine(Track, 3.0, 4.0);
  CountedPtr<Papy::LpFileCurve> Make(double tolerance) const {
    return GenerateCurve(Line, Track, tolerance);
  }
};

ControlPointList Stored() {
  return Util::Clipboard::Instance()->GetData<ControlPointList>(ControlPointsFormat);
}

TEST(ControlPointClipboard, CopyStoresTheSelectedRowsControlPoints) {
  const CountedPtr<Papy::LpFileCurve> curve = Curves().Make(0.2);
  const std::vector<PointRecord>& points = curve->GetControlPoints();
  ASSERT_GE(points.size(), 3u);
  // Grid row r + 1 shows record r.
  const int second = static_cast<int>(curve->GetRecordIndex(points[1].Longitude)) + 1;
  const int third = static_cast<int>(curve->GetRecordIndex(points[2].Longitude)) + 1;
  const struct {
    const char* Name;
    int First, Last;
    ControlPointList Expected;
  } cases[] = {
      {"no selection", -1, -1, {}},
      {"header only", 0, 0, {}},
      {"rows between points", second + 1, third - 1, {}},
      {"two points and the rows around", second - 1, third + 1, {points[1], points[2]}},
      {"whole grid and beyond", -1, static_cast<int>(curve->GetRecordCount()) + 10, points},
  };
  for (const auto& c : cases) {
    // An empty copy must still replace what was stored.
    Util::Clipboard::Instance()->SetData(ControlPointsFormat, ControlPointList{points[0]});
    EXPECT_EQ(CopyControlPoints(*curve, c.First, c.Last), c.Expected) << c.Name;
    EXPECT_EQ(Stored(), c.Expected) << c.Name;
  }
}

TEST(ControlPointClipboard, PasteRoundTripsCopiedPoints) {
  const Curves curves;
  // Moved points, so that a paste that left its target alone would show.
  const CountedPtr<Papy::LpFileCurve> edited = curves.Make(0.5);
  std::vector<PointRecord> moved = edited->GetControlPoints();
  for (PointRecord& p : moved) {
    p.X += 0.25;
    edited->PutControlPoint(p);
  }
  ASSERT_EQ(CopyControlPoints(*edited, 0, static_cast<int>(edited->GetRecordCount())), moved);

  // Into a curve of the same line and points, the paste replaces every point.
  const CountedPtr<Papy::LpFileCurve> same = curves.Make(0.5);
  const std::vector<U32> touched = PasteControlPoints(*same);
  EXPECT_EQ(same->GetControlPoints(), edited->GetControlPoints());
  EXPECT_EQ(same->GetRecords(), edited->GetRecords());
  ASSERT_EQ(touched.size(), moved.size());
  for (std::size_t k = 0; k < moved.size(); ++k)
    EXPECT_EQ(same->GetRecordLongitude(touched[k]), moved[k].Longitude) << k;
}

TEST(ControlPointClipboard, PasteRefusesEveryPointWhenOneIsNotOnARecord) {
  const CountedPtr<Papy::LpFileCurve> target = Curves().Make(0.5);
  const auto points_before = target->GetControlPoints();
  const auto records_before = target->GetRecords();
  PointRecord inside = points_before.front();
  inside.X += 1.0;
  const double last = target->GetRecordLongitude(target->GetRecordCount() - 1);
  const struct {
    const char* Name;
    double Longitude;
    double X;
  } cases[] = {
      {"past the last record", 15000.0, inside.X},
      {"one step past the last record", last + target->GetRecordSpacing(), inside.X},
      {"before the first record", 0.0, inside.X},
      {"between two records (another spacing)", inside.Longitude + 1.0, inside.X},
      {"not a number", std::nan(""), inside.X},
      {"a coordinate that is not finite", inside.Longitude + 3.0,
       std::numeric_limits<double>::infinity()},
  };
  for (const auto& c : cases) {
    PointRecord refused = inside;
    refused.Longitude = c.Longitude;
    refused.X = c.X;
    Util::Clipboard::Instance()->SetData(ControlPointsFormat, ControlPointList{inside, refused});
    try {
      PasteControlPoints(*target);
      ADD_FAILURE() << c.Name << ": pasted";
    } catch (const Util::XUsage& e) {
      EXPECT_THAT(e.What(), testing::HasSubstr("nothing was pasted")) << c.Name;
    }
    EXPECT_EQ(target->GetControlPoints(), points_before) << c.Name;
    EXPECT_EQ(target->GetRecords(), records_before) << c.Name;
  }
}

} // namespace
} // namespace Ostra::Velmar
