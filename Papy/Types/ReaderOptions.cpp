#include "Papy/Types/ReaderOptions.h"

namespace Ostra::Papy {

ReaderOptions& ReaderOptions::Instance() {
  static ReaderOptions* instance = new ReaderOptions;
  return *instance;
}

} // namespace Ostra::Papy
