// Opening a 20,000-record ICR2 LP as a document and filling the grid that shows it, as
// the LP grid view does (every cell set, the grid is not virtual); then what scrolling
// that grid repaints. The grid runs headless over a host that records the areas it
// invalidates, and a paint is replayed over exactly those areas with a surface that
// counts the cells drawn: the counts must stay those of the visible rows, however long
// the LP.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "DocView/Core/LpColumns.h"
#include "DocView/Core/LpDocumentCore.h"
#include "DocView/Core/LpGridRules.h"
#include "GridCtrl/Core/GridCore.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Lp/ICR2LpFile.h"
#include "TestSupport/ICR2TrkBuilder.h"
#include "TestSupport/LpFakes.h"
#include "TestSupport/TempDir.h"
#include "Util/MemoryStream.h"

namespace {

using namespace Ostra;

constexpr int RecordCount = 20000;

// 20,000 records at the default spacing of 3.3292288 m, latitudes varying.
std::vector<unsigned char> LongIcr2Lp() {
  const double lap = (RecordCount - 0.5) * Papy::ICR2LpFile::DefaultSpacing;
  const auto units = static_cast<Util::S32>(lap / 5.08e-5);
  Papy::ICR2LpFile lp(Papy::LpTest::MakeTrk(static_cast<float>(lap), units), 0.0);
  for (Util::U32 r = 0; r < lp.GetRecordCount(); ++r) {
    lp.SetRecordLatitude(r, static_cast<double>(r % 200) / 10.0 - 10.0);
    lp.SetRecordLongitudinalSpeed(r, 40.0 + static_cast<double>(r % 50));
  }
  const Util::CountedPtr<Util::MemoryStream> out(new Util::MemoryStream("race.lp"));
  lp.Write(out);
  return out->Bytes();
}

// An N2 folder holding the long LP.
struct Folder {
  Folder() {
    Papy::RegisterGameRecognizers();
    Temp.WriteFile("nazareth/nazareth.trk", Test::ICR2TrkBuilder::Circuit().Bytes());
    Lp = Temp.WriteFile("nazareth/race.lp", LongIcr2Lp());
  }
  Test::TempDir Temp;
  std::string Lp;
};

class Measurer : public GridTextMeasurer {
public:
  GridSize TextExtent(const GridFontDesc&, const std::string& text) override {
    return {7 * static_cast<int>(text.size()), 15};
  }
};

// A 1000 x 700 window that keeps the areas the grid invalidates.
class RecordingHost : public GridHost {
public:
  bool WindowExists() const override { return true; }
  GridSize GetClientSize() const override { return {1000, 700}; }
  int GetScrollBarThickness(GridBar) const override { return 0; }
  void SetScrollBar(GridBar, bool, int, int, int) override {}
  void SetScrollPos(GridBar, int) override {}
  void InvalidateAll() override { Areas.push_back({0, 0, 1000, 700}); }
  void InvalidateRect(const GridRect& rect) override { Areas.push_back(rect); }
  void CaptureMouse() override {}
  void ReleaseMouse() override {}
  bool HasCapture() const override { return false; }
  void SetCursor(GridCursor) override {}
  void StartTimer(int) override {}
  void StopTimer() override {}
  void TakeKeyboardFocus() override {}
  GridPoint GetCursorPos() const override { return {}; }
  GridSize GetDragThreshold() const override { return {4, 4}; }
  GridColour GetSysColour(GridSysColour) const override { return 0; }
  GridTextMeasurer* GetMeasurer() override { return &Text; }
  void PostClickCommand() override {}
  GridInPlaceEditor* CreateInPlaceEditor(const GridEditRequest&) override { return nullptr; }

