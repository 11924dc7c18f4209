#pragma once
// A control that is a window of the framework: it holds children (in z-order, the first at
// the bottom; windowed children lie above non-windowed ones), has its own update region and
// paints on WM_PAINT between BeginPaint and EndPaint, composing the non-windowed children that
// meet the area into the same device context. It takes the keyboard focus, keeps a tab order
// among its windowed children, and receives key messages reflected (CN_*) before it gets
// them. Only a form has a native window; the pixels of every other windowed control are
// composed into the form's surface.

#include <cstdint>
#include <vector>

#include "ui/controls/Control.h"
#include "ui/graphics/Canvas.h"
#include "ui/graphics/DeviceContext.h"
#include "ui/graphics/Region.h"

namespace ui {

struct PaintStruct {
  DeviceContext dc;
  Rect rcPaint;         // client coordinates: the bounding box of the area to paint
  bool fErase = false;  // the background is still to be erased
  Region area;          // form coordinates: what EndPaint hands to the form for presenting
};

class WindowedControl : public Control {
 public:
  explicit WindowedControl(Component* owner);
  ~WindowedControl() override;

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }
  WindowedControl* AsWindowed() override { return this; }
  const WindowedControl* AsWindowed() const override { return this; }

  // Children.
  int ControlCount() const { return static_cast<int>(m_Controls.size()); }
  Control& Controls(int index) const;                  // Exception when out of range
  bool ContainsControl(const Control* control) const;  // itself or anything inside it
  // The topmost visible child at p (client coordinates) that answers CM_HITTEST; windowed
  // children only with allowWindowed, disabled ones only with allowDisabled.
  Control* ControlAtPos(Point p, bool allowDisabled, bool allowWindowed = false) const;
  // To each child in turn until one sets a non-zero result.
  void Broadcast(Message& message);

  // Keyboard.
  int16_t TabOrder() const;  // index among the parent's windowed children; -1 without parent
  void SetTabOrder(int16_t order);
  bool TabStop() const { return m_TabStop; }
  void SetTabStop(bool tabStop) { m_TabStop = tabStop; }
  // Every windowed descendant, each followed by its own list, in tab order.
  void GetTabOrderList(std::vector<WindowedControl*>& list) const;
  WindowedControl* FindNextControl(WindowedControl* current, bool forward, bool checkTabStop,
                                   bool checkParent) const;
  void SelectNext(WindowedControl* current, bool forward, bool checkTabStop);
  bool CanFocus() const;  // showing and enabled up to the form
  bool Focused() const;
  // Gives this control the keyboard (its form's window takes it too). Nothing happens for a
  // control that cannot take it; a call made while the focus is moving waits until it has.
  virtual void SetFocus();

  // Painting. Rectangles in client coordinates; only the visible part of each counts.
  // With children, windowed children under the rectangle are invalidated as well.
  void InvalidateRect(const Rect& rect, bool erase, bool children = false);
  void ValidateRect(const Rect& rect);
  const Region& UpdateRegion() const { return m_UpdateRegion; }
  DeviceContext& BeginPaint(PaintStruct& paint);
  void EndPaint(PaintStruct& paint);
  void Invalidate() override;  // everything, windowed children included
  ui::Canvas& Canvas() { return m_Canvas; }

  // Alignment of the children inside the client rectangle.
  virtual void AdjustClientRect(Rect& rect) const;
  void Realign();
  void DisableAlign() { ++m_AlignDisabled; }
  void EnableAlign();

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

  void Loaded() override;
  void GetChildren(const std::function<void(Component&)>& proc, Component& root) override;

 protected:
  void WndProc(Message& message) override;
  void Dispatch(Message& message) override;
  void DefaultHandler(Message& message) override;

  // Drawing through Canvas(); the base draws nothing.
  virtual void Paint() {}
  // Binds the canvas to dc around Paint.
  virtual void PaintWindow(DeviceContext& dc);
  // The window without its opaque non-windowed children, then those children.
  void PaintHandler(DeviceContext& dc);
  // Each visible non-windowed child meeting dc's clip, from `first` (none: all) upward, gets
  // WM_PAINT with dc moved to its origin and clipped to its bounds.
  virtual void PaintControls(DeviceContext& dc, Control* first);
  // One child of PaintControls, dc already moved and clipped: the base sends it WM_PAINT.
  virtual void PaintControl(DeviceContext& dc, Control& child);

  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char& key);
  // Key messages after the form's preview; true when handled (the key became 0).
  bool DoKeyDown(Message& message);
  bool DoKeyUp(Message& message);
  bool DoKeyPress(Message& message);

  void BoundsChanged() override;
  void DestroyChildren();  // the children are destroyed with their parent

 private:
  friend class Control;
  friend class Form;
  void InsertControl(Control& control);
  void RemoveControl(Control& control);
  void MoveControl(Control& control, bool toFront);
  bool ForwardMouseToChild(Message& message);
  void CNKeyDown(Message& message);
  void CNChar(Message& message);
  using KeyHandler = uint16_t (*)(WindowedControl& control, uint16_t key, intptr_t keyData);
  bool DoKey(Message& message, KeyHandler handle);
  void PaintMessage(Message& message);
  void SetCursorMessage(Message& message);
  // The children's placement as one compact list in z-order, so that a paint finds the
  // children it meets without visiting every one of them.
  struct ChildPlace {
    Control* control;
    Rect bounds;
    WindowedControl* windowed;  // none for a non-windowed child
    bool visible;
    bool opaque;
  };
  const std::vector<ChildPlace>& ChildPlaces() const { return Kept().places; }
  // Form coordinates: the client clipped by the parents, without the windowed siblings above
  // it and without its own windowed children.
  const Region& VisibleRegion() const { return Kept().visible; }
  // Both kept until a control anywhere moves, resizes, shows, hides, changes its style, or
  // changes parent or z-order: LayoutChanged makes every kept layout stale.
  struct KeptLayout {
    uint64_t layout = 0;  // the layout the rest was made for; 0: none
    std::vector<ChildPlace> places;
    Region visible;
  };
  const KeptLayout& Kept() const;
  Region ComputeVisibleRegion() const;
  static void LayoutChanged();

  std::vector<Control*> m_Controls;  // z-order; destroyed with this control
  mutable KeptLayout m_Kept;
  std::vector<Rect> m_OpaqueChildren;          // storage for PaintHandler's list, kept
  std::vector<WeakRef<Control>> m_PaintOrder;  // storage for PaintControls' list, kept
  std::vector<WindowedControl*> m_TabList;
  Region m_UpdateRegion;
  bool m_EraseNeeded = false;
  bool m_TabStop = false;
  int16_t m_StoredTabOrder = -1;  // read while loading, applied in Loaded
  int m_AlignDisabled = 0;
  bool m_Aligning = false;
  ui::Canvas m_Canvas;
};

}  // namespace ui
