#pragma once

#include <functional>
#include <string>

namespace Ostra::Util {

class BinaryStream;

// Saves a user file without ever leaving it truncated: write produces the content
// into a temporary file beside the target (a stream named after the target), which is
// flushed to disk and renamed over the target, keeping its permission bits. When
// write or any step throws, the target is untouched, the temporary file is removed
// and the exception propagates. Throws XFileOpen when the temporary file cannot be
// created, and XFileWrite when the target may not be written (a read-only file) or the
// save cannot be completed; both carry the system's reason.
void SaveFileSafely(const std::string& path, const std::function<void(BinaryStream&)>& write);

} // namespace Ostra::Util
