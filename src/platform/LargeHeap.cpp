#include "LargeHeap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace orvale {

namespace {

// The heap's free top is given back above this, so the reserved room must stay below it.
constexpr int kTrimThreshold = 1 << 30;

} // namespace

void KeepFreedMemory() {
#if defined(__GLIBC__)
    ::mallopt(M_MXFAST, 0);
    ::mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
    ::mallopt(M_TOP_PAD, 32 << 20);
    // Large blocks come from the heap too, where they are reused, instead of mappings of their
    // own that are unmapped when freed.
    ::mallopt(M_MMAP_MAX, 0);
#endif
}

void ReserveHeap(size_t bytes) {
    KeepFreedMemory();
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    // Small programs gain nothing worth the address space.
    constexpr size_t kSmallest = 4 << 20, kLargest = kTrimThreshold - (256 << 20);
    if (bytes < kSmallest)
        return;
    bytes = std::min(bytes, kLargest);
    // Taken from the top of the heap and freed at once: it joins the free top, and the
    // allocations that follow are carved out of it in order.
    void* block = std::malloc(bytes);
    if (!block)
        return;
    const uintptr_t huge = uintptr_t{2} << 20;
    const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t from = reinterpret_cast<uintptr_t>(block);
    const uintptr_t begin = (from + page - 1) & ~(page - 1);
    const uintptr_t end = (from + bytes) & ~(huge - 1);
    std::free(block);
    // Refused where the system has no huge pages: the heap then stays in small ones.
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)bytes;
#endif
}

} // namespace orvale
