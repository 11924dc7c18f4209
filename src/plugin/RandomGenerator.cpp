#include "plugin/RandomGenerator.h"

#include <atomic>
#include <chrono>

namespace flux {
namespace {

std::atomic<uint32_t> sharedSeed{0};
static_assert(std::atomic<uint32_t>::is_always_lock_free);

}  // namespace

double nextRandom() {
  const uint32_t next = sharedSeed.load(std::memory_order_relaxed) * 134775813u + 1u;
  sharedSeed.store(next, std::memory_order_relaxed);
  return static_cast<double>(next) * 0x1p-32;
}

void randomize() {
  using namespace std::chrono;
  const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
  // Milliseconds since midnight UTC: ((h * 60 + m) * 60 + s) * 1000 + ms.
  const auto ofDay = sinceEpoch.count() % 86'400'000;
  sharedSeed.store(static_cast<uint32_t>(ofDay < 0 ? ofDay + 86'400'000 : ofDay),
                   std::memory_order_relaxed);
}

uint32_t randomSeed() {
  return sharedSeed.load(std::memory_order_relaxed);
}

void SetRandomSeed(uint32_t seed) {
  sharedSeed.store(seed, std::memory_order_relaxed);
}

}  // namespace flux
