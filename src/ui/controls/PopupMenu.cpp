#include "ui/controls/PopupMenu.h"

#include "ui/controls/Application.h"
#include "ui/model/TypeBuilder.h"

namespace ui {

TShortCut ShortCut(uint16_t key, TShiftState shift) {
  TShortCut result = static_cast<TShortCut>(key & 0x0FFF);
  if (shift & ssShift) result |= scShift;
  if (shift & ssCtrl) result |= scCtrl;
  if (shift & ssAlt) result |= scAlt;
  return result;
}

const TypeInfo& MenuItem::StaticType() {
  using T = MenuItem;
  static const TypeInfo type = TypeBuilder<T>("MenuItem", CollectionItem::StaticType())
                                   .String("Caption", &T::Caption, &T::SetCaption)
                                   .Default("")
                                   .Boolean("Enabled", &T::Enabled, &T::SetEnabled)
                                   .Default(true)
                                   .Integer("ShortCut", &T::ShortCut, &T::SetShortCut)
                                   .Default(0)
                                   .Event("OnClick")
                                   .Build();
  return type;
}

std::string MenuItem::DisplayName() const {
  return m_Caption.empty() ? CollectionItem::DisplayName() : m_Caption;
}

void MenuItem::Assign(const Persistent& source) {
  if (const auto* item = dynamic_cast<const MenuItem*>(&source)) {
    m_Caption = item->m_Caption;
    m_ShortCut = item->m_ShortCut;
    m_Enabled = item->m_Enabled;
    OnClick = item->OnClick;
    return;
  }
  CollectionItem::Assign(source);
}

void MenuItem::Click() {
  OnClick(this);
}

const TypeInfo& MenuItems::StaticType() {
  static const TypeInfo type =
      TypeBuilder<MenuItems>("MenuItems", Collection::StaticType()).Build();
  return type;
}

MenuItem& MenuItems::Add(const std::string& caption, TShortCut shortCut) {
  auto& item = static_cast<MenuItem&>(Collection::Add());
  item.SetCaption(caption);
  item.SetShortCut(shortCut);
  return item;
}

const TypeInfo& PopupMenu::StaticType() {
  using T = PopupMenu;
  static const TypeInfo type =
      TypeBuilder<T>("PopupMenu", Component::StaticType())
          .Object("Items", [](T& menu) -> MenuItems& { return menu.Items(); })
          .Event("OnPopup")
          .Creatable()
          .Build();
  return type;
}

bool PopupMenu::IsShortCut(Message& keyMessage) {
  const TShortCut pressed =
      ShortCut(static_cast<uint16_t>(keyMessage.wParam), KeyDataToShiftState(keyMessage.lParam));
  for (int i = 0; i < m_Items.Count(); ++i) {
    MenuItem& item = m_Items.Item(i);
    if (item.Enabled() && item.ShortCut() != 0 && item.ShortCut() == pressed) {
      item.Click();
      return true;
    }
  }
  return false;
}

void PopupMenu::Popup(Point screen, Control* component) {
  m_PopupPoint = screen;
  m_PopupComponent = component;
  OnPopup(this);
}

}  // namespace ui
