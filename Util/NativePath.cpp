#include "Util/NativePath.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace Ostra::Util::NativePath {

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

std::vector<std::string> Components(const std::string& absolute) {
  std::vector<std::string> parts;
  std::size_t start = 1;
  while (start <= absolute.size()) {
    const std::size_t end = std::min(absolute.find('/', start), absolute.size());
    if (end > start)
      parts.push_back(absolute.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// The entry of folder equal to name under folding, the exact one first.
std::optional<std::string> MatchEntry(const std::string& folder, const std::string& name) {
  if (Exists(Join(folder, name)))
    return name;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir)
    return std::nullopt;
  std::optional<std::string> best;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string candidate = entry->d_name;
    if (candidate == "." || candidate == "..")
      continue;
    if (EqualsFolded(candidate, name) && (!best || candidate < *best))
      best = candidate;
  }
  ::closedir(dir);
  return best;
}

// Where the part of an absolute path that is not on disk begins: just past the '/'
// ending its longest prefix that exists; the size of the path when all of it exists.
std::size_t MissingTailStart(const std::string& absolute) {
  if (Exists(absolute))
    return absolute.size();
  std::size_t end = absolute.rfind('/');
  while (end != std::string::npos && end > 0 && !Exists(absolute.substr(0, end)))
    end = absolute.rfind('/', end - 1);
  return end == std::string::npos ? 0 : end + 1;
}

} // namespace

std::string ToNative(const std::string& path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == '\\')
      c = '/';
    if (c == '/' && !out.empty() && out.back() == '/')
      continue;
    out.push_back(c);
  }
  return out;
}

std::optional<std::string> MakeAbsolute(const std::string& path) {
  if (path.empty())
    return std::nullopt;
  std::string full = ToNative(path);
  if (full.front() != '/') {
    std::string cwd(MaxPath, '\0');
    if (!::getcwd(cwd.data(), cwd.size()))
      return std::nullopt;
    cwd.resize(std::strlen(cwd.c_str()));
    full = cwd + "/" + full;
  }
  std::vector<std::string> kept;
  for (auto& part : Components(full)) {
    if (part == ".")
      continue;
    if (part == "..") {
      if (!kept.empty())
        kept.pop_back();
      continue;
    }
    kept.push_back(std::move(part));
  }
  if (kept.empty())
    return std::string(1, '/');
  std::string result;
  for (const auto& part : kept)
    result += "/" + part;
  if (result.size() >= MaxPath)
    return std::nullopt;
  return result;
}

std::string ResolveExisting(const std::string& absolute) {
  if (absolute.empty() || absolute.front() != '/' || Exists(absolute))
    return absolute;
  std::string current = "/";
  for (const auto& part : Components(absolute)) {
    const auto match = MatchEntry(current, part);
    if (!match)
      return absolute;
    current = Join(current, *match);
  }
  return current;
}

std::string ResolveForCreate(const std::string& absolute) {
  if (absolute.empty() || absolute.front() != '/' || Exists(absolute))
    return absolute;
  const std::size_t slash = absolute.rfind('/');
  const std::string name = absolute.substr(slash + 1);
  if (name.empty())
    return absolute;
  const std::string folder = ResolveExisting(slash == 0 ? "/" : absolute.substr(0, slash));
  const auto match = MatchEntry(folder, name);
  return Join(folder, match ? *match : name);
}

std::string CanonicalPath(const std::string& path) {
  const std::optional<std::string> absolute = MakeAbsolute(path);
  if (!absolute)
    return path;
  std::string resolved = "/";
  if (Exists(*absolute)) {
    resolved = *absolute;
  } else {
    // As far down as the disk has each name under some case, its spelling on disk; the
    // rest as given.
    bool on_disk = true;
    for (const auto& part : Components(*absolute)) {
      const auto match = on_disk ? MatchEntry(resolved, part) : std::nullopt;
      on_disk = match.has_value();
      resolved = Join(resolved, match ? *match : part);
    }
  }
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(resolved, error);
  return error ? resolved : canonical.string();
}

bool NamesOneFile(const std::string& a, const std::string& b) {
  const std::string first = CanonicalPath(a), second = CanonicalPath(b);
  if (first == second)
    return true;
  // The readers look a missing name up ignoring case, but only below the last folder
  // that exists: t/Monza and t/monza on disk are two folders whatever they hold.
  const std::size_t first_missing = MissingTailStart(first),
                    second_missing = MissingTailStart(second);
  return first_missing < first.size() && second_missing < second.size() &&
         first.compare(0, first_missing, second, 0, second_missing) == 0 &&
         EqualsFolded(first.substr(first_missing), second.substr(second_missing));
}

bool IsFolder(const std::string& absolute) {
  struct stat st {};
  return ::stat(ResolveExisting(absolute).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFile(const std::string& absolute) {
  struct stat st {};
  return ::stat(ResolveExisting(absolute).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool EqualsFolded(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

bool FoldedLess(const std::string& a, const std::string& b) {
  const auto folded = [](unsigned char x, unsigned char y) {
    return static_cast<unsigned char>(FoldAscii(static_cast<char>(x))) <
           static_cast<unsigned char>(FoldAscii(static_cast<char>(y)));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded))
    return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded))
    return false;
  return a < b;
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
  std::vector<FolderEntry> entries;
  const std::string resolved = ResolveExisting(folder);
  DIR* dir = ::opendir(resolved.c_str());
  if (!dir)
    return entries;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..")
      continue;
    const std::string full = Join(resolved, name);
    struct stat st {};
    struct stat lst {};
    const bool is_dir = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    const bool is_link = ::lstat(full.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode);
    entries.push_back({name, is_dir, is_link});
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return FoldedLess(a.Name, b.Name); });
  return entries;
}

} // namespace Ostra::Util::NativePath
