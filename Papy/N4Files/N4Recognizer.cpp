#include "Papy/N4Files/N4Recognizer.h"

#include <array>

#include "Papy/Dat/N4DatFile.h"
#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4Files/N4FactoryBuilder.h"
#include "Papy/Types/FourCC.h"
#include "Util/BinaryFile.h"
#include "Util/DirectoryListing.h"
#include "Util/Exception.h"
#include "Util/PathName.h"
#include "Util/StreamIO.h"
#include "Util/StringUtil.h"

// Recognition reads only the first bytes of a file, little-endian:
//   archive: S16 negated sub-file count (< 0), U32 directory bytes (not 0), U32 reserved
//            (0), then the first record's type byte (5);
//   3do:     the first object reference, object id 1 and class id 2;
//   rpy:     U32 MakeFourCC('R','P','L','Y') (the bytes "YLPR"), U32 version.
namespace Ostra::Papy {

namespace {

using StreamPtr = CountedPtr<Util::BinaryStream>;

constexpr U32 DatProbeSize = 11;
constexpr std::size_t DatDirectoryBytesAt = 2;
constexpr std::size_t DatReservedAt = 6;
constexpr std::size_t DatFirstRecordTypeAt = 10;
constexpr U8 DatRecordType = 5;
constexpr U32 TdoTopObjectId = 1;
constexpr U32 TdoTopClassId = 2;
constexpr U32 ReplayId = MakeFourCC('R', 'P', 'L', 'Y');
constexpr U32 FirstN4ReplayVersion = 3;
constexpr const char* FolderPatterns = "*.3do|*.ptf|*.rpy";

std::string DatPathOf(const PapyDirectory& dir) { return dir.Path + dir.Name + ".dat"; }

bool Is(const std::string& ext, const char* wanted) {
  return Util::CompareNoCase(ext, wanted) == 0;
}

enum class Answer { Yes, No, Undecided };

// Throws what opening or reading throws; the caller skips such a file.
Answer AnswerOfFile(const Util::FindFileMatch& match) {
  const std::string ext = Util::PathName(match.FullPath).GetExtension();
  if (Is(ext, "ptf"))
    return Answer::Yes;
  const bool tdo = Is(ext, "3do");
  if (!tdo && !Is(ext, "rpy"))
    return Answer::Undecided;
  const StreamPtr file(Util::BinaryFile::OpenRead(match.FullPath));
  const U32 first = Util::ReadU32(*file);
  if (tdo) {
    const U32 second = Util::ReadU32(*file);
    return first == TdoTopObjectId && second == TdoTopClassId ? Answer::Yes : Answer::No;
  }
  if (first != ReplayId)
    return Answer::No;
  return Util::ReadU32(*file) >= FirstN4ReplayVersion ? Answer::Yes : Answer::No;
}

} // namespace

CountedPtr<FileFactory> N4FileFactoryRecognizer::CreateFactory(const PapyDirectory& dir,
                                                                bool writable) {
  // A root has no name to give an archive.
  CountedPtr<DatFile> dat;
  if (!dir.IsRoot() && Util::FileExists(DatPathOf(dir)))
    dat.Reset(new N4DatFile(DatPathOf(dir), writable));
  return BuildN4FileFactory(dir, dat);
}

CountedPtr<FileFactory> N4FileFactoryRecognizer::CreateFactory(const std::string& datPath,
                                                                bool writable) {
  const PapyDirectory dir(datPath);
  return BuildN4FileFactory(dir, CountedPtr<DatFile>(new N4DatFile(datPath, writable)));
}

bool N4FileFactoryRecognizer::IsPossibleDat(const std::string& path) {
  if (!Util::FileExists(path))
    return false;
  try {
    const StreamPtr file(Util::BinaryFile::OpenRead(path));
    std::array<unsigned char, DatProbeSize> header;
    file->Read(DatProbeSize, header.data());
    const S16 count = static_cast<S16>(Util::LoadU16(header.data()));
    return count < 0 && Util::LoadU32(&header[DatDirectoryBytesAt]) != 0 &&
           Util::LoadU32(&header[DatReservedAt]) == 0 &&
           header[DatFirstRecordTypeAt] == DatRecordType;
  } catch (const Util::RuntimeError&) {
    return false;
  }
}

bool N4FileFactoryRecognizer::IsGameDat(const std::string& path) {
  try {
    return IsPossibleDat(path);
  } catch (const Util::RuntimeError&) {
    return false;
  }
}

bool N4FileFactoryRecognizer::IsGameDirectory(const PapyDirectory& dir) {
  if (!dir.IsRoot() && IsGameDat(DatPathOf(dir)))
    return true;
  try {
    const Util::FindFileSequence files(dir.Path.c_str(), FolderPatterns, '|',
                                       Util::FindFileFlags::Files);
    for (const Util::FindFileMatch& match : files) {
      try {
        const Answer answer = AnswerOfFile(match);
        if (answer != Answer::Undecided)
          return answer == Answer::Yes;
      } catch (const Util::RuntimeError&) {
        // A file too short or unreadable tells nothing; the next one may.
      }
    }
  } catch (const Util::RuntimeError&) {
  }
  return false;
}

void RegisterN4Recognizer(FileFactoryRegistry& registry) {
  // N4 is asked after GPL and N2 whatever the caller registered first: a registry
  // holding N4 alone would make it every folder's taker.
  RegisterGameRecognizers(registry);
  // Stateless apart from its flag, so one serves every registry; never destroyed, like
  // the process-wide registry that points at it.
  static N4FileFactoryRecognizer* const n4 = new N4FileFactoryRecognizer(false);
  registry.Register(n4);
  // The object kinds register themselves with their archiver list when it is first
  // built; build it here, at start-up, rather than inside the first read.
  (void)N4ArchiverRegistry::Instance();
}

} // namespace Ostra::Papy
