#include "GridCtrl/Core/GridTextFile.h"

#include "GridCtrl/Core/GridCore.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/SafeSave.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <istream>

namespace {

constexpr const char* SaveFailedMessage = "Unable to save grid list";
constexpr const char* LoadFailedMessage = "Unable to load grid data";
// The format of a loaded column: left-aligned, vertically centred, one line.
constexpr Ostra::U32 LoadedColumnFormat = GridFormat::Left | GridFormat::VCenter | GridFormat::SingleLine;

} // namespace

std::vector<std::string> SplitGridLine(std::string_view line, char delimiter, bool ended_by_newline) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(delimiter, start);
    if (end == std::string_view::npos)
      break;
    fields.emplace_back(line.substr(start, end - start));
    start = end + 1;
  }
  if (ended_by_newline || start < line.size())
    fields.emplace_back(line.substr(start));
  return fields;
}

std::string FormatGridText(const GridCore& grid, char delimiter) {
  std::string text;
  const int cols = grid.GetColumnCount();
  for (int row = 0; row < grid.GetRowCount(); ++row) {
    for (int col = 0; col < cols; ++col) {
      text += grid.GetItemText(row, col);
      text += col + 1 < cols ? delimiter : '\n';
    }
  }
  return text;
}

bool GridCore::Save(const std::string& file_name, char delimiter) {
  const std::string text = FormatGridText(*this, delimiter);
  try {
    Ostra::Util::SaveFileSafely(file_name, [&](Ostra::Util::BinaryStream& out) {
      constexpr std::size_t chunk = 1u << 30;
      for (std::size_t at = 0; at < text.size(); at += chunk) {
        const std::size_t size = std::min(chunk, text.size() - at);
        out.Write(static_cast<Ostra::U32>(size), text.data() + at);
      }
    });
  } catch (const Ostra::Util::XFileOpen& error) {
    ReportError(error.What());
    return false;
  } catch (const Ostra::Util::Exception&) {
    ReportError(SaveFailedMessage);
    return false;
  }
  return true;
}

bool GridCore::Load(const std::string& file_name, char delimiter) {
  if (VirtualMode)
    return false;
  std::ifstream in(file_name, std::ios::binary);
  if (!in) {
    ReportError(Ostra::Util::XFileOpen(file_name, Ostra::Util::SystemErrorText(errno)).What());
    return false;
  }
  return LoadText(in, delimiter);
}

bool GridCore::LoadText(std::istream& in, char delimiter, std::size_t max_cells) {
  if (VirtualMode)
    return false;
  // Each new row or column would otherwise redo the scroll bars over all the others,
  // which makes a long file take hours; they are redone once at the end.
  struct RedrawPause {
    GridCore& Grid;
    bool WasOn;
    ~RedrawPause() { Grid.SetRedraw(WasOn, true); }
  } pause{*this, AllowDraw};
  AllowDraw = false;
  DeleteAllItems();
  const auto fail = [&] {
    ReportError(LoadFailedMessage);
    return false;
  };
  std::string line;
  bool first = true;
  while (std::getline(in, line)) {
    // getline stops at the end of the data without a line break and says so by eof.
    const bool ended_by_newline = !in.eof();
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    const std::vector<std::string> fields = SplitGridLine(line, delimiter, ended_by_newline);
    if (first) {
      first = false;
      if (fields.size() > max_cells)
        return fail();
      for (const std::string& field : fields)
        if (InsertColumn(field, LoadedColumnFormat) < 0)
          return fail();
      continue;
    }
    if (fields.empty())
      continue;
    const std::size_t cols = static_cast<std::size_t>(std::max(ColCount, 1));
    if (static_cast<std::size_t>(RowCount) + 1 > max_cells / cols)
      return fail();
    const int row = InsertRow(fields.front());
    if (row < 0)
      return fail();
    for (std::size_t i = 1; i < fields.size() && i < cols; ++i)
      SetItemText(row, static_cast<int>(i), fields[i]);
  }
  if (in.bad())
    return fail();
  AutoSizeColumns(AutoSizeStyle);
  return true;
}
