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

// For a process that ends in the middle of a save, from any thread but the saving one:
// removes the temporary file of every save in progress, whose targets stay as they were,
// and stops every save where it is for good, so the process must end right after.
void AbandonSavesInProgress();

} // namespace Ostra::Util
