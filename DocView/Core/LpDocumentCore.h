#pragma once

#include <functional>
#include <optional>
#include <string>

#include "DocView/Core/LpRecordSetter.h"
#include "Papy/Files/FileFactory.h"
#include "Papy/Lp/LpFile.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {
class FileFactoryRegistry;
}

// The LP document without a window: which LP it holds, where it came from, how it is
// written back, and the setters every edit goes through.
namespace Ostra::DocView {

// The message for a save of an LP document that holds no LP (one made by New).
inline constexpr const char* NoLpToSaveText = "This LP document holds no LP file, so there is nothing to save.";

class LpDocumentCore : public ILpRecordSetter {
public:
  // Factories come from the registry given (the process-wide one in the editor).
  explicit LpDocumentCore(Papy::FileFactoryRegistry& registry);
  LpDocumentCore();

  // Opens an LP through its folder's MakeLp facet. The LP object is the one in the
  // facet's cache, shared with anyone else who asks for it. Throws XFileOpen for a
  // path whose folder is missing, the facet's errors (XUsage "<path>: file not found",
  // the reader's XFileFormat, ...), and XFileOpen of path when its folder's track cannot
  // be opened ("Its folder's track monza.trk is missing: ...").
  void Open(const std::string& path);
  // Reads a lap curve (.lcv) from the file, afresh on every call, for the folder's own
  // track; lap curves never enter the LP cache. A track that cannot be opened is an
  // XFileOpen of path, as in Open.
  void OpenLapCurve(const std::string& path);
  // Writes the LP in its own game's format (a lap curve in its .lcv format), through a
  // temporary file beside the target that is renamed over it: a failed save leaves
  // the previous file as it was. Throws XUsage NoLpToSaveText without an LP.
  // A save into another folder writes the original game's format and keeps the
  // original factory.
  void Save(const std::string& path);

  bool HasLp() const { return !LpFile.IsNull(); }
  // True after a setter ran, until the next save.
  bool HasUnsavedEdits() const { return UnsavedEdits; }
  // Called when the document goes with its edits discarded: the LP object in the
  // folder's cache holds those edits, so it leaves the cache and the next open reads
  // the file. Does nothing without unsaved edits or for a lap curve. Never throws.
  void DiscardEdits() noexcept;

  // Each writes the LP (asserting an LP and a record index below the count), then
  // calls OnModified, even when the value written equals the old one.
  void SetRecordLatitude(int i, double metres) override;
  void SetRecordPathLength(int i, double metres) override;
  void SetRecordLongitudinalSpeed(int i, double metresPerSecond) override;
  void SetRecordLateralSpeed(int i, double metresPerSecond) override;
  void SetRecordYawSpeed(int i, double radiansPerSecond) override;
  void SetRecordSpeedLimit(int i, double metresPerSecond) override;
  void SetRecordSpeedModifier(int i, double value) override;
  void SetStartSpeedCheckpoint(int i, bool on) override;
  void SetEndSpeedCheckpoint(int i, bool on) override;
  void SetOutbrakeDecisionPoint(int i, bool on) override;
  void SetAbandonPass(int i, bool on) override;
  void SetStartLongStraight(int i, bool on) override;
  void SetEndLongStraight(int i, bool on) override;
  void SetInitiateCornering(int i, bool on) override;
  void SetSetSpeedCoeffTo1(int i, bool on) override;
  void SetStartNoPassZone(int i, bool on) override;
  void SetEndNoPassZone(int i, bool on) override;
  void SetStartPass1Zone(int i, bool on) override;
  void SetStartPass2Zone(int i, bool on) override;
  void SetStartAbruptPass1Zone(int i, bool on) override;
  void SetStartAbruptPass2Zone(int i, bool on) override;
  void SetTireWarmup(int i, bool on) override;
  void SetRecordFlags(int i, Util::U32 flags) override;
  void SetControlPoint(int i, bool on) override;

  // The LP being edited; null until an open succeeded.
  Util::CountedPtr<Papy::LpFile> LpFile;
  // The factory of the folder that holds the file; set by an open, even one that
  // failed later on.
  Util::CountedPtr<Papy::FileFactory> Factory;
  // Told after every setter.
  std::function<void()> OnModified;

private:
  // Where the LP sits in its folder's cache.
  struct CacheKey {
    std::string Folder;
    std::string Name;
    std::string Extension;
  };

  Papy::LpFile& RecordOf(int i) const;
  void Edited();
  void MoveCacheKey(const std::string& savedPath);

  Papy::FileFactoryRegistry& Registry;
  std::optional<CacheKey> Cached;
  bool UnsavedEdits = false;
};

} // namespace Ostra::DocView
