// LP and lap-curve documents in their grid views, in real windows under a document
// manager of their own. They need an X display (run under xvfb-run) and skip without one.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <wx/docview.h>
#include <wx/frame.h>

#include "DocView/Core/DocumentRegistry.h"
#include "DocView/Core/LpCells.h"
#include "DocView/Core/UserMessages.h"
#include "DocView/LpDocument/LpFolders.h"
#include "GridCtrl/GridClipboard.h"
#include "GridCtrl/GridCtrl.h"
#include "GridCtrl/InPlaceEdit.h"
#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/N4Files/N4Recognizer.h"
#include "TestSupport/GridTyping.h"
#include "TestSupport/TempDir.h"
#include "TestSupport/WxTestApp.h"
#include "Util/BinaryFile.h"
#include "Velmar/App/LpDocVelmar.h"
#include "Velmar/App/LpViewVelmar.h"

namespace Ostra::Velmar {
namespace {

using namespace Ostra::Test::LpFolders;
using DocView::FormatCellDouble;
using Test::ClipboardTurn;
using Test::TypeIntoCell;

class RecordingMessages : public DocView::UserMessages {
public:
  void Show(const std::string& text, DocView::MessageParent) override { Shown.push_back(text); }
  DocView::QuestionAnswer Ask(const std::string& text, DocView::MessageParent) override {
    Asked.push_back(text);
    return DocView::QuestionAnswer::No;
  }
  std::vector<std::string> Shown;
  std::vector<std::string> Asked;
};

class LpDocViewWindow : public ::testing::Test {
protected:
  void SetUp() override {
    if (!Ostra::Test::StartWx())
      GTEST_SKIP() << "No X display: the window tests need one (DISPLAY is not set or cannot be opened).";
    Papy::RegisterGameRecognizers();
    Papy::RegisterN4Recognizer();
    Previous = DocView::SetUserMessages(&Messages);
    Parent = new wxFrame(nullptr, wxID_ANY, "Velmar", wxDefaultPosition, wxSize(900, 700));
    Manager = new wxDocManager;
    const auto frameMaker = [this](wxDocument* doc, DocView::CViewBase* view) -> wxFrame* {
      auto* frame = new wxDocChildFrame(doc, view, Parent, wxID_ANY, doc->GetUserReadableName(),
                                        wxDefaultPosition, wxSize(800, 600));
      if (view->CreatePaneWindow(frame) == nullptr) {
        frame->Destroy();
        return nullptr;
      }
      return frame;
    };
    new DocView::CFixedMultiDocTemplate(Manager, "Lap File", "Lap Files (*.lp,*.l66,*.l69)", ".lp;.l66;.l69",
                                        "PapyrusLP.Document", "PapyrusLP.View", CLASSINFO(CLpDocVelmar),
                                        CLASSINFO(CLpViewVelmar), frameMaker);
    new DocView::CFixedMultiDocTemplate(Manager, "Lap Curve File", "Lap Curve Files (*.lcv)", ".lcv",
                                        "VelmarLCV.Document", "VelmarLCV.View", CLASSINFO(CLcvDocVelmar),
                                        CLASSINFO(CLpViewVelmar), frameMaker);
  }

  void TearDown() override {
    if (Manager != nullptr) {
      for (wxDocument* doc : Documents())
        doc->Modify(false);
      Manager->CloseDocuments(true);
      delete Manager;
    }
    if (Parent != nullptr)
      Parent->Destroy();
    Ostra::Test::SettleWx();
    DocView::SetUserMessages(Previous);
    Papy::FileFactoryRegistry::Instance().Clear();
  }

  std::vector<wxDocument*> Documents() const {
    std::vector<wxDocument*> docs;
    for (wxObject* doc : Manager->GetDocuments())
      docs.push_back(static_cast<wxDocument*>(doc));
    return docs;
  }

  CLpDocVelmar* Open(const std::string& path) {
    auto* doc = dynamic_cast<CLpDocVelmar*>(Manager->CreateDocument(wxString::FromUTF8(path), wxDOC_SILENT));
    Ostra::Test::SettleWx();
    return doc;
  }

  static CLpViewVelmar* ViewOf(wxDocument* doc) { return dynamic_cast<CLpViewVelmar*>(doc->GetFirstView()); }
  static CGridCtrl* GridOf(wxDocument* doc) { return ViewOf(doc)->GetGridCtrl(); }

  // The user's No to saving the changes, then the close.
  void CloseDiscarding(wxDocument* doc) {
    doc->Modify(false);
    ASSERT_TRUE(Manager->CloseDocument(doc, true));
    Ostra::Test::SettleWx();
  }

  static void Command(wxView* view, int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    view->ProcessEvent(event);
    Ostra::Test::SettleWx();
  }

