#include <gtest/gtest.h>

#include <set>

#include "DocView/Core/ShellPaths.h"

namespace Ostra::DocView {
namespace {

TEST(ShellPaths, OnlyTheProgramsOwnExtensionIsReplaced) {
  struct Case {
    const char* Path;
    const char* Expected;
  };
  const Case cases[] = {
      {"/opt/velmar/velmar", "/opt/velmar/velmar.pdf"},
      {"/opt/velmar/velmar.bin", "/opt/velmar/velmar.pdf"},
      // A folder with ".hlp" (or any dot) in its name keeps it.
      {"/home/me/old.hlp.files/velmar", "/home/me/old.hlp.files/velmar.pdf"},
      {"/home/me/old.hlp.files/velmar.HLP", "/home/me/old.hlp.files/velmar.pdf"},
      {"/home/me/.local/bin/velmar", "/home/me/.local/bin/velmar.pdf"},
      {"/x/.velmar", "/x/.velmar.pdf"},
      {"velmar", "velmar.pdf"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReplaceFinalExtension(c.Path, ".pdf"), c.Expected) << c.Path;
}

TEST(ShellPaths, TheFirstHelpFileThatExistsIsUsed) {
  const auto candidates = HelpFileCandidates("/opt/v/velmar", "/usr/share/velmar");
  ASSERT_EQ(candidates.size(), 3u);
  EXPECT_EQ(candidates[0], "/opt/v/velmar.pdf");
  EXPECT_EQ(candidates[1], "/opt/v/velmar.PDF");
  EXPECT_EQ(candidates[2], "/usr/share/velmar/velmar.pdf");

  std::set<std::string> present;
  const auto exists = [&present](const std::string& path) { return present.count(path) > 0; };
  EXPECT_EQ(FindHelpFile(candidates, exists), "");
  present = {"/usr/share/velmar/velmar.pdf", "/opt/v/velmar.PDF"};
  EXPECT_EQ(FindHelpFile(candidates, exists), "/opt/v/velmar.PDF");
  EXPECT_EQ(HelpFileCandidates("", "").size(), 0u);
}

TEST(ShellPaths, SettingsLiveInTheXdgConfigFolder) {
  EXPECT_EQ(SettingsFilePath("/tmp/cfg", "/home/me"), "/tmp/cfg/Ostra/Velmar.conf");
  EXPECT_EQ(SettingsFilePath("/tmp/cfg/", "/home/me"), "/tmp/cfg/Ostra/Velmar.conf");
  // A relative XDG_CONFIG_HOME is to be ignored.
  EXPECT_EQ(SettingsFilePath("cfg", "/home/me"), "/home/me/.config/Ostra/Velmar.conf");
  EXPECT_EQ(SettingsFilePath(nullptr, "/home/me"), "/home/me/.config/Ostra/Velmar.conf");
  EXPECT_EQ(SettingsFilePath("", "/"), "/.config/Ostra/Velmar.conf");
  EXPECT_EQ(SettingsFilePath(nullptr, nullptr), "");
  EXPECT_EQ(SettingsFilePath(nullptr, "relative"), "");
}

} // namespace
} // namespace Ostra::DocView
