// Reads arbitrary bytes as an ini file, saves it and reads the saved file: the
// sections and entries must survive unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "Papy/Lp/IniFile.h"
#include "Util/Exception.h"

namespace {

std::string Scratch;

void RemoveScratch() { ::unlink(Scratch.c_str()); }

// One scratch file per process, made once and removed at exit.
const std::string& ScratchPath() {
  if (Scratch.empty()) {
    std::string pattern = "/tmp/velmar-fuzz-ini-XXXXXX";
    const int handle = ::mkstemp(pattern.data());
    if (handle < 0)
      std::abort();
    ::close(handle);
    Scratch = pattern;
    std::atexit(RemoveScratch);
  }
  return Scratch;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace Ostra;
  const std::string& path = ScratchPath();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  try {
    const Papy::IniFile ini(path, size % 2 == 0);
    for (U32 s = 0; s < ini.GetSectionCount(); ++s)
      for (U32 e = 0; e < ini.GetEntryCount(s); ++e)
        if (ini.GetValue(ini.GetSectionName(s), ini.GetEntryKey(s, e), "").size() > size)
          std::abort();
    ini.Save();
    const Papy::IniFile again(path, true);
    if (again.Sections != ini.Sections || again.Entries.size() != ini.Entries.size())
      std::abort();
    for (std::size_t e = 0; e < ini.Entries.size(); ++e)
      if (again.Entries[e].Line != ini.Entries[e].Line ||
          again.Entries[e].Value != ini.Entries[e].Value)
        std::abort();
  } catch (const Util::RuntimeError&) {
  }
  return 0;
}