  static bool Enabled(wxEvtHandler* handler, int id) {
    wxUpdateUIEvent event(id);
    event.Enable(true);
    handler->ProcessEvent(event);
    return event.GetEnabled();
  }

  RecordingMessages Messages;
  DocView::UserMessages* Previous = nullptr;
  wxFrame* Parent = nullptr;
  wxDocManager* Manager = nullptr;
  Ostra::Test::TempDir Temp;
};

TEST_F(LpDocViewWindow, NumbersThatMustNotReachTheLpAreRefusedAndFlagsReformatTheirWord) {
  const ClipboardTurn turn;
  CLpDocVelmar* doc = Open(GplFolder(Temp) + "/race.lp");
  ASSERT_NE(doc, nullptr);
  CLpViewVelmar* view = ViewOf(doc);
  CGridCtrl* grid = view->GetGridCtrl();
  const Util::CountedPtr<Papy::LpFile> lp = doc->GetLpFile();
  const DocView::DocumentRegistry::Entry* entry =
      DocView::GetDocumentRegistry().FindEntry(doc->GetFileFactory().Get());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->LpDocuments.front(), doc);

  // Typed or pasted, the old text comes back and the LP keeps its value.
  const std::string latitude = grid->GetItemText(5, view->LatitudeColumn);
  for (const char* refused : {"nan", "inf", "1e999", "1e39"}) {
    ASSERT_TRUE(TypeIntoCell(grid, 5, view->LatitudeColumn, refused));
    EXPECT_EQ(grid->GetItemText(5, view->LatitudeColumn), latitude) << refused;
  }
  ASSERT_TRUE(PutTextOnClipboard("-inf\t100"));
  grid->SetSelectedRange(5, view->LatitudeColumn, 5, view->LatitudeColumn);
  Command(view, wxID_PASTE);
  EXPECT_EQ(grid->GetItemText(5, view->LatitudeColumn), latitude);
  EXPECT_EQ(FormatCellDouble(lp->GetRecordLatitude(4)), latitude);
  EXPECT_NEAR(lp->GetRecordLongitudinalSpeed(4), 100.0 / 3.6, 0.01);
  // The longitude is never edited.
  grid->SetCellTextAsEdit(5, view->LongitudeColumn, "7");
  EXPECT_EQ(grid->GetItemText(5, view->LongitudeColumn), FormatCellDouble(lp->GetRecordLongitude(4)));

  // A flag, and the flags word it is packed into.
  ASSERT_TRUE(TypeIntoCell(grid, 5, view->FlagColumns[3], "1"));
  EXPECT_TRUE(lp->IsAbandonPass(4));
  EXPECT_EQ(grid->GetItemText(5, view->FlagsColumn), DocView::FormatCellHex(lp->GetRecordFlags(4)));
  ASSERT_TRUE(TypeIntoCell(grid, 5, view->FlagsColumn, "0"));
  EXPECT_EQ(grid->GetItemText(5, view->FlagColumns[3]), "");
  EXPECT_TRUE(doc->IsModified());

