#include "DocView/LpDoc.h"

#include "DocView/Core/UserMessages.h"

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CLpDoc, CDocumentBase);

CLpDoc::CLpDoc() {
  Core.OnModified = [this] { Modify(true); };
  Bind(wxEVT_UPDATE_UI, &CLpDoc::OnUpdateSave, this, wxID_SAVE);
  Bind(wxEVT_UPDATE_UI, &CLpDoc::OnUpdateSave, this, wxID_SAVEAS);
}

CLpDoc::~CLpDoc() {
  Core.OnModified = nullptr;
  Core.DiscardEdits();
}

#define VELMAR_LP_SETTER(Name, Type)                                                              \
  void CLpDoc::Name(int i, Type value) { Core.Name(i, value); }
VELMAR_LP_SETTER(SetRecordLatitude, double)
VELMAR_LP_SETTER(SetRecordPathLength, double)
VELMAR_LP_SETTER(SetRecordLongitudinalSpeed, double)
VELMAR_LP_SETTER(SetRecordLateralSpeed, double)
VELMAR_LP_SETTER(SetRecordYawSpeed, double)
VELMAR_LP_SETTER(SetRecordSpeedLimit, double)
VELMAR_LP_SETTER(SetRecordSpeedModifier, double)
VELMAR_LP_SETTER(SetStartSpeedCheckpoint, bool)
VELMAR_LP_SETTER(SetEndSpeedCheckpoint, bool)
VELMAR_LP_SETTER(SetOutbrakeDecisionPoint, bool)
VELMAR_LP_SETTER(SetAbandonPass, bool)
VELMAR_LP_SETTER(SetStartLongStraight, bool)
VELMAR_LP_SETTER(SetEndLongStraight, bool)
VELMAR_LP_SETTER(SetInitiateCornering, bool)
VELMAR_LP_SETTER(SetSetSpeedCoeffTo1, bool)
VELMAR_LP_SETTER(SetStartNoPassZone, bool)
VELMAR_LP_SETTER(SetEndNoPassZone, bool)
VELMAR_LP_SETTER(SetStartPass1Zone, bool)
VELMAR_LP_SETTER(SetStartPass2Zone, bool)
VELMAR_LP_SETTER(SetStartAbruptPass1Zone, bool)
VELMAR_LP_SETTER(SetStartAbruptPass2Zone, bool)
VELMAR_LP_SETTER(SetTireWarmup, bool)
VELMAR_LP_SETTER(SetRecordFlags, Util::U32)
VELMAR_LP_SETTER(SetControlPoint, bool)
#undef VELMAR_LP_SETTER

bool CLpDoc::OpenFile(const wxString& path, bool lapCurve) {
  const std::string file = path.utf8_string();
  const bool opened = RunGuarded([&] {
    if (lapCurve)
      Core.OpenLapCurve(file);
    else
      Core.Open(file);
  });
  if (!opened)
    return false;
  SetFilename(path, true);
  Modify(false);
  SetDocumentSaved(true);
  return true;
}

bool CLpDoc::OnOpenDocument(const wxString& path) {
  if (!OpenFile(path, false))
    return false;
  InitialUpdateViews();
  return true;
}

bool CLpDoc::DoSaveDocument(const wxString& path) {
  return RunGuarded([&] { Core.Save(path.utf8_string()); });
}

bool CLpDoc::Save() {
  if (!Core.HasLp()) {
    GetUserMessages().Show(NoLpToSaveText, MessageParent::MainWindow);
    return false;
  }
  return CDocumentBase::Save();
}

bool CLpDoc::SaveAs() {
  if (!Core.HasLp()) {
    GetUserMessages().Show(NoLpToSaveText, MessageParent::MainWindow);
    return false;
  }
  return CDocumentBase::SaveAs();
}

void CLpDoc::OnUpdateSave(wxUpdateUIEvent& event) {
  if (Core.HasLp())
    event.Skip();
  else
    event.Enable(false);
}

} // namespace Ostra::DocView
