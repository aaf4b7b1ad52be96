#include "Velmar/App/AboutDlg.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace Ostra::Velmar {

CAboutDlg::CAboutDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, Title) {
  auto* lines = new wxBoxSizer(wxVERTICAL);
  lines->Add(new wxStaticText(this, wxID_ANY, FirstLine), 0, wxBOTTOM, 6);
  lines->Add(new wxStaticText(this, wxID_ANY, SecondLine));
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  top->Add(new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MESSAGE_BOX)), 0,
           wxRIGHT, 12);
  top->Add(lines, 1, wxALIGN_CENTER_VERTICAL);
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(top, 1, wxALL | wxEXPAND, 12);
  all->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(all);
  SetEscapeId(wxID_OK);
}

} // namespace Ostra::Velmar
