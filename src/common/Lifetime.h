#pragma once
// Weak references for objects that code on the stack may outlive: a handler that destroys its
// own control, a window procedure whose window a host closes, a timer stopped from its tick.
// An object embeds a Lifetime and hands it out through Life(); a WeakRef to it reads as none
// from the moment that lifetime ends (at the latest when the object is destroyed). Single-
// threaded, like the objects that use it.

#include <memory>

namespace flux {

class Lifetime {
 public:
  Lifetime() = default;
  ~Lifetime() { End(); }
  Lifetime(const Lifetime&) = delete;
  Lifetime& operator=(const Lifetime&) = delete;

  // From here on every reference reads as none; for objects whose destructor must stop
  // being seen before it is done (safe to call more than once).
  void End() noexcept {
    if (m_Alive) *m_Alive = false;
    m_Ended = true;
  }
  bool Ended() const noexcept { return m_Ended; }

 private:
  template <class T>
  friend class WeakRef;

  // Made on the first reference: most objects are never referred to weakly.
  std::shared_ptr<const bool> Token() const {
    if (!m_Alive) m_Alive = std::make_shared<bool>(!m_Ended);
    return m_Alive;
  }

  mutable std::shared_ptr<bool> m_Alive;
  bool m_Ended = false;
};

// A pointer that reads as none once its object's Life() has ended. T provides
// `const flux::Lifetime& Life() const`.
template <class T>
class WeakRef {
 public:
  WeakRef() = default;
  WeakRef(T* object)  // NOLINT: converting on purpose, like a pointer
      : m_Object(object), m_Alive(object ? object->Life().Token() : nullptr) {}

  T* Get() const { return m_Alive && *m_Alive ? m_Object : nullptr; }
  explicit operator bool() const { return Get() != nullptr; }

 private:
  T* m_Object = nullptr;
  std::shared_ptr<const bool> m_Alive;
};

}  // namespace flux
