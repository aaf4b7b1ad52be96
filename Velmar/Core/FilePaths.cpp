#include "Velmar/Core/FilePaths.h"

#include <filesystem>

#include "Util/NativePath.h"
#include "Util/PathName.h"

namespace Ostra::Velmar {

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  const std::filesystem::path name = std::filesystem::path(path).filename();
  if (name.empty() || name.has_extension() || extension.empty())
    return path;
  return path + "." + extension;
}

bool HasOneOfExtensions(const std::string& path, const std::vector<std::string>& extensions) {
  const std::string extension = std::filesystem::path(path).extension().string();
  for (const std::string& wanted : extensions)
    if (!extension.empty() && Util::NativePath::EqualsFolded(extension.substr(1), wanted))
      return true;
  return false;
}

std::string FindTrackIni(const std::string& folder) {
  const Util::PathName path(Util::PathName(folder), "track", "ini");
  return Util::NativePath::ResolveExisting(path.GetFullPath());
}

} // namespace Ostra::Velmar
