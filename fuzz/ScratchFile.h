#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

// For fuzz targets whose reader takes a path: one scratch file per process, made at
// the first use and removed at exit, rewritten with each input.
namespace Ostra::Fuzz {

inline std::string& ScratchName() {
  static std::string name;
  return name;
}

inline void RemoveScratch() { ::unlink(ScratchName().c_str()); }

inline const std::string& WriteScratch(const std::uint8_t* data, std::size_t size) {
  std::string& name = ScratchName();
  if (name.empty()) {
    std::string pattern = "/tmp/velmar-fuzz-XXXXXX";
    const int handle = ::mkstemp(pattern.data());
    if (handle < 0)
      std::abort();
    ::close(handle);
    name = pattern;
    std::atexit(RemoveScratch);
  }
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return name;
}

} // namespace Ostra::Fuzz
