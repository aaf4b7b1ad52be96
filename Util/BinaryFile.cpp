#include "Util/BinaryFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Util/Exception.h"
#include "Util/NativePath.h"

namespace Ostra::Util {

struct BinaryFile::Record {
  int Handle = -1;
  std::string Path;
};

BinaryFile::BinaryFile(const std::string& path, Mode mode) : File(std::make_unique<Record>()) {
  const auto absolute = NativePath::MakeAbsolute(path);
  if (!absolute)
    throw XFileOpen(path, "");
  File->Path = *absolute;

  const bool creating = mode == Mode::CreateNew || mode == Mode::CreateAlways;
  const std::string resolved =
      creating ? NativePath::ResolveForCreate(*absolute) : NativePath::ResolveExisting(*absolute);
  if (mode == Mode::CreateNew && resolved != *absolute)
    throw XFileOpen(File->Path, SystemErrorText(EEXIST)); // a case-variant exists

  // O_NONBLOCK keeps a FIFO from blocking the open; it is cleared once the file is
  // known to be regular.
  int flags = 0;
  switch (mode) {
  case Mode::Read:
    flags = O_RDONLY;
    break;
  case Mode::ReadWrite:
    flags = O_RDWR;
    break;
  case Mode::CreateNew:
    flags = O_RDWR | O_CREAT | O_EXCL;
    break;
  case Mode::CreateAlways:
    flags = O_RDWR | O_CREAT | O_TRUNC;
    break;
  }
  const int handle = ::open(resolved.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
  if (handle < 0)
    throw XFileOpen(File->Path, SystemErrorText(errno));
  struct stat st {};
  if (::fstat(handle, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int error = S_ISDIR(st.st_mode) ? EISDIR : 0;
    ::close(handle);
    throw XFileOpen(File->Path, error ? SystemErrorText(error) : "Not a regular file");
  }
  ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK);
  File->Handle = handle;
}

BinaryFile::BinaryFile(int handle, const std::string& name) : File(std::make_unique<Record>()) {
  File->Handle = handle;
  File->Path = name;
}

BinaryFile::~BinaryFile() {
  if (File && File->Handle >= 0)
    ::close(File->Handle);
}

BinaryFile* BinaryFile::OpenRead(const std::string& path) { return new BinaryFile(path, Mode::Read); }
BinaryFile* BinaryFile::OpenReadWrite(const std::string& path) {
  return new BinaryFile(path, Mode::ReadWrite);
}
BinaryFile* BinaryFile::CreateNew(const std::string& path) {
  return new BinaryFile(path, Mode::CreateNew);
}
BinaryFile* BinaryFile::CreateAlways(const std::string& path) {
  return new BinaryFile(path, Mode::CreateAlways);
}

void BinaryFile::Read(U32 byteCount, void* buffer) {
  auto* out = static_cast<char*>(buffer);
  for (U32 done = 0; done < byteCount;) {
    const ssize_t n = ::read(File->Handle, out + done, byteCount - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      throw XFileRead(File->Path);
    done += static_cast<U32>(n);
  }
}

void BinaryFile::Write(U32 byteCount, const void* data) {
  const auto* in = static_cast<const char*>(data);
  for (U32 done = 0; done < byteCount;) {
    const ssize_t n = ::write(File->Handle, in + done, byteCount - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      throw XFileWrite(File->Path, n < 0 ? SystemErrorText(errno) : std::string());
    done += static_cast<U32>(n);
  }
}

S64 BinaryFile::Tell() const {
  const off_t position = ::lseek(File->Handle, 0, SEEK_CUR);
  if (position < 0)
    throw XFileSeek(File->Path);
  return position;
}

void BinaryFile::Seek(S64 position) {
  if (position < 0 || ::lseek(File->Handle, position, SEEK_SET) < 0)
    throw XFileSeek(File->Path);
}

S64 BinaryFile::Size() const {
  struct stat st {};
  if (::fstat(File->Handle, &st) != 0)
    throw XFileSeek(File->Path);
  return st.st_size;
}

std::string BinaryFile::Name() const { return File->Path; }

void BinaryFile::Truncate() {
  if (::ftruncate(File->Handle, Tell()) != 0)
    throw XFileWrite(File->Path, SystemErrorText(errno));
}

void BinaryFile::Flush() {
  // A full disk may show only here, when the written bytes reach it.
  if (::fsync(File->Handle) != 0)
    throw XFileWrite(File->Path, SystemErrorText(errno));
}

bool FileExists(const std::string& path) {
  const auto absolute = NativePath::MakeAbsolute(path);
  return absolute && NativePath::IsRegularFile(*absolute);
}

} // namespace Ostra::Util
