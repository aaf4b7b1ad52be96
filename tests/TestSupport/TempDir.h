#pragma once

#include <functional>
#include <string>
#include <vector>

namespace Ostra::Test {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing '/'.
  const std::string& Path() const { return Folder; }
  // Path() + "/" + name.
  std::string operator/(const std::string& name) const { return Folder + "/" + name; }

  // Writes a file (relative name, sub-folders created) and returns its full path.
  std::string WriteFile(const std::string& name, const std::vector<unsigned char>& bytes) const;
  std::string WriteFile(const std::string& name, const std::string& text) const;
  std::string MakeFolder(const std::string& name) const;

private:
  std::string Folder;
};

std::vector<unsigned char> ReadWholeFile(const std::string& path);

// The text of the Ostra::Util::Exception the action throws (empty when none), run where
// file permissions bind as they do for the editor's users: as nobody when the tests
// run as root, who opens every file. Its folders must let others in.
std::string FailureAsNormalUser(const std::function<void()>& action);

// The real game files are read in place from a folder outside the repository: the one
// named by the environment variable VELMAR_SHARED_DATA when it is set, otherwise
// shared/data beside the project. A clone without that folder skips what needs it.

// That folder, as named.
std::string SharedDataFolder();
// One line naming the missing folder, or empty when the folder is there.
std::string MissingSharedData();
// The path of a real game file in that folder, e.g. "n4/atlanta/race.lp".
std::string SharedData(const std::string& relative);

} // namespace Ostra::Test

// For GoogleTest tests and fixtures' SetUp: skips the test when the real game files are
// absent, saying which folder is missing.
#define VELMAR_REQUIRE_SHARED_DATA()                                                       \
  do {                                                                                     \
    if (const std::string velmarMissing = ::Ostra::Test::MissingSharedData();              \
        !velmarMissing.empty())                                                            \
      GTEST_SKIP() << velmarMissing;                                                       \
  } while (false)
