#include "GridCtrl/Core/GridClipboardText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsSeparator(char c) { return c == '\t' || c == ','; }

} // namespace

std::vector<std::string_view> SplitPastedLines(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos)
    text = text.substr(0, nul);
  std::vector<std::string_view> lines;
  for (;;) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos)
      return lines;
    text.remove_prefix(end + 1);
  }
}

std::vector<std::string> SplitPastedCells(std::string_view line) {
  std::vector<std::string> cells;
  while (!line.empty()) {
    std::size_t end = 0;
    while (end < line.size() && !IsSeparator(line[end]))
      ++end;
    cells.emplace_back(TrimPastedCell(line.substr(0, end)));
    line.remove_prefix(end < line.size() ? end + 1 : end);
  }
  return cells;
}

std::string_view TrimPastedCell(std::string_view cell) {
  while (!cell.empty() && IsBlank(cell.front()))
    cell.remove_prefix(1);
  while (!cell.empty() && IsBlank(cell.back()))
    cell.remove_suffix(1);
  return cell;
}
