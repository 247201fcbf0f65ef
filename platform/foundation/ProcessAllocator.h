// How this process's allocator hands memory out and takes it back, set once at start-up before
// any thread is started, so that a long run of imports returns to its size after each one.
#pragma once

// Only blocks larger than anything a card's work needs (some rendered pages, a large store's
// fetches) are mapped on their own and go back to the system when freed. Left to itself the
// allocator raises that limit to the largest block freed so far, after which such blocks are
// carved from the heaps, where the worker threads' heaps and the long-lived rows between them keep
// the pages after the blocks are gone. A card's blocks (its file of some 90 KB, the writer's
// buffers, its 700 KB grey bitmap) stay below the limit: mapping and unmapping them for every card
// on several threads at once made each unmapping interrupt every core the process runs on, and
// the heaps reuse them instead. The worker threads keep heaps of their own, so that they do not
// wait on one another, and a recognition run gives their free pages back at its end.
// Answers whether the setting was taken.
bool configureProcessAllocator();

