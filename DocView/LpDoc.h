#pragma once

#include "DocView/DocViewBase.h"
#include "Papy/Files/FileFactory.h"
#include "Papy/Lp/LpFile.h"
#include "Util/CountedPtr.h"

namespace Ostra::DocView {

// A document holding one LP file (or lap curve) of a game folder. Every edit goes
// through a setter here, which marks the document modified.
class CLpDoc : public CDocumentBase {
public:
  Util::CountedPtr<Papy::LpFile> GetLpFile() const { return LpFile; }
  Util::CountedPtr<Papy::FileFactory> GetFileFactory() const { return Factory; }

  void SetRecordLatitude(int i, double value);
  void SetRecordPathLength(int i, double value);
  void SetRecordLongitudinalSpeed(int i, double value);
  void SetRecordLateralSpeed(int i, double value);
  void SetRecordYawSpeed(int i, double value);
  void SetRecordSpeedLimit(int i, double value);
  void SetRecordSpeedModifier(int i, double value);
  void SetStartSpeedCheckpoint(int i, bool on);
  void SetEndSpeedCheckpoint(int i, bool on);
  void SetOutbrakeDecisionPoint(int i, bool on);
  void SetAbandonPass(int i, bool on);
  void SetStartLongStraight(int i, bool on);
  void SetEndLongStraight(int i, bool on);
  void SetInitiateCornering(int i, bool on);
  void SetSetSpeedCoeffTo1(int i, bool on);
  void SetStartNoPassZone(int i, bool on);
  void SetEndNoPassZone(int i, bool on);
  void SetStartPass1Zone(int i, bool on);
  void SetStartPass2Zone(int i, bool on);
  void SetStartAbruptPass1Zone(int i, bool on);
  void SetStartAbruptPass2Zone(int i, bool on);
  void SetTireWarmup(int i, bool on);
  void SetRecordFlags(int i, Util::U32 flags);
  void SetControlPoint(int i, bool on);

  bool OnOpenDocument(const wxString& path) override;
  bool OnSaveDocument(const wxString& path) override;

protected:
  Util::CountedPtr<Papy::LpFile> LpFile;
  Util::CountedPtr<Papy::FileFactory> Factory;

  wxDECLARE_DYNAMIC_CLASS(CLpDoc);
};

} // namespace Ostra::DocView
