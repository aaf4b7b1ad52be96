#pragma once

#include <string>

#include "Util/BinaryStream.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {

// A window on the archive's own stream, which it shares with the archive and every
// other open sub-file: each transfer first places the shared stream itself. Errors
// name the sub-file, never the archive.
class UncompressedSubFile : public Util::BinaryStream {
public:
  // Touches no stream.
  UncompressedSubFile(const CountedPtr<Util::BinaryStream>& parent, const std::string& name, S64 offset,
                      S64 size);

  // XFileRead(name) when the read would cross the sub-file's end; nothing is read then.
  void Read(U32 byteCount, void* buffer) override;
  // Overwrites the archive's bytes in place; XFileWrite(name) past the end or when the
  // archive is read-only.
  void Write(U32 byteCount, const void* data) override;
  S64 Tell() const override;
  // Positions 0 to Size() are accepted; XFileSeek(name) otherwise.
  void Seek(S64 position) override;
  S64 Size() const override;
  bool AtEnd() const override;
  std::string Name() const override;

private:
  CountedPtr<Util::BinaryStream> Parent;
  std::string SubFileName;
  S64 SubFileSize;
  S64 Offset;
  S64 Position = 0;
};

} // namespace Ostra::Papy
