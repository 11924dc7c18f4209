#pragma once
// A frame of images drawn around the inside of a skinned-control container. Each of the four
// edges has up to three images of one image list: two end pieces and a middle piece tiled or
// stretched between them.
//
// What a container does with a border (the border needs nothing from it):
//   - shrink its client rectangle with AdjustClientRect, which uses each edge's Size;
//   - draw it into its back buffer within its client rectangle with Draw, before or after its
//     controls;
//   - watch it with FreeNotification and forget it when it is removed.
// User-interface thread only.

#include <cstdint>
#include <memory>

#include "DIB/cDIBImageList.h"
#include "ui/graphics/Geometry.h"
#include "ui/model/Component.h"

enum TDIBBorderDrawStyle : uint8_t { dsTile = 0, dsStretch = 1 };

enum TDIBBorderEdgeKind : uint8_t { ekLeft = 0, ekRight = 1, ekTop = 2, ekBottom = 3 };

class TDIBBorderEdge : public ui::Persistent {
 public:
  // owner: the border, which is the owner of the edge's image links.
  TDIBBorderEdge(ui::Component* owner, TDIBBorderEdgeKind kind);
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  TDIBBorderEdgeKind Kind() const { return m_Kind; }
  // The top piece of a vertical edge, the left piece of a horizontal one.
  TDIBImageLink& FirstEndImage() const { return *m_FirstEndImage; }
  TDIBImageLink& SecondEndImage() const { return *m_SecondEndImage; }
  TDIBImageLink& ImageMiddle() const { return *m_ImageMiddle; }
  TDIBBorderDrawStyle DrawStyle() const { return m_DrawStyle; }
  void SetDrawStyle(TDIBBorderDrawStyle style) { m_DrawStyle = style; }
  bool AutoCalcSize() const { return m_AutoCalcSize; }
  void SetAutoCalcSize(bool autoCalcSize) { m_AutoCalcSize = autoCalcSize; }
  // ImageSize with AutoCalcSize, else the stored size.
  int32_t Size() const { return m_AutoCalcSize ? ImageSize() : m_StoredSize; }
  void SetSize(int32_t size) { m_StoredSize = size; }
  int32_t StoredSize() const { return m_StoredSize; }
  // The largest width (left, right) or height (top, bottom) of the images; 0 without any.
  int32_t ImageSize() const;

  // The middle piece first, then the end pieces over it, along the edge's side of rect.
  void Draw(TAbstractSuperDIB& dest, const ui::Rect& rect) const;

 private:
  bool IsVertical() const { return m_Kind == ekLeft || m_Kind == ekRight; }
  // A piece's size along the edge and across it.
  int32_t Length(const TAbstractSuperDIB& piece) const;
  int32_t Thickness(const TAbstractSuperDIB& piece) const;
  // Where a piece lies across the edge: x of a vertical edge, y of a horizontal one.
  int32_t Across(const ui::Rect& rect, const TAbstractSuperDIB& piece) const;
  // Draws piece at `along`, `extent` pixels long (cut or clipped to the piece).
  void DrawAt(TAbstractSuperDIB& piece, TAbstractSuperDIB& dest, const ui::Rect& rect,
              int32_t along, int32_t extent) const;
  void DrawMiddle(TAbstractSuperDIB& middle, TAbstractSuperDIB& dest, const ui::Rect& rect,
                  int32_t along, int32_t room) const;

  TDIBBorderEdgeKind m_Kind;
  std::unique_ptr<TDIBImageLink> m_FirstEndImage;
  std::unique_ptr<TDIBImageLink> m_SecondEndImage;
  std::unique_ptr<TDIBImageLink> m_ImageMiddle;
  TDIBBorderDrawStyle m_DrawStyle = dsTile;
  bool m_AutoCalcSize = true;
  int32_t m_StoredSize = 32;
};

// Top and bottom: the end pieces are published as ImageLeft and ImageRight.
class TDIBHorzBorderEdge : public TDIBBorderEdge {
 public:
  using TDIBBorderEdge::TDIBBorderEdge;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }
  TDIBImageLink& ImageLeft() const { return FirstEndImage(); }
  TDIBImageLink& ImageRight() const { return SecondEndImage(); }
};

// Left and right: the end pieces are published as ImageTop and ImageBottom.
class TDIBVertBorderEdge : public TDIBBorderEdge {
 public:
  using TDIBBorderEdge::TDIBBorderEdge;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }
  TDIBImageLink& ImageTop() const { return FirstEndImage(); }
  TDIBImageLink& ImageBottom() const { return SecondEndImage(); }
};

class TDIBBorder : public ui::Component {
 public:
  explicit TDIBBorder(ui::Component* owner);
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  TDIBHorzBorderEdge& BorderBottom() const { return *m_BorderBottom; }
  TDIBVertBorderEdge& BorderLeft() const { return *m_BorderLeft; }
  TDIBVertBorderEdge& BorderRight() const { return *m_BorderRight; }
  TDIBHorzBorderEdge& BorderTop() const { return *m_BorderTop; }
  TCustomDIBImageList* DIBImageList() const { return m_DIBImageList; }
  // Watches list for removal and gives it to every image link of the four edges.
  void SetDIBImageList(TCustomDIBImageList* list);

  // Each side moved inwards by its edge's Size.
  void AdjustClientRect(ui::Rect& rect) const;
  // The left and right edges over the full height of rect, then the top and bottom edges
  // between them (narrowed by the side edges' image sizes).
  void Draw(TAbstractSuperDIB& dest, ui::Rect rect) const;

  void Notification(ui::Component& component, ui::Operation operation) override;

 private:
  std::unique_ptr<TDIBHorzBorderEdge> m_BorderBottom;
  std::unique_ptr<TDIBVertBorderEdge> m_BorderLeft;
  std::unique_ptr<TDIBVertBorderEdge> m_BorderRight;
  std::unique_ptr<TDIBHorzBorderEdge> m_BorderTop;
  TCustomDIBImageList* m_DIBImageList = nullptr;  // not owned
};

// Makes TDIBBorder known to the stream readers (idempotent).
void RegisterDIBBorderClasses();
