#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Util/Types.h"

namespace Ostra::Papy {

// A text file of [section] headers and key = value lines, such as a track's
// track.ini. Lookups ignore case; changes compare exactly. Text after ';' is a
// comment; it stays in an entry's Line. Only sections and key lines are kept.
class IniFile {
public:
  struct Entry {
    std::string Line;  // as read (comment included), or as built by SetValue
    std::string Key;   // the first word before '='
    std::string Value; // after '=', trimmed
    S32 Section = -1;  // index into Sections
  };

  // Reads the file. One trailing carriage return per line is dropped (files written
  // on Windows). A file that cannot be opened gives an object without sections.
  IniFile(const std::string& path, bool spaced);

  // The value of key in the first section named section, both ignoring case;
  // defaultValue when either is absent. Logarithmic in the file's entries.
  std::string GetValue(const std::string& section, const std::string& key,
                       const std::string& defaultValue) const;
  // Sets the value of the first matching key (exact case), rebuilding its line, or
  // appends the entry (and the section).
  void SetValue(const std::string& section, const std::string& key, const std::string& value);
  // Replaces the first entry with the key (exact case) by one made from line (its
  // key and value read as the constructor reads them), or appends it (and the
  // section). A line without '=' is kept with an empty key and value.
  void SetLine(const std::string& section, const std::string& key, const std::string& line);
  // Writes every section and entry to FileName with CR LF line ends, through a
  // temporary file. Throws XFileOpen or XFileWrite.
  void Save() const;

  U32 GetSectionCount() const { return static_cast<U32>(Sections.size()); }
  // Asserts i < the section count.
  std::string GetSectionName(U32 i) const;
  U32 GetEntryCount(U32 section) const;
  // The i-th entry of the section; asserts "false" when it has fewer entries.
  std::string GetEntryKey(U32 section, U32 i) const;
  std::string GetEntryLine(U32 section, U32 i) const;

  // Splits text at its first '=': key = the first word before it (left unchanged
  // when there is none), value = the rest trimmed. False, changing nothing, when text
  // holds no '='.
  static bool ParseLine(const std::string& text, std::string& key, std::string& value);

  std::string FileName;
  // Read them freely; change them only through SetValue and SetLine, which keep the
  // lookups in step.
  std::vector<std::string> Sections;
  std::vector<Entry> Entries;
  // Writes "[ name ]" and "key = value" rather than "[name]" and "key=value".
  bool Spaced;

private:
  const Entry* FindEntry(U32 section, U32 i) const;
  std::size_t FindOrAddSection(const std::string& section);
  std::string BuildLine(const std::string& key, const std::string& value) const;
  void IndexEntries();

  // The entry GetValue answers with, by lower-cased section and key: a reader asking for
  // a key of each of thousands of sections must not search the whole file each time.
  std::map<std::pair<std::string, std::string>, std::size_t> Lookup;
};

} // namespace Ostra::Papy
