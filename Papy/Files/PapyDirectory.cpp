#include "Papy/Files/PapyDirectory.h"

#include <cerrno>
#include <sys/stat.h>

#include "Util/Exception.h"
#include "Util/NativePath.h"

namespace Ostra::Papy {

namespace {

namespace NativePath = Util::NativePath;

// The texts users have seen for these failures since the folder logic was written
// against Win32; they are kept word for word.
constexpr const char* FullPathFailed = "result != 0 && result < sizeof(buf)";
constexpr const char* NothingToCut = "path_sep[depth] != 0";
constexpr const char* NothingExists = "attributes != 0xFFFFFFFF";
constexpr const char* NotAFolder =
    "attributes != 0xFFFFFFFF && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0";

struct Attributes {
  bool Exists = false;
  bool IsFolder = false;
};

// stat of the lexically normalised path, found case-insensitively.
Attributes GetAttributes(const std::string& absolute) {
  struct stat st {};
  if (::stat(NativePath::ResolveExisting(absolute).c_str(), &st) != 0)
    return {};
  return {true, S_ISDIR(st.st_mode)};
}

std::string FullPath(const std::string& path) {
  const auto absolute = NativePath::MakeAbsolute(path);
  UTIL_ASSERT_TEXT(absolute.has_value(), FullPathFailed);
  return *absolute;
}

// Where the last component of an absolute path starts; npos for the root.
std::size_t LastComponent(const std::string& absolute) {
  if (absolute == "/")
    return std::string::npos;
  return absolute.rfind('/') + 1;
}

// The absolute path without its last component; the parent of /x is /.
std::string CutLast(const std::string& absolute) {
  const std::size_t part = LastComponent(absolute);
  UTIL_ASSERT_TEXT(part != std::string::npos, NothingToCut);
  return part == 1 ? "/" : absolute.substr(0, part - 1);
}

} // namespace

PapyDirectory::PapyDirectory() { Build("."); }

PapyDirectory::PapyDirectory(const std::string& path) { Build(path); }

const std::string& PapyDirectory::GetParent() const {
  UTIL_ASSERT(!Root);
  return Parent;
}

void PapyDirectory::Build(const std::string& path) {
  std::string given = NativePath::ToNative(path);
  if (given.size() > 1 && given.back() == '/')
    given.pop_back();

  std::string buf = FullPath(given);
  Attributes attributes = GetAttributes(buf);

  if (!attributes.Exists) {
    const std::string missing = buf;
    const std::string parent = FullPath(CutLast(missing));
    attributes = GetAttributes(parent);
    if (!attributes.Exists) {
      // The folder is the missing parent when its own parent exists: a new track
      // folder about to be filled.
      attributes = GetAttributes(FullPath(CutLast(parent)));
      UTIL_ASSERT_TEXT(attributes.Exists, NothingExists);
      buf = parent;
    } else if (attributes.IsFolder &&
               missing.find('.', LastComponent(missing)) == std::string::npos) {
      // A missing name without an extension is a folder about to be created.
      buf = missing;
    } else {
      // A missing file in an existing folder (or under a file, which the next step
      // cuts and rejects).
      buf = parent;
    }
  }

  if (!attributes.IsFolder) {
    buf = FullPath(CutLast(buf));
    const Attributes folder = GetAttributes(buf);
    UTIL_ASSERT_TEXT(folder.Exists && folder.IsFolder, NotAFolder);
  }

  const std::size_t part = LastComponent(buf);
  if (part == std::string::npos) {
    Root = true;
    Name = buf;
    Path = buf;
    Parent.clear();
    return;
  }
  Root = false;
  Name = buf.substr(part);
  Path = buf + "/";
  Parent = buf.substr(0, part);
}

void RequireContainingFolder(const std::string& path) {
  std::string given = NativePath::ToNative(path);
  if (given.size() > 1 && given.back() == '/')
    given.pop_back();
  const auto absolute = NativePath::MakeAbsolute(given);
  // A path too long to name anything is left to the constructor's own check.
  if (!absolute || LastComponent(*absolute) == std::string::npos)
    return;
  const Attributes folder = GetAttributes(CutLast(*absolute));
  if (!folder.IsFolder)
    throw Util::XFileOpen(path, Util::SystemErrorText(folder.Exists ? ENOTDIR : ENOENT));
}

} // namespace Ostra::Papy
