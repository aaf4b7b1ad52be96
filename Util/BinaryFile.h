#pragma once

#include <memory>
#include <string>

#include "Util/BinaryStream.h"

namespace Ostra::Util {

// A disk file as a byte stream, open from construction to destruction. Names are
// resolved case-insensitively when the exact name is missing. Only regular files
// open: a folder, FIFO or device gives XFileOpen.
class BinaryFile : public BinaryStream {
public:
  ~BinaryFile() override;
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  // Each factory throws XFileOpen: with the path as passed and an empty message when
  // it cannot be made absolute, else with the absolute path and the system's text.
  // The result is a new object for the caller to wrap in a CountedPtr.
  static BinaryFile* OpenRead(const std::string& path);
  static BinaryFile* OpenReadWrite(const std::string& path);
  // Fails when the file (or a case-variant of it) exists.
  static BinaryFile* CreateNew(const std::string& path);
  // Creates the file or empties it. User files are saved through SaveFileSafely
  // instead, so that a failed save cannot destroy them.
  static BinaryFile* CreateAlways(const std::string& path);

  void Read(U32 byteCount, void* buffer) override;
  void Write(U32 byteCount, const void* data) override;
  S64 Tell() const override;
  void Seek(S64 position) override;
  S64 Size() const override;
  std::string Name() const override;

  // Ends the file at the current position; throws XFileWrite.
  virtual void Truncate();
  // Forces the written bytes to disk; throws XFileWrite.
  void Flush();

private:
  friend class SafeSaveAccess;
  struct Record;
  enum class Mode { Read, ReadWrite, CreateNew, CreateAlways };

  BinaryFile(const std::string& path, Mode mode);
  BinaryFile(int handle, const std::string& name);

  std::unique_ptr<Record> File;
};

// True when the path names an existing regular file (a folder, FIFO or device is not).
bool FileExists(const std::string& path);

} // namespace Ostra::Util
