#include "DocView/Core/TemplateMatching.h"

#include <vector>

#include "Util/StringUtil.h"

namespace Ostra::DocView {

namespace {
std::vector<std::string> SplitExtensions(const std::string& extensions) {
  std::vector<std::string> pieces;
  std::string::size_type start = 0;
  while (start <= extensions.size()) {
    const auto end = extensions.find(';', start);
    const std::string piece =
        extensions.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!piece.empty())
      pieces.push_back(piece);
    if (end == std::string::npos)
      break;
    start = end + 1;
  }
  return pieces;
}

} // namespace

ExtensionMatch MatchExtension(const std::string& path, const std::string& extensions) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return ExtensionMatch::Foreign;
  const std::string extension = path.substr(dot);
  for (const std::string& piece : SplitExtensions(extensions))
    if (Util::CompareNoCase(piece, extension) == 0)
      return ExtensionMatch::Native;
  return ExtensionMatch::Foreign;
}

std::string MakeFilterPattern(const std::string& extensions) {
  std::string pattern;
  for (const std::string& piece : SplitExtensions(extensions)) {
    pattern += pattern.empty() ? "*" : ";*";
    for (const char c : piece) {
      const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
      const auto lower = static_cast<char>(c | 0x20);
      pattern += letter ? std::string{'[', lower, static_cast<char>(lower - 'a' + 'A'), ']'}
                        : std::string(1, c);
    }
  }
  return pattern;
}

std::string FirstExtension(const std::string& extensions) {
  const auto pieces = SplitExtensions(extensions);
  if (pieces.empty())
    return {};
  const std::string& first = pieces.front();
  return first.front() == '.' ? first.substr(1) : first;
}

std::string MakeOpenDialogFilter(const std::vector<TemplateFilter>& templates) {
  std::string filter;
  for (const TemplateFilter& entry : templates)
    filter += entry.FilterName + "|" + MakeFilterPattern(entry.Extensions) + "|";
  return filter + AllFilesFilterName + "|*";
}

std::size_t ChooseTemplate(const std::string& path, const std::vector<std::string>& extensionLists) {
  for (std::size_t i = 0; i < extensionLists.size(); ++i)
    if (MatchExtension(path, extensionLists[i]) == ExtensionMatch::Native)
      return i;
  return 0;
}

} // namespace Ostra::DocView
