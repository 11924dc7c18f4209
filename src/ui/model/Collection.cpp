#include "ui/model/Collection.h"

#include <algorithm>

#include "ui/model/Exception.h"
#include "ui/model/TypeBuilder.h"

namespace ui {

CollectionItem::CollectionItem(Collection& collection) : m_Collection(&collection) {
  collection.m_Items.push_back(this);
}

CollectionItem::~CollectionItem() {
  LeaveCollection();
}

const TypeInfo& CollectionItem::StaticType() {
  static const TypeInfo type =
      TypeBuilder<CollectionItem>("CollectionItem", Persistent::StaticType()).Build();
  return type;
}

int CollectionItem::Index() const {
  if (m_Collection == nullptr) return -1;
  const auto& items = m_Collection->m_Items;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void CollectionItem::SetIndex(int index) {
  const int current = Index();
  if (current < 0 || index == current) return;
  m_Collection->CheckIndex(index, m_Collection->Count());
  auto& items = m_Collection->m_Items;
  const auto from = items.begin() + current;
  const auto to = items.begin() + index;
  if (index < current) {
    std::rotate(to, from, from + 1);
  } else {
    std::rotate(from, from + 1, to + 1);
  }
  Changed(true);
}

std::string CollectionItem::DisplayName() const {
  return ClassName();
}

void CollectionItem::SetDisplayName(const std::string&) {
  Changed(false);
}

void CollectionItem::Changed(bool allItems) {
  if (m_Collection != nullptr) m_Collection->Changed(allItems ? nullptr : this);
}

void CollectionItem::LeaveCollection() {
  if (m_Collection == nullptr) return;
  Collection& collection = *m_Collection;
  std::erase(collection.m_Items, this);
  m_Collection = nullptr;
  collection.Changed(nullptr);
}

Collection::Collection(Persistent* owner, ItemFactory factory)
    : m_Owner(owner), m_Factory(factory) {
  Assert(factory != nullptr, "ui\\Collection");
}

Collection::~Collection() {
  ++m_UpdateCount;  // no Update while the collection itself goes
  while (!m_Items.empty()) delete m_Items.back();
}

const TypeInfo& Collection::StaticType() {
  static const TypeInfo type =
      TypeBuilder<Collection>("Collection", Persistent::StaticType()).Build();
  return type;
}

void Collection::CheckIndex(int index, int count) const {
  if (index < 0 || index >= count) {
    throw Exception("List index out of bounds (" + std::to_string(index) + ")");
  }
}

CollectionItem& Collection::Items(int index) const {
  CheckIndex(index, Count());
  return *m_Items[static_cast<size_t>(index)];
}

CollectionItem& Collection::Add() {
  CollectionItem& item = m_Factory(*this);
  Changed(nullptr);
  return item;
}

CollectionItem& Collection::Insert(int index) {
  CheckIndex(index, Count() + 1);
  CollectionItem& item = Add();
  item.SetIndex(index);
  return item;
}

void Collection::Delete(int index) {
  delete &Items(index);
}

void Collection::Clear() {
  if (m_Items.empty()) return;
  BeginUpdate();
  while (!m_Items.empty()) delete m_Items.back();
  EndUpdate();
}

void Collection::EndUpdate() {
  Assert(m_UpdateCount > 0, "ui\\Collection");
  if (--m_UpdateCount == 0) Changed(nullptr);
}

void Collection::Changed(CollectionItem* item) {
  if (m_UpdateCount == 0) Update(item);
}

void Collection::Update(CollectionItem*) {}

void Collection::Assign(const Persistent& source) {
  const auto* other = dynamic_cast<const Collection*>(&source);
  if (other == nullptr) {
    Persistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (const CollectionItem* item : other->m_Items) Add().Assign(*item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

}  // namespace ui
