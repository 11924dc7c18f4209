// The editor window reads its stored description into the whole window: every component with
// its class, the sliders linked to the skin, the labels clear of the sliders, and the skin's
// images as they are meant to look.

#include "editor/uEditor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "DIB/cDIBImageList.h"
#include "DIB/cDIBPanel.h"
#include "DIB/cDIBSlider.h"
#include "editor/EditorLayout.h"
#include "platform/headless/HeadlessBackend.h"
#include "ui/controls/Label.h"
#include "ui/controls/Panel.h"
#include "ui/controls/PictureBox.h"
#include "ui/controls/TextBox.h"
#include "ui/controls/Timer.h"
#include "ui/model/Exception.h"
#include "ui/model/TextForm.h"

namespace {

class EditorLayout : public ::testing::Test {
 protected:
  EditorLayout() {
    m_Window = std::make_unique<TPluginEditorWindow>(m_Backend.CreateHostWindow({0, 0, 500, 200}),
                                                     m_Values);
  }

  template <class T>
  T& Get(const char* name) {
    return m_Window->RequireComponent<T>(name);
  }
  TMemoryDIB& Image(const char* list, int index) {
    return Get<TDIBImageList>(list).DIBImages().Items(index).DIB();
  }

  platform::HeadlessBackend m_Backend{platform::HeadlessBackend::Delivery::AtOnce};
  platform::ScopedBackend m_Installed{m_Backend};
  ParameterValues m_Values{};
  std::unique_ptr<TPluginEditorWindow> m_Window;
};

// Red, green and blue of a pixel in picture coordinates (y = 0 is the top row).
uint32_t Rgb(const TMemoryDIB& dib, int x, int y) {
  return dib.Pixels()[(dib.Height() - 1 - y) * dib.Width() + x] & 0xFFFFFFu;
}
uint32_t Grey(uint32_t level) {
  return level << 16 | level << 8 | level;
}

TEST_F(EditorLayout, EveryComponentOfTheWindowIsThereWithItsClass) {
  const std::pair<const char*, const char*> components[] = {{"Ctrl", "Label"},
                                                            {"Updater", "Timer"},
                                                            {"bg", "PictureBox"},
                                                            {"Plug", "Label"},
                                                            {"DIBContainer1", "TDIBContainer"},
                                                            {"DIBImageList1", "TDIBImageList"},
                                                            {"par0", "TDIBSlider"},
                                                            {"par1", "TDIBSlider"},
                                                            {"par2", "TDIBSlider"},
                                                            {"DIBImageList2", "TDIBImageList"},
                                                            {"par3", "TDIBSlider"},
                                                            {"par4", "TDIBSlider"},
                                                            {"par5", "TDIBSlider"},
                                                            {"CC1GUI", "Label"},
                                                            {"CC2GUI", "Label"},
                                                            {"Value", "Label"},
                                                            {"Rand", "Label"},
                                                            {"CC", "Label"},
                                                            {"Fluxomatic1", "Label"},
                                                            {"Label1", "Label"},
                                                            {"Label2", "Label"},
                                                            {"About", "Label"},
                                                            {"Panel1", "Panel"},
                                                            {"Memo1", "TextBox"},
                                                            {"close", "PictureBox"},
                                                            {"indicate1", "TDIBSlider"},
                                                            {"indicate2", "TDIBSlider"}};
  for (const auto& [name, className] : components) {
    const ui::Component* component = m_Window->FindComponent(name);
    ASSERT_NE(component, nullptr) << name;
    EXPECT_EQ(component->ClassName(), className) << name;
  }
  EXPECT_EQ(m_Window->ComponentCount(), static_cast<int>(std::size(components)));
  EXPECT_EQ(m_Window->Width(), 432);
  EXPECT_EQ(m_Window->Height(), 135);
  EXPECT_FALSE(Get<ui::Timer>("Updater").Enabled());
  EXPECT_EQ(Get<ui::Timer>("Updater").Interval(), 50u);
  EXPECT_FALSE(Get<ui::Panel>("Panel1").Visible());
  EXPECT_EQ(Get<ui::Panel>("Panel1").Parent(), &Get<TDIBContainer>("DIBContainer1"));
}

// The part of a description from the line opening `header` (at two spaces an indentation
// level) to the end of the component's own properties, or of the whole component.
std::string Stored(std::string_view text, const std::string& header, int level, bool whole) {
  const std::string indent(static_cast<std::size_t>(level) * 2, ' ');
  const std::size_t start = text.find("\n" + indent + header + " {\n");
  if (start == std::string_view::npos) return "missing " + header;
  const std::size_t end = whole ? text.find("\n" + indent + "}\n", start + 1)
                                : text.find(" {\n", text.find("\n", start + 1));
  return std::string(text.substr(start, text.rfind('\n', end) - start));
}

TEST_F(EditorLayout, TheContainerAndSlidersAreStoredAsTheWindowWritesThem) {
  const std::string written = ui::WriteRootToText(*m_Window);
  const std::string_view stored = EditorWindowDescription();
  EXPECT_EQ(Stored(stored, "TDIBContainer DIBContainer1", 1, false),
            Stored(written, "TDIBContainer DIBContainer1", 1, false));
  for (const char* name :
       {"par0", "par1", "par2", "par3", "par4", "par5", "indicate1", "indicate2"}) {
    const std::string header = std::string("TDIBSlider ") + name;
    EXPECT_EQ(Stored(stored, header, 2, true), Stored(written, header, 2, true));
  }
  EXPECT_NE(Stored(stored, "TDIBSlider par0", 2, true)
                .find("      Opacity = 255\n"
                      "      DIBTabOrder = -1\n"),
            std::string::npos);
}

TEST_F(EditorLayout, SlidersAreLinkedToTheSkinAndTakeTheirHeightFromIt) {
  for (const char* name : {"par0", "par1", "par2", "par3", "par4", "par5"}) {
    const auto& slider = Get<TDIBSlider>(name);
    const auto* list = &Get<TDIBImageList>("DIBImageList1");
    EXPECT_EQ(slider.IndexEnd1().DIBImageList(), list) << name;
    EXPECT_EQ(slider.IndexEnd1().DIBIndex(), 54) << name;
    EXPECT_EQ(slider.IndexEnd2().DIBIndex(), 55) << name;
    EXPECT_EQ(slider.IndexMain().DIBIndex(), 56) << name;
    EXPECT_EQ(slider.IndexPointer().DIBIndex(), 57) << name;
    EXPECT_EQ(slider.IndexOverlay().DIBIndex(), -1) << name;
    EXPECT_EQ(slider.Height(), 15) << name;
    EXPECT_EQ(slider.Max(), std::string(name) == "par2" ? 100 : 127) << name;
    EXPECT_EQ(slider.Position(), 0) << name;
  }
  for (const char* name : {"indicate1", "indicate2"}) {
    const auto& indicator = Get<TDIBSlider>(name);
    EXPECT_EQ(indicator.IndexMain().DIBImageList(), &Get<TDIBImageList>("DIBImageList2"));
    EXPECT_EQ(indicator.IndexMain().DIBIndex(), 4) << name;
    EXPECT_EQ(indicator.IndexPointer().DIBIndex(), 5) << name;
    EXPECT_EQ(indicator.IndexEnd1().DIBIndex(), -1) << name;
    EXPECT_EQ(indicator.Height(), 4) << name;
    EXPECT_EQ(indicator.Position(), 50) << name;
    EXPECT_FALSE(indicator.Enabled()) << name;
  }
}

TEST_F(EditorLayout, RowLabelsEndBeforeTheirSlidersBegin) {
  for (const auto& [label, slider] :
       {std::pair{"Value", "par0"}, std::pair{"Rand", "par1"}, std::pair{"CC", "par2"}}) {
    const auto& text = Get<ui::Label>(label);
    EXPECT_LT(text.Left() + text.Width(), Get<TDIBSlider>(slider).Left()) << label;
  }
  EXPECT_EQ(Get<ui::Label>("Rand").Caption(), "Randomise");
  EXPECT_EQ(Get<ui::Label>("Rand").Width(), 55);  // sized to its text once read
  EXPECT_EQ(Get<ui::Label>("CC1GUI").Caption(), "0");
}

TEST_F(EditorLayout, ListsHoldTheirImagesAtTheLinkedIndices) {
  EXPECT_EQ(Get<TDIBImageList>("DIBImageList1").DIBImages().Count(), 64);
  EXPECT_EQ(Get<TDIBImageList>("DIBImageList2").DIBImages().Count(), 6);
  struct Used {
    const char* list;
    int index;
    const char* name;
    int width, height;
  };
  for (const Used& used :
       {Used{"DIBImageList1", 54, "SliderHrz1", 6, 15},
        Used{"DIBImageList1", 55, "SliderHrz2", 6, 15},
        Used{"DIBImageList1", 56, "SliderHrzMain", 14, 15},
        Used{"DIBImageList1", 57, "SliderHrzP1", 19, 13}, Used{"DIBImageList2", 4, "main", 4, 4},
        Used{"DIBImageList2", 5, "pointer", 4, 4}}) {
    auto& item = Get<TDIBImageList>(used.list).DIBImages().Items(used.index);
    const TMemoryDIB& dib = item.DIB();
    EXPECT_EQ(item.DisplayName(), used.name);
    EXPECT_EQ(dib.Width(), used.width) << used.name;
    EXPECT_EQ(dib.Height(), used.height) << used.name;
    EXPECT_EQ(dib.Opacity(), 255) << used.name;
    EXPECT_FALSE(dib.Transparent() || dib.Masked() || dib.AutoSize()) << used.name;
    EXPECT_EQ(dib.Angle(), 0) << used.name;
    EXPECT_EQ(dib.ScaleX(), 100.0L) << used.name;
    EXPECT_EQ(dib.TransparentMode(), tmAuto) << used.name;
  }
}

TEST_F(EditorLayout, TheTrackHasOneGreyARowAndItsEndsMirrorEachOther) {
  const uint32_t rows[] = {0x12, 0x16, 0x41, 0x58, 0x72, 0x89, 0x54, 0x2C,
                           0x6F, 0xA8, 0xA7, 0xA3, 0x99, 0xC2, 0xA2};
  const TMemoryDIB& track = Image("DIBImageList1", 56);
  const TMemoryDIB& left = Image("DIBImageList1", 54);
  const TMemoryDIB& right = Image("DIBImageList1", 55);
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 14; ++x) EXPECT_EQ(Rgb(track, x, y), Grey(rows[y])) << x << "," << y;
    for (int x = 0; x < 6; ++x) EXPECT_EQ(Rgb(right, x, y), Rgb(left, 5 - x, y)) << x << "," << y;
    EXPECT_LT(Rgb(left, 0, y) & 0xFF, 0x20u) << y;  // the near-black outer column
  }
  EXPECT_EQ(Rgb(left, 5, 7), Grey(0x2C));  // the groove runs on into the end
  EXPECT_LT(Rgb(left, 3, 0) & 0xFF, 0x20u);
  EXPECT_LT(Rgb(left, 3, 1) & 0xFF, 0x20u);
}

