#include "Papy/Curve/LpFileCurve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/SafeSave.h"
#include "tests/Papy/Curve/LapCurveFixtures.h"

namespace Ostra::Test {
namespace {

// Byte offsets of header fields.
constexpr std::size_t SpacingOffset = 4;
constexpr std::size_t RecordCountOffset = 12;
constexpr std::size_t PointCountOffset = 16;
constexpr std::size_t FirstPointOffset = 20;
constexpr std::size_t PointSize = 40;

// A circle of radius 100 m: a lap of 628.3 m, 210 records, the last one at 630 m,
// 1.68 m past the lap end.
const CountedPtr<Papy::Track>& Circle() {
  static const CountedPtr<Papy::Track> track(new OvalTrack(100.0, 0.0));
  return track;
}
const OvalTrack& Oval() { return dynamic_cast<const OvalTrack&>(*Circle()); }
const U32 Records = 210;
std::vector<PointRecord> Points() { return LinePoints(Oval(), 0.0, 8); }

std::vector<U32> LimitedRecords(const LpFileCurve& curve) {
  std::vector<U32> limited;
  for (U32 i = 0; i < curve.GetRecordCount(); ++i)
    if (curve.HasRecordSpeedLimit(i))
      limited.push_back(i);
  return limited;
}

TEST(LcvFile, AVersion3FileWithTwoPointsIs104BytesAndWritesBackIdentically) {
  const std::vector<PointRecord> two{LinePoint(Oval(), 0.0, 30.0), LinePoint(Oval(), 0.0, 330.0)};
  ByteBuilder image = LcvImage(3, Records, two).U32(0);
  ASSERT_EQ(image.Size(), 104u);
  const LpFileCurve curve = Read(image, Circle());
  EXPECT_EQ(curve.GetRecordCount(), Records);
  EXPECT_EQ(curve.GetRecordSpacing(), Spacing);
  EXPECT_EQ(curve.GetControlPoints(), two);
  EXPECT_EQ(WrittenBytes(curve), image.Data());
}

TEST(LcvFile, Versions0And1ReadWithoutSpeedLimitsAndWriteAsVersion3) {
  for (const U32 version : {0u, 1u}) {
    const LpFileCurve curve = Read(LcvImage(version, Records, Points()), Circle());
    EXPECT_TRUE(curve.GetSpeedLimits().empty());
    EXPECT_TRUE(LimitedRecords(curve).empty());
    EXPECT_EQ(WrittenBytes(curve), LcvImage(3, Records, Points()).U32(0).Data()) << version;
  }
}

TEST(LcvFile, PointsThatStartMidLapAndWrapOnceReadAsTheSortedFile) {
  std::vector<PointRecord> wrapped = Points();
  std::rotate(wrapped.begin(), wrapped.begin() + 5, wrapped.end());
  const LpFileCurve sorted = Read(LcvImage(3, Records, Points()).U32(0), Circle());
  const LpFileCurve curve = Read(LcvImage(3, Records, wrapped).U32(0), Circle());
  EXPECT_EQ(curve.GetControlPoints(), Points());
  for (U32 i = 0; i < Records; ++i)
    EXPECT_EQ(curve.GetRecordLatitude(i), sorted.GetRecordLatitude(i)) << i;
}

TEST(LcvFile, Version4IsRefusedBeforeAnythingElseIsRead) {
  try {
    Read(ByteBuilder().U32(4), Circle()); // reading on would be a read error
    FAIL() << "no exception";
  } catch (const Util::XFileFormat& e) {
    EXPECT_EQ(e.What(),
              "A possible error was found in file test.lcv\nNeed newer version of program\n");
  }
}

TEST(LcvFile, ReadsAndWritesAtTheStreamsPosition) {
  const ByteBuilder image = LcvImage(3, Records, Points()).U32(0);
  std::vector<unsigned char> bytes{1, 2, 3};
  bytes.insert(bytes.end(), image.Data().begin(), image.Data().end());
  const CountedPtr<Util::BinaryStream> stream = StreamOver(bytes);
  stream->Seek(3);
  const LpFileCurve curve(stream, Circle());
  EXPECT_TRUE(stream->AtEnd());
  curve.Write(stream);
  bytes.insert(bytes.end(), image.Data().begin(), image.Data().end());
  EXPECT_EQ(dynamic_cast<Util::MemoryStream&>(*stream).Bytes(), bytes);
}

TEST(LcvFile, SavesSafelyByPathAndReadsBack) {
  TempDir dir;
  const std::string path = dir / "line.lcv";
  const ByteBuilder image = LcvImage(3, Records, Points()).U32(1).F64(15.0).F64(44.0);
  const LpFileCurve curve = Read(image, Circle());
  Util::SaveFileSafely(path, [&curve](Util::BinaryStream& out) { curve.Write(out); });
  EXPECT_EQ(ReadWholeFile(path), image.Data());
  const LpFileCurve again(CountedPtr<Util::BinaryStream>(Util::BinaryFile::OpenRead(path)),
                          Circle());
  EXPECT_EQ(again.GetRecords(), curve.GetRecords());
}

struct RangeCase {
  const char* Name;
  std::vector<std::array<double, 3>> Ranges; // from, to, limit
  std::vector<U32> Limited;
  std::vector<double> Limits; // of the first and the last limited record
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
  ByteBuilder image = LcvImage(2, Records, Points()).U32(static_cast<U32>(c.Ranges.size()));
  for (const auto& r : c.Ranges)
    image.F64(r[0]).F64(r[1]).F64(r[2]);
  LpFileCurve curve = Read(image, Circle());
  ASSERT_EQ(LimitedRecords(curve), c.Limited);
  if (!c.Limited.empty()) {
    EXPECT_EQ(curve.GetRecordSpeedLimit(c.Limited.front()), c.Limits[0]);
    EXPECT_EQ(curve.GetRecordSpeedLimit(c.Limited.back()), c.Limits[1]);
  }
  ByteBuilder expected = LcvImage(3, Records, Points()).U32(static_cast<U32>(c.Limited.size()));
  for (const U32 i : c.Limited)
    expected.F64(curve.GetRecordLongitude(i)).F64(curve.GetRecordSpeedLimit(i));
  EXPECT_EQ(WrittenBytes(curve), expected.Data());

