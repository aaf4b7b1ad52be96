#pragma once

#include <string>
#include <vector>

#include "Util/BinaryStream.h"

namespace Ostra::Util {

// A growable stream over memory it owns: writing at or past the end extends it.
// Used to build files in memory and to read bytes that were loaded whole.
class MemoryStream : public BinaryStream {
public:
  explicit MemoryStream(const std::string& name, std::vector<unsigned char> bytes = {});

  void Read(U32 byteCount, void* buffer) override;
  void Write(U32 byteCount, const void* data) override;
  S64 Tell() const override;
  // Positions 0 to Size() are accepted.
  void Seek(S64 position) override;
  S64 Size() const override;
  std::string Name() const override;

  const std::vector<unsigned char>& Bytes() const { return Data; }
  std::vector<unsigned char> TakeBytes() { return std::move(Data); }

private:
  std::string StreamName;
  std::vector<unsigned char> Data;
  std::size_t Position = 0;
};

} // namespace Ostra::Util
