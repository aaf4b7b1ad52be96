#include "DocView/LpDoc.h"

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CLpDoc, CDocumentBase);

#define VELMAR_LP_SETTER(Name, Type)                                                              \
  void CLpDoc::Name(int i, Type value) {                                                          \
    LpFile->Name(static_cast<Util::U32>(i), value);                                               \
    Modify(true);                                                                                 \
  }
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

bool CLpDoc::OnOpenDocument(const wxString&) { return false; }

bool CLpDoc::OnSaveDocument(const wxString&) { return false; }

} // namespace Ostra::DocView
