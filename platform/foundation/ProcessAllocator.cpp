#include "platform/foundation/ProcessAllocator.h"

#include <malloc.h>

namespace {

// The allocator's own starting limit is 128 KB; held fixed above a scanned card's largest block
// (its grey bitmap, some 700 KB) and below the blocks a large store's fetch frees.
constexpr int kLargeBlockBytes = 2 * 1024 * 1024;

} // namespace

bool configureProcessAllocator()
{
    return mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes) == 1;
}
