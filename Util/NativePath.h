#pragma once

#include <optional>
#include <string>
#include <vector>

// The one place where paths meet the file system. Game folders copied from Windows
// have mixed-case names (MONZA.TRK, Track.ini) while callers build lower-case names,
// so every entry point resolves a missing name case-insensitively. Strings given by
// callers are never rewritten: only the path handed to the kernel is resolved.
namespace Ostra::Util::NativePath {

// Longest absolute path accepted, terminator included (PATH_MAX).
inline constexpr std::size_t MaxPath = 4096;

// Backslashes become '/', and runs of '/' collapse to one.
std::string ToNative(const std::string& path);

// Lexical absolute form: the current folder is prefixed to a relative path, "." and
// empty components are dropped and ".." pops (never above "/"). Symlinks are not
// resolved and case is kept. Empty when the path is empty, the current folder cannot
// be had, or the result would need MaxPath characters or more.
std::optional<std::string> MakeAbsolute(const std::string& path);

// The path as it exists on disk: the exact path when it exists, otherwise each
// missing component replaced by an entry equal to it under ASCII case folding (the
// byte-wise smallest when several are). The absolute path unchanged when some
// component has no match.
std::string ResolveExisting(const std::string& absolute);

// Like ResolveExisting for the folder; the last component becomes an existing
// case-variant if there is one, so that saving minrace.lcv overwrites MINRACE.LCV.
std::string ResolveForCreate(const std::string& absolute);

// A form of the path under which every name of one file on disk compares equal:
// absolute, each name from the root down that is missing as spelled replaced by its
// case-variant on disk while there is one, then symbolic links resolved. "." and ".."
// are taken lexically first, as every entry point here takes them. The names below
// the first one with nothing on disk keep their spelling.
std::string CanonicalPath(const std::string& path);

// Whether two paths name one file: their canonical forms are equal, or, where neither
// is on disk (a track that lives only in its folder's DAT archive, a file deleted
// since), they share the folders that are on disk and the rest is equal ignoring
// case, as the readers look such names up.
bool NamesOneFile(const std::string& a, const std::string& b);

// stat (following symlinks) of the resolved path.
bool IsFolder(const std::string& absolute);
bool IsRegularFile(const std::string& absolute);

// ASCII case-folded ordering, ties broken by bytes: the order of every listing.
bool FoldedLess(const std::string& a, const std::string& b);
bool EqualsFolded(const std::string& a, const std::string& b);

struct FolderEntry {
  std::string Name; // as on disk
  bool IsDirectory; // S_ISDIR after following symlinks
  bool IsSymlink;
};

// The entries of a resolved folder, without "." and "..", in FoldedLess order.
// Empty when the folder cannot be read.
std::vector<FolderEntry> ListFolder(const std::string& folder);

} // namespace Ostra::Util::NativePath
