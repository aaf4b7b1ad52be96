#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "Papy/Lp/N4LpFile.h"
#include "TestSupport/OvalTrack.h"
#include "Util/Clipboard.h"
#include "Util/Exception.h"
#include "Velmar/Generators/ControlPointClipboard.h"
#include "Velmar/Generators/LapCurveFitting.h"

namespace Ostra::Velmar {
namespace {

using PointRecord = Papy::LpFileCurve::PointRecord;

struct Fixture {
  CountedPtr<Papy::Track> Track;
  CountedPtr<Papy::LpFile> Line;
};

// An oval of 1028.3 m with a wavy line on it.
Fixture MakeFixture() {
  Fixture f;
  f.Track = CountedPtr<Papy::Track>(new ::Ostra::Test::OvalTrack(100.0, 200.0));
  f.Line = CountedPtr<Papy::LpFile>(new Papy::N4LpFile(f.Track, 3.0));
  const double length = f.Track->GetLength2D();
  for (U32 i = 0; i < f.Line->GetRecordCount(); ++i)
    f.Line->SetRecordLatitude(
        i, 3.0 * std::sin(2.0 * std::numbers::pi * 4.0 * f.Line->GetRecordLongitude(i) / length));
  return f;
}

std::vector<U32> ControlPointRecords(const Papy::LpFileCurve& curve) {
  std::vector<U32> records;
  for (U32 i = 0; i < curve.GetRecordCount(); ++i)
    if (curve.IsControlPoint(i))
      records.push_back(i);
  return records;
}

ControlPointList Stored() {
  return Util::Clipboard::Instance()->GetData<ControlPointList>(ControlPointsFormat);
}

TEST(ControlPointClipboard, CopyTakesTheSelectedRowsControlPoints) {
  const Fixture f = MakeFixture();
  const CountedPtr<Papy::LpFileCurve> curve = GenerateCurve(f.Line, f.Track, 0.2);
  const std::vector<U32> records = ControlPointRecords(*curve);
  ASSERT_GE(records.size(), 4u);
  const int rows = static_cast<int>(curve->GetRecordCount());
  const PointRecord second = curve->GetControlPoint(records[1]);
  const PointRecord third = curve->GetControlPoint(records[2]);
  const int second_row = static_cast<int>(records[1]) + 1;
  const int third_row = static_cast<int>(records[2]) + 1;

  const struct {
    const char* Name;
    int First;
    int Last;
    ControlPointList Expected;
  } cases[] = {
      {"no selection", -1, -1, {}},
      {"header only", 0, 0, {}},
      {"rows between points", second_row + 1, third_row - 1, {}},
      {"one point row", second_row, second_row, {second}},
      {"two points with the rows around", second_row - 1, third_row + 1, {second, third}},
      {"whole grid and beyond", -1, rows + 10, curve->GetControlPoints()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    // Something else on the clipboard first: an empty copy must still replace it.
    Util::Clipboard::Instance()->SetData(ControlPointsFormat, ControlPointList{third, third});
    EXPECT_EQ(CopyControlPoints(*curve, c.First, c.Last), c.Expected);
    EXPECT_EQ(Stored(), c.Expected);
  }
}

TEST(ControlPointClipboard, PasteRoundTripsCopiedPoints) {
  const Fixture f = MakeFixture();
  const CountedPtr<Papy::LpFileCurve> source = GenerateCurve(f.Line, f.Track, 0.5);
  const CountedPtr<Papy::LpFileCurve> target = GenerateCurve(f.Line, f.Track, 0.05);
  ASSERT_GT(target->GetControlPoints().size(), source->GetControlPoints().size());

  // Moved points, so that a paste that left the target alone would show.
  std::vector<PointRecord> moved = source->GetControlPoints();
  for (PointRecord& p : moved)
    p.X += 0.25;
  const CountedPtr<Papy::LpFileCurve> edited = GenerateCurve(f.Line, f.Track, 0.5);
  for (const PointRecord& p : moved)
    edited->PutControlPoint(p);

  const ControlPointList copied =
      CopyControlPoints(*edited, 0, static_cast<int>(edited->GetRecordCount()));
  ASSERT_EQ(copied, moved);
  const std::vector<PointRecord> before = target->GetControlPoints();
  const std::vector<U32> touched = PasteControlPoints(*target);

  ASSERT_EQ(touched.size(), moved.size());
  std::size_t new_points = 0;
  for (std::size_t k = 0; k < moved.size(); ++k) {
    EXPECT_EQ(target->GetRecordLongitude(touched[k]), moved[k].Longitude) << k;
    EXPECT_EQ(target->GetControlPoint(touched[k]), moved[k]) << k;
  }
  for (const PointRecord& p : moved) {
    bool existed = false;
    for (const PointRecord& q : before)
      existed = existed || q.Longitude == p.Longitude;
    new_points += existed ? 0 : 1;
  }
  // Points at the longitude of an existing one replace it.
  EXPECT_EQ(target->GetControlPoints().size(), before.size() + new_points);

  // Pasted back into a curve of the same line, the copy restores the edited curve.
  const CountedPtr<Papy::LpFileCurve> restored = GenerateCurve(f.Line, f.Track, 0.5);
  PasteControlPoints(*restored);
  EXPECT_EQ(restored->GetControlPoints(), edited->GetControlPoints());
  EXPECT_EQ(restored->GetRecords(), edited->GetRecords());
}

TEST(ControlPointClipboard, PasteOutsideTheLapChangesNothing) {
  const Fixture f = MakeFixture();
  const CountedPtr<Papy::LpFileCurve> target = GenerateCurve(f.Line, f.Track, 0.5);
  const auto points_before = target->GetControlPoints();
  const auto records_before = target->GetRecords();
  PointRecord inside = points_before.front();
  inside.X += 1.0;
  PointRecord beyond = inside;
  beyond.Longitude = 3.0 * 5000.0;

  const struct {
    const char* Name;
    ControlPointList Points;
    bool Throws;
  } cases[] = {
      {"empty copy", {}, false},
      {"a point past the last record after a good one", {inside, beyond}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Util::Clipboard::Instance()->SetData(ControlPointsFormat, c.Points);
    if (c.Throws)
      EXPECT_THROW(PasteControlPoints(*target), Util::XAssertion);
    else
      EXPECT_TRUE(PasteControlPoints(*target).empty());
    EXPECT_EQ(target->GetControlPoints(), points_before);
    EXPECT_EQ(target->GetRecords(), records_before);
  }
}

TEST(ControlPointClipboard, CommandsNeedALapCurve) {
  const Fixture f = MakeFixture();
  const CountedPtr<Papy::LpFileCurve> curve = GenerateCurve(f.Line, f.Track, 0.5);
  Util::Clipboard::Instance()->SetData(ControlPointsFormat, ControlPointList{});
  const struct {
    const char* Name;
    const Papy::LpFile* Lp;
    int LastRow;
    bool Copy;
    bool Paste;
  } cases[] = {
      {"plain LP", f.Line.Get(), 5, false, false},
      {"curve, header row only", curve.Get(), 0, false, true},
      {"curve, no selection", curve.Get(), -1, false, true},
      {"curve, first record row", curve.Get(), 1, true, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CanCopyControlPoints(*c.Lp, c.LastRow), c.Copy) << c.Name;
    EXPECT_EQ(CanPasteControlPoints(*c.Lp), c.Paste) << c.Name;
  }
}

} // namespace
} // namespace Ostra::Velmar
