#include "Velmar/Core/FilePaths.h"

#include <string>

#include <gtest/gtest.h>

#include "TestSupport/TempDir.h"

namespace Ostra::Velmar {
namespace {

TEST(FilePaths, TheDefaultExtensionIsAddedOnlyToANameWithoutOne) {
  const struct {
    const char* Path;
    const char* Expected;
  } cases[] = {
      {"/t/monza/minrace", "/t/monza/minrace.lcv"},
      {"/t/monza/minrace.lcv", "/t/monza/minrace.lcv"},
      {"/t/monza/minrace.LCV", "/t/monza/minrace.LCV"},
      {"/t/monza/race.lp", "/t/monza/race.lp"},
      {"/t/mon.za/minrace", "/t/mon.za/minrace.lcv"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WithDefaultExtension(c.Path, "lcv"), c.Expected) << c.Path;
  const std::vector<std::string> lps = {"lp", "l66", "l69"};
  EXPECT_TRUE(HasOneOfExtensions("/t/Race.LP", lps));
  EXPECT_TRUE(HasOneOfExtensions("/t/race.l69", lps));
  EXPECT_FALSE(HasOneOfExtensions("/t/race.lcv", lps));
  EXPECT_FALSE(HasOneOfExtensions("/t/race", lps));
  EXPECT_FALSE(HasOneOfExtensions("/t/lp", lps));
}

TEST(FilePaths, TrackIniIsFoundWhateverTheCaseOfItsName) {
  for (const char* name : {"track.ini", "Track.ini", "TRACK.INI"}) {
    Ostra::Test::TempDir dir;
    const std::string ini = dir.WriteFile(std::string("monza/") + name, "[pit_lane_0]\n");
    EXPECT_EQ(FindTrackIni(dir / "monza"), ini) << name;
    EXPECT_EQ(FindTrackIni(dir / "monza/"), ini) << name;
  }
  Ostra::Test::TempDir dir;
  dir.MakeFolder("monza");
  EXPECT_EQ(FindTrackIni(dir / "monza"), dir / "monza/track.ini");
}

} // namespace
} // namespace Ostra::Velmar
