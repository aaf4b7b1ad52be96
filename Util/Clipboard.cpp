#include "Util/Clipboard.h"

namespace Ostra::Util {

Clipboard* Clipboard::Instance() {
  // Created on first use and never destroyed: nothing at exit may outlive it.
  static Clipboard* instance = new Clipboard;
  return instance;
}

} // namespace Ostra::Util
