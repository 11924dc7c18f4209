#pragma once
// The editor window: six sliders for the parameters, two read-only indicators with the value
// each unit sent last, the controller numbers and an About panel, read from the stored
// description (EditorLayout.h) as a child of the host's window. Sliders set parameters through
// the plug-in; the other way round the window never reads the plug-in: it shows the values in
// ParamValues, which the bridge owns and keeps current, and its timer moves the sliders to them.

#include <array>
#include <cstdint>
#include <span>

#include "DIB/cDIBImageList.h"
#include "DIB/cDIBPanel.h"
#include "DIB/cDIBSlider.h"
#include "plugin/uPlugin.h"
#include "ui/controls/Form.h"
#include "ui/controls/Label.h"
#include "ui/controls/Panel.h"
#include "ui/controls/PictureBox.h"
#include "ui/controls/TextBox.h"
#include "ui/controls/Timer.h"

// The six parameter values as the window shows them. Written by the bridge on whichever thread
// sets a parameter and by the slider handlers; each one whole 32-bit word, no lock.
using ParameterValues = std::array<SharedFloat, kNumParams>;

// A parameter value as a slider position and a MIDI number: value × 127, halves to even.
int32_t PositionOf(float value);

class TPluginEditorWindow : public ui::Form {
 public:
  // Reads the stored layout inside `parentWindow` (a host window handle) and shows itself.
  // Raises ui::Exception when the window cannot be made or a component of the layout is
  // missing or of another class. `paramValues` must outlive the window.
  TPluginEditorWindow(void* parentWindow, ParameterValues& paramValues);
  // As above with another description of the window in the binary stream form, e.g. one that
  // lacks a component.
  TPluginEditorWindow(void* parentWindow, ParameterValues& paramValues,
                      std::span<const uint8_t> layout);

  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  // Moves each slider whose position differs from its value in ParamValues.
  void UpdaterTimer(ui::Persistent* sender);
  void par0Change(ui::Persistent* sender);
  void par1Change(ui::Persistent* sender);
  void par2Change(ui::Persistent* sender);
  void par3Change(ui::Persistent* sender);
  void par4Change(ui::Persistent* sender);
  void par5Change(ui::Persistent* sender);
  void AboutClick(ui::Persistent* sender);  // shows the About panel, or hides it
  void closeClick(ui::Persistent* sender);  // hides the About panel

 protected:
  void Dispatch(ui::Message& message) override;

 private:
  bool m_LayoutRead;  // first: the components below are looked up once the layout is read

 public:
  ui::Label& Ctrl;
  ui::Timer& Updater;
  ui::PictureBox& bg;
  ui::Label& Plug;
  TDIBContainer& DIBContainer1;
  TDIBImageList& DIBImageList1;
  TDIBSlider& par0;
  TDIBSlider& par1;
  TDIBSlider& par2;
  TDIBImageList& DIBImageList2;
  TDIBSlider& par3;
  TDIBSlider& par4;
  TDIBSlider& par5;
  ui::Label& CC1GUI;
  ui::Label& CC2GUI;
  ui::Label& Value;
  ui::Label& Rand;
  ui::Label& CC;
  ui::Label& Fluxomatic1;
  ui::Label& Label1;
  ui::Label& Label2;
  ui::Label& About;
  ui::Panel& Panel1;
  ui::TextBox& Memo1;
  ui::PictureBox& close;
  TDIBSlider& indicate1;
  TDIBSlider& indicate2;

  APlugin* Plugin = nullptr;  // not owned; none until the bridge sets it
  bool Updating = false;      // true while UpdaterTimer moves the sliders
  ParameterValues& ParamValues;

 private:
  static std::span<const uint8_t> StoredLayout();
  bool ReadLayout(std::span<const uint8_t> layout);
  void ParameterChanged(int index);
  std::array<TDIBSlider*, kNumParams> ParameterSliders();
};
