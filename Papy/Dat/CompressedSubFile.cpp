#include "Papy/Dat/CompressedSubFile.h"

#include <vector>

#include "Papy/Dat/Compression/Implode.h"
#include "Papy/Dat/Compression/MemoryTransfer.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

// The most one stored byte can expand to: a 22-bit token (dictionary 1024, distance
// code of 2 bits) yields 518 bytes.
constexpr U64 MaxExpansion = 189;

} // namespace

CompressedSubFile::CompressedSubFile(const CountedPtr<Util::BinaryStream>& parent, const std::string& name,
                                     S64 offset, U32 storedSize, U32 size)
    : Buffer(name) {
  // Nothing to expand; an empty input is stored as a 4-byte stream that the decoder
  // refuses.
  if (size == 0)
    return;
  if (offset < 0 || offset > parent->Size() || storedSize > parent->Size() - offset)
    throw Util::XFileRead(parent->Name());
  if (size > MaxExpansion * storedSize)
    throw Util::XFileFormat(name, "Compressed sub-file size is more than its stored bytes can hold");

  parent->Seek(offset);
  const std::vector<unsigned char> stored = Util::ReadBytes(*parent, storedSize);
  Data.reset(new char[size]);
  Dcl::MemoryTransfer dp{stored.data(), storedSize, reinterpret_cast<unsigned char*>(Data.get()), size};
  char work[Dcl::ExplodeWorkSize];
  const int result = Dcl::explode(Dcl::ReadMemory, Dcl::WriteMemory, work, &dp);
  if (result != Dcl::CMP_NO_ERROR || dp.InBytesRemaining != 0)
    throw Util::XFileFormat(name, "Compressed sub-file data is damaged");
  if (dp.OutBytesRemaining != 0)
    throw Util::XFileFormat(name, "Compressed sub-file expands to fewer bytes than its size");
  Buffer.SetBuffer(size, Data.get());
}

void CompressedSubFile::Read(U32 byteCount, void* buffer) { Buffer.Read(byteCount, buffer); }

void CompressedSubFile::Write(U32, const void*) { throw Util::XFileWrite(Buffer.Name()); }

S64 CompressedSubFile::Tell() const { return Buffer.Tell(); }

void CompressedSubFile::Seek(S64 position) { Buffer.Seek(position); }

S64 CompressedSubFile::Size() const { return Buffer.Size(); }

bool CompressedSubFile::AtEnd() const { return Buffer.AtEnd(); }

std::string CompressedSubFile::Name() const { return Buffer.Name(); }

} // namespace Ostra::Papy
