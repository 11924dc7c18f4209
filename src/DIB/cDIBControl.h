#pragma once
// The base of every skinned control: a control without a window that lives in a
// skinned-control container (cDIBPanel.h). At each paint the container lends it a scratch image
// (DIB) holding what lies beneath it; the control draws itself into that image and the image
// is blended into the container's back buffer with the control's Opacity.
//
// The base keeps the control's images (links into image lists), its keyboard focus inside the
// container and its place in the container's tab order (DIBTabOrder), hover (MouseEnter and
// MouseLeave, kept while the mouse is captured), auto-repeat of a held left button, an
// accelerator character, a context menu shared by all skinned controls, its features and the
// controls attached to it. User-interface thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DIB/cDIB.h"
#include "DIB/cDIBFeatures.h"
#include "DIB/cDIBImageList.h"
#include "DIB/cDIBTimer.h"
#include "ui/controls/WindowlessControl.h"
#include "ui/model/Events.h"
#include "ui/model/Exception.h"

class TDIBControlHost;
namespace ui {
class Stream;
}

class EDIBControlError : public ui::Exception {
 public:
  using ui::Exception::Exception;
};

enum TWantKey : uint8_t { wkTab, wkArrows, wkAllKeys };
using TWantKeys = uint8_t;  // bit (1 << TWantKey) per key group
inline constexpr TWantKeys kWantArrows = 1 << wkArrows;

class TCustomDIBControl : public ui::WindowlessControl {
 public:
  // Exception "Owner cannot be nil" without owner, "Parent must be a TDIBContainer" when the
  // owner neither is a container nor owns one. The control is 32 x 32 at (0, 0), opaque.
  explicit TCustomDIBControl(ui::Component* owner);
  ~TCustomDIBControl() override;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  // A parent that is not a container is replaced by the first container among its
  // components (Exception "Parent must be a TDIBContainer" when there is none). The control
  // leaves its old container's tab order and takes its stored place in the new one.
  void SetParent(ui::WindowedControl* parent) override;
  TDIBControlHost* Container() const { return m_Container; }  // the parent, if any
  // Re-entry is ignored; attached controls move by the same offset.
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  // The bounds in the container; a change that is not a pure move renews LastInvalidated.
  void Invalidate() override;
  // Stamp of the last invalidation that was not a pure move: the tick count, raised above the
  // previous stamp when the clock has not moved on, so that it strictly increases (never 0).
  uint32_t LastInvalidated() const { return m_LastInvalidated; }

  // Images. Setting the list gives it to every image link of the control.
  TCustomDIBImageList* DIBImageList() const { return m_DIBImageList; }
  void SetDIBImageList(TCustomDIBImageList* list);
  const std::vector<std::unique_ptr<TDIBImageLink>>& ImageLinks() const { return m_ImageLinks; }
  // The image the control paints into, lent by the container for the paint (not owned).
  TAbstractSuperDIB* DIB() const { return m_DIB; }
  void SetDIB(TAbstractSuperDIB* dib) { m_DIB = dib; }
  uint8_t Opacity() const { return m_Opacity; }
  void SetOpacity(uint8_t opacity);  // a different value repaints

  // Keyboard. Alt + Accelerator clicks the control ('\0': none).
  char Accelerator() const { return m_Accelerator; }
  void SetAccelerator(char accelerator) { m_Accelerator = accelerator; }
  // The index in the container's tab list, -1 when absent. Setting it places the control
  // there (negative values count as -1: no tab stop); without a container, or while read
  // from a stream, it is only stored, to be applied later.
  int16_t DIBTabOrder() const;
  void SetDIBTabOrder(int16_t order);
  int16_t StoredDIBTabOrder() const { return m_DIBTabOrder; }
  TWantKeys WantKeys() const { return m_WantKeys; }
  void SetWantKeys(TWantKeys keys) { m_WantKeys = keys; }
  // Asked by the container before it routes a key here: a popup menu up the parents, the
  // form or the application took it as a shortcut.
  virtual bool IsShortCut(ui::Message& message);

  // Auto-repeat of a held left button, every RepeatInterval ms while the mouse is over the
  // control.
  bool AutoRepeat() const { return m_AutoRepeat; }
  void SetAutoRepeat(bool autoRepeat) { m_AutoRepeat = autoRepeat; }
  int32_t RepeatInterval() const { return m_RepeatInterval; }
  void SetRepeatInterval(int32_t interval) { m_RepeatInterval = interval; }
  const TDIBTimer& RepeatTimer() const { return *m_RepeatTimer; }
  // The next tick ends the repetition of the press being held.
  virtual void StopRepeat();

  // Templates (cDIBControlTemplate.cpp): the images of the links the control publishes, with
  // their display names, and the values of its template properties, to be read into another
  // control of its kind. Loading brings the images into the control's image list, under keys
  // of the template's own GUID, so that loading the same template again reuses them. A
  // template that cannot be read raises (EDIBControlError, or the stream reading error) and
  // leaves the control and its image list as they were.
  virtual void LoadTemplate(ui::Stream& stream);
  virtual void SaveTemplate(ui::Stream& stream);