  Measurer Text;
  std::vector<GridRect> Areas;
};

// Counts the cell texts drawn.
class CountingDC : public GridDC {
public:
  GridSize TextExtent(const GridFontDesc&, const std::string& text) override {
    return {7 * static_cast<int>(text.size()), 15};
  }
  void FillSolidRect(const GridRect&, GridColour) override {}
  void FrameRect(const GridRect&, GridColour) override {}
  void Line(GridPoint, GridPoint, GridColour) override {}
  void PolygonOutline(const std::vector<GridPoint>&, GridColour) override {}
  void DrawText(const std::string&, const GridRect&, Ostra::U32, GridColour, const GridFontDesc&) override {
    ++Cells;
  }
  void DrawImage(const GridImageList&, int, GridPoint) override {}
  long Cells = 0;
};

// What the LP grid view does on its first update.
DocView::LpColumnMap Fill(GridCore& grid, const Papy::LpFile& lp) {
  DocView::LpColumnMap map = DocView::LayoutColumns(DocView::LpCapabilities::Of(lp));
  grid.SetRedraw(false);
  grid.SetColumnCount(map.Count());
  grid.SetRowCount(static_cast<int>(lp.GetRecordCount()) + 1);
  grid.SetFixedColumnCount(1);
  grid.SetFixedRowCount(1);
  grid.SetRowResize(false);
  grid.EnableTitleTips(false);
  DocView::FillLpCells(lp, map, [&grid](int row, int column, const std::string& text) {
    grid.SetItemText(row, column, text);
  });
  for (int column = 0; column < map.Count(); ++column)
    grid.AutoSizeColumn(column, 1, false);
  grid.SetRedraw(true, true);
  return map;
}

void OpenAndFillLongIcr2Lp(benchmark::State& state) {
  static const Folder folder;
  RecordingHost host;
  Util::U32 records = 0;
  for (auto _ : state) {
    // Each run reads the file, as the first open in a session does.
    Papy::FileFactoryRegistry::Instance().Clear();
    DocView::LpDocumentCore doc;
    doc.Open(folder.Lp);
    GridCore grid;
    grid.AttachHost(&host);
    grid.OnWindowCreated();
    Fill(grid, *doc.LpFile);
    benchmark::DoNotOptimize(grid.GetItemText(RecordCount / 2, 1));
    records = doc.LpFile->GetRecordCount();
    host.Areas.clear();
  }
  state.counters["records"] = static_cast<double>(records);
  state.SetItemsProcessed(state.iterations() * static_cast<long>(records));
}
BENCHMARK(OpenAndFillLongIcr2Lp)->Unit(benchmark::kMillisecond);

// Scrolls the filled grid one line, one page, then drags the thumb to the middle; each
// step's invalidated areas are painted. Counters: cells drawn per step, against the
// cells the window shows.
void ScrollLongIcr2Lp(benchmark::State& state) {
  static const Folder folder;
  Papy::FileFactoryRegistry::Instance().Clear();
  DocView::LpDocumentCore doc;
  doc.Open(folder.Lp);
  RecordingHost host;
  GridCore grid;
  grid.AttachHost(&host);
  grid.OnWindowCreated();
  Fill(grid, *doc.LpFile);
  const CCellRange visible = grid.GetVisibleNonFixedCellRange();
  const long visibleCells = static_cast<long>(visible.MaxRow - visible.MinRow + 2) * grid.GetColumnCount();

  const auto paint = [&] {
    CountingDC dc;
    for (const GridRect& area : host.Areas)
      grid.OnDraw(dc, area);
    host.Areas.clear();
    return dc.Cells;
  };
  long line = 0;
  long page = 0;
  long thumb = 0;
  for (auto _ : state) {
    grid.SetScrollPos32(GridBar::Vert, 0, false);
    host.Areas.clear();
    grid.OnScroll(GridBar::Vert, SB_LINEDOWN);
    line = paint();
    grid.OnScroll(GridBar::Vert, SB_PAGEDOWN);
    page = paint();
    grid.OnScroll(GridBar::Vert, SB_THUMBTRACK, grid.GetScrollLimit(GridBar::Vert) / 2);
    thumb = paint();
  }
  state.counters["cells_visible"] = static_cast<double>(visibleCells);
  state.counters["cells_line"] = static_cast<double>(line);
  state.counters["cells_page"] = static_cast<double>(page);
  state.counters["cells_thumb"] = static_cast<double>(thumb);
  state.counters["cells_in_grid"] = static_cast<double>(grid.GetRowCount()) * grid.GetColumnCount();
}
BENCHMARK(ScrollLongIcr2Lp)->Unit(benchmark::kMicrosecond);

} // namespace
