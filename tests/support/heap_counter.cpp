// Counting replacements of the global operator new, for the tests and the
// benchmark that check that a frame or an update does not touch the heap.
#include "support/heap_counter.h"

#include <cstdlib>
#include <new>

namespace {
std::size_t allocationCount = 0;
}  // namespace

std::size_t heapAllocations() { return allocationCount; }

// GCC takes free() in these for a mismatch with the operator new above it;
// both are ours and pair malloc with free.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
