// The palette component on a form of the headless backend: its colours and table, the stored
// form, realising on a palette display, and the form's window procedure it borrows.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "DIB/DIBPaletteTable.h"
#include "DIB/cDIBPalette.h"
#include "testsupport/DIB/PaletteTestSupport.h"
#include "testsupport/ui/FormFixture.h"

namespace {

class DIBPaletteTest : public uitest::FormFixture {
 protected:
  TDIBPalette& MakePalette() { return ui::Create<TDIBPalette>(*m_Form); }
  bool FormRepainted() {
    m_Backend.TakePresented(m_Form->Handle());
    m_Backend.Pump();
    return !m_Backend.TakePresented(m_Form->Handle()).empty();
  }
};

TEST_F(DIBPaletteTest, StartsAsAGreyRampFromWhiteTo21WithoutATable) {
  TDIBPalette& palette = MakePalette();
  ASSERT_EQ(palette.Colors().size(), 235u);
  EXPECT_EQ(palette.Colors()[0], (ui::PaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(palette.Colors()[234], (ui::PaletteEntry{21, 21, 21, 0}));
  EXPECT_EQ(palette.PaletteHandle().Entries().size(), 235u);
  EXPECT_TRUE(palette.LookupTable().empty());
}

TEST_F(DIBPaletteTest, OnlyAFormMayOwnAPalette) {
  ui::Component plain(nullptr);
  EXPECT_THROW(
      {
        try {
          TDIBPalette palette(&plain);
        } catch (const EDIBPaletteError& e) {
          EXPECT_STREQ(e.what(), "Palette owner must be a TCustomForm.");
          throw;
        }
      },
      EDIBPaletteError);
  EXPECT_THROW(TDIBPalette(nullptr), EDIBPaletteError);
  EXPECT_EQ(plain.ComponentCount(), 0);
}

TEST_F(DIBPaletteTest, UseTableComputesTheTableAndStoresIt) {
  TDIBPalette& palette = MakePalette();
  EXPECT_EQ(dibtest::Stored(palette).count("DIBPaletteTable"), 0u);
  palette.SetUseTable(true);
  ASSERT_EQ(palette.LookupTable().size(), 262144u);
  EXPECT_EQ(palette.LookupTable()[dib::LookupIndex(0, 0, 252)],
            dibtest::NearestEntry(palette.Colors(), 0, 0, 252));
  const auto stored = dibtest::Stored(palette);
  EXPECT_EQ(stored.at("DIBPaletteColors").size(), 940u);
  EXPECT_EQ(std::vector<uint8_t>(stored.at("DIBPaletteColors").begin(),
                                 stored.at("DIBPaletteColors").begin() + 8),
            (std::vector<uint8_t>{255, 255, 255, 0, 254, 254, 254, 0}));
  EXPECT_TRUE(std::ranges::equal(stored.at("DIBPaletteTable"), palette.LookupTable()));
  palette.SetUseTable(false);
  EXPECT_TRUE(palette.LookupTable().empty());
}

TEST_F(DIBPaletteTest, StoredColoursOfTheWrongLengthAreRefused) {
  TDIBPalette& palette = MakePalette();
  dibtest::ReadStored(palette, "DIBPaletteColors", {});  // empty: nothing changes
  EXPECT_EQ(palette.Colors()[1], (ui::PaletteEntry{254, 254, 254, 0}));
  std::vector<uint8_t> bytes = dibtest::ColourfulBytes();
  bytes.pop_back();
  try {
    dibtest::ReadStored(palette, "DIBPaletteColors", bytes);
    ADD_FAILURE() << "939 bytes were accepted";
  } catch (const EDIBPaletteError& e) {
    EXPECT_STREQ(e.what(), "Invalid palette stream.");
  }
  EXPECT_EQ(palette.Colors()[1], (ui::PaletteEntry{254, 254, 254, 0}));
  dibtest::ReadStored(palette, "DIBPaletteColors", dibtest::ColourfulBytes());
  EXPECT_EQ(palette.Colors()[1], (ui::PaletteEntry{7, 18, 254, 0}));
  EXPECT_EQ(palette.PaletteHandle().Entries()[1], (ui::PaletteEntry{7, 18, 254, 0}));
}

TEST_F(DIBPaletteTest, AShortStoredTableRaisesAndLeavesTheTable) {
  TDIBPalette& palette = MakePalette();
  palette.SetUseTable(true);
  const std::vector<uint8_t> before(palette.LookupTable().begin(), palette.LookupTable().end());
  EXPECT_THROW(dibtest::ReadStored(palette, "DIBPaletteTable", std::vector<uint8_t>(262143, 7)),
               ui::StreamReadError);
  EXPECT_TRUE(std::ranges::equal(palette.LookupTable(), before));
  dibtest::ReadStored(palette, "DIBPaletteTable", std::vector<uint8_t>(262144, 7));
  EXPECT_EQ(palette.LookupTable()[12345], 7);
}

TEST_F(DIBPaletteTest, AssignTakesColoursAndTableFromAnotherPalette) {
  TDIBPalette& source = MakePalette();
  dibtest::ReadStored(source, "DIBPaletteColors", dibtest::ColourfulBytes());
  source.SetUseTable(true);
  TDIBPalette& target = MakePalette();
  target.Assign(source);
  EXPECT_TRUE(std::ranges::equal(target.Colors(), source.Colors()));
  EXPECT_TRUE(std::ranges::equal(target.LookupTable(), source.LookupTable()));
  EXPECT_TRUE(std::ranges::equal(target.PaletteHandle().Entries(), source.Colors()));
  source.SetUseTable(false);
  target.Assign(source);
  EXPECT_TRUE(target.LookupTable().empty());
  try {
    target.Assign(*m_Form);
    ADD_FAILURE() << "a form was assigned";
  } catch (const ui::Exception& e) {
    EXPECT_STREQ(e.what(), "Not a TDIBPalette Component");
  }
}

TEST_F(DIBPaletteTest, TheFormGetsItsMessageHandlingBackWhenThePaletteGoes) {
  struct Hook {
    ui::Control::TWndMethod previous;
    int seen = 0;
    void Proc(ui::Message& message) {
      ++seen;
      previous(message);
    }
  } hook;
  const ui::Control::TWndMethod original = m_Form->WindowProc();
  hook.previous = original;
  m_Form->SetWindowProc(ui::Bind<&Hook::Proc>(&hook));
  TDIBPalette* palette = &MakePalette();
  EXPECT_NE(m_Form->WindowProc(), ui::Bind<&Hook::Proc>(&hook));
  EXPECT_EQ(m_Form->Perform(ui::CM_HITTEST), 1);  // passed on through the hook to the form
  EXPECT_EQ(hook.seen, 1);
  delete palette;
  EXPECT_EQ(m_Form->WindowProc(), ui::Bind<&Hook::Proc>(&hook));
  m_Form->SetWindowProc(hook.previous);
  EXPECT_EQ(m_Form->WindowProc(), original);
  EXPECT_EQ(m_Form->Perform(ui::CM_HITTEST), 1);
}

TEST_F(DIBPaletteTest, ADesignedFormKeepsItsWindowProcedure) {
  m_Form->SetDesigning(true);
  const ui::Control::TWndMethod original = m_Form->WindowProc();
  TDIBPalette* palette = &MakePalette();
  EXPECT_EQ(m_Form->WindowProc(), original);  // not taken over while the palette exists
  delete palette;
  EXPECT_EQ(m_Form->WindowProc(), original);
}

TEST_F(DIBPaletteTest, GainingThePaletteRealisesItAndRepaintsWhenColoursChanged) {
  m_Backend.SetScreenBitsPerPixel(8);
  m_Form->SetColor(0x646464);  // grey 100: no static colour
  m_Backend.Pump();
  EXPECT_EQ(m_Backend.FrameOf(m_Form->Handle())->Pixel(5, 5), 0x808080u);  // nearest static grey
  MakePalette();
  m_Form->FocusControl(nullptr);  // about to take the focus, the form realises its palette
  EXPECT_TRUE(FormRepainted());
  EXPECT_EQ(m_Backend.FrameOf(m_Form->Handle())->Pixel(5, 5), 0x646464u);
  EXPECT_EQ(m_Backend.QueryNewPalette(m_Form->Handle()), 0);
  EXPECT_FALSE(FormRepainted());
}

TEST_F(DIBPaletteTest, AnotherWindowsPaletteChangeRealisesInTheBackground) {
  m_Backend.SetScreenBitsPerPixel(8);
  TDIBPalette& palette = MakePalette();
  dibtest::ReadStored(palette, "DIBPaletteColors", dibtest::ColourfulBytes());
  FormRepainted();
  ui::Form other(nullptr, m_Host);
  ui::Create<TDIBPalette>(other);  // greys, gaining the palette: 4 free entries are left
  EXPECT_EQ(m_Backend.QueryNewPalette(other.Handle()), 232);
  EXPECT_TRUE(FormRepainted());  // told, it took the free entries for its own colours
  const auto& system = m_Backend.SystemPalette();
  EXPECT_EQ(system[242], (ui::PaletteEntry{0, 5, 255, 0}));  // its entry 0
  m_Backend.PaletteChanged(m_Form->Handle(), m_Form->Handle());
  EXPECT_FALSE(FormRepainted());  // its own change is ignored
}

}  // namespace
