#include "TestSupport/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>
#include <unistd.h>

#include "Util/Exception.h"

namespace Ostra::Test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "velmar-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data()))
    throw std::runtime_error("cannot create a temporary folder");
  Folder = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(Folder, ignored);
}

std::string TempDir::WriteFile(const std::string& name,
                               const std::vector<unsigned char>& bytes) const {
  const fs::path path = fs::path(Folder) / name;
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path.string());
  return path.string();
}

std::string TempDir::WriteFile(const std::string& name, const std::string& text) const {
  return WriteFile(name, std::vector<unsigned char>(text.begin(), text.end()));
}

std::string TempDir::MakeFolder(const std::string& name) const {
  const fs::path path = fs::path(Folder) / name;
  fs::create_directories(path);
  return path.string();
}

std::vector<unsigned char> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot read " + path);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::string SharedDataFolder() {
  const char* chosen = std::getenv("VELMAR_SHARED_DATA");
  return chosen && *chosen ? chosen : VELMAR_DEFAULT_SHARED_DATA;
}

std::string MissingSharedData() {
  const std::string folder = SharedDataFolder();
  std::error_code ignored;
  if (fs::is_directory(folder, ignored))
    return {};
  return "The real game files are missing: no folder " + folder +
         " (VELMAR_SHARED_DATA may name another copy).";
}

std::string SharedData(const std::string& relative) { return SharedDataFolder() + "/" + relative; }

std::string FailureAsNormalUser(const std::function<void()>& action) {
  const bool root = ::geteuid() == 0;
  if (root && ::seteuid(65534) != 0)
    return "(still root)";
  std::string text;
  try {
    action();
  } catch (const Util::Exception& e) {
    text = e.What();
  }
  if (root && ::seteuid(0) != 0)
    std::abort();
  return text;
}

} // namespace Ostra::Test
