#pragma once

// Delimited text as the grid saves and loads it: one line per row, cells separated by
// one delimiter byte, no quoting, lines ended by "\n". Text is UTF-8 and passes through
// unchanged.

#include <string>
#include <string_view>
#include <vector>

class GridCore;

// The fields of one line (without its line break; a trailing "\r" already removed).
// A field that ends at a delimiter counts even when empty, and so does the last one
// when the line had a line break; the text after the last delimiter of a final line
// without a line break counts only when it is not empty.
std::vector<std::string> SplitGridLine(std::string_view line, char delimiter, bool ended_by_newline);

// Every row of the grid, fixed ones included, as delimited text.
std::string FormatGridText(const GridCore& grid, char delimiter);
