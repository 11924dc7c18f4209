#pragma once
// A named persistent object with an optional owner. The owner destroys what it owns; components
// hear of insertions into and removals from their owner, and of the end of components they
// asked to watch (FreeNotification).
//
// Destroying a component, in this order:
//   1. it and everything it owns are marked Destroying;
//   2. the components that watch it from elsewhere get Notification(it, Remove);
//   3. its own components are destroyed from the last to the first, each one first announced
//      to it with Notification(child, Remove);
//   4. it leaves its owner, which gets Notification(it, Remove).
// Notification is passed on by the base class to every owned component, so a component hears
// of changes among its siblings. During a removal the component may already be partly
// destroyed: handlers compare pointers and never call it. Handlers must not throw.
//
// A class whose own components depend on it being whole calls DestroyComponents() at the start
// of its destructor.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "common/Lifetime.h"
#include "ui/model/Exception.h"
#include "ui/model/Persistent.h"

namespace ui {

using flux::WeakRef;

enum class Operation { Insert, Remove };

enum class ComponentState : uint8_t {
  Loading = 1,     // from creation by a stream reader until Loaded
  Reading = 2,     // while its own properties are being read
  Designing = 4,   // shown in a designer: drawn and handled differently
  Destroying = 8,  // its destruction has begun
};

class Component : public Persistent {
 public:
  // With an owner, the component is owned from here on and is destroyed with it. Create() also
  // sends the owner the insertion notification, once the component is whole.
  explicit Component(Component* owner);
  ~Component() override;

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  Component* Owner() const noexcept { return m_Owner; }
  const std::string& Name() const noexcept { return m_Name; }
  // Empty or an identifier, unique among the owner's components; else ComponentNameError.
  virtual void SetName(const std::string& name);
  int32_t Tag() const noexcept { return m_Tag; }
  void SetTag(int32_t tag) noexcept { m_Tag = tag; }

  int ComponentCount() const noexcept { return static_cast<int>(m_Components.size()); }
  Component& Components(int index) const;
  int ComponentIndex() const;  // -1 without owner
  // The owned component of that name, compared without regard to case; none when absent.
  Component* FindComponent(std::string_view name) const;
  // As FindComponent, raising Exception when absent or not a T.
  template <class T>
  T& RequireComponent(std::string_view name) const;

  // Takes ownership of a component that has no owner and announces it (Insert).
  void InsertComponent(std::unique_ptr<Component> component);
  // Announces the removal (Remove) and hands ownership to the caller.
  std::unique_ptr<Component> RemoveComponent(Component& component);
  // Destroys the owned components, the last first.
  void DestroyComponents();

  bool HasState(ComponentState state) const noexcept;
  void SetDesigning(bool designing);  // for this and everything it owns
  // Marks this and everything it owns Destroying; safe to call more than once.
  void Destroying();

  // What WeakRefs to this component watch: it ends with the destruction, or earlier where a
  // class calls EndLife (first thing in a destructor that still calls handlers).
  const flux::Lifetime& Life() const noexcept { return m_Life; }

  // `observer` gets Notification(this, Remove) when this component goes, wherever the two live.
  void FreeNotification(Component& observer);
  void RemoveFreeNotification(Component& observer);

  // After a stream reader has read every component of a tree and resolved its references.
  // Overrides call the base, which ends the Loading state.
  virtual void Loaded();
  // See the top of this file. Overrides call the base.
  virtual void Notification(Component& component, Operation operation);

  // Streaming: the components stored inside this one when `root` is written. The base lists,
  // for the root only, its components that have no parent component.
  virtual void GetChildren(const std::function<void(Component&)>& proc, Component& root);
  virtual bool HasParent() const { return false; }
  // A component read inside another is given it here; the base ignores it.
  virtual void SetParentComponent(Component* parent);

 protected:
  void EndLife() noexcept { m_Life.End(); }

 private:
  friend class ComponentReader;
  void SetState(ComponentState state, bool on) noexcept;
  void ClearLoadingState() noexcept;  // this and everything it owns
  void CheckNameFree(const std::string& name, const Component* except) const;
  void Detach(Component& component);
  void EraseObserver(Component* component) noexcept;

  Component* m_Owner = nullptr;
  std::string m_Name;
  int32_t m_Tag = 0;
  uint8_t m_State = 0;
  std::vector<Component*> m_Components;  // owned
  std::vector<Component*> m_Observers;   // FreeNotification links, kept on both sides
  flux::Lifetime m_Life;
};

// Makes a T owned by `owner` and announces it; the owner destroys it.
template <class T, class... Args>
T& Create(Component& owner, Args&&... args) {
  static_assert(std::is_base_of_v<Component, T>);
  T& created = *new T(&owner, std::forward<Args>(args)...);
  owner.Notification(created, Operation::Insert);
  return created;
}

template <class T>
T& Component::RequireComponent(std::string_view name) const {
  T* found = dynamic_cast<T*>(FindComponent(name));
  if (found == nullptr) {
    throw Exception(ClassName() + " has no component " + std::string(name) +
                    " of the expected class");
  }
  return *found;
}

}  // namespace ui
