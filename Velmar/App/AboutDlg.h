#pragma once

#include <wx/dialog.h>

namespace Ostra::Velmar {

// Help > About: the program's name and what it is for.
class CAboutDlg : public wxDialog {
public:
  explicit CAboutDlg(wxWindow* parent);

  static constexpr const char* Title = "About Velmar";
  static constexpr const char* FirstLine = "Velmar Version 1.0";
  static constexpr const char* SecondLine = "An editor of the AI racing lines of GPL, N2 and N4 tracks";
};

} // namespace Ostra::Velmar
