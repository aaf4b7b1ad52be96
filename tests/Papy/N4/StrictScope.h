#pragma once

#include "Papy/Types/ReaderOptions.h"

namespace Ostra::Papy {

// Sets the process-wide strict-checking switch for one scope.
class StrictScope {
public:
  explicit StrictScope(bool strict) : Saved(ReaderOptions::Instance().Strict) {
    ReaderOptions::Instance().Strict = strict;
  }
  ~StrictScope() { ReaderOptions::Instance().Strict = Saved; }
  StrictScope(const StrictScope&) = delete;
  StrictScope& operator=(const StrictScope&) = delete;

private:
  bool Saved;
};

} // namespace Ostra::Papy
