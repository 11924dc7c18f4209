#include "ui/model/Component.h"

#include <algorithm>

#include "ui/model/Identifiers.h"
#include "ui/model/TypeBuilder.h"

namespace ui {

Component::Component(Component* owner) : m_Owner(owner) {
  if (owner == nullptr) return;
  owner->m_Components.push_back(this);
  if (owner->HasState(ComponentState::Designing)) SetState(ComponentState::Designing, true);
}

Component::~Component() {
  Destroying();
  std::vector<Component*> observers = std::move(m_Observers);
  m_Observers.clear();
  for (Component* observer : observers) observer->EraseObserver(this);
  for (Component* observer : observers) {
    // Siblings hear of it through the owner below.
    if (m_Owner == nullptr || observer->m_Owner != m_Owner) {
      observer->Notification(*this, Operation::Remove);
    }
  }
  DestroyComponents();
  if (m_Owner != nullptr) m_Owner->Detach(*this);
}

const TypeInfo& Component::StaticType() {
  static const TypeInfo type = TypeBuilder<Component>("Component", Persistent::StaticType())
                                   .Integer("Tag", &Component::Tag, &Component::SetTag)
                                   .Default(0)
                                   .Build();
  return type;
}

void Component::SetName(const std::string& name) {
  if (name == m_Name) return;
  if (!name.empty() && !IsIdentifier(name)) {
    throw ComponentNameError("\"" + name + "\" is not a valid component name");
  }
  if (m_Owner != nullptr) m_Owner->CheckNameFree(name, this);
  m_Name = name;
}

void Component::CheckNameFree(const std::string& name, const Component* except) const {
  if (name.empty()) return;
  const Component* other = FindComponent(name);
  if (other != nullptr && other != except) {
    throw ComponentNameError("A component named " + name + " already exists");
  }
}

Component& Component::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) {
    throw Exception("Component index out of bounds (" + std::to_string(index) + ")");
  }
  return *m_Components[static_cast<size_t>(index)];
}

int Component::ComponentIndex() const {
  if (m_Owner == nullptr) return -1;
  const auto& siblings = m_Owner->m_Components;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

Component* Component::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (Component* component : m_Components) {
    if (SameText(component->m_Name, name)) return component;
  }
  return nullptr;
}

void Component::InsertComponent(std::unique_ptr<Component> component) {
  Assert(component != nullptr && component->m_Owner == nullptr, "ui\\Component");
  CheckNameFree(component->m_Name, nullptr);
  Component& inserted = *component.release();
  m_Components.push_back(&inserted);
  inserted.m_Owner = this;
  if (HasState(ComponentState::Designing)) inserted.SetDesigning(true);
  Notification(inserted, Operation::Insert);
}

std::unique_ptr<Component> Component::RemoveComponent(Component& component) {
  if (component.m_Owner != this) {
    throw Exception(component.ClassName() + " " + component.m_Name + " is not owned by " +
                    ClassName() + " " + m_Name);
  }
  Detach(component);
  return std::unique_ptr<Component>(&component);
}

void Component::Detach(Component& component) {
  Notification(component, Operation::Remove);
  std::erase(m_Components, &component);
  component.m_Owner = nullptr;
}

void Component::DestroyComponents() {
  while (!m_Components.empty()) {
    Component* last = m_Components.back();
    last->Destroying();
    Detach(*last);
    delete last;
  }
}

bool Component::HasState(ComponentState state) const noexcept {
  return (m_State & static_cast<uint8_t>(state)) != 0;
}

void Component::SetState(ComponentState state, bool on) noexcept {
  if (on) {
    m_State = static_cast<uint8_t>(m_State | static_cast<uint8_t>(state));
  } else {
    m_State = static_cast<uint8_t>(m_State & ~static_cast<uint8_t>(state));
  }
}

void Component::SetDesigning(bool designing) {
  SetState(ComponentState::Designing, designing);
  for (Component* component : m_Components) component->SetDesigning(designing);
}

void Component::Destroying() {
  if (HasState(ComponentState::Destroying)) return;
  SetState(ComponentState::Destroying, true);
  for (Component* component : m_Components) component->Destroying();
}

void Component::ClearLoadingState() noexcept {
  SetState(ComponentState::Loading, false);
  SetState(ComponentState::Reading, false);
  for (Component* component : m_Components) component->ClearLoadingState();
}

void Component::FreeNotification(Component& observer) {
  if (&observer == this) return;
  if (std::find(m_Observers.begin(), m_Observers.end(), &observer) != m_Observers.end()) return;
  m_Observers.push_back(&observer);
  observer.m_Observers.push_back(this);
}

void Component::RemoveFreeNotification(Component& observer) {
  EraseObserver(&observer);
  observer.EraseObserver(this);
}

void Component::EraseObserver(Component* component) noexcept {
  std::erase(m_Observers, component);
}

void Component::Loaded() {
  SetState(ComponentState::Loading, false);
}

void Component::Notification(Component& component, Operation operation) {
  if (operation == Operation::Remove) RemoveFreeNotification(component);
  // A handler may remove components; walk by index and re-check the bound.
  for (size_t i = m_Components.size(); i-- > 0;) {
    if (i < m_Components.size()) m_Components[i]->Notification(component, operation);
  }
}

void Component::GetChildren(const std::function<void(Component&)>& proc, Component& root) {
  if (&root != this) return;
  const std::vector<Component*> components = m_Components;
  for (Component* component : components) {
    if (!component->HasParent()) proc(*component);
  }
}

void Component::SetParentComponent(Component*) {}

}  // namespace ui
