#pragma once

namespace Ostra::Util {

// How the C library's allocator keeps and returns memory, for the whole process: call it
// once at program start, before any thread. With glibc, blocks under 32 MB come from the
// heap and up to 64 MB of freed heap stays for reuse; with any other C library it does
// nothing.
void ApplyHeapPolicy();

} // namespace Ostra::Util
