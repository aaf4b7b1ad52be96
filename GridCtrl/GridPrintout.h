#pragma once

// Printing a CGridCtrl through wxWidgets: the printout hands the printer's surface to
// the grid core, which counts the pages and draws each one in logical units; the
// printout maps the logical page onto the printed page.

#include "GridCtrl/Core/GridPrintLayout.h"

#include <wx/print.h>

class CGridCtrl;

class GridPrintout : public wxPrintout {
public:
  GridPrintout(CGridCtrl& grid, const wxString& title);

  void OnPreparePrinting() override;
  void GetPageInfo(int* min_page, int* max_page, int* page_from, int* page_to) override;
  bool HasPage(int page) override;
  bool OnPrintPage(int page) override;
  void OnEndPrinting() override;

  const GridPrintInfo& GetInfo() const { return Info; }

private:
  CGridCtrl& Grid;
  GridPrintInfo Info;
};

// A preview of the grid's pages, with a printout for each of showing and printing;
// null when the platform cannot preview. data may be null.
wxPrintPreview* CreateGridPrintPreview(CGridCtrl& grid, wxPrintDialogData* data = nullptr);
// Opens the preview in a frame of its own; false when there is nothing to preview.
bool ShowGridPrintPreview(CGridCtrl& grid, wxWindow* parent);

// The text of the first window from window up that has one; the header shows it.
wxString GetFirstWindowText(const wxWindow* window);