  // A refit takes the limits from the list again: they must be the ones read.
  const std::vector<LpFileCurve::CurveRecord> before = curve.GetRecords();
  curve.SetControlPoint(2, true);
  for (U32 i = 0; i < Records; ++i)
    EXPECT_EQ(curve.GetRecordSpeedLimit(i), before[i].SpeedLimit) << i;
}

INSTANTIATE_TEST_SUITE_P(
    LcvFile, Version2Ranges,
    testing::Values(
        // 102 m ... 198 m are records 33 ... 65.
        RangeCase{"EndsBetweenRecords", {{100.0, 200.0, 30.0}}, Run(33, 65), {30.0, 30.0}},
        RangeCase{"EndsOnRecords", {{99.0, 102.0, 30.0}}, Run(32, 33), {30.0, 30.0}},
        // 3 m is record 0; 630 m is record 209, 1.68 m into the next lap.
        RangeCase{"PastTheLapEnd", {{0.5, 4.0, 20.0}}, {0, 209}, {20.0, 20.0}},
        RangeCase{"LastRangeDecides", {{100.0, 200.0, 30.0}, {150.0, 250.0, 40.0}},
                  Run(33, 82), {30.0, 40.0}},
        RangeCase{"LimitOfZeroOrBelowIsNone", {{100.0, 200.0, 30.0}, {99.0, 150.0, -5.0}},
                  Run(50, 65), {30.0, 30.0}},
        RangeCase{"EmptyOrNotANumber",
                  {{200.0, 100.0, 30.0}, {std::nan(""), 200.0, 30.0}, {0.0, std::nan(""), 30.0}},
                  {},
                  {}}),
    [](const testing::TestParamInfo<RangeCase>& test) { return std::string(test.param.Name); });

// Ranges are matched by bisection; every record must still get the limit of the last
// range that covers it, directly or a lap earlier, as a plain walk over all gives.
TEST(LcvFile, Version2RangesMatchAWalkOverEveryRecordAndRange) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> longitude(-20.0, 660.0);
  std::uniform_int_distribution<int> limit(-10, 60);
  const double lap = Oval().Length;
  for (int round = 0; round < 20; ++round) {
    std::vector<std::array<double, 3>> ranges(1 + round % 7);
    for (auto& r : ranges) {
      // Some near the lap's start, where the records past its end are caught too.
      const double a = round % 3 == 0 ? longitude(random) / 64.0 : longitude(random);
      const double b = round % 4 == 0 ? longitude(random) : a + longitude(random) / 8.0;
      r = {a, b, static_cast<double>(limit(random))};
    }
    ByteBuilder image = LcvImage(2, Records, Points()).U32(static_cast<U32>(ranges.size()));
    for (const auto& r : ranges)
      image.F64(r[0]).F64(r[1]).F64(r[2]);
    LpFileCurve curve = Read(image, Circle());
    for (int refit = 0; refit < 2; ++refit) {
      for (U32 i = 0; i < Records; ++i) {
        const double lon = curve.GetRecordLongitude(i);
        const double wrapped = lap < lon ? lon - lap : lon;
        double expected = 0.0;
        for (const auto& r : ranges)
          if ((r[0] <= lon && lon <= r[1]) || (r[0] <= wrapped && wrapped <= r[1]))
            expected = r[2];
        ASSERT_EQ(curve.GetRecordSpeedLimit(i), expected)
            << "round " << round << ", record " << i << (refit ? ", refitted" : "");
      }
      curve.SetControlPoint(2, true);
    }
  }
}

TEST(LcvFile, Version3PointsLimitTheRecordAtExactlyTheirLongitude) {
  ByteBuilder image = LcvImage(3, Records, Points()).U32(5);
  image.F64(30.0).F64(25.0);  // record 9
  image.F64(30.0).F64(99.0);  // record 9 again: the first point counts
  image.F64(31.5).F64(50.0);  // between records
  image.F64(60.0).F64(0.0);   // record 19, no limit
  image.F64(90.0).F64(-3.0);  // record 29, no limit
  LpFileCurve curve = Read(image, Circle());
  EXPECT_EQ(LimitedRecords(curve), (std::vector<U32>{9}));
  EXPECT_EQ(WrittenBytes(curve), LcvImage(3, Records, Points()).U32(1).F64(30.0).F64(25.0).Data());

  // Limits set on records the file listed stay after the next fit.
  curve.SetRecordSpeedLimit(19, 33.0);
  curve.SetRecordSpeedLimit(9, 45.0);
  curve.SetControlPoint(2, true);
  EXPECT_EQ(curve.GetRecordSpeedLimit(19), 33.0);
  EXPECT_EQ(curve.GetRecordSpeedLimit(9), 45.0);
}

struct BrokenCase {
  const char* Name;
  std::function<void(ByteBuilder&)> Break;
  std::string Message; // empty: a read error
};

class BrokenFile : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenFile, IsRefusedWithItsMessage) {
  ByteBuilder image = LcvImage(3, Records, Points()).U32(1).F64(30.0).F64(25.0);
  GetParam().Break(image);
  try {
    Read(image, Circle());
    FAIL() << "no exception";
  } catch (const Util::XFileFormat& e) {
    EXPECT_EQ(e.Message, GetParam().Message);
    EXPECT_EQ(e.FileName, "test.lcv");
  } catch (const Util::XFileRead& e) {
    EXPECT_EQ(GetParam().Message, "") << "read error instead";
  }
}

