#include "Util/PathName.h"

#include "Util/Exception.h"
#include "Util/NativePath.h"

namespace Ostra::Util {

PathName::PathName() { Split("."); }

PathName::PathName(const std::string& path) { Split(path); }

PathName::PathName(const char* path) { Split(path ? path : ""); }

PathName::PathName(const PathName& folder, const std::string& name, const std::string& extension) {
  std::string path = folder.GetAsDirectory() + name;
  if (!extension.empty())
    path += "." + extension;
  Split(path);
}

PathName& PathName::operator=(const std::string& path) {
  Split(path);
  return *this;
}

void PathName::Split(const std::string& path) {
  std::string trimmed = NativePath::ToNative(path);
  if (!trimmed.empty() && trimmed.back() == '/' && trimmed != "/")
    trimmed.pop_back();
  const auto absolute = NativePath::MakeAbsolute(trimmed);
  UTIL_ASSERT_TEXT(absolute.has_value(), "result != 0 && result < sizeof(buf)");

  FullPath = *absolute;
  if (FullPath == "/") {
    AsDirectory = BaseName = FileName = PathWithoutExtension = FullPath;
    Extension.clear();
    Directory.clear();
    Root = true;
    return;
  }
  const std::size_t slash = FullPath.rfind('/');
  FileName = FullPath.substr(slash + 1);
  Directory = FullPath.substr(0, slash + 1);
  AsDirectory = FullPath + "/";
  const std::size_t dot = FileName.rfind('.');
  if (dot == std::string::npos) {
    BaseName = FileName;
    Extension.clear();
  } else {
    BaseName = FileName.substr(0, dot);
    Extension = FileName.substr(dot + 1);
  }
  PathWithoutExtension = Directory + BaseName;
  Root = false;
}

} // namespace Ostra::Util
