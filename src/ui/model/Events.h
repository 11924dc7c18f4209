#pragma once
// Events are delegates: an object and one of its member functions. Two delegates are equal
// when they call the same member function on the same object, so "the same handler" can be
// told apart from another.
//
//   label.OnClick = ui::Bind<&TPluginEditorWindow::AboutClick>(this);

#include <cstdint>
#include <exception>
#include <type_traits>
#include <utility>

namespace ui {

class Persistent;
struct Message;

template <class... Args>
class Delegate {
 public:
  using Thunk = void (*)(void*, Args...);

  constexpr Delegate() = default;
  constexpr Delegate(void* object, Thunk thunk) : m_Object(object), m_Thunk(thunk) {}

  explicit operator bool() const { return m_Thunk != nullptr; }
  void* Object() const { return m_Object; }
  void operator()(Args... args) const {
    if (m_Thunk) m_Thunk(m_Object, std::forward<Args>(args)...);
  }
  friend bool operator==(const Delegate&, const Delegate&) = default;

 private:
  void* m_Object = nullptr;
  Thunk m_Thunk = nullptr;
};

template <class Method>
struct MethodTraits;
template <class C, class... A>
struct MethodTraits<void (C::*)(A...)> {
  using Class = C;
  using DelegateType = Delegate<A...>;
  template <auto Method>
  static void Invoke(void* object, A... args) {
    (static_cast<C*>(object)->*Method)(std::forward<A>(args)...);
  }
};

// A delegate calling Method on `object`.
template <auto Method, class T>
auto Bind(T* object) {
  using Traits = MethodTraits<decltype(Method)>;
  using C = typename Traits::Class;
  static_assert(std::is_base_of_v<C, T>);
  return typename Traits::DelegateType(static_cast<void*>(static_cast<C*>(object)),
                                       &Traits::template Invoke<Method>);
}

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
using TMouseButtons = uint8_t;  // bit (1 << TMouseButton) per button

using TShiftState = uint8_t;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssLeft = 8;
inline constexpr TShiftState ssRight = 16;
inline constexpr TShiftState ssMiddle = 32;

using TNotifyEvent = Delegate<Persistent*>;  // (Sender)
using TMouseEvent = Delegate<Persistent*, TMouseButton, TShiftState, int32_t, int32_t>;
using TMouseMoveEvent = Delegate<Persistent*, TShiftState, int32_t, int32_t>;
using TKeyEvent = Delegate<Persistent*, uint16_t&, TShiftState>;  // the handler may change Key
using TKeyPressEvent = Delegate<Persistent*, char&>;              // the handler may change Key
using TExceptionEvent = Delegate<Persistent*, const std::exception&>;
using TShortCutEvent = Delegate<Message&, bool&>;  // (key message, Handled)

}  // namespace ui
