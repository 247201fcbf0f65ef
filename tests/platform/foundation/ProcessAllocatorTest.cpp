#include "platform/foundation/ProcessAllocator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <malloc.h>

namespace {

// Blocks a test hands out escape through here, so that the compiler keeps their allocation.
void* volatile g_block = nullptr;

size_t mappedBytes() { return mallinfo2().hblkhd; }

} // namespace

// A large block is mapped on its own, and so given back when freed, even after a larger block
// was freed: left to itself the allocator would then take it from a heap, which keeps its pages.
// (The block is larger than any free space the tests before may have left in the heap.)
TEST(ProcessAllocator, LargeBlocksAreMappedAfterALargerOneWasFreed)
{
    ASSERT_TRUE(configureProcessAllocator());
    g_block = std::malloc(16 << 20);
    std::free(g_block);

    const size_t before = mappedBytes();
    g_block = std::malloc(12 << 20);
    const size_t mapped = mappedBytes() - before;
    std::free(g_block);
    EXPECT_GE(mapped, size_t(12 << 20));
    EXPECT_EQ(mappedBytes(), before) << "a freed block goes back to the system";
}

// A card's bitmap (some 700 KB) is reused from the heap rather than mapped and unmapped for every
// card on several threads at once.
TEST(ProcessAllocator, ACardsBitmapIsNotMappedOnItsOwn)
{
    ASSERT_TRUE(configureProcessAllocator());
    const size_t before = mappedBytes();
    g_block = std::malloc(1075 * 650);
    EXPECT_EQ(mappedBytes(), before);
    std::free(g_block);
}
