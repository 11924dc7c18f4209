#include "platform/Backend.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<Backend*> g_Current{nullptr};
static_assert(std::atomic<Backend*>::is_always_lock_free);

}  // namespace

Backend* Backend::Current() noexcept {
  return g_Current.load(std::memory_order_acquire);
}

void Backend::Install(Backend* backend) noexcept {
  g_Current.store(backend, std::memory_order_release);
}

}  // namespace platform
