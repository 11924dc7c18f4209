#include "platform/Backend.h"

namespace platform {
namespace {

Backend* g_Current = nullptr;  // user-interface thread only

}  // namespace

Backend* Backend::Current() noexcept {
  return g_Current;
}

void Backend::Install(Backend* backend) noexcept {
  g_Current = backend;
}

}  // namespace platform
