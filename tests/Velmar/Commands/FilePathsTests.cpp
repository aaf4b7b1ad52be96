#include "Velmar/Core/FilePaths.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "TestSupport/TempDir.h"
#include "Util/NativePath.h"

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

TEST(FilePaths, EveryNameOfOneFileIsTheSameFile) {
  const auto IsSameFile = [](const std::string& a, const std::string& b) {
    return Util::NativePath::CanonicalPath(a) == Util::NativePath::CanonicalPath(b);
  };
  Ostra::Test::TempDir dir;
  const std::string file = dir.WriteFile("Monza/MINRACE.LCV", "x");
  std::filesystem::create_directory_symlink(dir / "Monza", dir / "link");
  const struct {
    std::string Other;
    bool Same;
  } cases[] = {
      {file, true},
      {dir / "Monza/minrace.lcv", true},
      {dir / "monza/MinRace.lcv", true},
      {dir / "Monza/./sub/../MINRACE.LCV", true},
      {dir / "link/MINRACE.LCV", true},
      {dir / "Monza/maxrace.lcv", false},
      {dir / "Monza/MINRACE.LCV.bak", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsSameFile(file, c.Other), c.Same) << c.Other;
  // Two names of a file not yet on disk compare by their spelling.
  EXPECT_TRUE(IsSameFile(dir / "Monza/new.lcv", dir / "monza/new.lcv"));
  EXPECT_FALSE(IsSameFile(dir / "Monza/new.lcv", dir / "Monza/New.lcv"));
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
