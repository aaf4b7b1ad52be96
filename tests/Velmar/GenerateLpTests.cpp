#include <cmath>
#include <functional>
#include <numbers>
#include <string>

#include <gtest/gtest.h>

#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactory.h"
#include "Papy/Lp/N4LpFile.h"
#include "TestSupport/OvalTrack.h"
#include "Util/Exception.h"
#include "Velmar/Generators/GenerateLp.h"
#include "Velmar/Generators/LapCurveFitting.h"

namespace Ostra::Velmar {
namespace {

CountedPtr<Papy::Track> MakeTrack() {
  return CountedPtr<Papy::Track>(new ::Ostra::Test::OvalTrack(100.0, 200.0));
}

CountedPtr<Papy::LpFileCurve> MakeCurve(const CountedPtr<Papy::Track>& track) {
  CountedPtr<Papy::LpFile> line(new Papy::N4LpFile(track, 3.0));
  const double length = track->GetLength2D();
  for (U32 i = 0; i < line->GetRecordCount(); ++i)
    line->SetRecordLatitude(
        i, 4.0 * std::sin(2.0 * std::numbers::pi * 2.0 * line->GetRecordLongitude(i) / length));
  return GenerateCurve(line, track, 0.2);
}

// An N4 line whose format has no flags, or whose flags fail part way.
class OddLp : public Papy::N4LpFile {
public:
  OddLp(const CountedPtr<Papy::Track>& track, bool hasFlags, U32 failAt)
      : N4LpFile(track, 3.0), Flags(hasFlags), FailAt(failAt) {}
  bool HasFlags() const override { return Flags; }
  U32 GetRecordFlags(U32 i) const override {
    if (i == FailAt)
      throw Util::XUsage("damaged");
    return N4LpFile::GetRecordFlags(i);
  }

private:
  bool Flags;
  U32 FailAt;
};

class FakeMakeLp : public Papy::MakeLp {
public:
  explicit FakeMakeLp(std::function<CountedPtr<Papy::LpFile>(const std::string&)> make)
      : MakeFunction(std::move(make)) {}
  CountedPtr<Papy::LpFile> Make(const std::string& name, const std::string& ext) override {
    EXPECT_EQ(ext, "");
    return MakeFunction(name);
  }
  void Add(const CountedPtr<Papy::LpFile>&, const std::string&, const std::string&) override {}
  void Purge() override {}
  unsigned GetTypeCount() const override { return 0; }
  std::string GetTypeName(unsigned) const override { return {}; }

private:
  std::function<CountedPtr<Papy::LpFile>(const std::string&)> MakeFunction;
};

TEST(GenerateLp, FlagsComeFromTheSameNamedLpOnlyWhenTheyCanBeRead) {
  const CountedPtr<Papy::Track> track = MakeTrack();
  CountedPtr<Papy::LpFile> flagged(new Papy::N4LpFile(track, 3.0));
  std::vector<unsigned> expected;
  for (U32 i = 0; i < flagged->GetRecordCount(); ++i) {
    flagged->SetRecordFlags(i, 0x100u + i);
    expected.push_back(0x100u + i);
  }
  using Maker = std::function<CountedPtr<Papy::LpFile>(const std::string&)>;
  const struct {
    const char* Name;
    bool HasFacet;
    Maker Make;
    std::vector<unsigned> Expected;
  } cases[] = {
      {"flagged LP", true,
       [&](const std::string& name) {
         EXPECT_EQ(name, "Race");
         return flagged;
       },
       expected},
      {"no MakeLp facet", false, {}, {}},
      {"missing LP",
       true,
       [](const std::string&) -> CountedPtr<Papy::LpFile> {
         throw Util::XUsage("race.lp: file not found");
       },
       {}},
      {"format without flags", true,
       [&](const std::string&) {
         return CountedPtr<Papy::LpFile>(new OddLp(track, false, ~0u));
       },
       {}},
      {"flags fail part way", true,
       [&](const std::string&) { return CountedPtr<Papy::LpFile>(new OddLp(track, true, 3)); },
       {}},
  };
  for (const auto& c : cases) {
    Papy::FileFactory factory;
    if (c.HasFacet)
      factory.AddFacet<Papy::MakeLp>(new FakeMakeLp(c.Make));
    EXPECT_EQ(GatherLpFlags(factory, "Race"), c.Expected) << c.Name;
  }
}

TEST(GenerateLp, NewLineTakesTheCurvesShapeAndFlagsOfTheSameCount) {
  const CountedPtr<Papy::Track> track = MakeTrack();
  const CountedPtr<Papy::LpFileCurve> curve = MakeCurve(track);
  const U32 count = Papy::N4LpFile(track, 3.0).GetRecordCount();
  const auto flags_of = [](std::size_t n) {
    std::vector<unsigned> flags;
    for (std::size_t i = 0; i < n; ++i)
      flags.push_back(static_cast<unsigned>(7 * i + 1));
    return flags;
  };
  const struct {
    const char* Name;
    std::vector<unsigned> Flags;
    bool Copied;
  } cases[] = {
      {"one word per record", flags_of(count), true},
      {"none", {}, false},
      {"one short", flags_of(count - 1), false},
      {"one over", flags_of(count + 1), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Papy::N4LpFile lp(track, 3.0);
    const std::vector<GripRecord> grips = GenerateLp(*curve, lp, c.Flags, *track, 1.0);
    ASSERT_EQ(grips.size(), count);
    for (U32 i = 0; i < count; ++i) {
      ASSERT_NEAR(lp.GetRecordLatitude(i), curve->GetRecordLatitude(i), 1e-5) << i;
      EXPECT_EQ(lp.GetRecordFlags(i), c.Copied ? c.Flags[i] : 0u) << i;
      // The speeds point along the curve's line: their ratio is its heading's tangent.
      const double speed = lp.GetRecordSpeed(i);
      ASSERT_GT(speed, 1.0) << i;
      ASSERT_NEAR(lp.GetRecordLateralSpeed(i) / lp.GetRecordLongitudinalSpeed(i),
                  curve->GetRecordLateralSpeed(i), 1e-4)
          << i;
    }
  }
}

TEST(GenerateLp, CurveShorterThanTheLineIsRefusedUntouched) {
  const CountedPtr<Papy::Track> track = MakeTrack();
  const CountedPtr<Papy::LpFileCurve> curve = MakeCurve(track);
  const CountedPtr<Papy::Track> longer(new ::Ostra::Test::OvalTrack(120.0, 200.0));
  Papy::N4LpFile lp(longer, 3.0);
  ASSERT_GT(lp.GetRecordCount(), curve->GetRecordCount());
  const std::vector<Papy::N4LpFile::Record> before = lp.Records;
  EXPECT_THROW(GenerateLp(*curve, lp, {}, *longer, 1.0), Util::XAssertion);
  for (std::size_t i = 0; i < before.size(); ++i)
    ASSERT_EQ(lp.GetRecordLatitude(static_cast<U32>(i)), before[i].Latitude) << i;
}

TEST(GenerateLp, RaceLineNamesGetTheLowerGrip) {
  const struct {
    const char* Name;
    double Grip;
  } cases[] = {{"MINRACE", 0.25}, {"maxRace", 0.25}, {"race", 1.0}, {"maxrace.lp", 1.0}};
  for (const auto& c : cases)
    EXPECT_EQ(LpGripFor(c.Name), c.Grip) << c.Name;
}

} // namespace
} // namespace Ostra::Velmar
