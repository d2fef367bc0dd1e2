#pragma once
#include <cstddef>

// Every operator new of any form in a binary that links the counter, since it started.
std::size_t heapAllocations();
