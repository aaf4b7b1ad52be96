#include <gtest/gtest.h>

#include "DocView/Core/TemplateMatching.h"

namespace Ostra::DocView {
namespace {

const std::vector<std::string> Templates = {".trk;.dat", ".lp;.l66;.l69", ".lcv"};

TEST(TemplateMatching, APathGoesToTheTemplateOfItsExtensionWhateverItsCase) {
  struct Case {
    const char* Path;
    std::size_t Template;
  };
  const Case cases[] = {
      {"/g/monza/monza.trk", 0}, {"/g/monza/MONZA.DAT", 0}, {"/g/monza/Monza.Trk", 0},
      {"/g/monza/race.lp", 1},   {"/g/monza/RACE.L66", 1},  {"/g/monza/race.l69", 1},
      {"/g/monza/minrace.lcv", 2},
      // Nothing claims these: the track template takes them (a .ptf is an N4 track).
      {"/g/n4/atlanta.ptf", 0},  {"/g/monza", 0},           {"/g/monza.lp/track", 0},
      {"/g/monza/race.", 0},     {"/g/monza/.lp", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Path);
    EXPECT_EQ(ChooseTemplate(c.Path, Templates), c.Template);
  }
  EXPECT_EQ(ChooseTemplate("/a/b.lp", {}), 0u);
}

TEST(TemplateMatching, EachTemplateMatchesOnlyItsOwnExtensions) {
  EXPECT_EQ(MatchExtension("/a/b.DAT", ".trk;.dat"), ExtensionMatch::Native);
  EXPECT_EQ(MatchExtension("/a/b.lp", ".trk;.dat"), ExtensionMatch::Foreign);
  EXPECT_EQ(MatchExtension("/a/b.trkx", ".trk;.dat"), ExtensionMatch::Foreign);
  EXPECT_EQ(MatchExtension("/a/b.trk", ""), ExtensionMatch::Foreign);
  EXPECT_EQ(MatchExtension("/a/b.trk", ";;.trk;"), ExtensionMatch::Native);
}

TEST(TemplateMatching, TheFileDialogsOfferTheirTemplatesAndAllFiles) {
  // Dialogs here match case, and "*.*" would miss names without a dot.
  EXPECT_EQ(MakeOpenDialogFilter({TrackFileFilter, LapFileFilter, LapCurveFileFilter}),
            "Track Files (*.trk,*.dat,*.ptf)|*.[tT][rR][kK];*.[dD][aA][tT];*.[pP][tT][fF]|"
            "Lap Files (*.lp,*.l66,*.l69)|*.[lL][pP];*.[lL]66;*.[lL]69|"
            "Lap Curve Files (*.lcv)|*.[lL][cC][vV]|"
            "All Files (*.*)|*");
  // Save As: the document's own template, then all files.
  EXPECT_EQ(MakeOpenDialogFilter({LapCurveFileFilter}),
            "Lap Curve Files (*.lcv)|*.[lL][cC][vV]|All Files (*.*)|*");
  EXPECT_EQ(MakeOpenDialogFilter({}), "All Files (*.*)|*");
  EXPECT_EQ(FirstExtension(".trk;.dat"), "trk");
  EXPECT_EQ(FirstExtension(".lcv"), "lcv");
  EXPECT_EQ(FirstExtension(""), "");
}

} // namespace
} // namespace Ostra::DocView
