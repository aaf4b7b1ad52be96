#include <functional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Papy/Files/Facets.h"
#include "Papy/Lp/ICR2LpFile.h"
#include "Papy/Track/TrkUnits.h"
#include "TestSupport/LpFakes.h"
#include "Util/Exception.h"
#include "Velmar/Generators/GenerateLp.h"
#include "Velmar/Generators/LapCurveFitting.h"
#include "WavyLine.h"

namespace Ostra::Velmar {
namespace {

using TestLines::MakeOval;

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

using Maker = std::function<CountedPtr<Papy::LpFile>()>;

class FakeMakeLp : public Papy::MakeLp {
public:
  explicit FakeMakeLp(Maker make) : MakeFunction(std::move(make)) {}
  CountedPtr<Papy::LpFile> Make(const std::string& name, const std::string& ext) override {
    EXPECT_EQ(name + "." + ext, "Race.");
    return MakeFunction();
  }
  void Add(const CountedPtr<Papy::LpFile>&, const std::string&, const std::string&) override {}
  void Purge() override {}
  unsigned GetTypeCount() const override { return 0; }
  std::string GetTypeName(unsigned) const override { return {}; }

private:
  Maker MakeFunction;
};

std::vector<unsigned> Words(std::size_t n) {
  std::vector<unsigned> flags;
  for (std::size_t i = 0; i < n; ++i)
    flags.push_back(static_cast<unsigned>(7 * i + 1));
  return flags;
}

TEST(GenerateLp, FlagsComeFromTheSameNamedLpOnlyWhenReadWhole) {
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  CountedPtr<Papy::LpFile> flagged(new Papy::N4LpFile(track, 3.0));
  const std::vector<unsigned> words = Words(flagged->GetRecordCount());
  for (U32 i = 0; i < flagged->GetRecordCount(); ++i)
    flagged->SetRecordFlags(i, words[i]);
  const struct {
    const char* Name;
    Maker Make; // none: the factory has no MakeLp facet
    std::vector<unsigned> Expected;
  } cases[] = {
      {"flagged LP", [&] { return flagged; }, words},
      {"no MakeLp facet", {}, {}},
      {"missing LP", []() -> CountedPtr<Papy::LpFile> { throw Util::XUsage("not found"); }, {}},
      {"format without flags",
       [&] { return CountedPtr<Papy::LpFile>(new OddLp(track, false, ~0u)); },
       {}},
      {"flags fail part way",
       [&] { return CountedPtr<Papy::LpFile>(new OddLp(track, true, 3)); },
       {}},
  };
  for (const auto& c : cases) {
    Papy::FileFactory factory;
    if (c.Make)
      factory.AddFacet<Papy::MakeLp>(new FakeMakeLp(c.Make));
    EXPECT_EQ(GatherLpFlags(factory, "Race"), c.Expected) << c.Name;
  }
}

TEST(GenerateLp, NewLineTakesTheCurvesShapeAndFlagsOfTheSameCount) {
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  const CountedPtr<Papy::LpFileCurve> curve =
      GenerateCurve(TestLines::MakeWavyLine(track, 4.0, 2.0), track, 0.2);
  const U32 count = curve->GetRecordCount();
  const struct {
    std::vector<unsigned> Flags;
    bool Copied;
  } cases[] = {
      {Words(count), true}, {{}, false}, {Words(count - 1), false}, {Words(count + 1), false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Flags.size());
    Papy::N4LpFile lp(track, 3.0);
    ASSERT_EQ(GenerateLp(*curve, lp, c.Flags, *track, 1.0).size(), count);
    for (U32 i = 0; i < count; ++i) {
      ASSERT_NEAR(lp.GetRecordLatitude(i), curve->GetRecordLatitude(i), 1e-5) << i;
      ASSERT_EQ(lp.GetRecordFlags(i), c.Copied ? c.Flags[i] : 0u) << i;
      // The speeds point along the curve's line: their ratio is its heading's tangent.
      ASSERT_GT(lp.GetRecordSpeed(i), 1.0) << i;
      ASSERT_NEAR(lp.GetRecordLateralSpeed(i) / lp.GetRecordLongitudinalSpeed(i),
                  curve->GetRecordLateralSpeed(i), 1e-4)
          << i;
    }
  }
}

TEST(GenerateLp, AnIcr2LineGetsTheCurvesLineWithoutAYawSpeed) {
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  const CountedPtr<Papy::LpFileCurve> curve =
      GenerateCurve(TestLines::MakeWavyLine(track, 4.0, 2.0), track, 0.2);
  const CountedPtr<Papy::TrkFile> trk(new Papy::LpTest::LengthOnlyTrkFile(
      Papy::MetresToTrkUnits(track->GetLength2D()), static_cast<float>(track->GetLength2D())));
  Papy::ICR2LpFile lp(trk, 3.0);
  ASSERT_FALSE(lp.HasYawSpeed());
  ASSERT_LE(lp.GetRecordCount(), curve->GetRecordCount());
  ASSERT_EQ(GenerateLp(*curve, lp, {}, *track, 1.0).size(), lp.GetRecordCount());
  for (U32 i = 0; i < lp.GetRecordCount(); ++i) {
    ASSERT_NEAR(lp.GetRecordLatitude(i), curve->GetRecordLatitude(i), 1e-4) << i;
    ASSERT_GT(lp.GetRecordSpeed(i), 1.0) << i;
    ASSERT_LE(lp.GetRecordSpeed(i), 144.0) << i;
  }
}

TEST(GenerateLp, ACurveOfFewerRecordsOrAnotherSpacingIsRefusedUntouched) {
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  const CountedPtr<Papy::LpFileCurve> curve =
      GenerateCurve(TestLines::MakeWavyLine(track, 4.0, 2.0), track, 0.2);
  const CountedPtr<Papy::Track> longer = MakeOval(120.0, 200.0);
  const struct {
    const char* Name;
    CountedPtr<Papy::Track> Track;
    double Spacing;
    const char* Names; // what the message tells
  } cases[] = {
      {"fewer records", longer, 3.0, "has 343 records 3 m apart, but a new LP of its folder has 385"},
      {"another spacing, fewer records", track, 3.5, "3.5 m apart"},
      {"another spacing, as many records", track, 2.9999, "2.9999 m apart"},
  };
  for (const auto& c : cases) {
    Papy::N4LpFile lp(c.Track, c.Spacing);
    const std::vector<unsigned> words = Words(lp.GetRecordCount());
    try {
      GenerateLp(*curve, lp, words, *c.Track, 1.0);
      ADD_FAILURE() << c.Name << ": generated";
    } catch (const Util::XUsage& e) {
      EXPECT_THAT(e.What(), testing::HasSubstr(c.Names)) << c.Name;
    }
    for (U32 i = 0; i < lp.GetRecordCount(); ++i)
      ASSERT_TRUE(lp.GetRecordLatitude(i) == 0.0 && lp.GetRecordFlags(i) == 0u) << c.Name << i;
  }
}

} // namespace
} // namespace Ostra::Velmar
