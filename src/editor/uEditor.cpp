#include "editor/uEditor.h"

#include <vector>

#include "common/Rounding.h"
#include "editor/EditorLayout.h"
#include "ui/controls/ControlClasses.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"
#include "ui/model/TypeBuilder.h"

TPluginEditorWindow::TPluginEditorWindow(void* parentWindow, ParameterValues& paramValues)
    : TPluginEditorWindow(parentWindow, paramValues, StoredLayout()) {}

TPluginEditorWindow::TPluginEditorWindow(void* parentWindow, ParameterValues& paramValues,
                                         std::span<const uint8_t> layout)
    : ui::Form(nullptr, parentWindow),
      m_LayoutRead(ReadLayout(layout)),
      Ctrl(RequireComponent<ui::Label>("Ctrl")),
      Updater(RequireComponent<ui::Timer>("Updater")),
      bg(RequireComponent<ui::PictureBox>("bg")),
      Plug(RequireComponent<ui::Label>("Plug")),
      DIBContainer1(RequireComponent<TDIBContainer>("DIBContainer1")),
      DIBImageList1(RequireComponent<TDIBImageList>("DIBImageList1")),
      par0(RequireComponent<TDIBSlider>("par0")),
      par1(RequireComponent<TDIBSlider>("par1")),
      par2(RequireComponent<TDIBSlider>("par2")),
      DIBImageList2(RequireComponent<TDIBImageList>("DIBImageList2")),
      par3(RequireComponent<TDIBSlider>("par3")),
      par4(RequireComponent<TDIBSlider>("par4")),
      par5(RequireComponent<TDIBSlider>("par5")),
      CC1GUI(RequireComponent<ui::Label>("CC1GUI")),
      CC2GUI(RequireComponent<ui::Label>("CC2GUI")),
      Value(RequireComponent<ui::Label>("Value")),
      Rand(RequireComponent<ui::Label>("Rand")),
      CC(RequireComponent<ui::Label>("CC")),
      Fluxomatic1(RequireComponent<ui::Label>("Fluxomatic1")),
      Label1(RequireComponent<ui::Label>("Label1")),
      Label2(RequireComponent<ui::Label>("Label2")),
      About(RequireComponent<ui::Label>("About")),
      Panel1(RequireComponent<ui::Panel>("Panel1")),
      Memo1(RequireComponent<ui::TextBox>("Memo1")),
      close(RequireComponent<ui::PictureBox>("close")),
      indicate1(RequireComponent<TDIBSlider>("indicate1")),
      indicate2(RequireComponent<TDIBSlider>("indicate2")),
      ParamValues(paramValues) {
  // Streams store no events: the handlers are bound here.
  Updater.SetOnTimer(ui::Bind<&TPluginEditorWindow::UpdaterTimer>(this));
  par0.OnChange = ui::Bind<&TPluginEditorWindow::par0Change>(this);
  par1.OnChange = ui::Bind<&TPluginEditorWindow::par1Change>(this);
  par2.OnChange = ui::Bind<&TPluginEditorWindow::par2Change>(this);
  par3.OnChange = ui::Bind<&TPluginEditorWindow::par3Change>(this);
  par4.OnChange = ui::Bind<&TPluginEditorWindow::par4Change>(this);
  par5.OnChange = ui::Bind<&TPluginEditorWindow::par5Change>(this);
  About.OnClick = ui::Bind<&TPluginEditorWindow::AboutClick>(this);
  close.OnClick = ui::Bind<&TPluginEditorWindow::closeClick>(this);
}

int32_t PositionOf(float value) {
  return flux::RoundHalfEven(static_cast<double>(value) * 127.0);
}

const ui::TypeInfo& TPluginEditorWindow::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TPluginEditorWindow>("TPluginEditorWindow", ui::Form::StaticType()).Build();
  return type;
}

std::span<const uint8_t> TPluginEditorWindow::StoredLayout() {
  // Every open reads the layout: the text is turned into the binary form only once.
  static const std::vector<uint8_t> binary = ui::TextToBinary(EditorWindowDescription());
  return binary;
}

bool TPluginEditorWindow::ReadLayout(std::span<const uint8_t> layout) {
  // Once for the process, before the first window reads (static initialisation is safe from
  // several threads); every later open only looks the classes up.
  [[maybe_unused]] static const bool registered = [] {
    ui::RegisterControlClasses();
    RegisterDIBImageListClasses();
    RegisterDIBSliderClasses();
    return true;
  }();
  ui::MemoryStream stream(layout);
  ui::ComponentReader(stream).ReadRoot(*this);
  return true;
}

std::array<TDIBSlider*, kNumParams> TPluginEditorWindow::ParameterSliders() {
  return {&par0, &par1, &par2, &par3, &par4, &par5};
}

void TPluginEditorWindow::UpdaterTimer(ui::Persistent*) {
  Updating = true;
  const auto sliders = ParameterSliders();
  for (int i = 0; i < kNumParams; ++i) {
    const int32_t position =
        PositionOf(ParamValues[static_cast<size_t>(i)].load(std::memory_order_relaxed));
    TDIBSlider& slider = *sliders[static_cast<size_t>(i)];
    if (slider.Position() != position) slider.SetPosition(position);
  }
  Updating = false;
}

// Every slider's position becomes position / 127, par2's too although it stops at 100: each
// position comes back from the value as itself.
void TPluginEditorWindow::ParameterChanged(int index) {
  if (Updating) return;
  const int32_t position = ParameterSliders()[static_cast<size_t>(index)]->Position();
  const auto value = static_cast<float>(static_cast<double>(position) / 127.0);
  ParamValues[static_cast<size_t>(index)].store(value, std::memory_order_relaxed);
  if (Plugin) Plugin->setParameterAutomated(index, value);
}

void TPluginEditorWindow::par0Change(ui::Persistent*) {
  ParameterChanged(0);
}
void TPluginEditorWindow::par1Change(ui::Persistent*) {
  ParameterChanged(1);
}
void TPluginEditorWindow::par2Change(ui::Persistent*) {
  ParameterChanged(2);
}
void TPluginEditorWindow::par3Change(ui::Persistent*) {
  ParameterChanged(3);
}
void TPluginEditorWindow::par4Change(ui::Persistent*) {
  ParameterChanged(4);
}
void TPluginEditorWindow::par5Change(ui::Persistent*) {
  ParameterChanged(5);
}

void TPluginEditorWindow::AboutClick(ui::Persistent*) {
  Panel1.SetVisible(!Panel1.Visible());
}

void TPluginEditorWindow::closeClick(ui::Persistent*) {
  Panel1.SetVisible(false);
}

// The picture and the container cover the whole client area: erasing first would only flicker.
void TPluginEditorWindow::Dispatch(ui::Message& message) {
  if (message.msg == ui::WM_ERASEBKGND) {
    message.result = 0;
    return;
  }
  ui::Form::Dispatch(message);
}
