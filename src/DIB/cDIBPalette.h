#pragma once
// The palette of a form on a display with 8 bits per pixel: 235 fixed colours (a grey ramp
// until others are read from the form's stored description), realised when the form is about
// to take the focus and again, in the background, when another window changed the system
// palette; and, with UseTable, a lookup table from every colour of 6 bits per channel to its
// nearest entry, which Render8Bit draws through. While the component lives it holds the form's
// window procedure, passing on every message that is not about palettes.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "ui/controls/Control.h"
#include "ui/graphics/LogicalPalette.h"
#include "ui/model/Exception.h"

namespace ui {
class Form;
class Stream;
}  // namespace ui

class EDIBPaletteError : public ui::Exception {
 public:
  using ui::Exception::Exception;
};

class TDIBPalette : public ui::Component {
 public:
  static constexpr std::size_t kColorCount = 235;

  // `owner` must be a form (else EDIBPaletteError); the form owns the component.
  explicit TDIBPalette(ui::Component* owner);
  ~TDIBPalette() override;

  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  bool UseTable() const { return m_UseTable; }
  // True computes the table now (after reading, the stored one is kept); false drops it.
  void SetUseTable(bool useTable);
  // The palette index of every colour at dib::LookupIndex(red, green, blue); empty when none.
  std::span<const uint8_t> LookupTable() const { return m_LookupTable; }
  std::span<const ui::PaletteEntry> Colors() const {
    return std::span(m_Colors.entries).first(kColorCount);
  }
  const ui::LogicalPalette& PaletteHandle() const { return *m_PaletteHandle; }

  // From another TDIBPalette only (else Exception): its table (or none) and colours.
  void Assign(const ui::Persistent& source) override;
  void Loaded() override;  // the palette handle takes the colours read
  // "DIBPaletteColors", always: 940 bytes, each entry red, green, blue, flags.
  // "DIBPaletteTable", with UseTable: the 262144 table bytes.
  void DefineProperties(ui::PropertyFiler& filer) override;

 private:
  // The window system's logical-palette block: 1020 bytes with room for 254 entries.
  struct ColorBlock {
    uint16_t version = 0x300;
    uint16_t count = kColorCount;
    std::array<ui::PaletteEntry, 254> entries{};
  };
  static_assert(sizeof(ColorBlock) == 1020);

  void CreatePaletteHandle();
  void ComputeTable();
  void PaletteWindowProc(ui::Message& message);
  void QueryNewPalette(ui::Message& message);
  void PaletteChanged(ui::Message& message);
  void ReadColors(ui::Stream& data);
  void WriteColors(ui::Stream& data) const;
  void ReadTable(ui::Stream& data);
  void WriteTable(ui::Stream& data) const;

  bool m_UseTable = false;
  std::vector<uint8_t> m_LookupTable;  // empty: none
  ColorBlock m_Colors;
  std::unique_ptr<ui::LogicalPalette> m_PaletteHandle;
  ui::Control::TWndMethod m_PreviousWindowProc;  // none while the form's is not taken over
  ui::WeakRef<ui::Form> m_OwnerForm;
};
