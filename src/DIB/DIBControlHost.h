#pragma once
// What a skinned control asks of the container it sits in: its place in the container's tab
// order, the keyboard, and the off-screen image it is composed into. The container implements
// it (cDIBPanel.h); a control knows its container through this alone, so that the control's
// unit does not lean on the container's. User-interface thread only.

#include <cstdint>

class TCustomDIBControl;
class TWinDIB;

namespace ui {
class Control;
class WindowedControl;
}  // namespace ui

class TDIBControlHost {
 public:
  virtual ui::WindowedControl& HostWindow() = 0;  // the container itself, as a window
  virtual TWinDIB& BackBuffer() const = 0;
  virtual ui::Control* ActiveControl() const = 0;
  virtual void SetActiveControl(ui::Control* control) = 0;
  virtual int IndexOfDIBControl(const TCustomDIBControl* control) const = 0;  // -1 when absent
  virtual void SetControlTabIndex(TCustomDIBControl* control, int32_t index) = 0;
  // A skinned control became a child, or stops being one (it leaves the tab order too).
  virtual void DIBControlAdded(TCustomDIBControl& control) = 0;
  virtual void DIBControlRemoved(TCustomDIBControl& control) = 0;

 protected:
  ~TDIBControlHost() = default;  // never destroyed through this interface
};
