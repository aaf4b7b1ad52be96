#pragma once

#include <string>

#include "Util/BinaryStream.h"

namespace Ostra::Util {

// A stream over a fixed block of memory that it neither owns nor grows. A failed
// Read or Write leaves the position unchanged.
class CharBuffer : public BinaryStream {
public:
  // Writable form over size bytes at data.
  CharBuffer(const std::string& name, U32 size, char* data);
  // Read-only form over no memory until SetBuffer.
  explicit CharBuffer(const std::string& name);

  // Points the stream at new memory, position 0; the read-only flag stays.
  void SetBuffer(U32 size, char* data);

  void Read(U32 byteCount, void* buffer) override;
  void Write(U32 byteCount, const void* data) override;
  S64 Tell() const override;
  void Seek(S64 position) override;
  S64 Size() const override;
  bool AtEnd() const override;
  std::string Name() const override;

private:
  bool ReadOnly;
  std::string BufferName;
  char* Begin = nullptr;
  char* Cursor = nullptr;
  U32 BufferSize = 0;
  U32 Position = 0;
};

} // namespace Ostra::Util
