#include "Velmar/Generators/SpeedGeneration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "Papy/Lp/LpFile.h"
#include "Papy/Lp/N4LpFile.h"
#include "Papy/Track/Track.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/Exception.h"
#include "tests/Papy/Curve/LapCurveFixtures.h"

namespace Ostra::Velmar {
namespace {

constexpr double G = 9.80665;
constexpr double Spacing = 3.0;
// Relative agreement of values the passes compute in double.
constexpr double Exact = 1e-12;
// Slack on the lap constraints for the closing tolerance of the passes.
constexpr double LapSlack = 2e-3;

// A line kept in doubles, record i at longitude (i + 1) x spacing.
class TestLine : public Papy::LpFile {
public:
  struct Record {
    double Latitude = 0.0;
    double Longitudinal = 0.0;
    double Lateral = 0.0;
    double Yaw = 0.0;
    double Limit = 0.0; // none when 0
  };

  TestLine(double spacing, std::vector<Record> records)
      : Spacing(spacing), Records(std::move(records)) {}

  U32 GetRecordCount() const override { return static_cast<U32>(Records.size()); }
  double GetRecordSpacing() const override { return Spacing; }
  bool HasYawSpeed() const override { return true; }
  bool HasSpeedLimit() const override { return true; }
  U32 GetRecordIndex(double longitude) const override {
    return FindRecordIndex(longitude, Records.size());
  }
  double GetRecordLongitude(U32 i) const override { return static_cast<double>(i + 1) * Spacing; }
  double GetRecordLatitude(U32 i) const override { return Records[i].Latitude; }
  double GetRecordLongitudinalSpeed(U32 i) const override { return Records[i].Longitudinal; }
  double GetRecordLateralSpeed(U32 i) const override { return Records[i].Lateral; }
  double GetRecordYawSpeed(U32 i) const override { return Records[i].Yaw; }
  bool HasRecordSpeedLimit(U32 i) const override { return Records[i].Limit > 0.0; }
  double GetRecordSpeedLimit(U32 i) const override { return Records[i].Limit; }
  void SetRecordLatitude(U32 i, double v) override { Records[i].Latitude = v; }
  void SetRecordLongitudinalSpeed(U32 i, double v) override { Records[i].Longitudinal = v; }
  void SetRecordLateralSpeed(U32 i, double v) override { Records[i].Lateral = v; }
  void SetRecordYawSpeed(U32 i, double v) override { Records[i].Yaw = v; }
  void Write(const CountedPtr<Util::BinaryStream>&) const override {}

  double Spacing;
  std::vector<Record> Records;
};

// A track that is only its frames, as a function of the plan distance.
class FrameTrack : public Papy::Track {
public:
  FrameTrack(double length, std::function<Papy::TrackFrame(double)> frameAt)
      : Length(length), FrameAt(std::move(frameAt)) {}

  double GetLength3D() const override { return Length; }
  double GetLength2D() const override { return Length; }
  double Length2DToLength3D(double distance) const override { return distance; }
  U32 GetSegmentCount() const override { return 0; }
  CountedPtr<Papy::TrackSegment> GetSegment(U32) const override { return {}; }
  double GetSegmentStart3D(U32) const override { return 0.0; }
  double GetSegmentStart2D(U32) const override { return 0.0; }
  CountedPtr<Papy::TrackSegment> GetSegmentAt(double distance, double& offset) const override {
    offset = distance;
    return {};
  }
  Papy::TrackFrame GetFrame(double distance, double) const override { return FrameAt(distance); }
  void Write(const CountedPtr<Util::BinaryStream>&) const override {}

