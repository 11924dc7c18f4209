#include "DIB/cDIBBorder.h"

#include <algorithm>
#include <initializer_list>

#include "ui/model/ClassRegistry.h"
#include "ui/model/TypeBuilder.h"

// --- TDIBBorderEdge --------------------------------------------------------------------------

TDIBBorderEdge::TDIBBorderEdge(ui::Component* owner, TDIBBorderEdgeKind kind)
    : m_Kind(kind),
      m_FirstEndImage(std::make_unique<TDIBImageLink>(owner)),
      m_SecondEndImage(std::make_unique<TDIBImageLink>(owner)),
      m_ImageMiddle(std::make_unique<TDIBImageLink>(owner)) {}

const ui::TypeInfo& TDIBBorderEdge::StaticType() {
  using T = TDIBBorderEdge;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TDIBBorderEdge", ui::Persistent::StaticType())
          .Boolean("AutoCalcSize", &T::AutoCalcSize, &T::SetAutoCalcSize)
          .Default(true)
          .Enumeration("DrawStyle", &T::DrawStyle, &T::SetDrawStyle, {"dsTile", "dsStretch"})
          .Default(dsTile)
          // The stored size, so that it survives while AutoCalcSize is on.
          .Integer("Size", &T::StoredSize, &T::SetSize)
          .Default(32)
          .Build();
  return type;
}

int32_t TDIBBorderEdge::Length(const TAbstractSuperDIB& piece) const {
  return IsVertical() ? piece.Height() : piece.Width();
}

int32_t TDIBBorderEdge::Thickness(const TAbstractSuperDIB& piece) const {
  return IsVertical() ? piece.Width() : piece.Height();
}

int32_t TDIBBorderEdge::ImageSize() const {
  int32_t size = 0;
  for (const TDIBImageLink* link :
       {m_FirstEndImage.get(), m_SecondEndImage.get(), m_ImageMiddle.get()}) {
    if (const TMemoryDIB* image = link->GetImage()) size = std::max(size, Thickness(*image));
  }
  return size;
}

int32_t TDIBBorderEdge::Across(const ui::Rect& rect, const TAbstractSuperDIB& piece) const {
  switch (m_Kind) {
    case ekLeft:
      return rect.Left;
    case ekRight:
      return rect.Right - piece.Width();
    case ekTop:
      return rect.Top;
    case ekBottom:
      break;
  }
  return rect.Bottom - piece.Height();
}

void TDIBBorderEdge::DrawAt(TAbstractSuperDIB& piece, TAbstractSuperDIB& dest, const ui::Rect& rect,
                            int32_t along, int32_t extent) const {
  const int32_t across = Across(rect, piece);
  if (IsVertical()) {
    piece.Draw(across, along, piece.Width(), extent, dest);
  } else {
    piece.Draw(along, across, extent, piece.Height(), dest);
  }
}

void TDIBBorderEdge::DrawMiddle(TAbstractSuperDIB& middle, TAbstractSuperDIB& dest,
                                const ui::Rect& rect, int32_t along, int32_t room) const {
  if (m_DrawStyle == dsTile) {
    // Each copy is cut at the remaining room.
    const int32_t step = Length(middle);
    for (; room > 0; along += step, room -= step) DrawAt(middle, dest, rect, along, room);
    return;
  }
  if (room <= 0) return;
  // No image is longer than 65535 pixels, nor is any destination.
  const auto length = static_cast<uint16_t>(std::min<int32_t>(room, 65535));
  const auto thickness = static_cast<uint16_t>(Thickness(middle));
  TMemoryDIB stretched(IsVertical() ? thickness : length, IsVertical() ? length : thickness);
  stretched.StretchFrom(middle);
  middle.CopyPropertiesTo(stretched);  // blended as the middle piece itself would be
  DrawAt(stretched, dest, rect, along, length);
}

