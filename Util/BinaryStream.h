#pragma once

#include <string>

#include "Util/Types.h"

namespace Ostra::Util {

// Every file format is read and written through this interface, whether the bytes
// live on disk, inside an archive or in memory. A stream never reports a short
// transfer by a result: it throws XFileRead, XFileWrite or XFileSeek naming Name().
class BinaryStream {
public:
  virtual ~BinaryStream() = default;
  // Reads exactly byteCount bytes or throws XFileRead.
  virtual void Read(U32 byteCount, void* buffer) = 0;
  // Writes exactly byteCount bytes or throws XFileWrite.
  virtual void Write(U32 byteCount, const void* data) = 0;
  // Throws XFileSeek when the position cannot be had.
  virtual S64 Tell() const = 0;
  // Moves to an absolute position; throws XFileSeek.
  virtual void Seek(S64 position) = 0;
  // Total length in bytes; throws XFileSeek.
  virtual S64 Size() const = 0;
  // Size() first, then Tell().
  virtual bool AtEnd() const {
    const S64 size = Size();
    return Tell() == size;
  }
  // The text error messages use.
  virtual std::string Name() const = 0;

  // Bytes between the position and the end; never negative.
  S64 Remaining() const {
    const S64 size = Size();
    const S64 position = Tell();
    return position < size ? size - position : 0;
  }
};

} // namespace Ostra::Util
