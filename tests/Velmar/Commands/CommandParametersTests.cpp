#include "Velmar/Core/CommandParameters.h"

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DocView/LpGrid/LpGridFixtures.h"
#include "Papy/Files/Facets.h"
#include "Util/Clipboard.h"
#include "Velmar/Core/CommandChecks.h"
#include "Velmar/Generators/ControlPointClipboard.h"

namespace Ostra::Velmar {
namespace {

TEST(CommandParameters, NumbersAreReadWholeWithAPoint) {
  const struct {
    const char* Text;
    std::optional<double> Expected;
  } cases[] = {
      {"0.5", 0.5},     {" -2.25 ", -2.25}, {"+3", 3.0},     {"1e3", 1000.0}, {"7", 7.0},
      {"1,5", {}},      {"", {}},           {"  ", {}},      {"abc", {}},     {"2.5x", {}},
      {"0x10", {}},     {"nan", {}},        {"inf", {}},     {"-inf", {}},    {"1e999", {}},
      {"++1", {}},      {"+-1", {}},        {"1 2", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseDialogNumber(c.Text), c.Expected) << "'" << c.Text << "'";
  EXPECT_EQ(FormatDialogNumber(0.5), "0.5");
  EXPECT_EQ(FormatDialogNumber(0.1), "0.1");
  EXPECT_EQ(FormatDialogNumber(1.0), "1");
  EXPECT_EQ(FormatDialogNumber(0.25), "0.25");
  EXPECT_EQ(FormatDialogNumber(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(ParseDialogNumber(FormatDialogNumber(123456.789)), 123456.789);
}

TEST(CommandParameters, ADialogKeepsItsValuesUntilEveryFieldIsAcceptable) {
  const struct {
    ParameterRequest Request;
    std::vector<std::string> Texts;
    std::string Complaint; // empty: accepted
    std::vector<double> Values;
  } cases[] = {
      {ScaleRequest(), {"0.5", " 2 "}, "", {0.5, 2.0}},
      {ScaleRequest(), {"0.5", "2,0"}, "Please enter a number for \"Ending Scale Factor\", with a point as its decimal mark.", {1.0, 1.0}},
      {ScaleRequest(), {"0.5"}, "Please enter a number for \"Ending Scale Factor\", with a point as its decimal mark.", {1.0, 1.0}},
      {GenerateCurveRequest("race"), {"-1"}, "", {-1.0}},
      {GenerateCurveRequest("race"), {"1e308"}, "The tolerance must be at most 100 metres.", {0.5}},
      {GenerateLapRequest("race"), {"0.8"}, "", {0.8}},
      {GenerateLapRequest("race"), {"10"}, "", {10.0}},
      {GenerateLapRequest("race"), {"0"}, "The grip must be greater than 0 and at most 10.", {1.0}},
      {GenerateLapRequest("race"), {"-0.5"}, "The grip must be greater than 0 and at most 10.", {1.0}},
      {GenerateLapRequest("race"), {"10.5"}, "The grip must be greater than 0 and at most 10.", {1.0}},
      {GenerateLapRequest("race"), {"inf"}, "Please enter a number for \"Grip\", with a point as its decimal mark.", {1.0}},
  };
  for (auto c : cases) {
    EXPECT_EQ(AcceptFieldTexts(c.Request, c.Texts), c.Complaint) << c.Texts.front();
    for (std::size_t k = 0; k < c.Values.size(); ++k)
      EXPECT_EQ(c.Request.Fields[k].Value, c.Values[k]) << c.Texts.front();
  }
  EXPECT_NE(CheckGrip(std::numeric_limits<double>::quiet_NaN()), "");
}

class StubMakeTrack : public Papy::MakeTrack {
public:
  CountedPtr<Papy::Track> Make(const std::string&, const std::string&, bool) override { return {}; }
  void Purge() override {}
};

class StubCreateLp : public Papy::CreateLp {
public:
  CountedPtr<Papy::LpFile> Create(const std::string&, double) override { return {}; }
};

TEST(CommandChecks, DocumentsWithoutAnLpFactoryOrTrackDisableEveryCommand) {
  const CountedPtr<Papy::LpFile> lp = DocView::LpGridTest::GplLp();
  const CountedPtr<Papy::LpFile> curve(DocView::LpGridTest::LapCurve());
  Papy::FileFactory empty;
  Papy::FileFactory folder;
  folder.AddFacet<Papy::MakeTrack>(new StubMakeTrack);
  folder.AddFacet<Papy::CreateLp>(new StubCreateLp);
  folder.AddFacet<Papy::GetDirectory>(new Papy::GetDirectory(Papy::PapyDirectory()));
  const Ostra::Test::OvalTrack oval(100.0, 50.0);
  const Papy::Track* track = &oval;

  EXPECT_FALSE(CanGenerateCurve(nullptr, nullptr));
  EXPECT_FALSE(CanGenerateCurve(lp.Get(), nullptr));
  EXPECT_FALSE(CanGenerateCurve(lp.Get(), &empty));
  EXPECT_FALSE(CanGenerateCurve(curve.Get(), &folder));
  EXPECT_TRUE(CanGenerateCurve(lp.Get(), &folder));

  EXPECT_FALSE(CanGenerateLp(nullptr, &folder));
  EXPECT_FALSE(CanGenerateLp(lp.Get(), &folder));
  EXPECT_FALSE(CanGenerateLp(curve.Get(), &empty));
  EXPECT_TRUE(CanGenerateLp(curve.Get(), &folder));

  EXPECT_FALSE(CanCopyControlPoints(nullptr, 5));
  EXPECT_FALSE(CanCopyControlPoints(lp.Get(), 5));
  EXPECT_FALSE(CanCopyControlPoints(curve.Get(), 0));
  EXPECT_TRUE(CanCopyControlPoints(curve.Get(), 1));

  Util::Clipboard::Instance()->SetData(ControlPointsFormat, ControlPointList{});
  EXPECT_FALSE(CanPasteControlPoints(nullptr));
  EXPECT_FALSE(CanPasteControlPoints(lp.Get()));
  EXPECT_TRUE(CanPasteControlPoints(curve.Get()));

  EXPECT_FALSE(CanCreateMinMaxRaceLps(nullptr, &folder));
  EXPECT_FALSE(CanCreateMinMaxRaceLps(track, nullptr));
  EXPECT_FALSE(CanCreateMinMaxRaceLps(track, &empty));
  EXPECT_TRUE(CanCreateMinMaxRaceLps(track, &folder));
}

} // namespace
} // namespace Ostra::Velmar
