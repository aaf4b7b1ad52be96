#pragma once

// The grid's clipboard text: cells separated by tabs, rows by CR LF. Reading also takes
// commas as separators and LF alone as a line end.

#include <string>
#include <string_view>
#include <vector>

// The lines of pasted text: split at every LF, one trailing CR dropped from each line
// (so CR LF and LF text paste alike), and the text after the last LF is a line too.
// Text after a NUL is not part of the paste.
std::vector<std::string_view> SplitPastedLines(std::string_view text);

// The cell texts of one pasted line: split at tabs and commas, each trimmed of blanks
// and control white space. A separator at the end of the line adds no empty cell; two
// separators in a row give one, which clears its cell.
std::vector<std::string> SplitPastedCells(std::string_view line);

// Trims the C locale's white space (space, \t, \n, \v, \f, \r) whatever the user's
// locale is.
std::string_view TrimPastedCell(std::string_view cell);
