#pragma once

#include <memory>
#include <string>

#include "Util/BinaryStream.h"
#include "Util/CharBuffer.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {

// An imploded sub-file, expanded into memory when it is opened and read-only from then
// on. It reads the archive only while it is constructed and keeps no share of it.
class CompressedSubFile : public Util::BinaryStream {
public:
  // Expands the stored bytes at once. A failing seek or read of the archive comes out
  // unchanged, naming the archive, as does stored data reaching past the archive's
  // end (XFileRead). XFileFormat naming the sub-file: a size beyond what the stored
  // bytes can expand to, damaged data, or fewer bytes than size. A size of 0 reads
  // nothing. Bytes beyond size are dropped.
  CompressedSubFile(const CountedPtr<Util::BinaryStream>& parent, const std::string& name, S64 offset,
                    U32 storedSize, U32 size);

  void Read(U32 byteCount, void* buffer) override;
  // Always XFileWrite(name): nothing is written back to the archive.
  void Write(U32 byteCount, const void* data) override;
  S64 Tell() const override;
  void Seek(S64 position) override;
  S64 Size() const override;
  bool AtEnd() const override;
  std::string Name() const override;

private:
  std::unique_ptr<char[]> Data;
  Util::CharBuffer Buffer;
};

} // namespace Ostra::Papy
