#include "GridCtrl/Core/GridTextFile.h"

#include "GridFakes.h"
#include "TestSupport/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Ostra::Test;

namespace {

// Keeps what the grid reports to the user.
class ReportingGrid : public GridCore {
public:
  void ReportError(const std::string& message) override { Errors.push_back(message); }
  std::vector<std::string> Errors;
};

using Rows = std::vector<std::vector<std::string>>;

Rows Cells(const GridCore& grid) {
  Rows rows;
  for (int row = 0; row < grid.GetRowCount(); ++row) {
    rows.emplace_back();
    for (int col = 0; col < grid.GetColumnCount(); ++col)
      rows.back().push_back(grid.GetItemText(row, col));
  }
  return rows;
}

TEST(GridTextFile, SplitsLinesIntoFields) {
  struct Case {
    const char* Line;
    bool Newline;
    std::vector<std::string> Fields;
  };
  for (const Case& c : {
           Case{"a,b,c", true, {"a", "b", "c"}},
           Case{"a,,c", true, {"a", "", "c"}},
           Case{"a,b,", true, {"a", "b", ""}},
           Case{"a,b,", false, {"a", "b"}},
           Case{"a,b", false, {"a", "b"}},
           Case{"", true, {""}},
           Case{"", false, {}},
           Case{",", false, {""}},
       }) {
    SCOPED_TRACE(testing::Message() << '"' << c.Line << "\" newline " << c.Newline);
    EXPECT_EQ(SplitGridLine(c.Line, ',', c.Newline), c.Fields);
  }
  EXPECT_EQ(SplitGridLine("a\tb,c", '\t', true), (std::vector<std::string>{"a", "b,c"}));
}

TEST(GridTextFile, LoadsTheFirstLineAsColumnsAndTheRestAsRows) {
  const std::string long_field(5000, 'x');
  struct Case {
    const char* Name;
    std::string Text;
    Rows Expected;
  };
  for (const Case& c : {
           Case{"short second line leaves cells empty", "A,B,C\n1,2\n", {{"A", "B", "C"}, {"1", "2", ""}}},
           Case{"empty middle field", "A,B,C\n1,,3\n", {{"A", "B", "C"}, {"1", "", "3"}}},
           Case{"carriage returns are dropped", "A,B\r\n1,2\r\n", {{"A", "B"}, {"1", "2"}}},
           Case{"last line without a line break", "A,B\n1,2", {{"A", "B"}, {"1", "2"}}},
           Case{"trailing delimiter adds a field", "A,B,\n1,2,3\n", {{"A", "B", ""}, {"1", "2", "3"}}},
           Case{"fields past the headings are dropped", "A\n1,2\n", {{"A"}, {"1"}}},
           Case{"empty line is an empty row", "A,B\n\n1,2\n", {{"A", "B"}, {"", ""}, {"1", "2"}}},
           Case{"a line of any length stays one row", "A,B\n" + long_field + ",y\n", {{"A", "B"}, {long_field, "y"}}},
           Case{"UTF-8 passes through", "\xc3\xa9t\xc3\xa9\n\xe2\x82\xac\n", {{"\xc3\xa9t\xc3\xa9"}, {"\xe2\x82\xac"}}},
           Case{"empty file", "", {}},
       }) {
    SCOPED_TRACE(c.Name);
    ReportingGrid grid;
    grid.SetRowCount(3);
    grid.SetColumnCount(3);
    grid.SetFixedRowCount(1);
    std::istringstream in(c.Text);
    EXPECT_TRUE(grid.LoadText(in));
    EXPECT_EQ(Cells(grid), c.Expected);
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    EXPECT_TRUE(grid.Errors.empty());
  }
}

TEST(GridTextFile, LoadedHeadingsAreLeftAlignedSingleLines) {
  GridCore grid;
  std::istringstream in("A;B\n1;2\n");
  ASSERT_TRUE(grid.LoadText(in, ';'));
  EXPECT_EQ(grid.GetItemFormat(0, 1), GridFormat::Left | GridFormat::VCenter | GridFormat::SingleLine);
  // Rows come later and take the default format.
  EXPECT_EQ(grid.GetItemFormat(1, 1), GridFormat::Default);
}

TEST(GridTextFile, SavedTextIsLinesOfDelimitedCells) {
  TestGrid t(2, 3, 1, 1);
  EXPECT_EQ(FormatGridText(t.Grid, ';'), "r0c0;r0c1;r0c2\nr1c0;r1c1;r1c2\n");
  GridCore empty;
  EXPECT_EQ(FormatGridText(empty, ','), "");
}

TEST(GridTextFile, SaveThenLoadGivesTheSameCells) {
  TempDir dir;
  for (const char delimiter : {',', '\t'}) {
    TestGrid t(4, 3, 1, 1);
    t.Grid.SetItemText(2, 1, "");
    t.Grid.SetItemText(3, 2, "gr\xc3\xbc\xc3\x9f");
    const std::string path = dir / "grid.txt";
    ASSERT_TRUE(t.Grid.Save(path, delimiter));
    ReportingGrid loaded;
    ASSERT_TRUE(loaded.Load(path, delimiter));
    EXPECT_EQ(Cells(loaded), Cells(t.Grid));
    EXPECT_TRUE(loaded.Errors.empty());
  }
}

TEST(GridTextFile, FailuresAreReportedAndAnsweredWithFalse) {
  TempDir dir;
  ReportingGrid grid;
  EXPECT_FALSE(grid.Load(dir / "missing.txt"));
  ASSERT_EQ(grid.Errors.size(), 1u);
  EXPECT_NE(grid.Errors[0].find("missing.txt"), std::string::npos) << grid.Errors[0];

  EXPECT_FALSE(grid.Save(dir / "no/such/folder/grid.txt"));
  ASSERT_EQ(grid.Errors.size(), 2u);
  EXPECT_NE(grid.Errors[1].find("grid.txt"), std::string::npos) << grid.Errors[1];

  // A virtual grid holds no cells to load into.
  const std::string path = dir.WriteFile("ok.txt", "A\n1\n");
  ReportingGrid virtual_grid;
  virtual_grid.SetVirtualMode(true);
  EXPECT_FALSE(virtual_grid.Load(path));
}

// Loading holds back the scroll bars until the end; the grid's redraw switch must come
// back as it was, and the bars must then fit what was loaded.
TEST(GridTextFile, ALoadInAWindowEndsWithTheRedrawSwitchRestoredAndFittingBars) {
  for (const bool redraw : {true, false}) {
    SCOPED_TRACE(redraw);
    TestGrid t(2, 2);
    t.Grid.SetRedraw(redraw);
    std::string text = "A,B\n";
    for (int row = 0; row < 200; ++row)
      text += "1,2\n";
    std::istringstream in(text);
    ASSERT_TRUE(t.Grid.LoadText(in));
    EXPECT_EQ(t.Grid.GetRowCount(), 201);
    EXPECT_EQ(t.Grid.GetRedraw(), redraw);
    // 201 rows never fit the test window: the vertical bar shows once drawing is on.
    EXPECT_EQ(t.Grid.IsScrollBarShown(GridBar::Vert), redraw);
    EXPECT_EQ(t.Host.VertShown, redraw);
  }
}

TEST(GridTextFile, DataThatWouldMakeTooManyCellsIsRefused) {
  struct Case {
    const char* Name;
    std::string Text;
  };
  for (const Case& c : {Case{"too many columns", std::string(20, ',') + "\n"},
                        Case{"too many rows", "A,B,C,D\n" + std::string(10, '\n')}}) {
    SCOPED_TRACE(c.Name);
    ReportingGrid grid;
    std::istringstream in(c.Text);
    EXPECT_FALSE(grid.LoadText(in, ',', 16));
    EXPECT_EQ(grid.Errors, std::vector<std::string>{"Unable to load grid data"});
    EXPECT_LE(static_cast<std::size_t>(grid.GetRowCount()) * static_cast<std::size_t>(grid.GetColumnCount()), 16u);
  }
}

} // namespace
