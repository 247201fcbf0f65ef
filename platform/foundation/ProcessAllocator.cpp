#include "platform/foundation/ProcessAllocator.h"

#include <malloc.h>

namespace {

// The allocator's own starting limit, held fixed: a scanned card's bitmaps (its grey one alone
// some 700 KB) are above it, its file of some 90 KB below.
constexpr int kLargeBlockBytes = 128 * 1024;

} // namespace

bool configureProcessAllocator()
{
    return mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes) == 1;
}
