#include "Papy/Lp/IniFile.h"

#include <fstream>

#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/SafeSave.h"
#include "Util/StringUtil.h"

namespace Ostra::Papy {

namespace {

constexpr const char* Blanks = " \t\n";
// The games' own line end for these files.
constexpr const char* LineEnd = "\r\n";

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(Blanks);
  if (first == std::string::npos)
    return {};
  const std::size_t last = text.find_last_not_of(Blanks);
  return text.substr(first, last - first + 1);
}

// White space as a stream's word extraction sees it in the classic locale.
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void WriteText(Util::BinaryStream& out, const std::string& text) {
  out.Write(static_cast<U32>(text.size()), text.data());
}

} // namespace

IniFile::IniFile(const std::string& path, bool spaced) : FileName(path), Spaced(spaced) {
  std::ifstream in(path, std::ios::binary);
  int section = -1;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    const std::string text = line.substr(0, line.find(';'));
    if (!text.empty() && text.front() == '[') {
      const std::size_t close = text.find(']');
      if (close == std::string::npos)
        continue;
      Sections.push_back(Trim(text.substr(1, close - 1)));
      ++section;
    } else if (section >= 0) {
      Entry entry;
      if (ParseLine(text, entry.Key, entry.Value)) {
        entry.Line = line;
        entry.Section = section;
        Entries.push_back(std::move(entry));
      }
    }
  }
  IndexEntries();
}

void IniFile::IndexEntries() {
  Lookup.clear();
  std::vector<std::string> lower_names;
  lower_names.reserve(Sections.size());
  std::map<std::string, std::size_t> first_section;
  for (std::size_t s = 0; s < Sections.size(); ++s) {
    lower_names.push_back(Util::ToLower(Sections[s]));
    first_section.emplace(lower_names.back(), s);
  }
  for (std::size_t e = 0; e < Entries.size(); ++e) {
    const S32 section = Entries[e].Section;
    if (section < 0 || static_cast<std::size_t>(section) >= Sections.size())
      continue;
    const std::string& name = lower_names[static_cast<std::size_t>(section)];
    // Only the first section of a name is looked in, and its first entry of a key wins.
    if (first_section.at(name) == static_cast<std::size_t>(section))
      Lookup.emplace(std::make_pair(name, Util::ToLower(Entries[e].Key)), e);
  }
}

bool IniFile::ParseLine(const std::string& text, std::string& key, std::string& value) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos)
    return false;
  std::size_t begin = 0;
  while (begin < equals && IsSpace(text[begin]))
    ++begin;
  if (begin < equals) {
    std::size_t end = begin;
    while (end < equals && !IsSpace(text[end]))
      ++end;
    key = text.substr(begin, end - begin);
  }
  value = Trim(text.substr(equals + 1));
  return true;
}

std::string IniFile::GetValue(const std::string& section, const std::string& key,
                              const std::string& defaultValue) const {
  const auto found = Lookup.find({Util::ToLower(section), Util::ToLower(key)});
  return found != Lookup.end() ? Entries[found->second].Value : defaultValue;
}

std::size_t IniFile::FindOrAddSection(const std::string& section) {
  for (std::size_t s = 0; s < Sections.size(); ++s)
    if (Sections[s] == section)
      return s;
  Sections.push_back(section);
  return Sections.size() - 1;
}

std::string IniFile::BuildLine(const std::string& key, const std::string& value) const {
  return key + (Spaced ? " = " : "=") + value;
}

void IniFile::SetValue(const std::string& section, const std::string& key,
                       const std::string& value) {
  const S32 index = static_cast<S32>(FindOrAddSection(section));
  for (Entry& entry : Entries)
    if (entry.Section == index && entry.Key == key) {
      entry.Value = value;
      entry.Line = BuildLine(key, value);
      return;
    }
  Entries.push_back(Entry{BuildLine(key, value), key, value, index});
  IndexEntries();
}

void IniFile::SetLine(const std::string& section, const std::string& key,
                      const std::string& line) {
  Entry made;
  made.Line = line;
  // The comment is cut as when reading, so that the value stays what a reload gives.
  ParseLine(line.substr(0, line.find(';')), made.Key, made.Value);
  made.Section = static_cast<S32>(FindOrAddSection(section));
  for (Entry& entry : Entries)
    if (entry.Section == made.Section && entry.Key == key) {
      entry = std::move(made);
      IndexEntries();
      return;
    }
  Entries.push_back(std::move(made));
  IndexEntries();
}

void IniFile::Save() const {
  Util::SaveFileSafely(FileName, [this](Util::BinaryStream& out) {
    for (std::size_t s = 0; s < Sections.size(); ++s) {
      WriteText(out, (Spaced ? "[ " + Sections[s] + " ]" : "[" + Sections[s] + "]") + LineEnd);
      for (const Entry& entry : Entries)
        if (entry.Section == static_cast<S32>(s))
          WriteText(out, entry.Line + LineEnd);
      WriteText(out, LineEnd);
    }
  });
}

std::string IniFile::GetSectionName(U32 i) const {
  UTIL_ASSERT(i < Sections.size());
  return Sections[i];
}

U32 IniFile::GetEntryCount(U32 section) const {
  U32 count = 0;
  for (const Entry& entry : Entries)
    if (entry.Section >= 0 && static_cast<U32>(entry.Section) == section)
      ++count;
  return count;
}

const IniFile::Entry* IniFile::FindEntry(U32 section, U32 i) const {
  for (const Entry& entry : Entries)
    if (entry.Section >= 0 && static_cast<U32>(entry.Section) == section && i-- == 0)
      return &entry;
  return nullptr;
}

std::string IniFile::GetEntryKey(U32 section, U32 i) const {
  const Entry* entry = FindEntry(section, i);
  UTIL_ASSERT_TEXT(entry != nullptr, "false");
  return entry->Key;
}

std::string IniFile::GetEntryLine(U32 section, U32 i) const {
  const Entry* entry = FindEntry(section, i);
  UTIL_ASSERT_TEXT(entry != nullptr, "false");
  return entry->Line;
}

} // namespace Ostra::Papy
