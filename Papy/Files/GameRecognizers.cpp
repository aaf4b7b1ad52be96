#include "Papy/Files/GameRecognizers.h"

#include "Papy/Dat/ICR2DatFile.h"
#include "Papy/Files/FactoryBuilders.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Types/FourCC.h"
#include "Util/BinaryFile.h"
#include "Util/DirectoryListing.h"
#include "Util/Exception.h"
#include "Util/PathName.h"
#include "Util/StreamIO.h"
#include "Util/StringUtil.h"

// Recognition reads only the first words of a file. Ids are little-endian words
// compared with MakeFourCC, so a GPL TRK file starts with the bytes 'K','A','R','T'.
// The first file (or archive sub-file) with a decisive extension decides, even when
// its answer is no; a file that cannot be opened or is too short is skipped.
namespace Ostra::Papy {

namespace {

using StreamPtr = CountedPtr<Util::BinaryStream>;

constexpr U32 TrakId = MakeFourCC('T', 'R', 'A', 'K');
constexpr U32 Gpl3doId = MakeFourCC('3', 'D', 'O', '4');
constexpr U32 N23doId = MakeFourCC('3', 'D', 'O', '3');
constexpr U32 ReplayId = MakeFourCC('R', 'P', 'L', 'Y');
constexpr U32 GplTrkVersion = 3000;
constexpr U32 Icr2TrkType = 1;
constexpr U32 GplReplayVersionLimit = 3;
constexpr U32 GplLytId = 6;
constexpr U32 GplLytVersion = 809;
// The first directory record of an ICR2-format archive starts with signature 5 and
// method 0, read together as one word.
constexpr U16 Icr2DatRecordStart = 5;
constexpr U32 RplHeaderSize = 16;

// Which extensions decide for a game, and the answer of a file with one of them.
struct GameRules {
  bool (*Decides)(const std::string& ext);
  bool (*Answer)(const std::string& ext, Util::BinaryStream& stream);
};

bool Is(const std::string& ext, const char* wanted) {
  return Util::CompareNoCase(ext, wanted) == 0;
}

std::string DatPathOf(const PapyDirectory& dir) { return dir.Path + dir.Name + ".dat"; }

// An i16 count above 0 and the first record's signature and method.
bool LooksLikeIcr2Dat(const std::string& path) {
  if (!Util::FileExists(path))
    return false;
  try {
    const StreamPtr file(Util::BinaryFile::OpenRead(path));
    const S16 count = Util::ReadS16(*file);
    const U16 record_start = Util::ReadU16(*file);
    return count > 0 && record_start == Icr2DatRecordStart;
  } catch (const Util::RuntimeError&) {
    return false;
  }
}

bool DatHasGameSubFile(const std::string& path, const GameRules& rules) {
  try {
    const ICR2DatFile dat(path, false);
    for (U32 i = 0; i < dat.GetCount(); ++i) {
      const std::string ext = dat.GetExtension(i);
      if (!rules.Decides(ext))
        continue;
      try {
        const StreamPtr sub_file = dat.OpenSubFile(i);
        return rules.Answer(ext, *sub_file);
      } catch (const Util::RuntimeError&) {
        // An unreadable sub-file tells nothing; the next one may.
      }
    }
  } catch (const Util::RuntimeError&) {
  }
  return false;
}

bool FolderHasGameFile(const PapyDirectory& dir, const char* patterns, const GameRules& rules) {
  try {
    const Util::FindFileSequence files(dir.Path.c_str(), patterns, '|', Util::FindFileFlags::Files);
    for (const Util::FindFileMatch& match : files) {
      const std::string ext = Util::PathName(match.FullPath).GetExtension();
      if (!rules.Decides(ext))
        continue;
      try {
        const StreamPtr file(Util::BinaryFile::OpenRead(match.FullPath));
        return rules.Answer(ext, *file);
      } catch (const Util::RuntimeError&) {
      }
    }
  } catch (const Util::RuntimeError&) {
  }
  return false;
}

// The second word is read only once the first matched: a short file with the wrong
// id decides "no" rather than being skipped.
bool GplAnswer(const std::string& ext, Util::BinaryStream& stream) {
  if (Is(ext, "3do"))
    return Util::ReadU32(stream) == Gpl3doId;
  if (Is(ext, "lyt"))
    return Util::ReadU32(stream) == GplLytId && Util::ReadU32(stream) == GplLytVersion;
  if (Is(ext, "trk"))
    return Util::ReadU32(stream) == TrakId && Util::ReadU32(stream) == GplTrkVersion;
  return Util::ReadU32(stream) == ReplayId && Util::ReadU32(stream) < GplReplayVersionLimit;
}

bool N2Answer(const std::string& ext, Util::BinaryStream& stream) {
  if (Is(ext, "3do"))
    return Util::ReadU32(stream) == N23doId;
  if (Is(ext, "trk"))
    return Util::ReadU32(stream) == TrakId && Util::ReadU32(stream) == Icr2TrkType;
  // The replay header is read whole: a file shorter than it is skipped. The sum wraps
  // like the game's own 32-bit arithmetic.
  unsigned char header[RplHeaderSize];
  stream.Read(RplHeaderSize, header);
  const U32 expected = Util::LoadU32(header) + Util::LoadU32(header + 4) + RplHeaderSize;
  return static_cast<U64>(expected) == static_cast<U64>(stream.Size());
}

const GameRules GplSubFiles{[](const std::string& ext) { return Is(ext, "3do") || Is(ext, "lyt"); },
                            GplAnswer};
const GameRules GplFiles{
    [](const std::string& ext) { return Is(ext, "3do") || Is(ext, "trk") || Is(ext, "rpy"); },
    GplAnswer};
const GameRules N2SubFiles{[](const std::string& ext) { return Is(ext, "3do"); }, N2Answer};
const GameRules N2Files{
    [](const std::string& ext) { return Is(ext, "3do") || Is(ext, "trk") || Is(ext, "rpl"); },
    N2Answer};

// No archive is looked for at the root: a root has no folder name to give it.
CountedPtr<DatFile> OpenFolderDat(const PapyDirectory& dir, bool writable) {
  if (dir.IsRoot() || !Util::FileExists(DatPathOf(dir)))
    return {};
  return CountedPtr<DatFile>(new ICR2DatFile(DatPathOf(dir), writable));
}

} // namespace

CountedPtr<FileFactory> GPLFileFactoryRecognizer::CreateFactory(const PapyDirectory& dir,
                                                                bool writable) {
  return BuildGPLFileFactory(dir, OpenFolderDat(dir, writable));
}

CountedPtr<FileFactory> GPLFileFactoryRecognizer::CreateFactory(const std::string& datPath,
                                                                bool writable) {
  const PapyDirectory dir(datPath);
  return BuildGPLFileFactory(dir, CountedPtr<DatFile>(new ICR2DatFile(datPath, writable)));
}

bool GPLFileFactoryRecognizer::IsPossibleDat(const std::string& path) {
  return LooksLikeIcr2Dat(path);
}

bool GPLFileFactoryRecognizer::IsGameDat(const std::string& path) {
  return IsPossibleDat(path) && DatHasGameSubFile(path, GplSubFiles);
}

bool GPLFileFactoryRecognizer::IsGameDirectory(const PapyDirectory& dir) {
  if (!dir.IsRoot() && IsGameDat(DatPathOf(dir)))
    return true;
  return FolderHasGameFile(dir, "*.3do|*.trk|*.rpy", GplFiles);
}

CountedPtr<FileFactory> N2FileFactoryRecognizer::CreateFactory(const PapyDirectory& dir,
                                                               bool writable) {
  return BuildICR2FileFactory(dir, OpenFolderDat(dir, writable));
}

CountedPtr<FileFactory> N2FileFactoryRecognizer::CreateFactory(const std::string& datPath,
                                                               bool writable) {
  const PapyDirectory dir(datPath);
  return BuildICR2FileFactory(dir, CountedPtr<DatFile>(new ICR2DatFile(datPath, writable)));
}

bool N2FileFactoryRecognizer::IsPossibleDat(const std::string& path) {
  return LooksLikeIcr2Dat(path);
}

bool N2FileFactoryRecognizer::IsGameDat(const std::string& path) {
  return IsPossibleDat(path) && DatHasGameSubFile(path, N2SubFiles);
}

bool N2FileFactoryRecognizer::IsGameDirectory(const PapyDirectory& dir) {
  if (!dir.IsRoot() && IsGameDat(DatPathOf(dir)))
    return true;
  return FolderHasGameFile(dir, "*.3do|*.trk|*.rpl", N2Files);
}

void RegisterGameRecognizers(FileFactoryRegistry& registry) {
  // Stateless apart from their flag, so one pair serves every registry. Like the
  // process-wide registry that points at them, they are never destroyed.
  static GPLFileFactoryRecognizer* const gpl = new GPLFileFactoryRecognizer(true);
  static N2FileFactoryRecognizer* const n2 = new N2FileFactoryRecognizer(false);
  registry.Register(gpl);
  registry.Register(n2);
}

} // namespace Ostra::Papy