  // State.
  bool Loading() const { return m_Loading; }  // from construction until Loaded
  bool Focused() const { return m_Focused; }
  bool MouseInside() const { return m_MouseInside; }
  bool Hot() const { return m_Hot; }  // hover highlight; kept while the mouse is captured
  ui::TMouseButtons MouseButtons() const { return m_MouseButtons; }
  ui::TShiftState ShiftState() const { return m_ShiftState; }
  ui::Point MousePosition() const { return m_MousePosition; }  // of the last move

  TDIBFeatures& DIBFeatures() const { return *m_DIBFeatures; }
  TControlList& AttachedControls() const { return *m_AttachedControls; }
  // Names of the properties that belong to the control's templates.
  const std::vector<std::string>& TemplateProperties() const { return m_TemplateProperties; }

  // Hooks the container calls while painting: the update rectangle (client coordinates of
  // the container) may be enlarged; the base leaves it.
  virtual void ExtendUpdateRect(ui::Rect& rect);

  void Click() override;
  ui::PopupMenu* GetPopupMenu() override;
  void Loaded() override;
  void Notification(ui::Component& component, ui::Operation operation) override;

  ui::TNotifyEvent OnPaint;
  ui::TNotifyEvent OnPaintStart;
  ui::TNotifyEvent OnPaintEnd;
  ui::TNotifyEvent OnEnter;
  ui::TNotifyEvent OnExit;
  ui::TNotifyEvent OnMouseEnter;
  ui::TNotifyEvent OnMouseLeave;
  ui::TKeyEvent OnKeyDown;
  ui::TKeyPressEvent OnKeyPress;
  ui::TKeyEvent OnKeyUp;

 protected:
  void WndProc(ui::Message& message) override;
  void Dispatch(ui::Message& message) override;

  virtual void DoPaintEnd();    // fires OnPaintEnd
  virtual void DoPaintStart();  // fires OnPaintStart
  void Paint() override;        // fires OnPaint; descendants draw into DIB
  virtual void Highlight();
  virtual void Unhighlight();
  virtual void GotFocus();
  virtual void LostFocus();
  // Key messages after the form's preview; true when handled.
  virtual bool DoKeyDown(ui::Message& message);
  virtual bool DoKeyPress(ui::Message& message);
  virtual bool DoKeyUp(ui::Message& message);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // An image of one of the control's links changed (or was deleted).
  virtual void ImageChanged(int32_t index, TDIBImageChangeKind kind);
  // The shared context menu: emptied, then offered to BuildContextMenu.
  virtual void ClearContextMenu(ui::PopupMenu& menu);
  virtual void BuildContextMenu(ui::PopupMenu& menu);
  virtual void KeyDown(uint16_t& key, ui::TShiftState shift);  // fires OnKeyDown
  virtual void KeyUp(uint16_t& key, ui::TShiftState shift);    // fires OnKeyUp
  virtual void KeyPress(char& key);                            // fires OnKeyPress
  void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;

  // A link owned by the control (index -1) whose changes reach ImageChanged.
  TDIBImageLink& CreateImageLink();
  // EDIBControlError unless name is a published property of a kind a template can hold: a
  // value, an object that is not a component, or a reference that holds nothing now (it
  // then takes part in templates only while it still holds nothing).
  void RegisterTemplateProperty(const std::string& name);

 private:
  friend class TShapeableDIB;  // paints the control alone to find its shape

  void PaintInto(TDIBControlHost& container);
  void LinkChanged(TDIBImageLink* link, int32_t index, TDIBImageChangeKind kind);
  void StartRepeat();
  void RepeatTick(ui::Persistent* sender);
  void CaptureLost();
  void EnabledChanged();
  void DialogChar(ui::Message& message);
  bool DoKey(ui::Message& message, void (TCustomDIBControl::*handler)(uint16_t&, ui::TShiftState));
  bool InTabList() const;
  bool Designing() const { return HasState(ui::ComponentState::Designing); }

  uint32_t m_LastInvalidated = 0;
  std::vector<std::unique_ptr<TDIBImageLink>> m_ImageLinks;
  TCustomDIBImageList* m_DIBImageList = nullptr;  // not owned
  TAbstractSuperDIB* m_DIB = nullptr;             // not owned
  char m_Accelerator = '\0';
  bool m_Loading = true;
  bool m_Focused = false;
  bool m_StopRequested = false;
  bool m_InSetBounds = false;
  std::unique_ptr<TControlList> m_AttachedControls;
  bool m_AutoRepeat = false;
  int32_t m_RepeatInterval = 250;
  ui::Point m_MousePosition;
  ui::TShiftState m_ShiftState = 0;
  std::unique_ptr<TDIBTimer> m_RepeatTimer;
  ui::Message m_SavedPress;
  bool m_MouseInside = false;
  bool m_Hot = false;
  std::unique_ptr<TDIBFeatures> m_DIBFeatures;
  uint8_t m_Opacity = 255;
  bool m_SizeUnchanged = false;
  ui::TMouseButtons m_MouseButtons = 0;
  std::vector<std::string> m_TemplateProperties;
  int16_t m_DIBTabOrder = -1;
  TDIBControlHost* m_Container = nullptr;  // the parent as a container; set with it
  TWantKeys m_WantKeys = kWantArrows;
};
