#include "Util/DirectoryListing.h"

#include <cerrno>
#include <system_error>

#include "Util/Exception.h"
#include "Util/NativePath.h"

namespace Ostra::Util {

DirectoryListing::DirectoryListing(const PathName& folder) : Folder(folder) { Refresh(); }

void DirectoryListing::Refresh() {
  Entries.clear();
  for (const auto& entry : NativePath::ListFolder(Folder.GetFullPath()))
    Entries.push_back({PathName(Folder.GetAsDirectory() + entry.Name), entry.IsDirectory});
}

const PathName& DirectoryListing::GetEntry(std::size_t index) const {
  UTIL_ASSERT(index < GetCount());
  return Entries[index].Path;
}

bool DirectoryListing::IsDirectory(std::size_t index) const {
  UTIL_ASSERT(index < GetCount());
  return Entries[index].IsDirectory;
}

namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsHidden(const std::string& name) { return !name.empty() && name.front() == '.'; }

} // namespace

bool MatchWildcard(const std::string& pattern, const std::string& name) {
  // Iterative matcher with single-star backtracking: linear in practice, never
  // exponential on patterns such as "*a*a*a*b".
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = std::string::npos;
  std::size_t resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

FindFileSequence::FindFileSequence(const char* folder, const char* patterns, char delimiter,
                                   unsigned flags) {
  std::string base = (folder && *folder) ? folder : ".";
  if (!(flags & FindFileFlags::RelativePath)) {
    const auto absolute = NativePath::MakeAbsolute(base);
    if (!absolute)
      throw std::system_error(std::error_code(ENAMETOOLONG, std::system_category()));
    base = *absolute;
  } else {
    base = NativePath::ToNative(base);
  }
  if (base.back() != '/')
    base += '/';

  if (!(flags & (FindFileFlags::Files | FindFileFlags::Directories)))
    flags |= FindFileFlags::Files | FindFileFlags::Directories;

  const std::string list = patterns ? patterns : "";
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(delimiter, start), list.size());
    const std::string pattern = NativePath::ToNative(list.substr(start, end - start));
    start = end + 1;
    if (pattern.empty())
      continue;

    // A pattern with a folder part of its own searches that folder.
    std::string search_folder = base;
    std::string name_pattern = pattern;
    if (const std::size_t slash = pattern.rfind('/'); slash != std::string::npos) {
      search_folder = pattern.front() == '/' ? pattern.substr(0, slash + 1)
                                            : base + pattern.substr(0, slash + 1);
      name_pattern = pattern.substr(slash + 1);
    }

    if (flags & FindFileFlags::IncludeDots) {
      for (const char* dots : {".", ".."})
        if (MatchWildcard(name_pattern, dots))
          Matches.push_back({dots, search_folder + dots, true});
    }
    for (const auto& entry : NativePath::ListFolder(search_folder)) {
      if (!MatchWildcard(name_pattern, entry.Name))
        continue;
      if (!entry.IsDirectory) {
        if ((flags & FindFileFlags::SkipHiddenFiles) && IsHidden(entry.Name))
          continue;
        if (!(flags & FindFileFlags::Files))
          continue;
      } else {
        if ((flags & FindFileFlags::SkipHiddenDirs) && IsHidden(entry.Name))
          continue;
        if (!(flags & FindFileFlags::Directories))
          continue;
        if ((flags & FindFileFlags::SkipReparseDirs) && entry.IsSymlink)
          continue;
      }
      Matches.push_back({entry.Name, search_folder + entry.Name, entry.IsDirectory});
    }
  }
}

} // namespace Ostra::Util
