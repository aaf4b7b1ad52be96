// Reads arbitrary bytes as an ini file, saves it and reads the saved file: the
// sections and entries must survive unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Papy/Lp/IniFile.h"
#include "Util/Exception.h"
#include "fuzz/ScratchFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace Ostra;
  const std::string& path = Fuzz::WriteScratch(data, size);
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
