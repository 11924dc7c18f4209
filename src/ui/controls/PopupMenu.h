#pragma once
// A popup menu as far as the framework needs one: items with captions and shortcuts that
// keys can trigger, and a popup request that names the control it is for. It draws nothing.

#include <cstdint>
#include <string>

#include "ui/controls/Control.h"
#include "ui/model/Collection.h"
#include "ui/model/Component.h"
#include "ui/model/Events.h"

namespace ui {

using TShortCut = uint16_t;  // key code plus the modifier bits below
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(uint16_t key, TShiftState shift);

class MenuItem : public CollectionItem {
 public:
  explicit MenuItem(Collection& collection) : CollectionItem(collection) {}

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  const std::string& Caption() const { return m_Caption; }
  void SetCaption(const std::string& caption) { m_Caption = caption; }
  TShortCut ShortCut() const { return m_ShortCut; }
  void SetShortCut(TShortCut shortCut) { m_ShortCut = shortCut; }
  bool Enabled() const { return m_Enabled; }
  void SetEnabled(bool enabled) { m_Enabled = enabled; }
  std::string DisplayName() const override;
  void Assign(const Persistent& source) override;

  virtual void Click();  // calls OnClick with the item as sender
  TNotifyEvent OnClick;

 private:
  std::string m_Caption;
  TShortCut m_ShortCut = 0;
  bool m_Enabled = true;
};

class MenuItems : public Collection {
 public:
  explicit MenuItems(Persistent* owner) : Collection(owner, &MakeItem<MenuItem>) {}
  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }
  MenuItem& Item(int index) const { return static_cast<MenuItem&>(Items(index)); }
  MenuItem& Add(const std::string& caption, TShortCut shortCut = 0);
};

class PopupMenu : public Component {
 public:
  explicit PopupMenu(Component* owner) : Component(owner), m_Items(this) {}

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  MenuItems& Items() { return m_Items; }
  // A key message whose key and shift state are an enabled item's shortcut clicks the item.
  bool IsShortCut(Message& keyMessage);
  // Records where and for which control the menu was asked for, and fires OnPopup.
  void Popup(Point screen, Control* component);
  Control* PopupComponent() const { return m_PopupComponent.Get(); }
  Point PopupPoint() const { return m_PopupPoint; }
  TNotifyEvent OnPopup;

 private:
  MenuItems m_Items;
  WeakRef<Control> m_PopupComponent;
  Point m_PopupPoint;
};

}  // namespace ui
