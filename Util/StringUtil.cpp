#include "Util/StringUtil.h"

namespace Ostra::Util {

std::string ToLower(const std::string& text, const std::locale& locale) {
  const auto& facet = std::use_facet<std::ctype<char>>(locale);
  std::string out = text;
  for (char& c : out)
    c = facet.tolower(c);
  return out;
}

int CompareNoCase(const std::string& a, const std::string& b, const std::locale& locale) {
  const auto& facet = std::use_facet<std::ctype<char>>(locale);
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<signed char>(facet.tolower(a[i]));
    const auto y = static_cast<signed char>(facet.tolower(b[i]));
    if (x != y)
      return x - y;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

} // namespace Ostra::Util
