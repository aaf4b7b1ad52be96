#pragma once

#include <string>

#include "Papy/Files/FileFactoryRecognizer.h"
#include "Papy/Files/FileFactoryRegistry.h"

namespace Ostra::Papy {

// N4 folders and archives. An archive is told by its header alone; a folder by the
// archive named after it, else by its first object file: a 3do whose first reference
// is object 1 of class 2, any ptf, or a replay of version 3 or later.
class N4FileFactoryRecognizer : public FileFactoryRecognizer {
public:
  explicit N4FileFactoryRecognizer(bool isDefault) : FileFactoryRecognizer(isDefault) {}

  // Propagates the archive's XFileOpen, XFileRead and XFileFormat.
  CountedPtr<FileFactory> CreateFactory(const PapyDirectory& dir, bool writable) override;
  CountedPtr<FileFactory> CreateFactory(const std::string& datPath, bool writable) override;
  // N4 has only the one archive test, so both answer the same.
  bool IsPossibleDat(const std::string& path) override;
  bool IsGameDat(const std::string& path) override;
  bool IsGameDirectory(const PapyDirectory& dir) override;
};

// Registers the N4 recogniser (not the default) with the registry, after the GPL and
// N2 recognisers (registering those first when they are not yet there), so that it is
// asked third; it also makes the N4 object kinds readable. Later calls change nothing.
void RegisterN4Recognizer(FileFactoryRegistry& registry = FileFactoryRegistry::Instance());

} // namespace Ostra::Papy