TEST_F(EditorLayout, ThePointerIsSymmetricWithAWhiteGreyWhiteCentreLine) {
  const TMemoryDIB& pointer = Image("DIBImageList1", 57);
  for (int y = 0; y < 13; ++y) {
    for (int x = 0; x < 19; ++x) EXPECT_EQ(Rgb(pointer, x, y), Rgb(pointer, 18 - x, y));
  }
  for (int y = 1; y < 12; ++y) {
    EXPECT_EQ(Rgb(pointer, 8, y), 0xFFFFFFu);
    EXPECT_EQ(Rgb(pointer, 9, y), Grey(0x55));
    EXPECT_EQ(Rgb(pointer, 10, y), 0xFFFFFFu);
    // Columns 4 and 16 (counted from 1) are darker than the bands and wings beside them.
    EXPECT_LT(Rgb(pointer, 3, y), Rgb(pointer, 2, y));
    EXPECT_LT(Rgb(pointer, 3, y), Rgb(pointer, 4, y));
    for (int x = 4; x < 8; ++x) EXPECT_LT(Rgb(pointer, x, y), Rgb(pointer, x + 1, y));
  }
  EXPECT_EQ(Rgb(pointer, 9, 0), Rgb(pointer, 0, 12));  // top and bottom rims
}

