#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <wx/docview.h>
#include <wx/frame.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/Core/LpCells.h"
#include "GridCtrl/GridCtrl.h"
#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Lp/LpFile.h"
#include "TestSupport/EditorTestApp.h"
#include "TestSupport/TempDir.h"
#include "Velmar/App/LpDocVelmar.h"
#include "Velmar/App/LpViewVelmar.h"
#include "Velmar/App/TrkDocVelmar.h"
#include "tests/VelmarApp/Commands/CommandPrompts.h"

namespace Ostra::Velmar {
namespace {

namespace Editor = Ostra::Test;
using CommandsTest::ScriptedPrompts;
using DocView::QuestionAnswer;
using Ostra::Test::EditorMessages;
using Ostra::Test::FindView;

// A command or its enabler, as the menu sends it to the document's frame once the user
// brought that frame's tab to the front (the frame hands commands to the active view).
bool IsEnabled(wxView* view, int id) {
  view->Activate(true);
  wxUpdateUIEvent event(id);
  event.SetEventObject(view->GetFrame());
  view->GetFrame()->ProcessWindowEvent(event);
  return event.GetSetEnabled() && event.GetEnabled();
}

void SendCommand(wxView* view, int id) {
  view->Activate(true);
  wxCommandEvent event(wxEVT_MENU, id);
  event.SetEventObject(view->GetFrame());
  view->GetFrame()->ProcessWindowEvent(event);
  Editor::SettleWx();
}

CLpViewVelmar* LpView(wxDocument* doc) { return FindView<CLpViewVelmar>(doc); }

CountedPtr<Papy::LpFile> LpOf(wxDocument* doc) {
  auto* lp = dynamic_cast<DocView::CLpDoc*>(doc);
  return lp ? lp->GetLpFile() : CountedPtr<Papy::LpFile>();
}

void ExpectFinite(const Papy::LpFile& lp) {
  for (U32 i = 0; i < lp.GetRecordCount(); ++i) {
    ASSERT_TRUE(std::isfinite(lp.GetRecordLatitude(i))) << i;
    ASSERT_TRUE(std::isfinite(lp.GetRecordLongitudinalSpeed(i))) << i;
    ASSERT_TRUE(std::isfinite(lp.GetRecordLateralSpeed(i))) << i;
    ASSERT_TRUE(std::isfinite(lp.GetRecordYawSpeed(i))) << i;
  }
}

// The folder's copy of one sample, so that what a test writes stays its own.
class CommandsFlow : public ::testing::Test {
protected:
  void SetUp() override {
    if (!Editor::StartEditor())
      GTEST_SKIP() << "no X display";
    EditorMessages().Clear();
    EditorMessages().Answers.clear();
  }
  void TearDown() override {
    if (Editor::StartEditor())
      Editor::CloseAllDocuments();
  }

  // A private copy of a sample folder; returns its track file.
  std::string CopySample(const std::string& folder, const std::string& track) {
    const std::filesystem::path from(folder);
    const std::filesystem::path to = std::filesystem::path(Dir.Path()) / from.parent_path().filename();
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
    return (to / std::filesystem::path(track).filename()).string();
  }

  // Opens the track (its race.lp comes with it) and returns the race LP document.
  wxDocument* OpenRace(const std::string& track_path, CTrkDocVelmar*& track) {
    track = dynamic_cast<CTrkDocVelmar*>(Editor::OpenAsUser(track_path));
    if (track == nullptr || track->GetLpDocumentCount() != 1)
      return nullptr;
    return track->GetLpDocument(0);
  }

