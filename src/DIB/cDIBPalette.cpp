#include "DIB/cDIBPalette.h"

#include <algorithm>

#include "DIB/DIBPaletteTable.h"
#include "ui/controls/Form.h"
#include "ui/model/PropertyFiler.h"
#include "ui/model/Stream.h"
#include "ui/model/TypeBuilder.h"

namespace {

constexpr std::size_t kStoredColorsSize = TDIBPalette::kColorCount * sizeof(ui::PaletteEntry);
static_assert(sizeof(ui::PaletteEntry) == 4 && kStoredColorsSize == 940);

ui::Component* RequireForm(ui::Component* owner) {
  if (dynamic_cast<ui::Form*>(owner) == nullptr) {
    throw EDIBPaletteError("Palette owner must be a TCustomForm.");
  }
  return owner;
}

}  // namespace

TDIBPalette::TDIBPalette(ui::Component* owner)
    : ui::Component(RequireForm(owner)), m_OwnerForm(dynamic_cast<ui::Form*>(owner)) {
  for (std::size_t i = 0; i < kColorCount; ++i) {
    const auto level = static_cast<uint8_t>(255 - i);
    m_Colors.entries[i] = {level, level, level, 0};
  }
  CreatePaletteHandle();
  ui::Form& form = *m_OwnerForm.Get();
  if (!form.HasState(ui::ComponentState::Designing)) {
    m_PreviousWindowProc = form.WindowProc();
    form.SetWindowProc(ui::Bind<&TDIBPalette::PaletteWindowProc>(this));
  }
}

TDIBPalette::~TDIBPalette() {
  // The form must not call into this component once it is gone; while the form itself is
  // being destroyed it takes no more messages.
  ui::Form* form = m_OwnerForm.Get();
  if (form && m_PreviousWindowProc && !form->HasState(ui::ComponentState::Destroying)) {
    form->SetWindowProc(m_PreviousWindowProc);
  }
}

const ui::TypeInfo& TDIBPalette::StaticType() {
  using T = TDIBPalette;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TDIBPalette", ui::Component::StaticType())
          .Boolean("UseTable", &T::UseTable, &T::SetUseTable)  // no default: always stored
          .Creatable()
          .Build();
  return type;
}

void TDIBPalette::SetUseTable(bool useTable) {
  m_UseTable = useTable;
  if (!useTable) {
    m_LookupTable = {};
    return;
  }
  if (m_LookupTable.empty()) m_LookupTable.resize(dib::kLookupTableSize);
  if (!HasState(ui::ComponentState::Loading)) ComputeTable();
}

void TDIBPalette::ComputeTable() {
  dib::ComputeLookupTable(Colors(), m_LookupTable);
}

void TDIBPalette::CreatePaletteHandle() {
  m_PaletteHandle = std::make_unique<ui::LogicalPalette>(Colors());
}

void TDIBPalette::Assign(const ui::Persistent& source) {
  const auto* palette = dynamic_cast<const TDIBPalette*>(&source);
  if (palette == nullptr) throw ui::Exception("Not a TDIBPalette Component");
  m_LookupTable = palette->m_LookupTable;
  m_Colors = palette->m_Colors;
  CreatePaletteHandle();
}

void TDIBPalette::Loaded() {
  ui::Component::Loaded();
  CreatePaletteHandle();
}

void TDIBPalette::DefineProperties(ui::PropertyFiler& filer) {
  ui::Component::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "DIBPaletteColors", [this](ui::Stream& data) { ReadColors(data); },
      [this](ui::Stream& data) { WriteColors(data); }, true);
  filer.DefineBinaryProperty(
      "DIBPaletteTable", [this](ui::Stream& data) { ReadTable(data); },
      [this](ui::Stream& data) { WriteTable(data); }, m_UseTable);
}

void TDIBPalette::ReadColors(ui::Stream& data) {
  const int64_t size = data.Size();
  if (size == 0) return;
  if (size != static_cast<int64_t>(kStoredColorsSize)) {
    throw EDIBPaletteError("Invalid palette stream.");
  }
  std::array<ui::PaletteEntry, kColorCount> read;
  data.ReadBuffer(read.data(), kStoredColorsSize);
  std::copy(read.begin(), read.end(), m_Colors.entries.begin());
  CreatePaletteHandle();
}

void TDIBPalette::WriteColors(ui::Stream& data) const {
  data.WriteBuffer(m_Colors.entries.data(), kStoredColorsSize);
}

void TDIBPalette::ReadTable(ui::Stream& data) {
  std::vector<uint8_t> read(dib::kLookupTableSize);
  data.ReadBuffer(read.data(), read.size());  // a short table raises and changes nothing
  m_LookupTable = std::move(read);
}

void TDIBPalette::WriteTable(ui::Stream& data) const {
  data.WriteBuffer(m_LookupTable.data(), m_LookupTable.size());
}

void TDIBPalette::PaletteWindowProc(ui::Message& message) {
  switch (message.msg) {
    case ui::WM_QUERYNEWPALETTE:
      QueryNewPalette(message);
      break;
    case ui::WM_PALETTECHANGED:
      PaletteChanged(message);
      break;
    default:
      m_PreviousWindowProc(message);
  }
}

void TDIBPalette::QueryNewPalette(ui::Message& message) {
  ui::Form& form = *m_OwnerForm.Get();
  message.result = 0;
  ui::DeviceContext dc = form.GetDC();
  const ui::LogicalPalette* previous = dc.SelectPalette(m_PaletteHandle.get(), false);
  message.result = static_cast<intptr_t>(dc.RealizePalette());
  dc.SelectPalette(previous, true);
  dc.RealizePalette();
  if (message.result > 0) form.Invalidate();
  // The form's own palette handling hears of it too; the result stays the count.
  ui::Message passed = message;
  m_PreviousWindowProc(passed);
}

void TDIBPalette::PaletteChanged(ui::Message& message) {
  ui::Form& form = *m_OwnerForm.Get();
  if (message.wParam == reinterpret_cast<uintptr_t>(form.Handle())) return;
  ui::DeviceContext dc = form.GetDC();
  const ui::LogicalPalette* previous = dc.SelectPalette(m_PaletteHandle.get(), true);
  if (dc.RealizePalette() > 0) form.Invalidate();
  dc.SelectPalette(previous, true);
  dc.RealizePalette();
}