TEST_F(EditorLayout, TheIndicatorHasABlackTrackAndABrightGreenPointer) {
  const TMemoryDIB& track = Image("DIBImageList2", 4);
  const TMemoryDIB& pointer = Image("DIBImageList2", 5);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(Rgb(track, x, y), 0u);
      const uint32_t green = Rgb(pointer, x, y) >> 8 & 0xFF;
      EXPECT_GE(green, 0xC0u);
      EXPECT_GT(green, (Rgb(pointer, x, y) >> 16) + 0x80);
    }
  }
}

TEST_F(EditorLayout, ThePicturesAreTheBackgroundTextureAndTheCloseSymbol) {
  const ui::Picture& background = Get<ui::PictureBox>("bg").Picture();
  EXPECT_EQ(background.Width(), 20);
  EXPECT_EQ(background.Height(), 19);
  const ui::Picture& close = Get<ui::PictureBox>("close").Picture();
  EXPECT_EQ(close.Width(), 20);
  EXPECT_EQ(close.Height(), 20);
  // Dark on the diagonals, light between them.
  EXPECT_LT(close.Pixels().Pixel(10, 10) & 0xFF, 0x60u);
  EXPECT_GT(close.Pixels().Pixel(10, 4) & 0xFF, 0xC0u);
  const std::string text = Get<ui::TextBox>("Memo1").Text();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 13);  // fourteen lines
}

