#pragma once
// Counts the program's allocations while asked to: the global operator new is replaced, so this
// header belongs in exactly one source file of a test binary.

#include <atomic>
#include <cstdlib>
#include <new>

namespace testsupport {
inline std::atomic<bool> countingAllocations{false};
inline std::atomic<int> allocations{0};
}  // namespace testsupport

// Out of line, all three: half inlined, GCC would see memory from malloc go to operator delete,
// or memory from a new-expression go to free.
[[gnu::noinline]] void* operator new(std::size_t size) {
  if (testsupport::countingAllocations.load()) ++testsupport::allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
  std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
