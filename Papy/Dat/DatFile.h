#pragma once

#include <string>

#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Util {
class BinaryStream;
class PathName;
} // namespace Ostra::Util

namespace Ostra::Papy {

// A game archive: a directory of named sub-files followed by their bytes. Sub-file
// indices run from 0 to GetCount() - 1; an index outside that range is a caller bug
// and fails an assertion.
class DatFile {
public:
  virtual ~DatFile() = default;

  // The absolute path the archive was opened or created with.
  virtual const Util::PathName& GetPathName() const = 0;
  virtual U32 GetCount() const = 0;
  // The stored name's last component without its extension.
  virtual std::string GetBaseName(U32 index) const = 0;
  // What follows the last dot of the stored name's last component; empty when none.
  virtual std::string GetExtension(U32 index) const = 0;
  // The stored name before its last backslash; empty when the name has no folder.
  virtual std::string GetFolder(U32 index) const = 0;
  // The sub-file's length once expanded.
  virtual U32 GetSize(U32 index) const = 0;
  // The bytes the sub-file occupies in the archive.
  virtual U32 GetStoredSize(U32 index) const = 0;

  // A new stream with its own position on every call. It keeps the archive file open
  // for as long as it lives, even after the DatFile is gone. Its errors name the
  // sub-file. A compressed sub-file is expanded here: XFileRead naming the archive when
  // its bytes lie beyond the archive's end, XFileFormat naming the sub-file when they
  // are damaged.
  virtual CountedPtr<Util::BinaryStream> OpenSubFile(U32 index) const = 0;
  // The first sub-file whose whole stored name (folder prefix included) equals name,
  // ignoring case; a null pointer when there is none.
  virtual CountedPtr<Util::BinaryStream> OpenSubFile(const std::string& name) const = 0;

  // Replaces the directory with the game files found beside the archive; with report,
  // tells on standard output what was taken.
  virtual void BuildFromFolder(bool report) = 0;
  // Writes the directory and the files it names (read from beside the archive) to the
  // archive file, replacing it whole. Throws XUsage, before writing anything, for what
  // the format cannot hold; XFileOpen for a missing source.
  virtual void Write() = 0;
};

} // namespace Ostra::Papy
