// Filling a grid the size of a long LP, painting one window of it, and loading delimited
// text: the paint cost must stay flat as the row count grows, the load cost linear.

#include "GridCtrl/Core/GridCore.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

class NullMeasurer : public GridTextMeasurer {
public:
  GridSize TextExtent(const GridFontDesc& /*font*/, const std::string& text) override {
    return {7 * static_cast<int>(text.size()), 15};
  }
};

// A 1000 x 700 window that records nothing.
class BenchHost : public GridHost {
public:
  bool WindowExists() const override { return true; }
  GridSize GetClientSize() const override { return {1000, 700}; }
  int GetScrollBarThickness(GridBar /*bar*/) const override { return 0; }
  void SetScrollBar(GridBar, bool, int, int, int) override {}
  void SetScrollPos(GridBar, int) override {}
  void InvalidateAll() override {}
  void InvalidateRect(const GridRect&) override {}
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
  GridTextMeasurer* GetMeasurer() override { return &Measurer; }
  void PostClickCommand() override {}
  GridInPlaceEditor* CreateInPlaceEditor(const GridEditRequest&) override { return nullptr; }
  NullMeasurer Measurer;
};

// Counts what a real surface would have to draw.
class CountingDC : public GridDC {
public:
  GridSize TextExtent(const GridFontDesc& /*font*/, const std::string& text) override {
    return {7 * static_cast<int>(text.size()), 15};
  }
  void FillSolidRect(const GridRect&, GridColour) override { ++Calls; }
  void FrameRect(const GridRect&, GridColour) override { ++Calls; }
  void Line(GridPoint, GridPoint, GridColour) override { ++Calls; }
  void PolygonOutline(const std::vector<GridPoint>&, GridColour) override { ++Calls; }
  void DrawText(const std::string& text, const GridRect&, Ostra::U32, GridColour, const GridFontDesc&) override {
    Calls += static_cast<long>(text.size() > 0);
  }
  void DrawImage(const GridImageList&, int, GridPoint) override { ++Calls; }
  long Calls = 0;
};

void Fill(GridCore& grid, int rows, int cols) {
  grid.SetColumnCount(cols);
  grid.SetRowCount(rows + 1);
  grid.SetFixedColumnCount(1);
  grid.SetFixedRowCount(1);
  for (int row = 0; row <= rows; ++row)
    for (int col = 0; col < cols; ++col)
      grid.SetItemText(row, col, "123.456789");
}

void FillTenThousandByEight(benchmark::State& state) {
  BenchHost host;
  for (auto _ : state) {
    GridCore grid;
    grid.AttachHost(&host);
    grid.OnWindowCreated();
    Fill(grid, 10000, 8);
    benchmark::DoNotOptimize(grid.GetItemText(5000, 4));
  }
  state.SetItemsProcessed(state.iterations() * 10001 * 8);
}
BENCHMARK(FillTenThousandByEight)->Unit(benchmark::kMillisecond);

void PaintOneWindow(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  BenchHost host;
  GridCore grid;
  grid.AttachHost(&host);
  grid.OnWindowCreated();
  Fill(grid, rows, 8);
  grid.SetScrollPos32(GridBar::Vert, grid.GetScrollLimit(GridBar::Vert) / 2);
  grid.SetSelectedRange(rows / 2, 2, rows / 2 + 5, 4);
  CountingDC dc;
  for (auto _ : state) {
    grid.OnDraw(dc, {0, 0, 1000, 700});
    benchmark::DoNotOptimize(dc.Calls);
  }
  state.counters["calls_per_paint"] = static_cast<double>(dc.Calls) / static_cast<double>(state.iterations());
}
BENCHMARK(PaintOneWindow)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Loading delimited text into a grid with a window: the time per row must stay flat as
// the file grows, both for long files and for one very long first line.
void LoadText(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const bool wide = state.range(1) != 0;
  std::string text;
  if (wide) {
    text.assign(static_cast<std::size_t>(count), ',');
    text += '\n';
  } else {
    text = "a,b,c\n";
    for (int row = 0; row < count; ++row)
      text += "1.5,2.5,3.5\n";
  }
  BenchHost host;
  for (auto _ : state) {
    GridCore grid;
    grid.AttachHost(&host);
    grid.OnWindowCreated();
    std::istringstream in(text);
    benchmark::DoNotOptimize(grid.LoadText(in, ','));
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(LoadText)->ArgsProduct({{1000, 10000, 100000}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace
