#pragma once

#include "DocView/Core/LpDocumentCore.h"
#include "DocView/Core/LpRecordSetter.h"
#include "DocView/DocViewBase.h"
#include "Papy/Files/FileFactory.h"
#include "Papy/Lp/LpFile.h"
#include "Util/CountedPtr.h"

namespace Ostra::DocView {

// A document holding one LP file (or lap curve) of a game folder. Every edit goes
// through a setter here, which marks the document modified. The LP object is shared
// with its folder's LP cache; closing the document with its edits discarded takes it
// out of the cache, so that the next open shows the file.
class CLpDoc : public CDocumentBase, public ILpRecordSetter {
public:
  CLpDoc();
  ~CLpDoc() override;

  // Null before a successful open, and in a document made by New.
  Util::CountedPtr<Papy::LpFile> GetLpFile() const { return Core.LpFile; }
  Util::CountedPtr<Papy::FileFactory> GetFileFactory() const { return Core.Factory; }

  void SetRecordLatitude(int i, double value) override;
  void SetRecordPathLength(int i, double value) override;
  void SetRecordLongitudinalSpeed(int i, double value) override;
  void SetRecordLateralSpeed(int i, double value) override;
  void SetRecordYawSpeed(int i, double value) override;
  void SetRecordSpeedLimit(int i, double value) override;
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

  // Opens the LP through its folder's factory; failures are shown and answered false.
  bool OnOpenDocument(const wxString& path) override;
  // A document without an LP has nothing to write: the user is told, and nothing is
  // asked or written.
  bool Save() override;
  bool SaveAs() override;

  // True after an edit that no save has written yet (the toolkit's modified flag is
  // also cleared when the user declines to save).
  bool HasUnsavedEdits() const { return Core.HasUnsavedEdits(); }

protected:
  // Writes through a temporary file renamed over the target; failures are shown, the
  // previous file stays and the document stays modified.
  bool DoSaveDocument(const wxString& path) override;

  // The open without the views' first fill: reads the LP (or, for lapCurve, the .lcv
  // afresh) and makes path the document's unmodified file. Failures are shown.
  bool OpenFile(const wxString& path, bool lapCurve);

  LpDocumentCore Core;

private:
  void OnUpdateSave(wxUpdateUIEvent& event);

  wxDECLARE_DYNAMIC_CLASS(CLpDoc);
};

} // namespace Ostra::DocView
