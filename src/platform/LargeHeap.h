#pragma once

// Heap settings for a process that builds one large program and ends: the command-line tool
// and the speed suite. Not for the window, whose memory should go back to the system.

#include <cstddef>

namespace orvale {

// Freed memory stays with the process and is merged as it is freed. A large program is
// millions of short strings, many freed in bulk (a section's old compiled lines, the file text
// once parsed); the C library's fast bins would hold them back and sort them all out again at
// the next large allocation. Memory given back to the system returns a moment later as fresh
// pages, each one cleared and mapped again.
void KeepFreedMemory();

// Makes room at the top of the heap for about Bytes of allocations to come, backed by huge
// pages where the system offers them. A program of a million lines touches some hundred
// megabytes in 4 KB pages, and the misses of the processor's page table cache on them (and the
// clearing of each page apart) took half of an import's time; a huge page covers 512 of them.
// Only address space is reserved: a page is taken when it is first used. Implies
// KeepFreedMemory, so that the room is not given back before it is used.
void ReserveHeap(size_t bytes);

} // namespace orvale
