// Reads arbitrary text as what is typed into the parameter dialogs: the first line for
// a one-number dialog, the first two for Scale, the first for Generate Lap's grip. A
// number is accepted only when it is all the field holds and the C library reads the
// same value from it; a dialog that refuses a field changes none of its values.
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "Velmar/Core/CommandParameters.h"

using namespace Ostra::Velmar;

namespace {

void CheckNumber(const std::string& text) {
  const std::optional<double> parsed = ParseDialogNumber(text);
  if (!parsed)
    return;
  const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
  const std::size_t last = text.find_last_not_of(" \t\n\v\f\r");
  const std::string number = text.substr(first, last - first + 1);
  char* end = nullptr;
  const double expected = std::strtod(number.c_str(), &end);
  if (end != number.c_str() + number.size() || !std::isfinite(*parsed) || *parsed != expected)
    std::abort();
  // A value shown again reads back as itself to its fifteen digits (the largest
  // doubles round beyond the range there and are refused).
  const std::optional<double> shown = ParseDialogNumber(FormatDialogNumber(*parsed));
  if (shown ? std::fabs(*shown - *parsed) > std::fabs(*parsed) * 1e-14 : std::fabs(*parsed) < 1.7e308)
    std::abort();
}

void CheckDialog(ParameterRequest request, const std::vector<std::string>& texts) {
  const ParameterRequest before = request;
  const std::string complaint = AcceptFieldTexts(request, texts);
  for (std::size_t k = 0; k < request.Fields.size(); ++k) {
    const double value = request.Fields[k].Value;
    if (!complaint.empty() ? value != before.Fields[k].Value
                           : k >= texts.size() || ParseDialogNumber(texts[k]) != value)
      std::abort();
  }
  if (complaint.empty() && request.Title == "Generate Lap" && !CheckGrip(request.Fields[0].Value).empty())
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  // strtod stops at a NUL; a text control's value holds none.
  for (std::string& line : lines)
    line = line.substr(0, line.find('\0'));
  CheckNumber(lines.front());
  CheckDialog(ValueRequest(), lines);
  CheckDialog(ScaleRequest(), lines);
  CheckDialog(GenerateLapRequest("maxcurve"), lines);
  return 0;
}
