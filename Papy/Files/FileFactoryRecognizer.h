#pragma once

#include <string>

#include "Papy/Files/FileFactory.h"
#include "Papy/Files/PapyDirectory.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {

// Decides whether a folder or a DAT archive belongs to one game and builds that
// game's factory for it. The tests look at file headers only and never throw a
// RuntimeError: a file that cannot be opened, is too short or is malformed is a
// "no" for the game. Assertions (XAssertion) do propagate.
class FileFactoryRecognizer {
public:
  // isDefault marks the preferred recogniser: it takes any folder nobody claims, and
  // DAT files that only the loose test accepts.
  explicit FileFactoryRecognizer(bool isDefault) : Default(isDefault) {}
  virtual ~FileFactoryRecognizer() = default;

  // The factory for a game folder; propagates every failure (XFileOpen when the
  // folder's archive cannot be opened, XFileFormat when it is malformed).
  virtual CountedPtr<FileFactory> CreateFactory(const PapyDirectory& dir, bool writable) = 0;
  // The factory for the folder holding a DAT archive, with that archive.
  virtual CountedPtr<FileFactory> CreateFactory(const std::string& datPath, bool writable) = 0;
  // Loose test: the file looks like a DAT archive of this game's family.
  virtual bool IsPossibleDat(const std::string& path) = 0;
  // Strict test: the file is a DAT archive of this game.
  virtual bool IsGameDat(const std::string& path) = 0;
  // The folder holds this game's files.
  virtual bool IsGameDirectory(const PapyDirectory& dir) = 0;
  virtual bool IsDefault() const { return Default; }
  virtual void SetDefault(bool value) { Default = value; }

protected:
  FileFactoryRecognizer(const FileFactoryRecognizer&) = default;
  FileFactoryRecognizer& operator=(const FileFactoryRecognizer&) = default;

private:
  bool Default;
};

} // namespace Ostra::Papy
