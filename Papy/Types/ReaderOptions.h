#pragma once

namespace Ostra::Papy {

// The process-wide strict-checking switch. With Strict on, readers assert on codes
// and cases they do not know; off (the editor's setting), they fall back to defaults.
class ReaderOptions {
public:
  // Created on first use, never destroyed.
  static ReaderOptions& Instance();

  bool Strict = false;

private:
  ReaderOptions() = default;
};

} // namespace Ostra::Papy
