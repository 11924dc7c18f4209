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

#include "common/Assert.h"

namespace flux {

class EntryScope {
 public:
  EntryScope() noexcept { ++t_Depth; }
  ~EntryScope() {
    if (--t_Depth == 0 && !t_Finishing && (t_Deferred || t_Task)) Finish();
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
  // Runs `task` once when the outermost entry returns, before what was handed over for
  // destruction goes; asking again before then changes nothing. One task per thread: the
  // window system's paints. Outside any entry: false, and nothing is kept.
  using Task = void (*)() noexcept;
  static bool RunOnReturn(Task task) noexcept {
    if (t_Depth == 0) return false;
    FLUX_ASSERT(!t_Task || t_Task == task);
    t_Task = task;
    return true;
  }

 private:
  // The task and the destructions may enter our code again and ask for more: each round takes
  // what was asked first, and rounds go on until nothing is left.
  static void Finish() {
    t_Finishing = true;
    for (;;) {
      if (const Task task = std::exchange(t_Task, nullptr)) {
        task();
      } else if (auto* deferred = std::exchange(t_Deferred, nullptr)) {
        for (auto& object : *deferred) object.reset();
        delete deferred;
      } else {
        break;
      }
    }
    t_Finishing = false;
  }

  static inline thread_local int t_Depth = 0;
  static inline thread_local bool t_Finishing = false;
  static inline thread_local Task t_Task = nullptr;
  static inline thread_local std::vector<std::shared_ptr<void>>* t_Deferred = nullptr;
};

}  // namespace flux
