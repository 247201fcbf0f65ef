// How this process's allocator hands memory out and takes it back, set once at start-up before
// any thread is started, so that a long run of imports returns to its size after each one.
#pragma once

// Large blocks (decoded card bitmaps, rendered pages) are mapped on their own and go back to
// the system when freed. Left to itself the allocator raises that limit to the largest block freed
// so far, after which such blocks are carved from the heaps, where the worker threads' heaps and
// the long-lived rows between them keep the pages after the blocks are gone. The worker threads
// keep heaps of their own, so that they do not wait on one another; what those hold once the
// large blocks are mapped is small, and a recognition run gives their free pages back at its end.
// Answers whether the setting was taken.
bool configureProcessAllocator();

