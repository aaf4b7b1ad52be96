#pragma once

#include <string>

namespace Ostra::Util {

// An absolute path split once into the parts readers and the editor need, so that no
// caller splits strings itself. Backslashes are taken as separators. Case is kept as
// given; nothing here touches the disk.
class PathName {
public:
  // The current folder.
  PathName();
  // Throws XAssertion for an empty path or one too long to make absolute.
  PathName(const std::string& path);
  PathName(const char* path);
  // folder's as-folder form + name, then "." + extension unless extension is empty.
  PathName(const PathName& folder, const std::string& name, const std::string& extension);

  PathName& operator=(const std::string& path);

  // The absolute path, without a trailing '/' except for the root.
  const std::string& GetFullPath() const { return FullPath; }
  // The full path with '/' appended (the root stays "/").
  const std::string& GetAsDirectory() const { return AsDirectory; }
  // The file name up to its last dot; empty for ".hidden".
  const std::string& GetBaseName() const { return BaseName; }
  // The file name after its last dot; empty when it has none.
  const std::string& GetExtension() const { return Extension; }
  // The containing folder with a trailing '/'.
  const std::string& GetDirectory() const { return Directory; }
  // The last component.
  const std::string& GetFileName() const { return FileName; }
  // The folder followed by the base name.
  const std::string& GetPathWithoutExtension() const { return PathWithoutExtension; }
  bool IsRoot() const { return Root; }

  bool operator==(const PathName& other) const { return FullPath == other.FullPath; }

private:
  void Split(const std::string& path);

  std::string FullPath;
  std::string AsDirectory;
  std::string BaseName;
  std::string Extension;
  std::string Directory;
  std::string FileName;
  std::string PathWithoutExtension;
  bool Root = false;
};

} // namespace Ostra::Util
