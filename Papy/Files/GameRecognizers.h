#pragma once

#include <string>

#include "Papy/Files/FileFactoryRecognizer.h"

namespace Ostra::Papy {

// GPL folders and archives: a 3do with the 3DO4 id, a trk of version 3000, a replay of
// version 0 to 2, or an archive whose first 3do or lyt sub-file says GPL.
class GPLFileFactoryRecognizer : public FileFactoryRecognizer {
public:
  explicit GPLFileFactoryRecognizer(bool isDefault) : FileFactoryRecognizer(isDefault) {}

  CountedPtr<FileFactory> CreateFactory(const PapyDirectory& dir, bool writable) override;
  CountedPtr<FileFactory> CreateFactory(const std::string& datPath, bool writable) override;
  bool IsPossibleDat(const std::string& path) override;
  bool IsGameDat(const std::string& path) override;
  bool IsGameDirectory(const PapyDirectory& dir) override;
};

// N2 folders and archives, read with the ICR2 formats: a 3do with the 3DO3 id, a trk
// of type 1, or an rpl whose header sizes add up to the file's size.
class N2FileFactoryRecognizer : public FileFactoryRecognizer {
public:
  explicit N2FileFactoryRecognizer(bool isDefault) : FileFactoryRecognizer(isDefault) {}

  CountedPtr<FileFactory> CreateFactory(const PapyDirectory& dir, bool writable) override;
  CountedPtr<FileFactory> CreateFactory(const std::string& datPath, bool writable) override;
  bool IsPossibleDat(const std::string& path) override;
  bool IsGameDat(const std::string& path) override;
  bool IsGameDirectory(const PapyDirectory& dir) override;
};

} // namespace Ostra::Papy
