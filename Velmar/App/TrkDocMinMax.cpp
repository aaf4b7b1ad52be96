#include "Velmar/App/TrkDocVelmar.h"

namespace Ostra::Velmar {

void CTrkDocVelmar::OnCreateMinMaxRaceLps(wxCommandEvent&) {}

void CTrkDocVelmar::OnUpdateCreateMinMaxRaceLps(wxUpdateUIEvent& event) { event.Enable(false); }

} // namespace Ostra::Velmar
