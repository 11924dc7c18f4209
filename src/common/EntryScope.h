#pragma once
// Entry points into our code from outside it: a host's call into a plug-in instance, the window
// system delivering to one of our windows. They nest: a host may call us again from inside a
// callback we made (an automation notice, sent events), and a window system delivers inside the
// host's idle call. Nothing is destroyed while its code is on the stack: an object that may still
// be running is handed to DestroyOnReturn and goes when the outermost entry of this thread
// returns to the caller outside.
//
// Thread-local state is plain data (no destructor runs at thread exit), so a library that is
// unloaded before its host's threads end leaves nothing behind to call.

#include <memory>
#include <utility>
#include <vector>

namespace flux {

class EntryScope {
 public:
  EntryScope() noexcept { ++t_Depth; }
  ~EntryScope() {
    if (--t_Depth == 0 && t_Deferred) DestroyDeferred();
  }
  EntryScope(const EntryScope&) = delete;
  EntryScope& operator=(const EntryScope&) = delete;

  // Whether one of our entry points is running on this thread.
  static bool Inside() noexcept { return t_Depth > 0; }
  // Destroyed when the outermost entry returns, in the order handed over; at once when no
  // entry is running.
  template <class T>
  static void DestroyOnReturn(std::unique_ptr<T> object) {
    if (object) DestroyOnReturn(std::shared_ptr<void>(std::move(object)));
  }
  static void DestroyOnReturn(std::shared_ptr<void> object) {
    if (t_Depth == 0) return;  // `object` goes as this returns
    if (!t_Deferred) t_Deferred = new std::vector<std::shared_ptr<void>>();
    t_Deferred->push_back(std::move(object));
  }

 private:
  // Destroying may enter our code again and defer more: the list is taken first each round.
  static void DestroyDeferred() {
    while (auto* deferred = std::exchange(t_Deferred, nullptr)) {
      for (auto& object : *deferred) object.reset();
      delete deferred;
    }
  }

  static inline thread_local int t_Depth = 0;
  static inline thread_local std::vector<std::shared_ptr<void>>* t_Deferred = nullptr;
};

}  // namespace flux
