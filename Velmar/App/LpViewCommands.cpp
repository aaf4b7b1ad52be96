#include <functional>
#include <string>
#include <vector>

#include <wx/utils.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/Core/TemplateMatching.h"
#include "DocView/Core/UserMessages.h"
#include "GridCtrl/GridCtrl.h"
#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Util/Exception.h"
#include "Util/PathName.h"
#include "Velmar/App/Dialogs.h"
#include "Velmar/App/LpDocVelmar.h"
#include "Velmar/App/LpViewVelmar.h"
#include "Velmar/App/ReplaceDocument.h"
#include "Velmar/Core/CommandChecks.h"
#include "Velmar/Core/FilePaths.h"
#include "Velmar/Core/LineGeneration.h"
#include "Velmar/Core/LpEditCommands.h"
#include "Velmar/Generators/ControlPointClipboard.h"

namespace Ostra::Velmar {

namespace {

using DocView::MessageParent;

// The view's grid as the edit commands see it.
class ViewGridAccess : public ILpGridAccess {
public:
  ViewGridAccess(CLpViewVelmar& view, CGridCtrl& grid) : View(view), Grid(grid) {}

  GridRange GetSelectedCellRange() const override {
    const CCellRange range = Grid.GetSelectedCellRange();
    return {range.MinRow, range.MinCol, range.MaxRow, range.MaxCol};
  }
  GridCell GetNextSelectedCell(GridCell cell) const override {
    const CCellID next = Grid.GetNextItem(CCellID(cell.Row, cell.Col),
                                          GridNextItemFlags::All | GridNextItemFlags::Selected);
    return {next.Row, next.Col};
  }
  std::string GetItemText(int row, int col) const override { return Grid.GetItemText(row, col); }
  void SetItemText(int row, int col, const std::string& text) override {
    Grid.SetItemText(row, col, text);
  }
  bool IsCellEditable(int row, int col) const override { return View.IsCellEditable(row, col); }
  DocView::LpColumnKind GetColumnKind(int col) const override {
    return View.GetColumnMap().At(col).Kind;
  }
  void RefreshControlSpan(int record) override { View.RefreshControlSpan(record); }

private:
  CLpViewVelmar& View;
  CGridCtrl& Grid;
};

using EditCommand =
    std::function<LpEditOutcome(ILpGridAccess&, DocView::ILpRecordSetter&, const Papy::LpFile&)>;

// What an edit command needs: a grid, a document and its LP. A document made by New
// has no LP, and a view whose window went has no grid.
bool CanEdit(CLpViewVelmar& view, const std::function<bool(const ILpGridAccess&)>& check) {
  CGridCtrl* grid = view.GetGridCtrl();
  if (grid == nullptr || view.GetLp() == nullptr || view.GetLpDocument() == nullptr)
    return false;
  return check(ViewGridAccess(view, *grid));
}

// Runs an edit on the selection. Cells written before a failure stay written; the grid
// and the other views show them either way.
void RunEdit(CLpViewVelmar& view, const EditCommand& edit) {
  CGridCtrl* grid = view.GetGridCtrl();
  Papy::LpFile* lp = view.GetLp();
  DocView::CLpDoc* doc = view.GetLpDocument();
  if (grid == nullptr || lp == nullptr || doc == nullptr)
    return;
  ViewGridAccess access(view, *grid);
  LpEditOutcome outcome;
  DocView::RunGuarded([&] { outcome = edit(access, *doc, *lp); }, MessageParent::View);
  grid->Refresh();
  doc->UpdateAllViews(&view, nullptr);
  const std::string skipped = DescribeSkippedCells(outcome);
  if (!skipped.empty())
    DocView::GetUserMessages().Show(skipped, MessageParent::View);
}

std::string BaseNameOf(const wxDocument& doc) {
  const wxString path = doc.GetFilename();
  return path.empty() ? std::string() : Util::PathName(path.utf8_string()).GetBaseName();
}

std::string FolderOf(const wxDocument& doc) {
  const wxString path = doc.GetFilename();
  return path.empty() ? std::string() : Util::PathName(path.utf8_string()).GetDirectory();
}

Papy::LpFileCurve* CurveOf(CLpViewVelmar& view) {
  return dynamic_cast<Papy::LpFileCurve*>(view.GetLp());
}

const std::vector<std::string> LapCurveExtensions = {"lcv"};
const std::vector<std::string> LpExtensions = {"lp", "l66", "l69"};

// Refuses a name the reopen would give to another kind of document.
void CheckExtension(const std::string& path, const std::vector<std::string>& extensions,
                    const std::string& what) {
  if (!HasOneOfExtensions(path, extensions))
    throw Util::XUsage(Util::PathName(path).GetFileName() + ": " + what +
                       " is saved with the extension ." + extensions.front() +
                       "; please choose a name ending in ." + extensions.front() + ".");
}

} // namespace

void CLpViewVelmar::BindCommands() {
  using namespace DocView;
  Bind(wxEVT_MENU, &CLpViewVelmar::OnEditSetValue, this, ID_EDIT_SET_VALUE);
  Bind(wxEVT_UPDATE_UI, &CLpViewVelmar::OnUpdateEditSetValue, this, ID_EDIT_SET_VALUE);
  Bind(wxEVT_MENU, &CLpViewVelmar::OnEditAdjust, this, ID_EDIT_ADJUST);
  Bind(wxEVT_UPDATE_UI, &CLpViewVelmar::OnUpdateEditAdjust, this, ID_EDIT_ADJUST);
  Bind(wxEVT_MENU, &CLpViewVelmar::OnEditScale, this, ID_EDIT_SCALE);
  Bind(wxEVT_UPDATE_UI, &CLpViewVelmar::OnUpdateEditScale, this, ID_EDIT_SCALE);
  Bind(wxEVT_MENU, &CLpViewVelmar::OnEditRamp, this, ID_EDIT_RAMP);
  Bind(wxEVT_UPDATE_UI, &CLpViewVelmar::OnUpdateEditRamp, this, ID_EDIT_RAMP);
  Bind(wxEVT_MENU, &CLpViewVelmar::OnGenerateCurve, this, ID_GENERATE_CURVE);
  Bind(wxEVT_UPDATE_UI, &CLpViewVelmar::OnUpdateGenerateCurve, this, ID_GENERATE_CURVE);
  Bind(wxEVT_MENU, &CLpViewVelmar::OnGenerateLp, this, ID_GENERATE_LP);
  Bind(wxEVT_UPDATE_UI, &CLpViewVelmar::OnUpdateGenerateLp, this, ID_GENERATE_LP);
  Bind(wxEVT_MENU, &CLpViewVelmar::OnCopyControlPoints, this, ID_COPY_CONTROL_POINTS);
  Bind(wxEVT_UPDATE_UI, &CLpViewVelmar::OnUpdateCopyControlPoints, this, ID_COPY_CONTROL_POINTS);
  Bind(wxEVT_MENU, &CLpViewVelmar::OnPasteControlPoints, this, ID_PASTE_CONTROL_POINTS);
  Bind(wxEVT_UPDATE_UI, &CLpViewVelmar::OnUpdatePasteControlPoints, this, ID_PASTE_CONTROL_POINTS);
}

void CLpViewVelmar::OnEditSetValue(wxCommandEvent&) {
  if (!CanEdit(*this, CanEditSelection))
    return;
  CValueDlg dialog;
  if (!dialog.Run(GetPaneWindow()))
    return;
  RunEdit(*this, [&](ILpGridAccess& grid, DocView::ILpRecordSetter& setter, const Papy::LpFile& lp) {
    return SetValue(grid, setter, lp, dialog.Value);
  });
}

void CLpViewVelmar::OnUpdateEditSetValue(wxUpdateUIEvent& event) {
  event.Enable(CanEdit(*this, CanEditSelection));
}

void CLpViewVelmar::OnEditAdjust(wxCommandEvent&) {
  if (!CanEdit(*this, CanEditSelection))
    return;
  CAdjustDlg dialog;
  if (!dialog.Run(GetPaneWindow()))
    return;
  RunEdit(*this, [&](ILpGridAccess& grid, DocView::ILpRecordSetter& setter, const Papy::LpFile& lp) {
    return Adjust(grid, setter, lp, dialog.AdjustBy);
  });
}

void CLpViewVelmar::OnUpdateEditAdjust(wxUpdateUIEvent& event) {
  event.Enable(CanEdit(*this, CanEditSelection));
}

void CLpViewVelmar::OnEditScale(wxCommandEvent&) {
  if (!CanEdit(*this, CanInterpolateSelection))
    return;
  CScaleDlg dialog;
  if (!dialog.Run(GetPaneWindow()))
    return;
  RunEdit(*this, [&](ILpGridAccess& grid, DocView::ILpRecordSetter& setter, const Papy::LpFile& lp) {
    return Scale(grid, setter, lp, dialog.BeginningScaleFactor, dialog.EndingScaleFactor);
  });
}

void CLpViewVelmar::OnUpdateEditScale(wxUpdateUIEvent& event) {
  event.Enable(CanEdit(*this, CanInterpolateSelection));
}

void CLpViewVelmar::OnEditRamp(wxCommandEvent&) {
  if (!CanEdit(*this, CanInterpolateSelection))
    return;
  RunEdit(*this, [](ILpGridAccess& grid, DocView::ILpRecordSetter& setter, const Papy::LpFile& lp) {
    return Ramp(grid, setter, lp);
  });
}

void CLpViewVelmar::OnUpdateEditRamp(wxUpdateUIEvent& event) {
  event.Enable(CanEdit(*this, CanInterpolateSelection));
}

void CLpViewVelmar::OnGenerateCurve(wxCommandEvent&) {
  CLpDocVelmar* doc = GetDocument();
  if (doc == nullptr)
    return;
  const CountedPtr<Papy::LpFile> lp = doc->GetLpFile();
  const CountedPtr<Papy::FileFactory> factory = doc->GetFileFactory();
  if (!CanGenerateCurve(lp.Get(), factory.Get()))
    return;
  const std::string name = BaseNameOf(*doc);
  CGenerateCurveDlg dialog(name);
  wxWindow* parent = GetPaneWindow();
  if (!dialog.Run(parent))
    return;
  DocView::RunGuarded(
      [&] {
        CountedPtr<Papy::LpFileCurve> curve;
        {
          const wxBusyCursor busy;
          curve = MakeCurveOfLp(*factory, lp, dialog.Tolerance);
        }
        const std::string path =
            AskSavePath({"Lp Curve Files (*.lcv)|" + DocView::MakeFilterPattern(".lcv"), "lcv",
                         FolderOf(*doc), name},
                        parent);
        if (path.empty())
          return;
        CheckExtension(path, LapCurveExtensions, "a lap curve");
        const wxBusyCursor busy;
        ReplaceDocument(*doc->GetDocumentManager(), path, doc,
                        {[&](const std::string& to) { SaveLpFile(*curve, to); }, {}});
      },
      MessageParent::View);
}

void CLpViewVelmar::OnUpdateGenerateCurve(wxUpdateUIEvent& event) {
  const CLpDocVelmar* doc = GetDocument();
  event.Enable(doc != nullptr && CanGenerateCurve(doc->GetLpFile().Get(), doc->GetFileFactory().Get()));
}

void CLpViewVelmar::OnGenerateLp(wxCommandEvent&) {
  CLpDocVelmar* doc = GetDocument();
  if (doc == nullptr)
    return;
  const CountedPtr<Papy::LpFile> lp = doc->GetLpFile();
  const CountedPtr<Papy::FileFactory> factory = doc->GetFileFactory();
  const auto* curve = dynamic_cast<const Papy::LpFileCurve*>(lp.Get());
  if (curve == nullptr || !CanGenerateLp(lp.Get(), factory.Get()))
    return;
  const std::string name = BaseNameOf(*doc);
  CGenerateLapDlg dialog(name);
  wxWindow* parent = GetPaneWindow();
  if (!dialog.Run(parent))
    return;
  DocView::RunGuarded(
      [&] {
        const std::string path = AskSavePath(
            {"Lp Files (*.lp)|" + DocView::MakeFilterPattern(".lp"), "lp", FolderOf(*doc), name},
            parent);
        if (path.empty())
          return;
        CheckExtension(path, LpExtensions, "an LP");
        const wxBusyCursor busy;
        const CountedPtr<Papy::LpFile> generated = MakeLpOfCurve(*factory, *curve, name, dialog.Grip);
        ReplaceDocument(*doc->GetDocumentManager(), path, doc,
                        {[&](const std::string& to) { SaveLpFile(*generated, to); },
                         [&] {
                           RecordWrittenLp(Papy::FileFactoryRegistry::Instance(), *factory, generated,
                                           path);
                         }});
      },
      MessageParent::View);
}

void CLpViewVelmar::OnUpdateGenerateLp(wxUpdateUIEvent& event) {
  const CLpDocVelmar* doc = GetDocument();
  event.Enable(doc != nullptr && CanGenerateLp(doc->GetLpFile().Get(), doc->GetFileFactory().Get()));
}

void CLpViewVelmar::OnCopyControlPoints(wxCommandEvent&) {
  CGridCtrl* grid = GetGridCtrl();
  Papy::LpFileCurve* curve = CurveOf(*this);
  if (grid == nullptr || curve == nullptr)
    return;
  const CCellRange range = grid->GetSelectedCellRange();
  if (!CanCopyControlPoints(curve, range.MaxRow))
    return;
  DocView::RunGuarded([&] { CopyControlPoints(*curve, range.MinRow, range.MaxRow); },
                      MessageParent::View);
}

void CLpViewVelmar::OnUpdateCopyControlPoints(wxUpdateUIEvent& event) {
  const CGridCtrl* grid = GetGridCtrl();
  event.Enable(grid != nullptr && CanCopyControlPoints(GetLp(), grid->GetSelectedCellRange().MaxRow));
}

void CLpViewVelmar::OnPasteControlPoints(wxCommandEvent&) {
  Papy::LpFileCurve* curve = CurveOf(*this);
  DocView::CLpDoc* doc = GetLpDocument();
  if (curve == nullptr || doc == nullptr || !CanPasteControlPoints(curve))
    return;
  std::vector<U32> records;
  // A refused paste changes nothing.
  if (!DocView::RunGuarded([&] { records = PasteControlPoints(*curve); }, MessageParent::View))
    return;
  doc->Modify(true);
  for (const U32 record : records)
    RefreshControlSpan(static_cast<int>(record));
  doc->UpdateAllViews(this, nullptr);
}

void CLpViewVelmar::OnUpdatePasteControlPoints(wxUpdateUIEvent& event) {
  event.Enable(CanPasteControlPoints(GetLp()));
}

} // namespace Ostra::Velmar
