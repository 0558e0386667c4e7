#include "zrbase/ZrHeap.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> liveBlocks{0};
}

void* zrrxAlloc(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block)
        ++liveBlocks;
    return block;
}

void zrrxFree(void* block)
{
    if (!block)
        return;
    --liveBlocks;
    std::free(block);
}

long zrrxLiveBlockCount() { return liveBlocks.load(); }

void* ZrHeapOperators::operator new(std::size_t size)
{
    if (void* block = zrrxAlloc(size))
        return block;
    throw std::bad_alloc();
}

void* ZrHeapOperators::operator new[](std::size_t size) { return operator new(size); }
void ZrHeapOperators::operator delete(void* block) noexcept { zrrxFree(block); }
void ZrHeapOperators::operator delete[](void* block) noexcept { zrrxFree(block); }
