#include "DocView/Core/LpDocumentCore.h"

#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Files/PapyDirectory.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "Util/PathName.h"
#include "Util/SafeSave.h"
#include "Util/StringUtil.h"

namespace Ostra::DocView {

namespace {
// A GPL LP and any lap curve are read against their folder's own track. Without that
// track, the file the user chose is what could not be opened, and the track is why.
[[noreturn]] void ThrowForFolderTrack(const std::string& path, const Util::XFileOpen& track, const char* need) {
  const std::string state = track.SystemMessage == Papy::FileNotFoundText
                                ? "is missing"
                                : "could not be opened (" + track.SystemMessage + ")";
  throw Util::XFileOpen(path, "Its folder's track " + Util::PathName(track.FileName).GetFileName() + " " + state +
                                  ": " + need + ".");
}
} // namespace

LpDocumentCore::LpDocumentCore(Papy::FileFactoryRegistry& registry) : Registry(registry) {}

LpDocumentCore::LpDocumentCore() : LpDocumentCore(Papy::FileFactoryRegistry::Instance()) {}

void LpDocumentCore::Open(const std::string& path) {
  Papy::RequireContainingFolder(path);
  const Papy::PapyDirectory folder(path);
  Factory = Registry.GetFactory(folder, false);
  const Util::CountedPtr<Papy::MakeLp> makeLp = Factory->GetFacet<Papy::MakeLp>();
  const Util::PathName name(path);
  try {
    LpFile = makeLp->Make(name.GetBaseName(), name.GetExtension());
  } catch (const Util::XFileOpen& e) {
    // A missing LP is an XUsage; an XFileOpen naming another file is the folder's
    // track, which of the games only GPL reads its LPs against.
    if (Util::CompareNoCase(Util::PathName(e.FileName).GetFileName(), name.GetFileName()) == 0)
      throw;
    ThrowForFolderTrack(path, e, "a GPL LP needs the track named after its folder");
  }
  Cached = CacheKey{folder.GetPath(), name.GetBaseName(), name.GetExtension()};
  UnsavedEdits = false;
}

void LpDocumentCore::OpenLapCurve(const std::string& path) {
  Papy::RequireContainingFolder(path);
  Factory = Registry.GetFactory(Papy::PapyDirectory(path), false);
  Util::CountedPtr<Papy::Track> track;
  try {
    track = Factory->GetFacet<Papy::MakeTrack>()->Make("", "", false);
  } catch (const Util::XFileOpen& e) {
    ThrowForFolderTrack(path, e, "a lap curve needs the track named after its folder");
  }
  const Util::CountedPtr<Util::BinaryStream> stream(Util::BinaryFile::OpenRead(path));
  LpFile = Util::CountedPtr<Papy::LpFile>(new Papy::LpFileCurve(stream, track));
  Cached.reset();
  UnsavedEdits = false;
}

void LpDocumentCore::Save(const std::string& path) {
  if (!LpFile)
    throw Util::XUsage(NoLpToSaveText);
  // The writers take a counted stream; the safe save hands out a plain one. The file is
  // small, so it is built whole in memory and then copied.
  auto* memory = new Util::MemoryStream(path);
  const Util::CountedPtr<Util::BinaryStream> buffer(memory);
  LpFile->Write(buffer);
  const std::vector<unsigned char>& bytes = memory->Bytes();
  Util::SaveFileSafely(path, [&bytes](Util::BinaryStream& out) {
    if (!bytes.empty())
      out.Write(static_cast<Util::U32>(bytes.size()), bytes.data());
  });
  UnsavedEdits = false;
  MoveCacheKey(path);
}

// The cache entry names the file the LP came from. Once the LP was saved under another
// name, that file no longer holds what the cached object holds: the object moves to
// the new name when it stays in the folder, and leaves the cache otherwise.
void LpDocumentCore::MoveCacheKey(const std::string& savedPath) {
  if (!Cached || !Factory || !Factory->HasFacet<Papy::MakeLp>())
    return;
  const Util::PathName saved(savedPath);
  const std::string folder = Papy::PapyDirectory(savedPath).GetPath();
  const auto key = [](const std::string& name, const std::string& ext) { return Util::ToLower(name + "." + ext); };
  const bool sameFolder = Util::CompareNoCase(folder, Cached->Folder) == 0;
  if (sameFolder && key(saved.GetBaseName(), saved.GetExtension()) == key(Cached->Name, Cached->Extension))
    return;
  const Util::CountedPtr<Papy::MakeLp> makeLp = Factory->GetFacet<Papy::MakeLp>();
  makeLp->Evict(Cached->Name, Cached->Extension);
  if (sameFolder) {
    makeLp->Add(LpFile, saved.GetBaseName(), saved.GetExtension());
    Cached = CacheKey{folder, saved.GetBaseName(), saved.GetExtension()};
  } else {
    Cached.reset();
  }
}

void LpDocumentCore::DiscardEdits() noexcept {
  if (!UnsavedEdits)
    return;
  UnsavedEdits = false;
  if (!Cached || !Factory)
    return;
  try {
    if (Factory->HasFacet<Papy::MakeLp>())
      Factory->GetFacet<Papy::MakeLp>()->Evict(Cached->Name, Cached->Extension);
  } catch (...) {
    // Only a failed allocation could land here; the cache then keeps the edited object.
  }
}

Papy::LpFile& LpDocumentCore::RecordOf(int i) const {
  UTIL_ASSERT(!LpFile.IsNull());
  UTIL_ASSERT(i >= 0 && static_cast<Util::U32>(i) < LpFile->GetRecordCount());
  return *LpFile;
}

void LpDocumentCore::Edited() {
  UnsavedEdits = true;
  if (OnModified)
    OnModified();
}

#define VELMAR_LP_CORE_SETTER(Name, Type)                                                                         \
  void LpDocumentCore::Name(int i, Type value) {                                                                  \
    RecordOf(i).Name(static_cast<Util::U32>(i), value);                                                           \
    Edited();                                                                                                     \
  }
VELMAR_LP_CORE_SETTER(SetRecordLatitude, double)
VELMAR_LP_CORE_SETTER(SetRecordPathLength, double)
VELMAR_LP_CORE_SETTER(SetRecordLongitudinalSpeed, double)
VELMAR_LP_CORE_SETTER(SetRecordLateralSpeed, double)
VELMAR_LP_CORE_SETTER(SetRecordYawSpeed, double)
VELMAR_LP_CORE_SETTER(SetRecordSpeedLimit, double)
VELMAR_LP_CORE_SETTER(SetRecordSpeedModifier, double)
VELMAR_LP_CORE_SETTER(SetStartSpeedCheckpoint, bool)
VELMAR_LP_CORE_SETTER(SetEndSpeedCheckpoint, bool)
VELMAR_LP_CORE_SETTER(SetOutbrakeDecisionPoint, bool)
VELMAR_LP_CORE_SETTER(SetAbandonPass, bool)
VELMAR_LP_CORE_SETTER(SetStartLongStraight, bool)
VELMAR_LP_CORE_SETTER(SetEndLongStraight, bool)
VELMAR_LP_CORE_SETTER(SetInitiateCornering, bool)
VELMAR_LP_CORE_SETTER(SetSetSpeedCoeffTo1, bool)
VELMAR_LP_CORE_SETTER(SetStartNoPassZone, bool)
VELMAR_LP_CORE_SETTER(SetEndNoPassZone, bool)
VELMAR_LP_CORE_SETTER(SetStartPass1Zone, bool)
VELMAR_LP_CORE_SETTER(SetStartPass2Zone, bool)
VELMAR_LP_CORE_SETTER(SetStartAbruptPass1Zone, bool)
VELMAR_LP_CORE_SETTER(SetStartAbruptPass2Zone, bool)
VELMAR_LP_CORE_SETTER(SetTireWarmup, bool)
VELMAR_LP_CORE_SETTER(SetRecordFlags, Util::U32)
VELMAR_LP_CORE_SETTER(SetControlPoint, bool)
#undef VELMAR_LP_CORE_SETTER

} // namespace Ostra::DocView