const double Inf = std::numeric_limits<double>::infinity();
const std::string BadSpacing = "Lap curve file spacing not above 0";
const std::string FewPoints = "Lap curve file control point count below 2";

INSTANTIATE_TEST_SUITE_P(
    LcvFile, BrokenFile,
    testing::Values(
        BrokenCase{"SpacingNaN", [](auto& b) { b.PatchF64(SpacingOffset, NAN); }, BadSpacing},
        BrokenCase{"SpacingInfinite", [](auto& b) { b.PatchF64(SpacingOffset, Inf); }, BadSpacing},
        BrokenCase{"SpacingZero", [](auto& b) { b.PatchF64(SpacingOffset, 0.0); }, BadSpacing},
        BrokenCase{"SpacingNegative", [](auto& b) { b.PatchF64(SpacingOffset, -3.0); }, BadSpacing},
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
        BrokenCase{"NoControlPoints", [](auto& b) { b.PatchU32(PointCountOffset, 0); }, FewPoints},
        BrokenCase{"OneControlPoint", [](auto& b) { b.PatchU32(PointCountOffset, 1); }, FewPoints},
        BrokenCase{"PointCountPastTheEnd", [](auto& b) { b.PatchU32(PointCountOffset, ~0u); }, ""},
        BrokenCase{"LongitudeNaN",
                   [](auto& b) { b.PatchF64(FirstPointOffset + PointSize, NAN); },
                   "Lap curve file control point 1 longitude not finite"},
        BrokenCase{"LongitudeInfinite",
                   [](auto& b) { b.PatchF64(FirstPointOffset + 2 * PointSize, -Inf); },
                   "Lap curve file control point 2 longitude not finite"},
        BrokenCase{"LongitudeRepeated", [](auto& b) { b.PatchF64(FirstPointOffset + PointSize, 3.0); },
                   "Lap curve file control point 1 longitude not above the one before"},
        BrokenCase{"PointsWrappingTwice",
                   [](auto& b) { b.PatchF64(FirstPointOffset + 25 * PointSize, 1.0)
                                     .PatchF64(FirstPointOffset + 26 * PointSize, 0.5); },
                   "Lap curve file control point 26 longitude not above the one before"},
        BrokenCase{"PointsSpanningALap",
                   [](auto& b) { b.PatchF64(FirstPointOffset + 26 * PointSize, 3.0 + Oval().Length); },
                   "Lap curve file control point 26 longitude a lap or more past the first"},
        BrokenCase{"PositionNaN", [](auto& b) { b.PatchF64(FirstPointOffset + 3 * PointSize + 8, NAN); },
                   "Lap curve file control points make a line that misses a record's cross-section"},
        BrokenCase{"LimitCountPastTheEnd", [](auto& b) { b.PatchU32(b.Size() - 20, 1u << 28); },
                   ""},
        BrokenCase{"RangeCountPastTheEnd",
                   [](auto& b) { b.PatchU32(0, 2).PatchU32(b.Size() - 20, 0x0AAAAAAB); }, ""}),
    [](const testing::TestParamInfo<BrokenCase>& test) { return std::string(test.param.Name); });

TEST(LcvFile, EveryTruncationIsAReadError) {
  const ByteBuilder image = LcvImage(3, Records, Points()).U32(1).F64(30.0).F64(1.0);
  for (std::size_t size = 0; size < image.Size(); ++size) {
    const std::vector<unsigned char> cut(image.Data().begin(), image.Data().begin() + size);
    EXPECT_THROW(LpFileCurve(StreamOver(cut), Circle()), Util::XFileRead) << size;
  }
}

} // namespace
} // namespace Ostra::Test
