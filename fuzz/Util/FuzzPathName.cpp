// Splits arbitrary strings as paths and checks the parts stay consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Util/DirectoryListing.h"
#include "Util/Exception.h"
#include "Util/PathName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // A NUL cannot be part of a path handed to the system.
  if (text.find('\0') != std::string::npos)
    return 0;
  try {
    const Ostra::Util::PathName path(text);
    const auto& full = path.GetFullPath();
    if (full.empty() || full.front() != '/')
      std::abort();
    if (!path.IsRoot() && path.GetDirectory() + path.GetFileName() != full)
      std::abort();
    if (!path.IsRoot() && path.GetAsDirectory() != full + "/")
      std::abort();
    const std::size_t star = text.find('*');
    Ostra::Util::MatchWildcard(text, text.substr(0, star == std::string::npos ? 0 : star));
  } catch (const Ostra::Util::XAssertion&) {
    // Empty and over-long paths are refused by assertion.
  }
  return 0;
}