void TDIBBorderEdge::Draw(TAbstractSuperDIB& dest, const ui::Rect& rect) const {
  if (!m_FirstEndImage->IsValid() && !m_SecondEndImage->IsValid() && !m_ImageMiddle->IsValid()) {
    return;
  }
  // The links share their list's one view image: each piece is fetched right before its use.
  const int32_t start = IsVertical() ? rect.Top : rect.Left;
  const int32_t end = IsVertical() ? rect.Bottom : rect.Right;
  int32_t along = start;
  int32_t room = end - start;
  if (const TMemoryDIB* first = m_FirstEndImage->GetImage()) {
    along += Length(*first);
    room -= Length(*first);
  }
  if (const TMemoryDIB* second = m_SecondEndImage->GetImage()) room -= Length(*second);
  if (TMemoryDIB* middle = m_ImageMiddle->GetImage()) DrawMiddle(*middle, dest, rect, along, room);
  if (TMemoryDIB* first = m_FirstEndImage->GetImage()) {
    DrawAt(*first, dest, rect, start, Length(*first));
  }
  if (TMemoryDIB* second = m_SecondEndImage->GetImage()) {
    DrawAt(*second, dest, rect, end - Length(*second), Length(*second));
  }
}

const ui::TypeInfo& TDIBHorzBorderEdge::StaticType() {
  using T = TDIBHorzBorderEdge;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TDIBHorzBorderEdge", TDIBBorderEdge::StaticType())
          .Object("ImageLeft", &T::ImageLeft)
          .Object("ImageMiddle", &T::ImageMiddle)
          .Object("ImageRight", &T::ImageRight)
          .Build();
  return type;
}

const ui::TypeInfo& TDIBVertBorderEdge::StaticType() {
  using T = TDIBVertBorderEdge;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TDIBVertBorderEdge", TDIBBorderEdge::StaticType())
          .Object("ImageBottom", &T::ImageBottom)
          .Object("ImageMiddle", &T::ImageMiddle)
          .Object("ImageTop", &T::ImageTop)
          .Build();
  return type;
}

// --- TDIBBorder ------------------------------------------------------------------------------

TDIBBorder::TDIBBorder(ui::Component* owner)
    : ui::Component(owner),
      m_BorderBottom(std::make_unique<TDIBHorzBorderEdge>(this, ekBottom)),
      m_BorderLeft(std::make_unique<TDIBVertBorderEdge>(this, ekLeft)),
      m_BorderRight(std::make_unique<TDIBVertBorderEdge>(this, ekRight)),
      m_BorderTop(std::make_unique<TDIBHorzBorderEdge>(this, ekTop)) {}

const ui::TypeInfo& TDIBBorder::StaticType() {
  using T = TDIBBorder;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TDIBBorder", ui::Component::StaticType())
          .Object("BorderBottom", &T::BorderBottom)
          .Object("BorderLeft", &T::BorderLeft)
          .Object("BorderRight", &T::BorderRight)
          .Object("BorderTop", &T::BorderTop)
          .Reference("DIBImageList", &T::DIBImageList, &T::SetDIBImageList)
          .Creatable()
          .Build();
  return type;
}

void TDIBBorder::SetDIBImageList(TCustomDIBImageList* list) {
  if (m_DIBImageList != nullptr) m_DIBImageList->RemoveFreeNotification(*this);
  m_DIBImageList = list;
  if (list != nullptr) list->FreeNotification(*this);
  for (const TDIBBorderEdge* edge : std::initializer_list<const TDIBBorderEdge*>{
           m_BorderBottom.get(), m_BorderLeft.get(), m_BorderRight.get(), m_BorderTop.get()}) {
    edge->FirstEndImage().SetDIBImageList(list);
    edge->SecondEndImage().SetDIBImageList(list);
    edge->ImageMiddle().SetDIBImageList(list);
  }
}

void TDIBBorder::AdjustClientRect(ui::Rect& rect) const {
  rect.Top += m_BorderTop->Size();
  rect.Bottom -= m_BorderBottom->Size();
  rect.Left += m_BorderLeft->Size();
  rect.Right -= m_BorderRight->Size();
}

void TDIBBorder::Draw(TAbstractSuperDIB& dest, ui::Rect rect) const {
  m_BorderLeft->Draw(dest, rect);
  m_BorderRight->Draw(dest, rect);
  // The image sizes, not Size: the top and bottom edges fit between the drawn side edges.
  rect.Left += m_BorderLeft->ImageSize();
  rect.Right -= m_BorderRight->ImageSize();
  m_BorderTop->Draw(dest, rect);
  m_BorderBottom->Draw(dest, rect);
}

void TDIBBorder::Notification(ui::Component& component, ui::Operation operation) {
  ui::Component::Notification(component, operation);
  if (operation == ui::Operation::Remove && &component == m_DIBImageList) {
    SetDIBImageList(nullptr);
  }
}

void RegisterDIBBorderClasses() {
  ui::ClassRegistry::Register(TDIBBorder::StaticType());
}
