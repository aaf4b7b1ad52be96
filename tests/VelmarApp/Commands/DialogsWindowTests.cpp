#include "Velmar/App/Dialogs.h"

#include <clocale>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <wx/textctrl.h>

#include "CommandPrompts.h"
#include "TestSupport/TempDir.h"
#include "TestSupport/WxTestApp.h"

namespace Ostra::Velmar {
namespace {

using CommandsTest::RecordedMessages;
using CommandsTest::ScriptedPrompts;

class DialogsWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!Ostra::Test::StartWx())
      GTEST_SKIP() << "no display: the dialogs need one";
  }
};

TEST_F(DialogsWindowTest, AParameterDialogStaysOpenUntilEveryFieldIsAnAcceptableNumber) {
  RecordedMessages messages;
  // A desktop language with a decimal comma changes nothing shown or read.
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  {
    CParameterDialog scale(nullptr, ScaleRequest());
    EXPECT_EQ(scale.GetTitle(), "Scale");
    EXPECT_EQ(scale.GetField(0)->GetValue(), "1");
    scale.GetField(0)->SetValue("0.5");
    scale.GetField(1)->SetValue("2,5");
    EXPECT_FALSE(scale.TransferDataFromWindow());
    EXPECT_THAT(messages.Shown, testing::ElementsAre(testing::HasSubstr("Ending Scale Factor")));
    EXPECT_EQ(scale.GetRequest().Fields[0].Value, 1.0);
    scale.GetField(1)->SetValue(" 2.5 ");
    EXPECT_TRUE(scale.TransferDataFromWindow());
    EXPECT_EQ(scale.GetRequest().Fields[0].Value, 0.5);
    EXPECT_EQ(scale.GetRequest().Fields[1].Value, 2.5);
  }
  {
    CParameterDialog lap(nullptr, GenerateLapRequest("MinRace"));
    EXPECT_EQ(lap.GetField(0)->GetValue(), "0.25");
    lap.GetField(0)->SetValue("0");
    EXPECT_FALSE(lap.TransferDataFromWindow());
    EXPECT_EQ(messages.Shown.back(), "The grip must be greater than 0 and at most 10.");
    CParameterDialog curve(nullptr, GenerateCurveRequest("race"));
    EXPECT_EQ(curve.GetField(0)->GetValue(), "0.5");
  }
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST_F(DialogsWindowTest, TheNamedDialogsStartFromTheirDefaultsAndKeepTheirValuesOnlyOnOk) {
  ScriptedPrompts prompts;
  prompts.AnswerOk({0.75, 3.0});
  prompts.AnswerCancel();
  CScaleDlg scale;
  ASSERT_TRUE(scale.Run(nullptr));
  EXPECT_EQ(scale.BeginningScaleFactor, 0.75);
  EXPECT_EQ(scale.EndingScaleFactor, 3.0);
  CGenerateLapDlg lap("maxrace");
  EXPECT_FALSE(lap.Run(nullptr));
  EXPECT_EQ(lap.Grip, 0.25);
  ASSERT_EQ(prompts.Asked.size(), 2u);
  EXPECT_EQ(prompts.Asked[1].Title, "Generate Lap");
  EXPECT_EQ(prompts.Asked[1].Fields[0].Value, 0.25);
  EXPECT_EQ(CGenerateCurveDlg("MAXRACE").Tolerance, 0.1);
  EXPECT_EQ(CGenerateCurveDlg("race").Tolerance, 0.5);
  EXPECT_EQ(CValueDlg().Value, 0.0);
  EXPECT_EQ(CAdjustDlg().AdjustBy, 0.0);
}

TEST_F(DialogsWindowTest, AnAddedExtensionThatNamesAnExistingFileIsAskedAbout) {
  Ostra::Test::TempDir dir;
  dir.WriteFile("minrace.lcv", "old");
  ScriptedPrompts prompts;
  RecordedMessages messages;
  const SaveFileRequest request{"Lp Curve Files (*.lcv)|*.lcv", "lcv", dir.Path(), "minrace"};
  // Typed without the extension: the file it makes exists, and the user keeps it.
  prompts.AnswerSave(dir / "minrace");
  EXPECT_EQ(AskSavePath(request, nullptr), "");
  ASSERT_EQ(messages.Questions.size(), 1u);
  EXPECT_EQ(messages.Questions[0], "minrace.lcv already exists.\nDo you want to replace it?");
  // Replacing it.
  prompts.AnswerSave(dir / "minrace");
  messages.Answers.push_back(DocView::QuestionAnswer::Yes);
  EXPECT_EQ(AskSavePath(request, nullptr), dir / "minrace.lcv");
  // A new name, or one the dialog already asked about, asks nothing more.
  prompts.AnswerSave(dir / "fresh");
  EXPECT_EQ(AskSavePath(request, nullptr), dir / "fresh.lcv");
  prompts.AnswerSave(dir / "minrace.lcv");
  EXPECT_EQ(AskSavePath(request, nullptr), dir / "minrace.lcv");
  EXPECT_EQ(AskSavePath(request, nullptr), ""); // cancelled
  EXPECT_EQ(messages.Questions.size(), 2u);
  EXPECT_EQ(prompts.SaveRequests.back().InitialName, "minrace");
}

} // namespace
} // namespace Ostra::Velmar
