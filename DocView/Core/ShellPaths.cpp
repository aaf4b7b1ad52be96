#include "DocView/Core/ShellPaths.h"

namespace Ostra::DocView {

std::string ReplaceFinalExtension(const std::string& path, const std::string& newExtension) {
  const auto slash = path.find_last_of('/');
  const auto name_start = slash == std::string::npos ? 0 : slash + 1;
  const auto dot = path.find_last_of('.');
  // A leading dot names a hidden file, not an extension.
  if (dot == std::string::npos || dot <= name_start)
    return path + newExtension;
  return path.substr(0, dot) + newExtension;
}

std::vector<std::string> HelpFileCandidates(const std::string& programPath, const std::string& resourcesDir) {
  std::vector<std::string> candidates;
  if (!programPath.empty()) {
    candidates.push_back(ReplaceFinalExtension(programPath, ".pdf"));
    candidates.push_back(ReplaceFinalExtension(programPath, ".PDF"));
  }
  if (!resourcesDir.empty())
    candidates.push_back(resourcesDir + (resourcesDir.back() == '/' ? "" : "/") + "velmar.pdf");
  return candidates;
}

std::string FindHelpFile(const std::vector<std::string>& candidates,
                         const std::function<bool(const std::string&)>& exists) {
  for (const std::string& candidate : candidates)
    if (exists(candidate))
      return candidate;
  return {};
}

std::string SettingsFilePath(const char* xdgConfigHome, const char* home) {
  const auto without_slashes = [](std::string path) {
    while (!path.empty() && path.back() == '/')
      path.pop_back();
    return path;
  };
  std::string config;
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
    config = without_slashes(xdgConfigHome);
  else if (home != nullptr && home[0] == '/')
    config = without_slashes(home) + "/.config";
  else
    return {};
  return config + "/Ostra/Velmar.conf";
}

} // namespace Ostra::DocView
