#pragma once
// An ordered, owned list of items of one class, stored with its owner as a collection value.
// Items are numbered from 0 in list order.

#include <string>
#include <vector>

#include "ui/model/Persistent.h"

namespace ui {

class Collection;

class CollectionItem : public Persistent {
 public:
  // Joins `collection` at the end, silently: Collection::Add announces the addition.
  explicit CollectionItem(Collection& collection);
  // Leaves the collection unless a derived destructor already did (LeaveCollection).
  ~CollectionItem() override;

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  Collection* ParentCollection() const noexcept { return m_Collection; }
  int Index() const;  // -1 once it has left its collection
  // Moves the item to `index` (0..count-1, else Exception) and reports the whole collection
  // changed.
  virtual void SetIndex(int index);
  // The base gives the class name.
  virtual std::string DisplayName() const;
  // The base only reports the item changed.
  virtual void SetDisplayName(const std::string& name);

 protected:
  // Reports this item changed, or the whole collection.
  void Changed(bool allItems);
  // For destructors that must act after the item has left the list.
  void LeaveCollection();

 private:
  friend class Collection;
  Collection* m_Collection;
};

class Collection : public Persistent {
 public:
  using ItemFactory = CollectionItem& (*)(Collection&);

  // `owner` is not owned and may be none; `factory` makes the items (see MakeItem).
  Collection(Persistent* owner, ItemFactory factory);
  ~Collection() override;  // destroys the items, the last first

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }
  Collection* AsCollection() override { return this; }

  Persistent* Owner() const noexcept { return m_Owner; }
  int Count() const noexcept { return static_cast<int>(m_Items.size()); }
  CollectionItem& Items(int index) const;  // Exception when out of range

  CollectionItem& Add();
  // A new item at `index` (0..count), moved there with its SetIndex.
  CollectionItem& Insert(int index);
  void Delete(int index);
  void Clear();

  // Update runs once when the outermost EndUpdate ends a batch of changes.
  void BeginUpdate() noexcept { ++m_UpdateCount; }
  void EndUpdate();

  // From another collection: its items are recreated here and assigned one by one.
  void Assign(const Persistent& source) override;

 protected:
  // A change to `item`, or to the whole collection when none (items added, deleted, moved).
  // The base does nothing; collections pass it on to their owner.
  virtual void Update(CollectionItem* item);

 private:
  friend class CollectionItem;
  void Changed(CollectionItem* item);
  void CheckIndex(int index, int count) const;

  Persistent* m_Owner;
  ItemFactory m_Factory;
  std::vector<CollectionItem*> m_Items;  // owned; each item removes itself when destroyed
  int m_UpdateCount = 0;
};

// The factory of a collection of TItem, which is constructed from Collection&.
template <class TItem>
CollectionItem& MakeItem(Collection& collection) {
  return *new TItem(collection);  // owned by the collection from its base constructor on
}

}  // namespace ui