  // Closing leaves the registry.
  const Papy::FileFactory* key = doc->GetFileFactory().Get();
  CloseDiscarding(doc);
  EXPECT_TRUE(DocView::GetDocumentRegistry().FindEntry(key)->LpDocuments.empty());
}

TEST_F(LpDocViewWindow, ASetterThatFailsShowsItsMessageAndTheGridKeepsTheModel) {
  const std::string folder = GplFolder(Temp, true);
  auto* doc = dynamic_cast<CLcvDocVelmar*>(Manager->CreateDocument(folder + "/race.lcv", wxDOC_SILENT));
  Ostra::Test::SettleWx();
  ASSERT_NE(doc, nullptr);
  CLpViewVelmar* view = ViewOf(doc);
  CGridCtrl* grid = view->GetGridCtrl();
  const Util::CountedPtr<Papy::LpFile> lp = doc->GetLpFile();
  EXPECT_EQ(grid->GetColumnCount(), 7);
  EXPECT_EQ(grid->GetItemText(0, view->ControlColumn), "Control");

  // Off a control point the latitude cannot be edited; a control point's can.
  EXPECT_FALSE(TypeIntoCell(grid, 3, view->LatitudeColumn, "1"));
  EXPECT_FALSE(TypeIntoCell(grid, 1, view->LongitudinalSpeedColumn, "1"));
  ASSERT_TRUE(TypeIntoCell(grid, 11, view->LatitudeColumn, "0.5"));
  EXPECT_NEAR(lp->GetRecordLatitude(10), 0.5, 1e-4);
  // The rows up to the neighbouring control points follow the refit.
  EXPECT_EQ(grid->GetItemText(15, view->LatitudeColumn), FormatCellDouble(lp->GetRecordLatitude(14)));
  EXPECT_NE(grid->GetItemText(15, view->LatitudeColumn), FormatCellDouble(0.0));

  // Taking away control points until no curve fits: the edit is refused in the user's
  // terms, the cell shows the model again and the editor carries on.
  Messages.Shown.clear();
  int control = 0;
  for (int row = 1; row < grid->GetRowCount() && Messages.Shown.empty(); ++row) {
    if (grid->GetItemText(row, view->ControlColumn) != "1")
      continue;
    ++control;
    ASSERT_TRUE(TypeIntoCell(grid, row, view->ControlColumn, "0"));
    EXPECT_EQ(grid->GetItemText(row, view->ControlColumn), DocView::FormatCellBool(lp->IsControlPoint(row - 1)));
  }
  ASSERT_EQ(Messages.Shown.size(), 1u);
  EXPECT_EQ(Messages.Shown[0].find("Assertion failure"), std::string::npos) << Messages.Shown[0];
  EXPECT_NE(Messages.Shown[0].find("lap curve"), std::string::npos) << Messages.Shown[0];
  EXPECT_GT(control, 1);
  EXPECT_TRUE(doc->IsModified());
}

TEST_F(LpDocViewWindow, ANewLpIsEmptyAndHasNothingToSaveAndANewLapCurveIsNoDocument) {
  wxDocTemplate* lpTemplate = Manager->FindTemplateForPath("x.lp");
  ASSERT_NE(lpTemplate, nullptr);
  wxDocument* created = lpTemplate->CreateDocument("", wxDOC_NEW);
  ASSERT_NE(created, nullptr);
  ASSERT_TRUE(created->OnNewDocument());
  Ostra::Test::SettleWx();
  auto* doc = dynamic_cast<CLpDocVelmar*>(created);
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(doc->GetLpFile().IsNull());
  EXPECT_EQ(GridOf(doc)->GetRowCount(), 0);
  EXPECT_FALSE(Enabled(ViewOf(doc), wxID_SAVE));
  EXPECT_FALSE(Enabled(ViewOf(doc), wxID_SAVEAS));
  EXPECT_FALSE(doc->Save());
  EXPECT_FALSE(doc->SaveAs());
  EXPECT_EQ(Messages.Shown, (std::vector<std::string>{DocView::NoLpToSaveText, DocView::NoLpToSaveText}));

  wxDocTemplate* lcvTemplate = Manager->FindTemplateForPath("x.lcv");
  ASSERT_NE(lcvTemplate, nullptr);
  auto* curve = dynamic_cast<CLcvDocVelmar*>(wxCreateDynamicObject("CLcvDocVelmar"));
  ASSERT_NE(curve, nullptr);
  EXPECT_FALSE(curve->OnNewDocument());
  delete curve;
}

TEST_F(LpDocViewWindow, TheRealN4LpsOpenInAnN4FolderAndSaveBackByteIdentical) {
  VELMAR_REQUIRE_SHARED_DATA();
  for (const std::string name : {"race.lp", "pit0.lp", "maxrace.lp"}) {
    SCOPED_TRACE(name);
    const std::vector<unsigned char> bytes = Ostra::Test::ReadWholeFile(Ostra::Test::SharedData("n4/atlanta/" + name));
    const std::string folder = N4Folder(Temp, "atlanta", {{name, bytes}});
    CLpDocVelmar* doc = Open(folder + "/" + name);
    ASSERT_NE(doc, nullptr);
    CLpViewVelmar* view = ViewOf(doc);
    EXPECT_EQ(view->GetGridCtrl()->GetRowCount(), 819);
    EXPECT_EQ(view->GetGridCtrl()->GetItemText(0, view->PathLengthColumn), "Path Length");
    EXPECT_EQ(view->GetGridCtrl()->GetColumnCount(), 7);
    // Save writes even an unmodified document when asked directly.
    ASSERT_TRUE(doc->OnSaveDocument(folder + "/" + name));
    EXPECT_EQ(Ostra::Test::ReadWholeFile(folder + "/" + name), bytes);
    ASSERT_TRUE(Manager->CloseDocument(doc, true));
    Ostra::Test::SettleWx();
  }
  EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(LpDocViewWindow, AFailedOpenShowsWhyAndMakesNoDocument) {
  Temp.WriteFile("monza/monza.trk", GplTrkBytes());
  Temp.WriteFile("monza/race.lp", std::vector<unsigned char>{1, 2, 3});
  EXPECT_EQ(Open(Temp / "monza/race.lp"), nullptr);
  EXPECT_EQ(Open(Temp / "monza/qual.lp"), nullptr);
  ASSERT_EQ(Messages.Shown.size(), 2u);
  EXPECT_EQ(Messages.Shown[1], Temp / "monza/qual.lp: file not found");
  EXPECT_TRUE(Documents().empty());
}

} // namespace
} // namespace Ostra::Velmar
