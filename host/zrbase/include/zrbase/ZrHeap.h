#pragma once
#include <cstddef>

// The host heap. Host objects, and shared counters the host and plug-ins
// exchange, come from here so that either side may free what the other made.
void* zrrxAlloc(std::size_t size);
void zrrxFree(void* block);

// Number of blocks from zrrxAlloc not yet freed; lets tests prove that an
// operation released everything it took.
long zrrxLiveBlockCount();

// Base whose operators route new and delete of host objects through the host heap.
class ZrHeapOperators {
public:
    static void* operator new(std::size_t size);
    static void* operator new[](std::size_t size);
    static void operator delete(void* block) noexcept;
    static void operator delete[](void* block) noexcept;
    // Placement forms, so that derived classes keep them.
    static void* operator new(std::size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}
};
