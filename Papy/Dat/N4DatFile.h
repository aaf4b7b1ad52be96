#pragma once

#include <string>
#include <vector>

#include "Papy/Dat/DatFile.h"
#include "Util/PathName.h"

namespace Ostra::Papy {

// The N4 archive: names may carry sub-folder prefixes separated by backslashes, and
// each sub-file is stored as it is or imploded.
class N4DatFile : public DatFile {
public:
  // Opens an existing archive, read-only or writable. Throws XFileOpen, XFileRead for a
  // file shorter than its directory, and XFileFormat naming the archive.
  N4DatFile(const std::string& path, bool writable);
  // Creates a new, empty archive; XFileOpen when the file already exists.
  explicit N4DatFile(const std::string& path);

  const Util::PathName& GetPathName() const override;
  U32 GetCount() const override;
  std::string GetBaseName(U32 index) const override;
  std::string GetExtension(U32 index) const override;
  std::string GetFolder(U32 index) const override;
  U32 GetSize(U32 index) const override;
  U32 GetStoredSize(U32 index) const override;
  CountedPtr<Util::BinaryStream> OpenSubFile(U32 index) const override;
  CountedPtr<Util::BinaryStream> OpenSubFile(const std::string& name) const override;
  void BuildFromFolder(bool report) override;
  void Write() override;

private:
  struct Entry {
    U8 Method = 0;
    U32 Size = 0;
    U32 StoredSize = 0;
    U32 Offset = 0;
    std::string Name;
  };

  const Entry& At(U32 index) const;
  void Read();
  void AddFolder(const std::string& folder, const std::string& prefix);

  Util::PathName Path;
  CountedPtr<Util::BinaryStream> File;
  std::vector<Entry> Entries;
  bool Writable = false;
};

} // namespace Ostra::Papy
