#pragma once
// FLUX_ASSERT(condition): an invariant of our own code. On in debug and sanitizer builds, where
// a broken one stops the program at once and says where; compiled out of release builds, where
// the condition is not even evaluated. Never for what a host, a file or a caller hands in: that
// gets a tolerant answer or an exception instead.

#include <cstdio>
#include <cstdlib>

namespace flux {

[[noreturn]] inline void AssertionFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: assertion failed: %s\n", file, line, condition);
  std::fflush(stderr);
  std::abort();
}

}  // namespace flux

#if defined(FLUX_ASSERTIONS)
#define FLUX_ASSERT(condition) \
  ((condition) ? static_cast<void>(0) : ::flux::AssertionFailed(#condition, __FILE__, __LINE__))
#else
#define FLUX_ASSERT(condition) static_cast<void>(sizeof(static_cast<bool>(condition)))
#endif
