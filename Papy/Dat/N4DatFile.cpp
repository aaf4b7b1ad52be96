#include "Papy/Dat/N4DatFile.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <limits>
#include <vector>

#include "Papy/Dat/CompressedSubFile.h"
#include "Papy/Dat/Compression/PkCompression.h"
#include "Papy/Dat/DatNames.h"
#include "Papy/Dat/UncompressedSubFile.h"
#include "Util/BinaryFile.h"
#include "Util/CharBuffer.h"
#include "Util/DirectoryListing.h"
#include "Util/Exception.h"
#include "Util/SafeSave.h"
#include "Util/StreamIO.h"
#include "Util/StringUtil.h"

// Format notes. Little-endian, nothing aligned:
//   0   S16  count of sub-files, negated
//   2   U32  directory bytes that follow the header
//   6   U32  reserved, 0
//   10  records filling the directory bytes, 16 + k bytes each:
//         0 U8 type 5, 1 U8 method (0 stored, 2 imploded), 2 U32 size once expanded,
//         6 U32 stored size (the size for method 0), 10 U32 offset from the start of
//         the file, 14 U8 name length k, 15 k characters and a NUL; sub-folders in the
//         name are separated by backslashes
//   then the stored bytes; an imploded sub-file is one whole implode stream.
namespace Ostra::Papy {

namespace {

constexpr U32 HeaderSize = 10;
constexpr U32 RecordFixedSize = 15;
constexpr U8 RecordType = 5;
constexpr U8 MethodStored = 0;
constexpr U8 MethodImploded = 2;
constexpr std::size_t MaxEntries = std::numeric_limits<S16>::max();
constexpr std::size_t MaxNameLength = std::numeric_limits<U8>::max();

constexpr std::array<const char*, 15> GameExtensions{"3do", "bff", "cam", "ces", "ini", "lyt", "mip", "ogg",
                                                      "pmf", "ptf", "rx",  "stp", "txt", "wav", "win"};
constexpr std::array<const char*, 3> StoredExtensions{"bff", "mip", "stp"};
constexpr std::array<const char*, 3> ExcludedNames{"track.ini", "trklogo.stp", "trkshot.stp"};
constexpr std::array<const char*, 5> GameFolders{"art", "bkgrnds", "stamps", "trackmat", "widgets"};

template <std::size_t N>
bool Contains(const std::array<const char*, N>& list, const std::string& lower) {
  return std::find_if(list.begin(), list.end(), [&](const char* item) { return lower == item; }) != list.end();
}

// The binary-mode worst case: every byte a 9-bit literal, plus the header and the
// 16-bit end code.
U64 MaxImplodedSize(U64 size) { return 2 + (9 * size + 16 + 7) / 8; }

} // namespace

N4DatFile::N4DatFile(const std::string& path, bool writable) : Path(path), Writable(writable) {
  File.Reset(writable ? Util::BinaryFile::OpenReadWrite(Path.GetFullPath())
                      : Util::BinaryFile::OpenRead(Path.GetFullPath()));
  Read();
}

N4DatFile::N4DatFile(const std::string& path) : Path(path), Writable(true) {
  File.Reset(Util::BinaryFile::CreateNew(Path.GetFullPath()));
}

void N4DatFile::Read() {
  const std::string& archive = Path.GetFullPath();
  Util::BinaryStream& in = *File;
  in.Seek(0);
  const S16 count = Util::ReadS16(in);
  const U32 directory_bytes = Util::ReadU32(in);
  if (Util::ReadU32(in) != 0)
    throw Util::XFileFormat(archive, "N4 dat file reserved not zero");

  // ReadBytes checks the length against the file before allocating.
  std::vector<unsigned char> directory = Util::ReadBytes(in, directory_bytes);
  Util::CharBuffer records(archive, directory_bytes, reinterpret_cast<char*>(directory.data()));
  while (records.Tell() < directory_bytes) {
    std::array<unsigned char, RecordFixedSize> record;
    records.Read(RecordFixedSize, record.data());
    if (record[0] != RecordType)
      throw Util::XFileFormat(archive, "N4 dat file subfile type error");
    const U8 method = record[1];
    if (method != MethodStored && method != MethodImploded)
      throw Util::XFileFormat(archive, "N4 dat file unknown compression method");
    const U32 size = Util::LoadU32(&record[2]);
    const U32 stored_size = Util::LoadU32(&record[6]);
    if (method == MethodStored && stored_size != size)
      throw Util::XFileFormat(archive, "N4 dat file compressed size error");
    const U32 name_length = record[14];
    std::array<char, MaxNameLength + 1> name_field;
    records.Read(name_length + 1, name_field.data());
    const std::size_t length = std::find(name_field.begin(), name_field.begin() + name_length, '\0') -
                               name_field.begin();
    Entries.push_back({method, size, stored_size, Util::LoadU32(&record[10]),
                       std::string(name_field.data(), length)});
  }
  if (static_cast<int>(Entries.size()) != -static_cast<int>(count))
    throw Util::XFileFormat(archive, "N4 dat file subfile count mismatch");
}

const N4DatFile::Entry& N4DatFile::At(U32 index) const {
  UTIL_ASSERT(index < Entries.size());
  return Entries[index];
}

const Util::PathName& N4DatFile::GetPathName() const { return Path; }

U32 N4DatFile::GetCount() const { return static_cast<U32>(Entries.size()); }

std::string N4DatFile::GetBaseName(U32 index) const { return DatNames::BaseName(At(index).Name); }

std::string N4DatFile::GetExtension(U32 index) const { return DatNames::Extension(At(index).Name); }

std::string N4DatFile::GetFolder(U32 index) const { return DatNames::Folder(At(index).Name); }

U32 N4DatFile::GetSize(U32 index) const { return At(index).Size; }

U32 N4DatFile::GetStoredSize(U32 index) const { return At(index).StoredSize; }

CountedPtr<Util::BinaryStream> N4DatFile::OpenSubFile(U32 index) const {
  const Entry& entry = At(index);
  switch (entry.Method) {
  case MethodStored:
    return CountedPtr<Util::BinaryStream>(
        new UncompressedSubFile(File, entry.Name, entry.Offset, entry.StoredSize));
  case MethodImploded:
    return CountedPtr<Util::BinaryStream>(
        new CompressedSubFile(File, entry.Name, entry.Offset, entry.StoredSize, entry.Size));
  default:
    // The reader admits no other method.
    UTIL_ASSERT(false);
  }
}

CountedPtr<Util::BinaryStream> N4DatFile::OpenSubFile(const std::string& name) const {
  for (U32 i = 0; i < Entries.size(); ++i)
    if (Util::CompareNoCase(Entries[i].Name, name) == 0)
      return OpenSubFile(i);
  return {};
}

void N4DatFile::AddFolder(const std::string& folder, const std::string& prefix) {
  const Util::DirectoryListing listing{Util::PathName(folder)};
  for (std::size_t i = 0; i < listing.GetCount(); ++i) {
    const Util::PathName& entry = listing.GetEntry(i);
    if (listing.IsDirectory(i)) {
      if (Contains(GameFolders, Util::ToLower(entry.GetFileName())))
        AddFolder(entry.GetFullPath(), prefix + entry.GetFileName() + "\\");
      continue;
    }
    const std::string extension = Util::ToLower(entry.GetExtension());
    if (!Contains(GameExtensions, extension) || Contains(ExcludedNames, Util::ToLower(entry.GetFileName())))
      continue;
    const U8 method = Contains(StoredExtensions, extension) ? MethodStored : MethodImploded;
    Entries.push_back({method, 0, 0, 0, prefix + entry.GetFileName()});
  }
}

void N4DatFile::BuildFromFolder(bool report) {
  Entries.clear();
  AddFolder(Path.GetDirectory(), "");
  if (report) {
    std::cout << "N4 Dat file created\n";
    std::cout.flush();
  }
}

void N4DatFile::Write() {
  const std::string& archive = Path.GetFullPath();
  if (!Writable)
    throw Util::XFileWrite(archive);
  if (Entries.size() > MaxEntries)
    throw Util::XUsage("An N4 dat file holds at most 32767 files.");
  for (const Entry& entry : Entries)
    if (entry.Name.size() > MaxNameLength)
      throw Util::XUsage("An N4 dat file holds names of at most 255 characters: " + entry.Name);

  auto write_header = [](Util::BinaryStream& out, std::size_t count, U32 directory_bytes) {
    Util::WriteS16(out, static_cast<S16>(-static_cast<int>(count)));
    Util::WriteU32(out, directory_bytes);
    Util::WriteU32(out, 0);
  };
  auto write_record = [](Util::BinaryStream& out, const Entry& entry, U32 offset) {
    Util::WriteU8(out, RecordType);
    Util::WriteU8(out, entry.Method);
    Util::WriteU32(out, entry.Size);
    Util::WriteU32(out, entry.StoredSize);
    Util::WriteU32(out, offset);
    Util::WriteU8(out, static_cast<U8>(entry.Name.size()));
    Util::WriteFixedString(out, entry.Name, static_cast<U32>(entry.Name.size() + 1));
  };

  std::vector<Entry> written = Entries;
  Util::SaveFileSafely(archive, [&](Util::BinaryStream& out) {
    write_header(out, written.size(), 0);
    for (const Entry& entry : written)
      write_record(out, entry, 0);
    const U32 directory_bytes = static_cast<U32>(out.Tell() - HeaderSize);

    std::vector<unsigned char> input;
    std::vector<unsigned char> output;
    for (Entry& entry : written) {
      const S64 offset = out.Tell();
      const CountedPtr<Util::BinaryStream> source(
          Util::BinaryFile::OpenRead(Path.GetDirectory() + DatNames::ToDiskPath(entry.Name)));
      const S64 size = source->Size();
      const U64 largest = entry.Method == MethodStored ? static_cast<U64>(size) : MaxImplodedSize(static_cast<U64>(size));
      if (offset > std::numeric_limits<U32>::max() || largest > std::numeric_limits<U32>::max())
        throw Util::XUsage("An N4 dat file holds at most 4 GiB: " + entry.Name + " does not fit.");
      entry.Offset = static_cast<U32>(offset);
      entry.Size = static_cast<U32>(size);
      if (input.size() < entry.Size)
        input.resize(entry.Size);
      source->Read(entry.Size, input.data());
      // An empty file imploded would be a stream too short to be read back.
      if (entry.Size == 0)
        entry.Method = MethodStored;
      if (entry.Method == MethodStored) {
        entry.StoredSize = entry.Size;
        out.Write(entry.Size, input.data());
      } else {
        if (output.size() < largest)
          output.resize(static_cast<std::size_t>(largest));
        entry.StoredSize =
            PkCompression::Compress(input.data(), entry.Size, output.data(), static_cast<U32>(largest));
        out.Write(entry.StoredSize, output.data());
      }
    }
    out.Seek(0);
    write_header(out, written.size(), directory_bytes);
    for (const Entry& entry : written)
      write_record(out, entry, entry.Offset);
  });
  Entries = std::move(written);
  // The old stream still reads the file that was replaced.
  File.Reset(Util::BinaryFile::OpenReadWrite(archive));
}

} // namespace Ostra::Papy
