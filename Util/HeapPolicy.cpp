#include "Util/HeapPolicy.h"

// Any C library header says which C library this is.
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace Ostra::Util {

// Mesa's software renderer takes megabytes of scratch heap, in blocks of some 64 KB, at
// every frame of the 3D view and frees them when the frame is drawn. By default glibc
// gives the top of the heap back to the system once 128 KB of it is free, and the next
// frame faults every page in again. A higher trim threshold keeps that memory, but
// setting any threshold also stops glibc raising its mmap threshold as it sees large
// blocks freed: every block over 128 KB would then be mapped, faulted in page by page and
// unmapped again at each allocation. Both are therefore set where glibc's own adjustment
// ends: the mmap threshold at its ceiling of 32 MB, the trim threshold at twice that.
void ApplyHeapPolicy() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

} // namespace Ostra::Util
