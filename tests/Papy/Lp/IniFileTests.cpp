#include "Papy/Lp/IniFile.h"

#include <string>

#include <gtest/gtest.h>

#include "TestSupport/TempDir.h"
#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

IniFile ReadText(const Ostra::Test::TempDir& dir, const std::string& text) {
  return IniFile(dir.WriteFile("track.ini", text), true);
}

TEST(IniFile, LinesParseAsTheGamesWriteThem) {
  struct Case {
    const char* Name;
    const char* Text;
    const char* Section;
    const char* Key;
    const char* Value; // "<none>" when the lookup must give the default
  };
  const Case cases[] = {
      {"comment after the value", "[ pit_lane_0 ]\nlane_on_right = 1 ; 0 if on left\n",
       "pit_lane_0", "lane_on_right", "1"},
      {"lookup ignores case", "[ pit_lane_0 ]\nlane_on_right = 1\n", "PIT_LANE_0",
       "Lane_On_Right", "1"},
      {"blank-padded section name", "[  \tstarting_grid_0  ]\nstall_0 = 1 2 3\n",
       "starting_grid_0", "stall_0", "1 2 3"},
      {"two-word key gives its first word", "[s]\nmy key = 5\n", "s", "my", "5"},
      {"blanks before the key", "[s]\n \t k\t= 5\n", "s", "k", "5"},
      {"line starting with '=' has an empty key", "[s]\n= 7\n", "s", "", "7"},
      {"only blanks after '='", "[s]\nk =   \t\n", "s", "k", ""},
      {"no '=' is no entry", "[s]\nk 5\n", "s", "k", "<none>"},
      {"blank before '[' is no section", "[s]\n [t]\nk=1\n", "t", "k", "<none>"},
      {"key after a non-section belongs to the last section", "[s]\n [t]\nk=1\n", "s", "k", "1"},
      {"unclosed bracket is ignored", "[s]\n[t\nk=1\n", "s", "k", "1"},
      {"';' inside brackets cuts the ']'", "[s]\n[a;b]\nk=1\n", "s", "k", "1"},
      {"empty brackets name an empty section", "[]\nk=1\n", "", "k", "1"},
      {"blank brackets name an empty section", "[   ]\nk=1\n", "", "k", "1"},
      {"keys before the first section are dropped", "k=1\n[s]\n", "s", "k", "<none>"},
      {"first duplicate key wins", "[s]\nk=1\nk=2\n", "s", "k", "1"},
      {"first duplicate section wins", "[s]\na=1\n[s]\nk=2\n", "s", "k", "<none>"},
      {"CR LF line ends", "[ s ]\r\nk = 1 \r\nj=2\r\n", "s", "k", "1"},
      {"CR LF, last key", "[ s ]\r\nk = 1 \r\nj=2\r\n", "s", "j", "2"},
      {"no line end after the last line", "[s]\nk=last", "s", "k", "last"},
      {"comment-only lines", "[s]\n; k=1\nk=2\n", "s", "k", "2"},
  };
  const Ostra::Test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const IniFile ini = ReadText(dir, c.Text);
    EXPECT_EQ(ini.GetValue(c.Section, c.Key, "<none>"), c.Value);
  }
}

TEST(IniFile, KeepsWholeLinesOfEntriesOnly) {
  const Ostra::Test::TempDir dir;
  const IniFile ini =
      ReadText(dir, "k=0\n[ a ]\nx = 1 ; note\n\n; comment\ny=2\n[b\n[ c ]\nnothing\n");
  ASSERT_EQ(ini.GetSectionCount(), 2u);
  EXPECT_EQ(ini.GetSectionName(1), "c");
  EXPECT_THROW(ini.GetSectionName(2), Util::XAssertion);
  ASSERT_EQ(ini.GetEntryCount(0), 2u);
  EXPECT_EQ(ini.GetEntryCount(1), 0u);
  EXPECT_EQ(ini.GetEntryLine(0, 0), "x = 1 ; note");
  EXPECT_EQ(ini.GetEntryKey(0, 1), "y");
  EXPECT_THROW(ini.GetEntryLine(1, 0), Util::XAssertion);
}

