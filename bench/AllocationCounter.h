#pragma once
// Counts every allocation of a benchmark program: include this header in exactly one source file
// of the program (it replaces the global operator new and delete). (GCC takes the malloc/free pair
// of these replacements for a mismatch.)
#include <atomic>
#include <cstdlib>
#include <new>

namespace oxw::bench {
inline std::atomic<long long> gAllocations{0};
}  // namespace oxw::bench

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    oxw::bench::gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop
