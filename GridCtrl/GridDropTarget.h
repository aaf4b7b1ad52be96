#pragma once

// CGridDropTarget: hands drag-and-drop events over a grid window to the grid's core,
// which decides on the drop cell, the effect and the paste.

#include "GridCtrl/Core/GridInterfaces.h"

#include <wx/dnd.h>

class CGridCtrl;
class wxTextDataObject;

class CGridDropTarget : public wxDropTarget {
public:
  explicit CGridDropTarget(CGridCtrl* grid);

  wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override;
  wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult def) override;
  void OnLeave() override;
  bool OnDrop(wxCoord x, wxCoord y) override;
  wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult def) override;

  // The parts that need no drag in progress, for OnEnter/OnDragOver/OnData and tests.
  wxDragResult Enter(wxCoord x, wxCoord y, bool has_text);
  wxDragResult Over(wxCoord x, wxCoord y, bool has_text);
  wxDragResult Drop(wxCoord x, wxCoord y, const wxString& text);

private:
  bool OffersText();

  CGridCtrl* Grid;
  wxTextDataObject* Text;
};