// The stored description with the block of the window's component `name` (its first line to
// its closing brace) replaced by `replacement`.
std::string DescriptionWith(const std::string& name, const std::string& replacement) {
  std::string text(EditorWindowDescription());
  const size_t start = text.rfind('\n', text.find(" " + name + " {\n")) + 1;
  const std::string end = "\n  }\n";
  const size_t stop = text.find(end, start) + end.size();
  return text.replace(start, stop - start, replacement);
}

std::string ReadError(const std::string& description) {
  platform::HeadlessBackend backend{platform::HeadlessBackend::Delivery::AtOnce};
  const platform::ScopedBackend installed(backend);
  ParameterValues values{};
  try {
    TPluginEditorWindow window(backend.CreateHostWindow({0, 0, 500, 200}), values,
                               ui::TextToBinary(description));
  } catch (const ui::Exception& error) {
    return error.what();
  }
  return "";
}

TEST(EditorLayoutLookup, AComponentMissingOrOfAnotherClassIsNamedInTheError) {
  EXPECT_EQ(ReadError(DescriptionWith("Ctrl", "")),
            "TPluginEditorWindow has no component Ctrl of the expected class");
  EXPECT_EQ(ReadError(DescriptionWith("Updater", "  Label Updater {\n  }\n")),
            "TPluginEditorWindow has no component Updater of the expected class");
  // The same block put back reads as the stored description does.
  EXPECT_EQ(ReadError(DescriptionWith("Updater", "  Timer Updater {\n  }\n")), "");
}

}  // namespace
