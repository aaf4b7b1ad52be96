#pragma once

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

// The path of a real game file under shared/data, e.g. "n4/atlanta/race.lp".
std::string SharedData(const std::string& relative);

} // namespace Ostra::Test
