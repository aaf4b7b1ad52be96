#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Util/PathName.h"

namespace Ostra::Util {

struct DirectoryEntry {
  PathName Path;
  bool IsDirectory;
};

// A snapshot of the files and folders directly inside a folder, without "." and "..",
// sorted by case-folded name. A missing or unreadable folder lists nothing.
class DirectoryListing {
public:
  explicit DirectoryListing(const PathName& folder);

  void Refresh();
  std::size_t GetCount() const { return Entries.size(); }
  // index must be below GetCount() (XAssertion).
  const PathName& GetEntry(std::size_t index) const;
  bool IsDirectory(std::size_t index) const;

private:
  PathName Folder;
  std::vector<DirectoryEntry> Entries;
};

// Flags of the find-file sequence; the values are fixed.
namespace FindFileFlags {
inline constexpr unsigned IncludeDots = 0x0008;
inline constexpr unsigned Directories = 0x0010;
inline constexpr unsigned Files = 0x0020;
inline constexpr unsigned SkipReparseDirs = 0x0100;
inline constexpr unsigned SkipHiddenFiles = 0x0200;
inline constexpr unsigned SkipHiddenDirs = 0x0400;
inline constexpr unsigned RelativePath = 0x0800;
} // namespace FindFileFlags

struct FindFileMatch {
  std::string Name;     // the entry's name as on disk
  std::string FullPath; // the folder followed by the name
  bool IsDirectory;
};

// Searches a folder for entries matching any of several wildcard patterns ('*' any
// run, '?' one character, ASCII case ignored), taken pattern by pattern in the order
// given; within a pattern, by case-folded name. An entry matching two patterns is
// found twice. A failing pattern finds nothing. Throws std::system_error only when
// the folder cannot be made absolute.
class FindFileSequence {
public:
  using const_iterator = std::vector<FindFileMatch>::const_iterator;

  FindFileSequence(const char* folder, const char* patterns, char delimiter, unsigned flags);

  const_iterator begin() const { return Matches.begin(); }
  const_iterator end() const { return Matches.end(); }
  bool empty() const { return Matches.empty(); }

private:
  std::vector<FindFileMatch> Matches;
};

// '*' and '?' wildcards, ASCII case-insensitive.
bool MatchWildcard(const std::string& pattern, const std::string& name);

} // namespace Ostra::Util
