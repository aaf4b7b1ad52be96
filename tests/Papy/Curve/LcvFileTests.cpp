#include "Papy/Curve/LpFileCurve.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Util/SafeSave.h"
#include "tests/Papy/Curve/LapCurveFixtures.h"

namespace Ostra::Test {
namespace {

using Papy::LpFileCurve;
using PointRecord = LpFileCurve::PointRecord;

constexpr double Spacing = 3.0;
// Byte offsets of the header fields.
constexpr std::size_t SpacingOffset = 4;
constexpr std::size_t RecordCountOffset = 12;
constexpr std::size_t PointCountOffset = 16;
constexpr std::size_t FirstPointOffset = 20;
constexpr std::size_t PointSize = 40;

// A circle of radius 100 m: a lap of 628.3 m, 210 records at 3 m, the last one at
// 630 m, 1.68 m past the lap end.
const CountedPtr<Papy::Track>& Circle() {
  static const CountedPtr<Papy::Track> track(new OvalTrack(100.0, 0.0));
  return track;
}
const OvalTrack& Oval() { return dynamic_cast<const OvalTrack&>(*Circle()); }
U32 Records() { return LapRecordCount(Oval(), Spacing); }

std::vector<PointRecord> TwoPoints() {
  return {LinePoint(Oval(), 0.0, 30.0), LinePoint(Oval(), 0.0, 330.0)};
}
std::vector<PointRecord> ManyPoints() { return LinePoints(Oval(), 0.0, Spacing, 8); }

LpFileCurve Read(const ByteBuilder& image) {
  return LpFileCurve(StreamOver(image.Data()), Circle());
}

std::vector<U32> LimitedRecords(const LpFileCurve& curve) {
  std::vector<U32> limited;
  for (U32 i = 0; i < curve.GetRecordCount(); ++i)
    if (curve.HasRecordSpeedLimit(i))
      limited.push_back(i);
  return limited;
}

// --- Versions --------------------------------------------------------------------

TEST(LcvFile, AVersion3FileWithTwoPointsIs104BytesAndWritesBackIdentically) {
  ByteBuilder image = LcvImage(3, Spacing, Records(), TwoPoints()).U32(0);
  ASSERT_EQ(image.Size(), 104u);
  const LpFileCurve curve = Read(image);
  EXPECT_EQ(curve.GetRecordCount(), Records());
  EXPECT_EQ(curve.GetRecordSpacing(), Spacing);
  EXPECT_EQ(curve.GetControlPoints(), TwoPoints());
  EXPECT_EQ(WrittenBytes(curve), image.Data());
}

class OlderVersion : public testing::TestWithParam<U32> {};

TEST_P(OlderVersion, ReadsWithoutSpeedLimitsAndWritesAsVersion3) {
  const LpFileCurve curve = Read(LcvImage(GetParam(), Spacing, Records(), ManyPoints()));
  EXPECT_TRUE(curve.GetSpeedLimits().empty());
  EXPECT_TRUE(LimitedRecords(curve).empty());
  EXPECT_EQ(WrittenBytes(curve), LcvImage(3, Spacing, Records(), ManyPoints()).U32(0).Data());
}

INSTANTIATE_TEST_SUITE_P(LcvFile, OlderVersion, testing::Values(0u, 1u));

TEST(LcvFile, Version4IsRefusedBeforeAnythingElseIsRead) {
  ByteBuilder image;
  image.U32(4); // nothing follows: reading on would be a read error
  try {
    Read(image);
    FAIL() << "no exception";
  } catch (const Util::XFileFormat& e) {
    EXPECT_EQ(e.What(),
              "A possible error was found in file test.lcv\nNeed newer version of program\n");
  }
}

TEST(LcvFile, ReadsFromTheStreamsPositionAndWritesAtIt) {
  const ByteBuilder image = LcvImage(3, Spacing, Records(), TwoPoints()).U32(0);
  std::vector<unsigned char> bytes{1, 2, 3};
  bytes.insert(bytes.end(), image.Data().begin(), image.Data().end());
  const CountedPtr<Util::BinaryStream> stream = StreamOver(bytes);
  stream->Seek(3);
  const LpFileCurve curve(stream, Circle());
  EXPECT_EQ(stream->Tell(), static_cast<S64>(bytes.size()));

  const CountedPtr<Util::BinaryStream> out(new Util::MemoryStream("out.lcv", {9, 9}));
  out->Seek(1);
  curve.Write(out);
  std::vector<unsigned char> expected{9};
  expected.insert(expected.end(), image.Data().begin(), image.Data().end());
  EXPECT_EQ(dynamic_cast<Util::MemoryStream&>(*out).Bytes(), expected);
}

TEST(LcvFile, SavesSafelyByPathAndReadsBack) {
  TempDir dir;
  const std::string path = dir / "line.lcv";
  ByteBuilder image = LcvImage(3, Spacing, Records(), ManyPoints()).U32(1);
  image.F64(Spacing * 5).F64(44.0);
  const LpFileCurve curve = Read(image);
  Util::SaveFileSafely(path, [&curve](Util::BinaryStream& out) { curve.Write(out); });
  EXPECT_EQ(ReadWholeFile(path), image.Data());
  const LpFileCurve again(CountedPtr<Util::BinaryStream>(Util::BinaryFile::OpenRead(path)),
                          Circle());
  EXPECT_EQ(again.GetRecords(), curve.GetRecords());
}

// --- Speed limits ------------------------------------------------------------------

struct RangeCase {
  const char* Name;
  std::vector<std::array<double, 3>> Ranges; // from, to, limit
  std::vector<U32> Limited;
  double Limit; // of the first limited record
};

std::vector<U32> Run(U32 first, U32 last) {
  std::vector<U32> run;
  for (U32 i = first; i <= last; ++i)
    run.push_back(i);
  return run;
}

class Version2Ranges : public testing::TestWithParam<RangeCase> {};

TEST_P(Version2Ranges, LimitTheRecordsTheyCoverAndWriteBackAsPoints) {
  const RangeCase& c = GetParam();
  ByteBuilder image = LcvImage(2, Spacing, Records(), ManyPoints());
  image.U32(static_cast<U32>(c.Ranges.size()));
  for (const auto& r : c.Ranges)
    image.F64(r[0]).F64(r[1]).F64(r[2]);
  LpFileCurve curve = Read(image);
  ASSERT_EQ(LimitedRecords(curve), c.Limited);
  if (!c.Limited.empty()) {
    EXPECT_EQ(curve.GetRecordSpeedLimit(c.Limited.front()), c.Limit);
  }

  ByteBuilder expected = LcvImage(3, Spacing, Records(), ManyPoints());
  expected.U32(static_cast<U32>(c.Limited.size()));
  for (const U32 i : c.Limited)
    expected.F64(curve.GetRecordLongitude(i)).F64(curve.GetRecordSpeedLimit(i));
  EXPECT_EQ(WrittenBytes(curve), expected.Data());

  // A refit takes the limits from the list again: they must be the ones shown.
  const std::vector<LpFileCurve::CurveRecord> before = curve.GetRecords();
  curve.SetControlPoint(2, true);
  for (U32 i = 0; i < curve.GetRecordCount(); ++i)
    EXPECT_EQ(curve.GetRecordSpeedLimit(i), before[i].SpeedLimit) << i;
}

INSTANTIATE_TEST_SUITE_P(
    LcvFile, Version2Ranges,
    testing::Values(
        // Longitudes 102 ... 198 are records 33 ... 65.
        RangeCase{"BothEndsBetweenRecords", {{100.0, 200.0, 30.0}}, Run(33, 65), 30.0},
        RangeCase{"BothEndsOnRecords", {{99.0, 102.0, 30.0}}, Run(32, 33), 30.0},
        // 3 m is record 0; 630 m is record 209, 1.68 m into the next lap.
        RangeCase{"PastTheLapEnd", {{0.5, 4.0, 20.0}}, {0, 209}, 20.0},
        RangeCase{"LastRangeDecides", {{100.0, 200.0, 30.0}, {150.0, 250.0, 40.0}},
                  Run(33, 82), 30.0},
        RangeCase{"LimitOfZeroOrBelowIsNone", {{100.0, 200.0, 30.0}, {99.0, 150.0, -5.0}},
                  Run(50, 65), 30.0},
        RangeCase{"EmptyOrNotANumber",
                  {{200.0, 100.0, 30.0}, {std::nan(""), 200.0, 30.0}, {0.0, std::nan(""), 30.0}},
                  {},
                  0.0}),
    [](const testing::TestParamInfo<RangeCase>& test) { return std::string(test.param.Name); });

TEST(LcvFile, OverlappingRangesLeaveTheLaterLimit) {
  ByteBuilder image = LcvImage(2, Spacing, Records(), ManyPoints());
  image.U32(2).F64(100.0).F64(200.0).F64(30.0).F64(150.0).F64(250.0).F64(40.0);
  const LpFileCurve curve = Read(image);
  EXPECT_EQ(curve.GetRecordSpeedLimit(48), 30.0); // 147 m
  EXPECT_EQ(curve.GetRecordSpeedLimit(49), 40.0); // 150 m
  EXPECT_EQ(curve.GetRecordSpeedLimit(82), 40.0); // 249 m
  EXPECT_FALSE(curve.HasRecordSpeedLimit(83));     // 252 m
}

TEST(LcvFile, Version3PointsLimitTheRecordAtExactlyTheirLongitude) {
  ByteBuilder image = LcvImage(3, Spacing, Records(), ManyPoints());
  image.U32(5)
      .F64(30.0).F64(25.0)   // record 9
      .F64(30.0).F64(99.0)   // the same record again: the first point counts
      .F64(31.5).F64(50.0)   // between records: no record
      .F64(60.0).F64(0.0)    // record 19 without a limit
      .F64(90.0).F64(-3.0);  // record 29 without a limit
  LpFileCurve curve = Read(image);
  EXPECT_EQ(LimitedRecords(curve), (std::vector<U32>{9}));
  EXPECT_EQ(curve.GetRecordSpeedLimit(9), 25.0);
  ByteBuilder expected = LcvImage(3, Spacing, Records(), ManyPoints());
  expected.U32(1).F64(30.0).F64(25.0);
  EXPECT_EQ(WrittenBytes(curve), expected.Data());

  // A limit set on a record that the file listed (even without a positive limit)
  // stays after the next fit.
  curve.SetRecordSpeedLimit(19, 33.0);
  curve.SetRecordSpeedLimit(9, 45.0);
  curve.SetControlPoint(2, true);
  EXPECT_EQ(curve.GetRecordSpeedLimit(19), 33.0);
  EXPECT_EQ(curve.GetRecordSpeedLimit(9), 45.0);
}

// --- Malformed files -----------------------------------------------------------------

struct BrokenCase {
  const char* Name;
  std::function<void(ByteBuilder&)> Break;
  std::string Message; // empty: a read error
};

class BrokenFile : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenFile, IsRefusedWithItsMessage) {
  ByteBuilder image = LcvImage(3, Spacing, Records(), ManyPoints()).U32(1).F64(30.0).F64(25.0);
  GetParam().Break(image);
  try {
    Read(image);
    FAIL() << "no exception";
  } catch (const Util::XFileFormat& e) {
    EXPECT_EQ(e.Message, GetParam().Message);
    EXPECT_EQ(e.FileName, "test.lcv");
  } catch (const Util::XFileRead& e) {
    EXPECT_EQ(GetParam().Message, "") << "read error instead";
    EXPECT_EQ(e.FileName, "test.lcv");
  }
}

const double Infinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    LcvFile, BrokenFile,
    testing::Values(
        BrokenCase{"SpacingNotANumber", [](auto& b) { b.PatchF64(SpacingOffset, std::nan("")); },
                   "Lap curve file spacing not above 0"},
        BrokenCase{"SpacingInfinite", [](auto& b) { b.PatchF64(SpacingOffset, Infinity); },
                   "Lap curve file spacing not above 0"},
        BrokenCase{"SpacingZero", [](auto& b) { b.PatchF64(SpacingOffset, 0.0); },
                   "Lap curve file spacing not above 0"},
        BrokenCase{"SpacingNegative", [](auto& b) { b.PatchF64(SpacingOffset, -3.0); },
                   "Lap curve file spacing not above 0"},
        BrokenCase{"RecordCountZero", [](auto& b) { b.PatchU32(RecordCountOffset, 0); },
                   "Lap curve file record count 0"},
        // 420 records of 3 m are 1260 m, just past two laps.
        BrokenCase{"RecordCountPastTwoLaps", [](auto& b) { b.PatchU32(RecordCountOffset, 420); },
                   "Lap curve file record count beyond two laps of the track"},
        BrokenCase{"RecordCountHuge",
                   [](auto& b) {
                     b.PatchF64(SpacingOffset, 1e-9);
                     b.PatchU32(RecordCountOffset, 0xFFFFFFFF);
                   },
                   "Lap curve file record count above 1048576"},
        BrokenCase{"NoControlPoints", [](auto& b) { b.PatchU32(PointCountOffset, 0); },
                   "Lap curve file control point count below 2"},
        BrokenCase{"OneControlPoint", [](auto& b) { b.PatchU32(PointCountOffset, 1); },
                   "Lap curve file control point count below 2"},
        BrokenCase{"PointCountPastTheEnd",
                   [](auto& b) { b.PatchU32(PointCountOffset, 0xFFFFFFFF); }, ""},
        BrokenCase{"LongitudeNotANumber",
                   [](auto& b) { b.PatchF64(FirstPointOffset + PointSize, std::nan("")); },
                   "Lap curve file control point 1 longitude not finite"},
        BrokenCase{"LongitudeInfinite",
                   [](auto& b) { b.PatchF64(FirstPointOffset + 2 * PointSize, -Infinity); },
                   "Lap curve file control point 2 longitude not finite"},
        BrokenCase{"LimitCountPastTheEnd",
                   [](auto& b) { b.PatchU32(b.Size() - 20, 0x10000000); }, ""},
        BrokenCase{"RangeCountPastTheEnd",
                   [](auto& b) {
                     b.PatchU32(0, 2);
                     b.PatchU32(b.Size() - 20, 0x0AAAAAAB);
                   },
                   ""}),
    [](const testing::TestParamInfo<BrokenCase>& test) { return std::string(test.param.Name); });

TEST(LcvFile, EveryTruncationIsAReadError) {
  const ByteBuilder image = LcvImage(3, Spacing, Records(), TwoPoints()).U32(1).F64(30.0).F64(1.0);
  for (std::size_t size = 0; size < image.Size(); ++size) {
    const std::vector<unsigned char> cut(image.Data().begin(), image.Data().begin() + size);
    EXPECT_THROW(LpFileCurve(StreamOver(cut), Circle()), Util::XFileRead) << size;
  }
}

} // namespace
} // namespace Ostra::Test
