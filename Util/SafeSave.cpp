#include "Util/SafeSave.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Util/NativePath.h"

namespace Ostra::Util {

class SafeSaveAccess {
public:
  static std::unique_ptr<BinaryFile> Adopt(int handle, const std::string& name) {
    return std::unique_ptr<BinaryFile>(new BinaryFile(handle, name));
  }
};

namespace {

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The temporary files of the saves in progress. Each is made and noted, or renamed or
// removed and forgotten, under the lock, so that none escapes AbandonSavesInProgress.
struct SavesInProgress {
  std::mutex Lock;
  std::vector<std::string> Temporaries;
};

SavesInProgress& Saves() {
  // Never destroyed: a watchdog thread may abandon the saves while exit runs destructors.
  static auto* const saves = new SavesInProgress;
  return *saves;
}

} // namespace

void SaveFileSafely(const std::string& path, const std::function<void(BinaryStream&)>& write) {
  const auto absolute = NativePath::MakeAbsolute(path);
  if (!absolute)
    throw XFileOpen(path, "");
  const std::string target = NativePath::ResolveForCreate(*absolute);
  // The rename below would replace a file the user may not write; refuse it as writing
  // it in place would.
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT)
    throw XFileWrite(*absolute, SystemErrorText(errno));
  const std::size_t slash = target.rfind('/');
  std::string temp = target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".XXXXXX";

  SavesInProgress& saves = Saves();
  int handle = -1;
  {
    const std::lock_guard lock(saves.Lock);
    handle = ::mkostemp(temp.data(), O_CLOEXEC);
    if (handle < 0)
      throw XFileOpen(*absolute, SystemErrorText(errno));
    saves.Temporaries.push_back(temp);
  }

  try {
    auto file = SafeSaveAccess::Adopt(handle, *absolute);
    write(*file);
    struct stat st {};
    const mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : NewFileMode();
    if (::fchmod(handle, mode) != 0)
      throw XFileWrite(*absolute, SystemErrorText(errno));
    file->Flush();
    file.reset();
    const std::lock_guard lock(saves.Lock);
    if (::rename(temp.c_str(), target.c_str()) != 0)
      throw XFileWrite(*absolute, SystemErrorText(errno));
    std::erase(saves.Temporaries, temp);
  } catch (...) {
    const std::lock_guard lock(saves.Lock);
    ::unlink(temp.c_str());
    std::erase(saves.Temporaries, temp);
    throw;
  }
}

void AbandonSavesInProgress() {
  SavesInProgress& saves = Saves();
  // Never unlocked: no save makes or renames a file after this.
  saves.Lock.lock();
  for (const std::string& temp : saves.Temporaries)
    ::unlink(temp.c_str());
}

} // namespace Ostra::Util
