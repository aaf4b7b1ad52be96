#include "Papy/Dat/ICR2DatFile.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <limits>
#include <vector>

#include "Papy/Dat/DatNames.h"
#include "Papy/Dat/UncompressedSubFile.h"
#include "Papy/Types/ReaderOptions.h"
#include "Util/BinaryFile.h"
#include "Util/DirectoryListing.h"
#include "Util/Exception.h"
#include "Util/SafeSave.h"
#include "Util/StreamIO.h"
#include "Util/StringUtil.h"

// Format notes. Little-endian, nothing aligned:
//   0   S16  count of sub-files, at least 1
//   2   27-byte records, count of them:
//         0 U8 signature 5, 1 U8 method 0 (stored), 2 U32 size, 6 U32 size again,
//         10 char[13] name, NUL-terminated when shorter than 13, 23 U32 offset
//   then the sub-files' bytes at their offsets, from the start of the file.
namespace Ostra::Papy {

namespace {

constexpr U32 CountSize = 2;
constexpr U32 RecordSize = 27;
constexpr U32 NameSize = 13;
constexpr U32 MaxNameLength = 12; // an 8.3 name leaves room for its NUL
constexpr U8 Signature = 5;
constexpr U8 MethodStored = 0;
constexpr std::size_t MaxEntries = std::numeric_limits<S16>::max();

constexpr std::array<const char*, 11> GameExtensions{"3do", "cam", "lyt", "m16", "mip", "pbf",
                                                      "pmp", "srb", "trk", "win", "wav"};
constexpr std::array<const char*, 7> SetupKinds{"bb", "br", "co", "ea", "fe", "lo", "mu"};

bool EqualsNoCase(const std::string& a, const std::string& b) { return Util::CompareNoCase(a, b) == 0; }

// Empty when the file belongs in the archive, else the reason it does not.
std::string ExclusionReason(const std::string& base, const std::string& extension) {
  if (base.size() > 8 || extension.size() > 3)
    return "Name not 8.3";
  for (const char* game : GameExtensions)
    if (EqualsNoCase(extension, game))
      return {};
  if (EqualsNoCase(base, "setup")) {
    if (extension.size() == 3 && extension[2] >= '1' && extension[2] <= '3')
      for (const char* kind : SetupKinds)
        if (EqualsNoCase(extension.substr(0, 2), kind))
          return {};
    return "Unknown setup type";
  }
  return "Unsuitable extension";
}

void WriteRecord(Util::BinaryStream& out, const std::string& name, U32 offset, U32 size) {
  Util::WriteU8(out, Signature);
  Util::WriteU8(out, MethodStored);
  Util::WriteU32(out, size);
  Util::WriteU32(out, size);
  Util::WriteFixedString(out, name, NameSize);
  Util::WriteU32(out, offset);
}

} // namespace

ICR2DatFile::ICR2DatFile(const std::string& path, bool writable) : Path(path), Writable(writable) {
  File.Reset(writable ? Util::BinaryFile::OpenReadWrite(Path.GetFullPath())
                      : Util::BinaryFile::OpenRead(Path.GetFullPath()));
  Read();
}

ICR2DatFile::ICR2DatFile(const std::string& path) : Path(path), Writable(true) {
  File.Reset(Util::BinaryFile::CreateNew(Path.GetFullPath()));
}

void ICR2DatFile::Read() {
  const bool strict = ReaderOptions::Instance().Strict;
  const std::string& archive = Path.GetFullPath();
  Util::BinaryStream& in = *File;
  in.Seek(0);
  const S16 count = Util::ReadS16(in);
  if (count < 1)
    throw Util::XFileFormat(archive, "ICR2 dat file subfile count error");
  // The count alone could ask for room that a short file can never fill.
  Entries.reserve(std::min<std::size_t>(static_cast<std::size_t>(count),
                                        static_cast<std::size_t>(in.Remaining()) / RecordSize));
  for (S16 i = 0; i < count; ++i) {
    std::array<unsigned char, RecordSize> record;
    in.Read(RecordSize, record.data());
    if (record[0] != Signature)
      throw Util::XFileFormat(archive, "ICR2 dat file signature not 5");
    if (record[1] != MethodStored)
      throw Util::XFileFormat(archive, "ICR2 dat file unknown compression method");
    const U32 size = Util::LoadU32(&record[2]);
    if (Util::LoadU32(&record[6]) != size)
      throw Util::XFileFormat(archive, "ICR2 dat file subfile size mismatch");
    const char* name_field = reinterpret_cast<const char*>(&record[10]);
    std::size_t length = 0;
    while (length < NameSize && name_field[length] != '\0')
      ++length;
    if (strict && length > MaxNameLength)
      throw Util::XFileFormat(archive, "ICR2 dat file subfile name not 8.3");
    Entries.push_back({std::string(name_field, length), Util::LoadU32(&record[23]), size});
  }
}

const ICR2DatFile::Entry& ICR2DatFile::At(U32 index) const {
  UTIL_ASSERT(index < Entries.size());
  return Entries[index];
}

const Util::PathName& ICR2DatFile::GetPathName() const { return Path; }

U32 ICR2DatFile::GetCount() const { return static_cast<U32>(Entries.size()); }

std::string ICR2DatFile::GetBaseName(U32 index) const { return DatNames::BaseName(At(index).Name); }

std::string ICR2DatFile::GetExtension(U32 index) const { return DatNames::Extension(At(index).Name); }

std::string ICR2DatFile::GetFolder(U32 index) const {
  At(index);
  return {};
}

U32 ICR2DatFile::GetSize(U32 index) const { return At(index).Size; }

U32 ICR2DatFile::GetStoredSize(U32 index) const { return At(index).Size; }

CountedPtr<Util::BinaryStream> ICR2DatFile::OpenSubFile(U32 index) const {
  const Entry& entry = At(index);
  return CountedPtr<Util::BinaryStream>(new UncompressedSubFile(File, entry.Name, entry.Offset, entry.Size));
}

CountedPtr<Util::BinaryStream> ICR2DatFile::OpenSubFile(const std::string& name) const {
  for (U32 i = 0; i < Entries.size(); ++i)
    if (EqualsNoCase(Entries[i].Name, name))
      return OpenSubFile(i);
  return {};
}

void ICR2DatFile::BuildFromFolder(bool report) {
  Entries.clear();
  std::vector<std::string> included;
  std::vector<std::pair<std::string, std::string>> excluded;
  const Util::DirectoryListing listing(Util::PathName(Path.GetDirectory()));
  for (std::size_t i = 0; i < listing.GetCount(); ++i) {
    if (listing.IsDirectory(i))
      continue;
    const Util::PathName& file = listing.GetEntry(i);
    const std::string reason = ExclusionReason(file.GetBaseName(), file.GetExtension());
    if (reason.empty()) {
      Entries.push_back({file.GetFileName(), 0, 0});
      included.push_back(file.GetFileName());
    } else {
      excluded.emplace_back(file.GetFileName(), reason);
    }
  }
  if (!report)
    return;
  std::cout << "Included files\n\n";
  for (const auto& name : included)
    std::cout << name << '\n';
  std::cout << "\nExcluded files\n\n";
  for (const auto& [name, reason] : excluded)
    std::cout << name << '\t' << reason << '\n';
  std::cout.flush();
}

void ICR2DatFile::Write() {
  const std::string& archive = Path.GetFullPath();
  if (!Writable)
    throw Util::XFileWrite(archive);
  if (Entries.size() > MaxEntries)
    throw Util::XUsage("An ICR2 dat file holds at most 32767 files.");

  std::vector<Entry> written = Entries;
  Util::SaveFileSafely(archive, [&](Util::BinaryStream& out) {
    Util::WriteS16(out, static_cast<S16>(written.size()));
    for (const Entry& entry : written)
      WriteRecord(out, entry.Name, 0, 0);
    std::vector<unsigned char> buffer;
    for (Entry& entry : written) {
      const S64 offset = out.Tell();
      const CountedPtr<Util::BinaryStream> source(
          Util::BinaryFile::OpenRead(Path.GetDirectory() + DatNames::ToDiskPath(entry.Name)));
      const S64 size = source->Size();
      if (offset > std::numeric_limits<U32>::max() || size > std::numeric_limits<U32>::max())
        throw Util::XUsage("An ICR2 dat file holds at most 4 GiB: " + entry.Name + " does not fit.");
      entry.Offset = static_cast<U32>(offset);
      entry.Size = static_cast<U32>(size);
      if (buffer.size() < entry.Size)
        buffer.resize(entry.Size);
      source->Read(entry.Size, buffer.data());
      out.Write(entry.Size, buffer.data());
    }
    out.Seek(CountSize);
    for (const Entry& entry : written)
      WriteRecord(out, entry.Name, entry.Offset, entry.Size);
  });
  Entries = std::move(written);
  // The old stream still reads the file that was replaced.
  File.Reset(Util::BinaryFile::OpenReadWrite(archive));
}

} // namespace Ostra::Papy
