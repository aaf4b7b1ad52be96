#pragma once

#include <string>
#include <vector>

#include "Papy/Dat/DatFile.h"
#include "Util/PathName.h"

namespace Ostra::Papy {

// The archive of the GPL, N2 and ICR2 folders: a flat directory of 8.3 names, every
// sub-file stored as it is.
class ICR2DatFile : public DatFile {
public:
  // Opens an existing archive, read-only or writable. Throws XFileOpen, XFileRead for a
  // file shorter than its directory, and XFileFormat naming the archive.
  ICR2DatFile(const std::string& path, bool writable);
  // Creates a new, empty archive; XFileOpen when the file already exists.
  explicit ICR2DatFile(const std::string& path);

  const Util::PathName& GetPathName() const override;
  U32 GetCount() const override;
  std::string GetBaseName(U32 index) const override;
  std::string GetExtension(U32 index) const override;
  // Always empty: the format has no folders.
  std::string GetFolder(U32 index) const override;
  U32 GetSize(U32 index) const override;
  U32 GetStoredSize(U32 index) const override;
  CountedPtr<Util::BinaryStream> OpenSubFile(U32 index) const override;
  CountedPtr<Util::BinaryStream> OpenSubFile(const std::string& name) const override;
  void BuildFromFolder(bool report) override;
  void Write() override;

private:
  struct Entry {
    std::string Name;
    U32 Offset = 0;
    U32 Size = 0;
  };

  const Entry& At(U32 index) const;
  void Read();

  Util::PathName Path;
  CountedPtr<Util::BinaryStream> File;
  std::vector<Entry> Entries;
  bool Writable = false;
};

} // namespace Ostra::Papy