  Ostra::Test::TempDir Dir;
  ScriptedPrompts Prompts;
};

TEST_F(CommandsFlow, GenerateCurveThenGenerateLpInEveryGamesSample) {
  const SampleFolders& samples = Editor::EditorSamples();
  const std::pair<std::string, std::string> folders[] = {
      {samples.Gpl, samples.GplTrack}, {samples.N2, samples.N2Track}, {samples.N4, samples.N4Track}};
  for (const auto& [sample, sample_track] : folders) {
    SCOPED_TRACE(sample);
    const std::string track_path = CopySample(sample, sample_track);
    const std::string folder = std::filesystem::path(track_path).parent_path().string() + "/";
    CTrkDocVelmar* track = nullptr;
    wxDocument* race = OpenRace(track_path, track);
    ASSERT_NE(race, nullptr) << EditorMessages().Joined();
    const CountedPtr<Papy::LpFile> race_lp = LpOf(race);
    const U32 count = race_lp->GetRecordCount();

    // Generate Curve: on an LP, not on a lap curve.
    ASSERT_TRUE(IsEnabled(LpView(race), DocView::ID_GENERATE_CURVE));
    EXPECT_FALSE(IsEnabled(LpView(race), DocView::ID_GENERATE_LP));
    Prompts.AnswerOk();
    Prompts.AnswerSave(folder + "race.lcv");
    SendCommand(LpView(race), DocView::ID_GENERATE_CURVE);
    ASSERT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
    EXPECT_EQ(Prompts.Asked.back().Title, "Generate Curve");
    EXPECT_EQ(Prompts.Asked.back().Fields[0].Value, 0.5);
    EXPECT_EQ(Prompts.SaveRequests.back().InitialName, "race");
    EXPECT_EQ(Prompts.SaveRequests.back().DefaultExtension, "lcv");
    wxDocument* curve_doc = Editor::FindOpenDocument(folder + "race.lcv");
    ASSERT_NE(dynamic_cast<CLcvDocVelmar*>(curve_doc), nullptr);
    EXPECT_EQ(track->GetLpDocumentCount(), 2);
    EXPECT_EQ(LpOf(curve_doc)->GetRecordCount(), count);

    // Generate Lp over the open race.lp, which has no unsaved changes: no question.
    ASSERT_TRUE(IsEnabled(LpView(curve_doc), DocView::ID_GENERATE_LP));
    EXPECT_FALSE(IsEnabled(LpView(curve_doc), DocView::ID_GENERATE_CURVE));
    Prompts.AnswerOk();
    Prompts.AnswerSave(folder + "race.lp");
    SendCommand(LpView(curve_doc), DocView::ID_GENERATE_LP);
    ASSERT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
    EXPECT_TRUE(EditorMessages().Asked.empty());
    EXPECT_EQ(Prompts.Asked.back().Fields[0].Value, 1.0);
    wxDocument* generated = Editor::FindOpenDocument(folder + "race.lp");
    ASSERT_NE(generated, nullptr);
    EXPECT_NE(LpOf(generated).Get(), race_lp.Get());
    // In place of the old race.lp, linked to the track, whose 3D view draws it.
    ASSERT_EQ(track->GetLpDocumentCount(), 2);
    EXPECT_TRUE(track->GetLpDocument(0) == generated || track->GetLpDocument(1) == generated);
    EXPECT_EQ(LpOf(generated)->GetRecordCount(), count);
    ExpectFinite(*LpOf(generated));

    // Both files reopen from disk.
    Editor::CloseAllDocuments();
    Papy::FileFactoryRegistry::Instance().Purge();
    for (const std::string name : {"race.lp", "race.lcv"}) {
      wxDocument* reopened = Editor::OpenAsUser(folder + name);
      ASSERT_NE(reopened, nullptr) << name << EditorMessages().Joined();
      EXPECT_EQ(LpOf(reopened)->GetRecordCount(), count) << name;
      ExpectFinite(*LpOf(reopened));
    }
    Editor::CloseAllDocuments();
  }
}

TEST_F(CommandsFlow, AnOpenDocumentsUnsavedChangesAreNotReplacedUnasked) {
  const std::string track_path = CopySample(Editor::EditorSamples().Gpl, Editor::EditorSamples().GplTrack);
  const std::string folder = std::filesystem::path(track_path).parent_path().string() + "/";
  CTrkDocVelmar* track = nullptr;
  wxDocument* race = OpenRace(track_path, track);
  ASSERT_NE(race, nullptr) << EditorMessages().Joined();
  Prompts.AnswerOk();
  Prompts.AnswerSave(folder + "race.lcv");
  SendCommand(LpView(race), DocView::ID_GENERATE_CURVE);
  wxDocument* curve_doc = Editor::FindOpenDocument(folder + "race.lcv");
  ASSERT_NE(curve_doc, nullptr) << EditorMessages().Joined();

  // Set Value 100 on three longitudinal-speed cells of race.lp: now it has changes.
  CLpViewVelmar* view = LpView(race);
  const int col = view->LongitudinalSpeedColumn;
  view->GetGridCtrl()->SetSelectedRange(CCellRange(3, col, 5, col));
  ASSERT_TRUE(IsEnabled(view, DocView::ID_EDIT_SET_VALUE));
  EXPECT_FALSE(IsEnabled(view, DocView::ID_COPY_CONTROL_POINTS));
  Prompts.AnswerOk({100.0});
  SendCommand(view, DocView::ID_EDIT_SET_VALUE);
  EXPECT_EQ(Prompts.Asked.back().Title, "Value");
  EXPECT_TRUE(race->IsModified());
  EXPECT_EQ(view->GetGridCtrl()->GetItemText(4, col), DocView::FormatCellSpeed(LpOf(race)->GetRecordLongitudinalSpeed(3)));
  EXPECT_NEAR(LpOf(race)->GetRecordLongitudinalSpeed(3) * 3.6, 100.0, 1e-3);
  const auto bytes_before = Editor::ReadWholeFile(folder + "race.lp");

  // No keeps the changes and writes nothing.
  Prompts.AnswerOk();
  Prompts.AnswerSave(folder + "race.lp");
  EditorMessages().Answers.push_back(QuestionAnswer::No);
  SendCommand(LpView(curve_doc), DocView::ID_GENERATE_LP);
  ASSERT_EQ(EditorMessages().Asked.size(), 1u);
  EXPECT_THAT(EditorMessages().Asked[0], testing::HasSubstr("race.lp is open with changes that were not saved"));
  EXPECT_EQ(Editor::FindOpenDocument(folder + "race.lp"), race);
  EXPECT_TRUE(race->IsModified());
  EXPECT_EQ(Editor::ReadWholeFile(folder + "race.lp"), bytes_before);

  // Yes discards them.
  Prompts.AnswerOk();
  Prompts.AnswerSave(folder + "race.lp");
  EditorMessages().Answers.push_back(QuestionAnswer::Yes);
  SendCommand(LpView(curve_doc), DocView::ID_GENERATE_LP);
  EXPECT_EQ(EditorMessages().Asked.size(), 2u);
  wxDocument* generated = Editor::FindOpenDocument(folder + "race.lp");
  ASSERT_NE(generated, nullptr) << EditorMessages().Joined();
  EXPECT_FALSE(generated->IsModified());
  EXPECT_NE(Editor::ReadWholeFile(folder + "race.lp"), bytes_before);
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
}

TEST_F(CommandsFlow, EditCommandsFollowTheSelectionAndAreOffWithoutAnLp) {
  const std::string track_path = CopySample(Editor::EditorSamples().N2, Editor::EditorSamples().N2Track);
  CTrkDocVelmar* track = nullptr;
  wxDocument* race = OpenRace(track_path, track);
  ASSERT_NE(race, nullptr) << EditorMessages().Joined();
  CLpViewVelmar* view = LpView(race);
  CGridCtrl* grid = view->GetGridCtrl();
  const int lat = view->LatitudeColumn;
  // One row: Set Value and Adjust, not Scale and Ramp.
  grid->SetSelectedRange(CCellRange(2, lat, 2, lat));
  EXPECT_TRUE(IsEnabled(view, DocView::ID_EDIT_ADJUST));
  EXPECT_FALSE(IsEnabled(view, DocView::ID_EDIT_SCALE));
  EXPECT_FALSE(IsEnabled(view, DocView::ID_EDIT_RAMP));
  // Ramp rows 5 to 9 from 1 m to 5 m, the ICR2 latitudes showing what they stored.
  LpOf(race)->SetRecordLatitude(4, 1.0);
  LpOf(race)->SetRecordLatitude(8, 5.0);
  race->UpdateAllViews();
  grid->SetSelectedRange(CCellRange(5, lat, 9, lat));
  ASSERT_TRUE(IsEnabled(view, DocView::ID_EDIT_RAMP));
  SendCommand(view, DocView::ID_EDIT_RAMP);
  for (int row = 5; row <= 9; ++row) {
    EXPECT_NEAR(LpOf(race)->GetRecordLatitude(static_cast<U32>(row - 1)), row - 4.0, 1e-4) << row;
    EXPECT_EQ(grid->GetItemText(row, lat),
              DocView::FormatCellDouble(LpOf(race)->GetRecordLatitude(static_cast<U32>(row - 1))));
  }
  // Scale 1 -> 2 over the same rows: row 7 by 1.5.
  Prompts.AnswerOk({1.0, 2.0});
  SendCommand(view, DocView::ID_EDIT_SCALE);
  EXPECT_NEAR(LpOf(race)->GetRecordLatitude(6), 4.5, 1e-4);
  EXPECT_NEAR(LpOf(race)->GetRecordLatitude(8), 10.0, 1e-4);
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();

  // A lap file made by New has no LP: every command is off, and sent anyway does nothing.
  wxDocTemplate* lp_template = nullptr;
  for (wxDocTemplate* candidate : wxDocManager::GetDocumentManager()->GetTemplatesVector())
    if (candidate->GetDocumentName() == "PapyrusLP.Document")
      lp_template = candidate;
  ASSERT_NE(lp_template, nullptr);
  wxDocument* empty = lp_template->CreateDocument("", wxDOC_NEW);
  ASSERT_NE(empty, nullptr);
  ASSERT_TRUE(empty->OnNewDocument());
  Editor::SettleWx();
  CLpViewVelmar* empty_view = LpView(empty);
  ASSERT_NE(empty_view, nullptr);
  for (const int id : {DocView::ID_EDIT_SET_VALUE, DocView::ID_EDIT_ADJUST, DocView::ID_EDIT_SCALE,
                       DocView::ID_EDIT_RAMP, DocView::ID_GENERATE_CURVE, DocView::ID_GENERATE_LP,
                       DocView::ID_COPY_CONTROL_POINTS, DocView::ID_PASTE_CONTROL_POINTS}) {
    EXPECT_FALSE(IsEnabled(empty_view, id)) << id;
    SendCommand(empty_view, id);
  }
  EXPECT_TRUE(Prompts.Parameters.empty());
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
}

TEST_F(CommandsFlow, ControlPointsCopiedFromOneLapCurvePasteIntoAnother) {
  const std::string track_path = CopySample(Editor::EditorSamples().Gpl, Editor::EditorSamples().GplTrack);
  const std::string folder = std::filesystem::path(track_path).parent_path().string() + "/";
  CTrkDocVelmar* track = nullptr;
  wxDocument* race = OpenRace(track_path, track);
  ASSERT_NE(race, nullptr) << EditorMessages().Joined();
  for (const auto& [name, tolerance] : {std::pair{"fine", 0.05}, std::pair{"coarse", 2.0}}) {
    Prompts.AnswerOk({tolerance});
    Prompts.AnswerSave(folder + name + ".lcv");
    SendCommand(LpView(race), DocView::ID_GENERATE_CURVE);
  }
  wxDocument* fine = Editor::FindOpenDocument(folder + "fine.lcv");
  wxDocument* coarse = Editor::FindOpenDocument(folder + "coarse.lcv");
  ASSERT_TRUE(fine && coarse) << EditorMessages().Joined();
  auto* fine_curve = dynamic_cast<Papy::LpFileCurve*>(LpOf(fine).Get());
  auto* coarse_curve = dynamic_cast<Papy::LpFileCurve*>(LpOf(coarse).Get());
  ASSERT_GT(fine_curve->GetControlPoints().size(), coarse_curve->GetControlPoints().size());

  // Copy every point of the fine curve, paste into the coarse one.
  CLpViewVelmar* fine_view = LpView(fine);
  fine_view->GetGridCtrl()->SetSelectedRange(
      CCellRange(1, 1, static_cast<int>(fine_curve->GetRecordCount()), 1));
  ASSERT_TRUE(IsEnabled(fine_view, DocView::ID_COPY_CONTROL_POINTS));
  SendCommand(fine_view, DocView::ID_COPY_CONTROL_POINTS);
  ASSERT_TRUE(IsEnabled(LpView(coarse), DocView::ID_PASTE_CONTROL_POINTS));
  EXPECT_FALSE(coarse->IsModified());
  SendCommand(LpView(coarse), DocView::ID_PASTE_CONTROL_POINTS);
  EXPECT_TRUE(coarse->IsModified());
  // Every copied point is now a control point of the coarse curve, at its longitude.
  for (const Papy::LpFileCurve::PointRecord& point : fine_curve->GetControlPoints()) {
    const U32 record = coarse_curve->GetRecordIndex(point.Longitude);
    EXPECT_TRUE(coarse_curve->IsControlPoint(record)) << point.Longitude;
    EXPECT_EQ(coarse_curve->GetControlPoint(record), point) << point.Longitude;
  }
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();

  // Points of a curve with another spacing are refused, all of them.
  const std::string n2_path = CopySample(Editor::EditorSamples().N2, Editor::EditorSamples().N2Track);
  CTrkDocVelmar* n2_track = nullptr;
  wxDocument* n2_race = OpenRace(n2_path, n2_track);
  ASSERT_NE(n2_race, nullptr) << EditorMessages().Joined();
  const std::string n2_folder = std::filesystem::path(n2_path).parent_path().string() + "/";
  Prompts.AnswerOk();
  Prompts.AnswerSave(n2_folder + "race.lcv");
  SendCommand(LpView(n2_race), DocView::ID_GENERATE_CURVE);
  wxDocument* n2_curve = Editor::FindOpenDocument(n2_folder + "race.lcv");
  ASSERT_NE(n2_curve, nullptr) << EditorMessages().Joined();
  n2_curve->Modify(false);
  const auto before = dynamic_cast<Papy::LpFileCurve*>(LpOf(n2_curve).Get())->GetControlPoints();
  SendCommand(LpView(n2_curve), DocView::ID_PASTE_CONTROL_POINTS);
  EXPECT_TRUE(EditorMessages().Contains("nothing was pasted")) << EditorMessages().Joined();
  EXPECT_FALSE(n2_curve->IsModified());
  EXPECT_EQ(dynamic_cast<Papy::LpFileCurve*>(LpOf(n2_curve).Get())->GetControlPoints(), before);
}

TEST_F(CommandsFlow, MinMaxRaceLinesOpenLinkedToTheTrackAndNeedThePitLane) {
  const std::string track_path = CopySample(Editor::EditorSamples().Gpl, Editor::EditorSamples().GplTrack);
  const std::string folder = std::filesystem::path(track_path).parent_path().string() + "/";
  std::filesystem::rename(folder + "track.ini", folder + "Track.INI");
  auto* track = dynamic_cast<CTrkDocVelmar*>(Editor::OpenAsUser(track_path));
  ASSERT_NE(track, nullptr) << EditorMessages().Joined();
  wxView* tree = track->GetFirstView();
  ASSERT_TRUE(IsEnabled(tree, DocView::ID_CREATE_MIN_MAX_RACE_LPS));
  Prompts.AnswerSave(folder + "minrace.lcv");
  Prompts.AnswerSave(folder + "maxrace"); // the extension added
  SendCommand(tree, DocView::ID_CREATE_MIN_MAX_RACE_LPS);
  ASSERT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
  ASSERT_EQ(Prompts.SaveRequests.size(), 2u);
  EXPECT_EQ(Prompts.SaveRequests[0].InitialName, "minrace");
  EXPECT_EQ(Prompts.SaveRequests[1].InitialName, "maxrace");
  for (const std::string name : {"minrace.lcv", "maxrace.lcv"}) {
    auto* doc = dynamic_cast<CLcvDocVelmar*>(Editor::FindOpenDocument(folder + name));
    ASSERT_NE(doc, nullptr) << name;
    ExpectFinite(*doc->GetLpFile());
  }
  EXPECT_EQ(track->GetLpDocumentCount(), 3);

  // Reopened later, they link to the track again; the race-line curves default to the
  // tighter tolerance and the lower grip.
  Editor::CloseAllDocuments();
  track = dynamic_cast<CTrkDocVelmar*>(Editor::OpenAsUser(track_path));
  ASSERT_NE(track, nullptr);
  wxDocument* minrace = Editor::OpenAsUser(folder + "minrace.lcv");
  ASSERT_NE(minrace, nullptr) << EditorMessages().Joined();
  EXPECT_EQ(track->GetLpDocumentCount(), 2);
  Prompts.AnswerCancel();
  SendCommand(LpView(minrace), DocView::ID_GENERATE_LP);
  EXPECT_EQ(Prompts.Asked.back().Fields[0].Value, 0.25);

  // Without track.ini: the message, and no save dialog.
  Editor::CloseAllDocuments();
  std::filesystem::remove(folder + "Track.INI");
  track = dynamic_cast<CTrkDocVelmar*>(Editor::OpenAsUser(track_path));
  ASSERT_NE(track, nullptr);
  SendCommand(track->GetFirstView(), DocView::ID_CREATE_MIN_MAX_RACE_LPS);
  EXPECT_TRUE(EditorMessages().Contains("track.ini\nPit lane bounds not present")) << EditorMessages().Joined();
  EXPECT_EQ(Prompts.SaveRequests.size(), 2u);
}

} // namespace
} // namespace Ostra::Velmar
