#pragma once
// The skinned-control container: a borderless panel whose skinned controls (cDIBControl.h)
// have no windows of their own. It composes the background, its border and every
// non-windowed child that meets the changed area into one off-screen image (BackBuffer),
// lending each skinned child a scratch image (ControlBuffer) to draw into, and copies only
// that area to the screen. It routes the keyboard to the child that has it (ActiveControl)
// and keeps one tab order for its skinned controls followed by its windowed children.
// User-interface thread only.

#include <cstdint>
#include <memory>
#include <vector>

#include "DIB/DIBControlHost.h"
#include "DIB/cDIB.h"
#include "DIB/cDIBBorder.h"
#include "DIB/cDIBPalette.h"
#include "ui/controls/Panel.h"
#include "ui/model/Events.h"

class TCustomDIBControl;

enum TBorderDrawPosition : uint8_t { bdOverControls = 0, bdUnderControls = 1 };

// (Sender, DIB): the back buffer before or after the controls are drawn into it.
using TDIBPaintEvent = ui::Delegate<ui::Persistent*, const TAbstractSuperDIB&>;

class TCustomDIBContainer : public ui::Panel, public TDIBControlHost {
 public:
  explicit TCustomDIBContainer(ui::Component* owner);
  ~TCustomDIBContainer() override;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  TBorderDrawPosition BorderDrawPosition() const { return m_BorderDrawPosition; }
  void SetBorderDrawPosition(TBorderDrawPosition position);  // repaints everything
  TDIBBorder* DIBBorder() const { return m_DIBBorder; }
  // Watched for removal; the client area shrinks by the border and everything is repainted.
  virtual void SetDIBBorder(TDIBBorder* border);
  // The palette for 8-bit displays: a TDIBPalette created among the owner's components.
  TDIBPalette* Palette() const { return m_Palette; }

  // The child that has the keyboard inside the container: a skinned control or a windowed
  // child; none while no child has it.
  ui::Control* ActiveControl() const override { return m_ActiveControl.Get(); }
  // The old one loses the keyboard (WM_KILLFOCUS for a skinned control; a windowed child
  // loses the window focus as the new one takes it), the new one gets it (WM_SETFOCUS, or the
  // window focus for a windowed child), then OnActiveControlChange, even when nothing changed.
  // Ignored while a change is running.
  void SetActiveControl(ui::Control* control) override;

  // The child as a skinned control; none for any other control.
  TCustomDIBControl* AsDIBControl(const ui::Control* child) const;
  // Skinned tab stops, in tab order; a control's DIBTabOrder is its index here.
  const std::vector<TCustomDIBControl*>& DIBTabList() const { return m_DIBTabList; }
  int IndexOfDIBControl(const TCustomDIBControl* control) const override;  // -1 when absent
  // Takes the control out of the list and puts it back at index (the end when beyond it,
  // nowhere when negative). The container is a tab stop while the list is not empty.
  void SetControlTabIndex(TCustomDIBControl* control, int32_t index) override;
  // Each skinned child with a stored DIBTabOrder at that place, in ascending order; of two
  // children storing the same number the later one wins.
  virtual void RebuildDIBTabOrder();
  bool Tabbing() const { return m_Tabbing; }  // a Tab key is being handled

  // The joint tab order: the skinned tab stops, then the windowed direct children in their
  // own tab order (offset by the number of children); -1 for anything else.
  int32_t CombinedTabIndex(const ui::Control* control) const;
  // The next enabled member of DIBTabList after `from` (forward or backward, cyclic; from the
  // list's end when `from` is not in it), none after a full turn.
  TCustomDIBControl* NextEnabledDIBControl(const TCustomDIBControl* from, bool forward) const;
  ui::Control* FirstTabControl() const;
  ui::Control* LastTabControl() const;
  ui::Control* FindNextTabControl() const;
  ui::Control* FindPriorTabControl() const;
  // Moves ActiveControl on; true when it moved further along the joint order (none leaves
  // the container's children without the keyboard).
  bool SelectNextTabControl();
  bool SelectPriorTabControl();

  // The off-screen image, always the container's size once loaded, and the scratch image
  // lent to each skinned control while it paints. Both owned.
  TWinDIB& BackBuffer() const override { return *m_BackBuffer; }
  TWinDIB& ControlBuffer() const { return *m_ControlBuffer; }
  // The area being repainted, client coordinates, right and bottom exclusive.
  const ui::Rect& UpdateRect() const { return m_UpdateRect; }

  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void AdjustClientRect(ui::Rect& rect) const override;
  void Loaded() override;
  void Notification(ui::Component& component, ui::Operation operation) override;

  ui::TNotifyEvent OnActiveControlChange;
  TDIBPaintEvent BeforePaint;
  TDIBPaintEvent AfterPaint;

 protected:
  void WndProc(ui::Message& message) override;
  void Dispatch(ui::Message& message) override;
  void Paint() override;  // the background of UpdateRect in Color
  void PaintControls(ui::DeviceContext& dc, ui::Control* first) override;
  void PaintControl(ui::DeviceContext& dc, ui::Control& child) override;
  void DoEnter() override;
  void DoExit() override;
  virtual void DoBeforePaint();
  virtual void DoAfterPaint();

 private:
  ui::WindowedControl& HostWindow() override { return *this; }
  void DIBControlAdded(TCustomDIBControl& control) override;
  void DIBControlRemoved(TCustomDIBControl& control) override;
  void PaintMessage(ui::Message& message);
  // The skinned children may enlarge UpdateRect; true when it then differs from `painted`.
  bool ExtendedByHooks(const ui::Rect& painted);
  void Compose(ui::DeviceContext& dc);
  void Present(ui::DeviceContext& dc);
  void DrawBorder();
  void SetCursorMessage(ui::Message& message);
  void ReleaseOutside();
  void FocusChanged(ui::Message& message);
  bool ControlWantsKey(ui::Message& message, bool& shortCut);
  void KeyDownMessage(ui::Message& message);
  void ForwardKey(ui::Message& message, uint32_t keyMessage);

  bool m_Tabbing = false;
  bool m_ChangingActive = false;
  bool m_AreaHooksDone = false;
  ui::WeakRef<ui::Control> m_ActiveControl;
  std::vector<TCustomDIBControl*> m_DIBTabList;  // not owned; each leaves it as it goes
  // The skinned children, known without asking each child its class at every paint.
  std::vector<TCustomDIBControl*> m_DIBControls;
  std::unique_ptr<TWinDIB> m_ControlBuffer;
  std::unique_ptr<TWinDIB> m_BackBuffer;
  TDIBBorder* m_DIBBorder = nullptr;  // not owned
  ui::Rect m_UpdateRect;
  TDIBPalette* m_Palette = nullptr;  // not owned
  TBorderDrawPosition m_BorderDrawPosition = bdOverControls;
};

// The container placed on forms.
class TDIBContainer : public TCustomDIBContainer {
 public:
  using TCustomDIBContainer::TCustomDIBContainer;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }
};

// Makes TDIBContainer known to the stream readers (idempotent).
void RegisterDIBContainerClasses();