TEST(IniFile, SetValueComparesExactlyAndRebuildsTheLine) {
  const Ostra::Test::TempDir dir;
  IniFile ini = ReadText(dir, "[ pit ]\nlane = 1 ; keep?\n");
  ini.SetValue("pit", "LANE", "9"); // differs in case: a second entry
  EXPECT_EQ(ini.GetValue("pit", "lane", ""), "1");
  EXPECT_EQ(ini.GetEntryCount(0), 2u);
  EXPECT_EQ(ini.GetEntryLine(0, 1), "LANE = 9");
  ini.SetValue("pit", "lane", "2");
  EXPECT_EQ(ini.GetValue("pit", "lane", ""), "2");
  EXPECT_EQ(ini.GetEntryLine(0, 0), "lane = 2"); // the comment goes
  ini.SetValue("new", "k", "v");
  EXPECT_EQ(ini.GetSectionCount(), 2u);
  EXPECT_EQ(ini.GetValue("NEW", "K", ""), "v");

  IniFile tight("/nonexistent/track.ini", false);
  tight.SetValue("s", "k", "v");
  EXPECT_EQ(tight.GetEntryLine(0, 0), "k=v");
}

TEST(IniFile, SetLineReplacesTheEntryOfTheKey) {
  const Ostra::Test::TempDir dir;
  IniFile ini = ReadText(dir, "[s]\nk=1\nj=2\n");
  ini.SetLine("s", "k", "k = 3 ; why");
  EXPECT_EQ(ini.GetValue("s", "k", ""), "3");
  EXPECT_EQ(ini.GetEntryLine(0, 0), "k = 3 ; why");
  ini.SetLine("s", "other", "free text");
  EXPECT_EQ(ini.GetEntryCount(0), 3u);
  EXPECT_EQ(ini.GetEntryKey(0, 2), "");
}

TEST(IniFile, SaveWritesSectionsAndKeptLinesWithCrLf) {
  const Ostra::Test::TempDir dir;
  IniFile ini = ReadText(dir, "top=0\n[a]\nx = 1 ; c\n; gone\n[ b ]\ny=2\n");
  ini.SetValue("a", "z", "3");
  ini.Save();
  const auto bytes = Ostra::Test::ReadWholeFile(dir / "track.ini");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            "[ a ]\r\nx = 1 ; c\r\nz = 3\r\n\r\n[ b ]\r\ny=2\r\n\r\n");
  const IniFile again(dir / "track.ini", true);
  EXPECT_EQ(again.GetValue("a", "x", ""), "1");
  EXPECT_EQ(again.GetEntryLine(0, 0), "x = 1 ; c");

  IniFile tight(dir.WriteFile("tight.ini", "[ a ]\nk=v\n"), false);
  tight.Save();
  const auto tight_bytes = Ostra::Test::ReadWholeFile(dir / "tight.ini");
  EXPECT_EQ(std::string(tight_bytes.begin(), tight_bytes.end()), "[a]\r\nk=v\r\n\r\n");
}

TEST(IniFile, MissingFileIsEmptyButSavingWhereNothingCanBeWrittenThrows) {
  const IniFile missing("/nonexistent-folder/track.ini", true);
  EXPECT_EQ(missing.GetSectionCount(), 0u);
  EXPECT_EQ(missing.GetValue("pit_lane_0", "lane_on_right", "dflt"), "dflt");
  EXPECT_THROW(missing.Save(), Util::XFileOpen);
}

TEST(IniFile, RealTrackFilesGivePitLaneAndGridValues) {
  VELMAR_REQUIRE_SHARED_DATA();
  struct Case {
    const char* Path;
    const char* Section;
    const char* Key;
    const char* Value;
  };
  const Case cases[] = {
      {"n4/atlanta/track.ini", "pit_lane_0", "lane_on_right", "0"},
      {"n4/atlanta/track.ini", "starting_grid_0", "stall_0", "204.26 49.58 -0.35"},
      {"n4/atlanta/track.ini", "starting_grid_1", "stall_0", "1350.00 3.80 -0.00"},
      {"n4/atlanta/track.ini", "track", "track_type", "2"},
      {"n4/bristol/track.ini", "pit_lane_0", "lane_on_right", "0"},
      {"n4/bristol/track.ini", "pit_lane_0", "pit_lane_start_dlong", "341.00000"},
      {"n4/bristol/track.ini", "starting_grid_0", "stall_0", "83.03 28.52 0.02"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Path << " " << c.Section << " " << c.Key);
    const IniFile ini(Ostra::Test::SharedData(c.Path), true);
    EXPECT_EQ(ini.GetValue(c.Section, c.Key, "<none>"), c.Value);
  }
}

} // namespace
} // namespace Ostra::Papy
