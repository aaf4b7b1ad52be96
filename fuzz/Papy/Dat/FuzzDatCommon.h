#pragma once

// Writes the fuzz input to one temporary archive file per process, opens it with the
// given archive class and reads every sub-file whole. Only the system's own exceptions
// are acceptable refusals.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "Papy/Dat/DatFile.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"

namespace FuzzDat {

inline const std::string& ArchivePath() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("velmar-fuzz-dat-" + std::to_string(::getpid()) + ".dat")).string();
  return path;
}

template <class Archive>
int Exercise(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(ArchivePath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  try {
    Archive archive(ArchivePath(), false);
    for (Ostra::U32 i = 0; i < archive.GetCount(); ++i) {
      (void)archive.GetBaseName(i);
      (void)archive.GetExtension(i);
      (void)archive.GetFolder(i);
      (void)archive.GetStoredSize(i);
      try {
        // A stored sub-file's size is only a directory field: read it in pieces, which
        // fail at the archive's end.
        const auto sub = archive.OpenSubFile(i);
        std::vector<char> piece(1 << 16);
        for (Ostra::S64 left = sub->Size(); left > 0;) {
          const auto count = static_cast<Ostra::U32>(std::min<Ostra::S64>(left, static_cast<Ostra::S64>(piece.size())));
          sub->Read(count, piece.data());
          left -= count;
        }
      } catch (const Ostra::Util::Exception&) {
      }
    }
    (void)archive.OpenSubFile("track.trk");
  } catch (const Ostra::Util::Exception&) {
  }
  std::filesystem::remove(ArchivePath());
  return 0;
}

} // namespace FuzzDat