  double Length;
  std::function<Papy::TrackFrame(double)> FrameAt;
};

FrameTrack FlatTrack(double bank = 0.0, int surface = Papy::SurfaceAsphalt) {
  return FrameTrack(1e6, [=](double) {
    Papy::TrackFrame frame;
    frame.Bank = bank;
    frame.SurfaceType = surface;
    return frame;
  });
}

TestLine Blank(U32 count) { return TestLine(Spacing, std::vector<TestLine::Record>(count)); }

// A stadium lap driven clockwise: straight, right-hand half turn, straight, half turn.
struct Lap {
  const char* Name;
  double Radius;
  double Straight;
  double Bank;           // on the turns
  double PitchAmplitude; // one hill per lap
  double Grip;
  double Hairpin;   // radius of the second turn's last quarter, so that the car brakes
                    // while cornering; 0 for none
  bool SlowestKept; // the slowest corner is slow enough for the car to reach it
};

double LapLength(const Lap& lap) {
  return 2.0 * lap.Straight + 2.0 * std::numbers::pi * lap.Radius;
}

bool InHairpin(const Lap& lap, double distance) {
  const double d = std::fmod(distance, LapLength(lap));
  return lap.Hairpin > 0.0 && d >= LapLength(lap) - 0.25 * std::numbers::pi * lap.Radius;
}

bool OnTurn(const Lap& lap, double distance) {
  const double d = std::fmod(distance, LapLength(lap));
  const double half_turn = std::numbers::pi * lap.Radius;
  return (d >= lap.Straight && d < lap.Straight + half_turn) || d >= 2.0 * lap.Straight + half_turn;
}

TestLine LapLine(const Lap& lap) {
  const U32 count = static_cast<U32>(LapLength(lap) / Spacing) + 1;
  std::vector<TestLine::Record> records(count);
  for (U32 i = 0; i < count; ++i) {
    records[i].Longitudinal = 1.0;
    const double distance = (i + 1.0) * Spacing;
    records[i].Yaw = InHairpin(lap, distance) ? -1.0 / lap.Hairpin
                     : OnTurn(lap, distance)  ? -1.0 / lap.Radius
                                              : 0.0;
  }
  return TestLine(Spacing, std::move(records));
}

FrameTrack LapTrack(const Lap& lap) {
  const double length = LapLength(lap);
  return FrameTrack(length, [=](double distance) {
    Papy::TrackFrame frame;
    frame.Bank = OnTurn(lap, distance) ? lap.Bank : 0.0;
    frame.Pitch = lap.PitchAmplitude * std::sin(2.0 * std::numbers::pi * distance / length);
    return frame;
  });
}

std::vector<double> Speeds(const Papy::LpFile& line) {
  std::vector<double> speeds(line.GetRecordCount());
  for (U32 i = 0; i < line.GetRecordCount(); ++i)
    speeds[i] = line.GetRecordSpeed(i);
  return speeds;
}

U32 Slowest(const std::vector<double>& speeds) {
  U32 slowest = 0;
  for (U32 i = 1; i < speeds.size(); ++i)
    if (speeds[i] < speeds[slowest])
      slowest = i;
  return slowest;
}

double PitchAt(const Papy::LpFile& source, const Papy::Track& track, U32 i) {
  return track.GetFrame(source.GetRecordLongitude(i), source.GetRecordLatitude(i)).Pitch;
}

// What the car reaches under full power from v over one spacing.
double Powered(double v, double pitch) {
  const double a = AccelerationModel(0.0, pitch, v, 0.0, 0.0, 0.0, Spacing).GetAcceleration();
  const double squared = v * v + 2.0 * a * Spacing;
  return squared > 0.0 ? std::sqrt(squared) : 0.0;
}

// The fastest a record can be when braking with x brings it to v at the next record.
double Braked(double v, double pitch, const GripRecord& w, double x) {
  const BrakingModel brakes(w.Grip, pitch, v, w.Bank, w.Radius, w.DownforceFactor, Spacing);
  return brakes.GetBrakingSpeed(x);
}

struct CorneringCase {
  const char* Name;
  double Curvature;
  double Bank;
  int Surface;
  double Grip;
  double Speed;       // expected
  double StoredBank;  // expected
  double Radius;      // expected
  double LateralGrip; // expected
};

double Banked(double radius, double bank, double friction) {
  const double t = std::tan(bank);
  return std::sqrt(radius * G * (t + friction) / (1.0 - t * friction));
}

double FrictionAtTopSpeed(double radius, double bank) {
  const double t = std::tan(bank);
  return (144.0 * 144.0 - t * radius * G) / (t * 144.0 * 144.0 + radius * G);
}

TEST(SpeedGenerationCornering, HoldsEachRecordAtTheSpeedItsCornerAllowsAlongTheLine) {
  const double mu = 1.21;
  const CorneringCase cases[] = {
      {"flat right-hander", -1.0 / 200, 0.0, Papy::SurfaceAsphalt, 1.0, std::sqrt(200 * G * mu),
       0.0, 200, mu},
      {"banking raises the limit", -1.0 / 200, 0.2, Papy::SurfaceAsphalt, 1.0, Banked(200, 0.2, mu),
       0.2, 200, mu},
      {"a left-hander feels the bank negated", 1.0 / 200, 0.2, Papy::SurfaceAsphalt, 1.0,
       Banked(200, -0.2, mu), -0.2, 200, mu},
      {"more grip, more speed", -1.0 / 200, 0.0, Papy::SurfaceAsphalt, 2.0,
       std::sqrt(200 * G * 2.0 * mu), 0.0, 200, 2.0 * mu},
      {"grass corners like asphalt", -1.0 / 200, 0.0, Papy::SurfaceGrass, 1.0,
       std::sqrt(200 * G * mu), 0.0, 200, mu},
      {"straight", -5e-7, 0.1, Papy::SurfaceAsphalt, 1.0, 144.0, 0.1, StraightRadius, 0.0},
      {"a straight that bends left negates too", 5e-7, 0.1, Papy::SurfaceAsphalt, 1.0, 144.0, -0.1,
       StraightRadius, 0.0},
      {"a wide corner is held to the top speed", -1.0 / 5000, 0.0, Papy::SurfaceAsphalt, 1.0, 144.0,
       0.0, 5000, FrictionAtTopSpeed(5000, 0.0)},
      {"a bowl steep enough to hold any speed", -1.0 / 200, 0.8, Papy::SurfaceAsphalt, 1.0, 144.0,
       0.8, 200, FrictionAtTopSpeed(200, 0.8)},
      {"no grip on the flat", -1.0 / 200, 0.0, Papy::SurfaceAsphalt, 0.0, 0.0, 0.0, 200, 0.0},
      {"an outward bank beyond the grip", -1.0 / 200, -1.0, Papy::SurfaceAsphalt, 1.0, 0.0, -1.0,
       200, mu},
  };
  constexpr double Lateral = 0.25;
  const double unit_speed = std::sqrt(1.0 + Lateral * Lateral);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TestLine source(Spacing, {{0.0, 1.0, Lateral, c.Curvature}});
    TestLine target = Blank(1);
    const std::vector<GripRecord> records =
        ApplyCorneringLimit(source, target, FlatTrack(c.Bank, c.Surface), c.Grip);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_NEAR(target.GetRecordSpeed(0), c.Speed, Exact * c.Speed);
    const double factor = c.Speed / unit_speed;
    EXPECT_NEAR(target.GetRecordLongitudinalSpeed(0), factor, Exact * factor);
    EXPECT_NEAR(target.GetRecordLateralSpeed(0), factor * Lateral, Exact * factor);
    EXPECT_NEAR(target.GetRecordYawSpeed(0), factor * c.Curvature, Exact * factor);
    const GripRecord& w = records[0];
    EXPECT_EQ(w.Bank, c.StoredBank);
    EXPECT_NEAR(w.Radius, c.Radius, Exact * c.Radius);
    EXPECT_NEAR(w.LateralGrip, c.LateralGrip, Exact);
    EXPECT_NEAR(w.Grip, GetSurfaceGripFactor(c.Surface) * c.Grip * mu, Exact);
    EXPECT_EQ(w.LongitudinalGrip, 0.0);
    EXPECT_EQ(w.DownforceFactor, 0.0);
  }
}

struct LimitCase {
  const char* Name;
  double Limit;
  double Expected;
};

TEST(SpeedGenerationLimits, CapTheSpeedAndKeepItsDirection) {
  const LimitCase cases[] = {
      {"a lower limit caps", 30.0, 30.0},
      {"a limit at the speed keeps it", 50.0, 50.0},
      {"a higher limit keeps it", 60.0, 50.0},
      {"no limit keeps it", 0.0, 50.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TestLine source(Spacing, {{0.0, 1.0, 0.0, 0.0, c.Limit}});
    TestLine target(Spacing, {{0.0, 40.0, 30.0, 0.02}});
    ApplySpeedLimits(source, target);
    EXPECT_NEAR(target.GetRecordSpeed(0), c.Expected, Exact * c.Expected);
    EXPECT_NEAR(target.GetRecordLateralSpeed(0) / target.GetRecordLongitudinalSpeed(0), 0.75,
                Exact);
    EXPECT_NEAR(target.GetRecordYawSpeed(0) / target.GetRecordLongitudinalSpeed(0), 0.0005, Exact);
    if (c.Expected == 50.0) {
      EXPECT_EQ(target.GetRecordLongitudinalSpeed(0), 40.0);
    }
  }
}

const Lap Laps[] = {
    {"tight stadium", 60.0, 400.0, 0.0, 0.0, 1.0, 0.0, true},
    {"hilly stadium with a hairpin", 60.0, 400.0, 0.0, 0.05, 1.0, 20.0, true},
    {"banked oval on low grip with a hairpin", 250.0, 600.0, 0.4, 0.0, 0.5, 80.0, true},
    {"fast corners above what the power holds", 2000.0, 300.0, 0.0, 0.02, 1.0, 0.0, false},
    {"a bowl banked to hold any speed", 300.0, 0.0, 0.8, 0.0, 1.0, 0.0, false},
};

class SpeedGenerationLap : public testing::TestWithParam<Lap> {};

TEST_P(SpeedGenerationLap, AccelerationNeverAsksMoreThanThePowerGivesRoundTheWholeLap) {
  const Lap& lap = GetParam();
  const TestLine source = LapLine(lap);
  const FrameTrack track = LapTrack(lap);
  TestLine target = Blank(source.GetRecordCount());
  std::vector<GripRecord> records = ApplyCorneringLimit(source, target, track, lap.Grip);
  const std::vector<double> before = Speeds(target);
  AccelerationPass(source, target, track, records);
  const std::vector<double> after = Speeds(target);

  const U32 n = target.GetRecordCount();
  const U32 slowest = Slowest(before);
  if (lap.SlowestKept) {
    EXPECT_EQ(after[slowest], before[slowest]);
  }
  U32 slowed = 0;
  for (U32 r = 0; r < n; ++r) {
    SCOPED_TRACE("record " + std::to_string(r));
    const U32 previous = (r + n - 1) % n;
    const double reachable = Powered(after[previous], PitchAt(source, track, r));
    EXPECT_LE(after[r], before[r]);
    EXPECT_LE(after[r], reachable + LapSlack);
    if (after[r] < before[r] && r != slowest) {
      ++slowed;
      // Closing a lap of fast corners lowers the start by a last sliver after its
      // successor was set.
      const bool after_closed_start = !lap.SlowestKept && previous == slowest;
      EXPECT_NEAR(after[r], reachable, after_closed_start ? LapSlack : 1e-9 * reachable);
    }
  }
  EXPECT_GT(slowed, 0u);
}

TEST_P(SpeedGenerationLap, BrakingMakesEveryDecelerationAchievableWithTheGripLeftFromCornering) {
  const Lap& lap = GetParam();
  const TestLine source = LapLine(lap);
  const FrameTrack track = LapTrack(lap);
  TestLine target = Blank(source.GetRecordCount());
  std::vector<GripRecord> records = ApplyCorneringLimit(source, target, track, lap.Grip);
  const std::vector<double> limits = Speeds(target);
  AccelerationPass(source, target, track, records);
  const std::vector<double> before = Speeds(target);
  BrakingPass(source, target, track, records);
  const std::vector<double> after = Speeds(target);

  const U32 n = target.GetRecordCount();
  const U32 slowest = Slowest(before);
  EXPECT_EQ(after[slowest], before[slowest]);
  U32 braked = 0;
  U32 braked_cornering = 0;
  for (U32 r = 0; r < n; ++r) {
    SCOPED_TRACE("record " + std::to_string(r));
    const U32 next = (r + 1) % n;
    const double pitch = PitchAt(source, track, r);
    const GripRecord& w = records[r];
    EXPECT_LE(after[r], before[r]);
    EXPECT_LE(after[r], limits[r]);
    EXPECT_LE(after[r], Braked(after[next], pitch, w, w.Grip) + LapSlack);
    // The whole lap stays within the power too.
    const U32 previous = (r + n - 1) % n;
    EXPECT_LE(after[r], Powered(after[previous], pitch) + LapSlack);
    if (after[r] < before[r]) {
      ++braked;
      const double x = -w.LongitudinalGrip;
      EXPECT_GE(x, 0.0);
      EXPECT_LE(x, w.Grip);
      EXPECT_NEAR(after[r], Braked(after[next], pitch, w, x), 1e-9 * after[r]);
      // Braking in a corner took only what the corner could spare (to the root
      // finder's tolerance on the friction, where the cornering speed is steep).
      const BrakingModel brakes(w.Grip, pitch, after[next], w.Bank, w.Radius, w.DownforceFactor,
                                Spacing);
      if (w.Radius < StraightRadius) {
        ++braked_cornering;
        EXPECT_LE(after[r], brakes.GetCorneringSpeed(x) * (1.0 + 1e-4));
      }
    } else {
      EXPECT_EQ(w.LongitudinalGrip, 0.0);
    }
  }
  if (lap.SlowestKept) {
    EXPECT_GT(braked, 0u);
  }
  if (lap.Hairpin > 0.0) {
    EXPECT_GT(braked_cornering, 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Laps, SpeedGenerationLap, testing::ValuesIn(Laps));

// Through the real lap curve over an analytic circle into an N4 line: the speed of
// every record is the cornering speed of the circle the line runs on.
TEST(SpeedGenerationCircle, GivesTheAnalyticCorneringSpeedOfAConstantRadius) {
  using Ostra::Test::OvalTrack;
  const double latitudes[] = {0.0, 5.0, -8.0};
  for (const double latitude : latitudes) {
    SCOPED_TRACE("latitude " + std::to_string(latitude));
    const CountedPtr<Papy::Track> track(new OvalTrack(100.0, 0.0));
    const auto& oval = dynamic_cast<const OvalTrack&>(*track);
    const Papy::LpFileCurve curve =
        Ostra::Test::LapCurve(track, Ostra::Test::LinePoints(oval, latitude, 2));
    Papy::N4LpFile lp(track, Spacing);
    ASSERT_LE(lp.GetRecordCount(), curve.GetRecordCount());
    const std::vector<GripRecord> records = ComputeSpeeds(curve, lp, *track, 1.0);
    ASSERT_EQ(records.size(), lp.GetRecordCount());
    // The line turns left round the circle, whose radius shrinks as the latitude grows.
    const double radius = 100.0 - latitude;
    const double expected = std::sqrt(radius * G * 1.21);
    // The fitted curvature errs by about h^2 / (12 R^3) with control points h = 6 m
    // apart: 3e-4 of it; the speed, its square root, by half that.
    for (U32 i = 0; i < lp.GetRecordCount(); ++i) {
      EXPECT_NEAR(lp.GetRecordSpeed(i), expected, 2e-4 * expected) << "record " << i;
      EXPECT_NEAR(records[i].Radius, radius, 4e-4 * radius) << "record " << i;
    }
  }
}

struct DegenerateCase {
  const char* Name;
  TestLine Source;
  double Bank;
  double Grip;
};

TEST(SpeedGenerationDegenerate, InputsStillGiveFiniteSpeedsForEveryRecord) {
  const Lap stadium{"", 60.0, 400.0, 0.0, 0.0, 1.0, 20.0, true};
  TestLine straight = LapLine(stadium);
  for (auto& record : straight.Records)
    record.Yaw = 0.0;
  TestLine directionless = LapLine(stadium);
  for (U32 i = 0; i < directionless.Records.size(); i += 7)
    directionless.Records[i].Longitudinal = 0.0;

  const DegenerateCase cases[] = {
      {"no grip", LapLine(stadium), 0.0, 0.0},
      {"no grip on a banked lap", LapLine(stadium), 0.3, 0.0},
      {"no curvature anywhere", straight, 0.0, 1.0},
      {"source records without a direction", directionless, 0.0, 1.0},
      {"a steep bowl with a lot of grip", LapLine(stadium), 1.2, 5.0},
      {"an outward bank beyond the grip", LapLine(stadium), -1.2, 1.0},
      {"one record", TestLine(Spacing, {{0.0, 1.0, 0.0, -0.01}}), 0.0, 1.0},
      {"no record", TestLine(Spacing, {}), 0.0, 1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TestLine target = Blank(c.Source.GetRecordCount());
    const std::vector<GripRecord> records =
        ComputeSpeeds(c.Source, target, FlatTrack(c.Bank), c.Grip);
    ASSERT_EQ(records.size(), target.GetRecordCount());
    for (U32 i = 0; i < target.GetRecordCount(); ++i) {
      const double speed = target.GetRecordSpeed(i);
      EXPECT_TRUE(std::isfinite(speed) && speed >= 0.0 && speed <= TopSpeed)
          << "record " << i << " speed " << speed;
      EXPECT_TRUE(std::isfinite(target.GetRecordYawSpeed(i))) << "record " << i;
      EXPECT_TRUE(std::isfinite(records[i].LongitudinalGrip)) << "record " << i;
    }
  }
}

// An ICR2 line keeps no yaw speed and refuses to store one.
class NoYawLine : public TestLine {
public:
  using TestLine::TestLine;
  bool HasYawSpeed() const override { return false; }
  double GetRecordYawSpeed(U32 i) const override { return LpFile::GetRecordYawSpeed(i); }
  void SetRecordYawSpeed(U32 i, double v) override { LpFile::SetRecordYawSpeed(i, v); }
};

TEST(SpeedGenerationFormats, ATargetWithoutAYawSpeedGetsTheSameSpeedsWithoutOne) {
  const Lap stadium{"", 60.0, 400.0, 0.1, 0.02, 1.0, 20.0, true};
  const TestLine source = LapLine(stadium);
  const FrameTrack track = LapTrack(stadium);
  TestLine with_yaw = Blank(source.GetRecordCount());
  NoYawLine without_yaw(Spacing, std::vector<TestLine::Record>(source.GetRecordCount()));
  const auto expected = ComputeSpeeds(source, with_yaw, track, 1.0);
  EXPECT_EQ(ComputeSpeeds(source, without_yaw, track, 1.0), expected);
  for (U32 i = 0; i < source.GetRecordCount(); ++i) {
    ASSERT_EQ(without_yaw.Records[i].Longitudinal, with_yaw.Records[i].Longitudinal) << i;
    ASSERT_EQ(without_yaw.Records[i].Lateral, with_yaw.Records[i].Lateral) << i;
    ASSERT_EQ(without_yaw.Records[i].Yaw, 0.0) << i;
  }
}

TEST(SpeedGenerationDegenerate, RefusesAGripThatIsNoFrictionAndASourceShorterThanTheLine) {
  const TestLine source(Spacing, {{0.0, 1.0, 0.0, 0.0}, {0.0, 1.0, 0.0, 0.0}});
  const FrameTrack track = FlatTrack();
  const double grips[] = {-0.5, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity()};
  for (const double grip : grips) {
    TestLine target = Blank(2);
    EXPECT_THROW(ComputeSpeeds(source, target, track, grip), Util::XUsage) << grip;
  }
  TestLine longer = Blank(3);
  EXPECT_THROW(ComputeSpeeds(source, longer, track, 1.0), Util::XAssertion);
}

} // namespace
} // namespace Ostra::Velmar
