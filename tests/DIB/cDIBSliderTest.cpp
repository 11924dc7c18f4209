// The skinned slider: its layout and the mapping between positions and pixels, the range rules
// and OnChange, paging, the end caps and dragging with the mouse, the keys, the overlay, and
// stored descriptions.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "testsupport/DIB/SliderFixture.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"

namespace dibtest {
namespace {

using platform::MouseButton;

constexpr int32_t kLowest = std::numeric_limits<int32_t>::min();
constexpr int32_t kHighest = std::numeric_limits<int32_t>::max();

// The positions OnChange reported.
struct Changes {
  std::vector<int32_t> positions;
  void Changed(ui::Persistent* sender) {
    positions.push_back(dynamic_cast<TCustomDIBSlider&>(*sender).Position());
  }
  void Watch(TCustomDIBSlider& slider) { slider.OnChange = ui::Bind<&Changes::Changed>(this); }
  std::vector<int32_t> Take() { return std::exchange(positions, {}); }
};

using Positions = std::vector<int32_t>;

class Slider : public SliderFixture {
 protected:
  Slider() {
    m_Slider.SetMax(127);
    m_Changes.Watch(m_Slider);
  }
  // The editor's parameter slider: 169 x 15, its track 139 pixels long for the pointer.
  TDIBSlider& m_Slider = AddSlider(10, 10, 169, AddSliderImages(stHorizontal));
  Changes m_Changes;
};

// Layout and mapping ------------------------------------------------------------------------

TEST_F(Slider, ANewSliderIsAnEmptyAutoSizedRepeatingRangeOf0To100) {
  TDIBSlider& fresh = ui::Create<TDIBSlider>(m_Container);
  EXPECT_EQ(fresh.Min(), 0);
  EXPECT_EQ(fresh.Max(), 100);
  EXPECT_EQ(fresh.Position(), 0);
  EXPECT_EQ(fresh.SmallChange(), 1);
  EXPECT_EQ(fresh.LargeChange(), 5);
  EXPECT_EQ(fresh.PageSize(), 5);
  EXPECT_EQ(fresh.PointerOpacityLow(), 196);
  EXPECT_EQ(fresh.OverlayOpacity(), 64);
  EXPECT_TRUE(fresh.AutoSize());
  EXPECT_TRUE(fresh.AutoRepeat());
  EXPECT_TRUE(fresh.StretchBackground());
  EXPECT_EQ(fresh.End2Rect(), (dib::InclusiveRect{-1, -1, -1, -1}));
  ASSERT_EQ(fresh.ImageLinks().size(), 5u);
  EXPECT_EQ(fresh.ImageLinks()[2].get(), &fresh.IndexMain());
  EXPECT_EQ(fresh.ImageLinks()[4].get(), &fresh.IndexPointer());
  const std::vector<std::string> names{
      "Width",      "Height",        "AutoSize",           "LargeChange",       "Min",
      "Max",        "Opacity",       "OverlayBorderX",     "OverlayBorderY",    "OverlayOpacity",
      "PageSize",   "PointerOffset", "PointerOpacityHigh", "PointerOpacityLow", "Position",
      "SliderType", "SmallChange",   "StretchBackground"};
  EXPECT_EQ(fresh.TemplateProperties(), names);
}

TEST_F(Slider, TheParameterSliderPlacesCapsTrackAndPointerAndFitsItsHeight) {
  EXPECT_EQ(m_Slider.Height(), 15);
  EXPECT_EQ(m_Slider.End1Rect(), (dib::InclusiveRect{0, 0, 5, 14}));
  EXPECT_EQ(m_Slider.End2Rect(), (dib::InclusiveRect{162, 0, 167, 14}));
  EXPECT_EQ(m_Slider.MainRect(), (dib::InclusiveRect{5, 0, 162, 14}));
  EXPECT_EQ(m_Slider.PointerRect(), (dib::InclusiveRect{5, 1, 23, 13}));
  EXPECT_EQ(m_Slider.TrackLength(), 139);
  EXPECT_EQ(m_Slider.PositionToPixel(64), 70);
  EXPECT_EQ(m_Slider.PixelToPosition(70), 63);  // there and back loses one
  m_Slider.SetPosition(127);
  EXPECT_EQ(m_Slider.PointerRect(), (dib::InclusiveRect{144, 1, 162, 13}));
  // A narrower slider: the pointer keeps its position on the shorter track.
  m_Slider.SetBounds(10, 10, 145, 40);
  EXPECT_EQ(m_Slider.Height(), 15);
  EXPECT_EQ(m_Slider.End2Rect(), (dib::InclusiveRect{138, 0, 143, 14}));
  EXPECT_EQ(m_Slider.TrackLength(), 115);
  EXPECT_EQ(m_Slider.PointerRect(), (dib::InclusiveRect{120, 1, 138, 13}));
  m_Slider.SetWidth(5);  // no narrower than the caps and the track with a pixel to spare
  EXPECT_EQ(m_Slider.Width(), 28);
}

TEST_F(Slider, TheIndicatorTilesItsTrackAndIsFourPixelsHigh) {
  const int32_t square = AddImage(4, 4, ui::clRed);
  TDIBSlider& indicator = AddSlider(10, 40, 145, {-1, -1, square, -1, square});
  indicator.SetStretchBackground(false);
  indicator.SetMax(127);
  indicator.SetPosition(50);
  EXPECT_EQ(indicator.Height(), 4);
  EXPECT_EQ(indicator.MainRect(), (dib::InclusiveRect{-1, 0, 145, 3}));
  EXPECT_EQ(indicator.TrackLength(), 143);
  EXPECT_EQ(indicator.PointerPixel(), 56);
  EXPECT_EQ(indicator.PointerRect(), (dib::InclusiveRect{55, 0, 58, 3}));
}

// A new image may change the track's length: the pointer moves to its position's new pixel.
TEST_F(Slider, WithoutAutoSizeThePointerFollowsNewImages) {
  m_Slider.SetAutoSize(false);
  m_Slider.IndexPointer().SetDIBIndex(-1);
  m_Slider.SetPosition(127);
  EXPECT_EQ(m_Slider.PointerPixel(), 157);  // a pointer of 1 pixel
  m_Slider.IndexPointer().SetDIBIndex(4);
  EXPECT_EQ(m_Slider.PointerPixel(), 139);
  EXPECT_EQ(m_Slider.PointerRect().Right, m_Slider.MainRect().Right);
}

TEST_F(Slider, AVerticalSliderHasMinAtTheTop) {
  TDIBSlider& vertical = AddSlider(200, 10, 169, AddSliderImages(stVertical), stVertical);
  vertical.SetMax(127);
  EXPECT_EQ(vertical.Width(), 15);
  EXPECT_EQ(vertical.End1Rect(), (dib::InclusiveRect{0, 0, 14, 5}));
  EXPECT_EQ(vertical.MainRect(), (dib::InclusiveRect{0, 5, 14, 162}));
  EXPECT_EQ(vertical.PointerRect(), (dib::InclusiveRect{1, 5, 13, 23}));
  vertical.SetPosition(64);
  EXPECT_EQ(vertical.PointerRect().Top, 5 + 70);
}

// A track no longer than the pointer leaves no travel: the pointer stays at the start, and
// neither paging nor dragging moves it (no division by a zero or negative length).
TEST_F(Slider, WithoutTravelThePointerStaysAtTheStartAndTheMouseMovesNothing) {
  for (int32_t width : {30, 28}) {  // track as long as the pointer, then 2 pixels shorter
    m_Slider.SetWidth(width);
    m_Slider.SetPosition(100);
    EXPECT_EQ(m_Slider.TrackLength(), width - 30);
    EXPECT_EQ(m_Slider.PointerPixel(), 0);
    EXPECT_EQ(m_Slider.PixelToPosition(10), 0);
    EXPECT_EQ(m_Slider.PixelToDistance(10), 0);
    MoveTo(m_Slider, 8, 7);
    Down(m_Slider, 8, 7);  // on the pointer
    MoveTo(m_Slider, 25, 7);
    Up(m_Slider, 25, 7);
    EXPECT_EQ(m_Slider.Position(), 100);
    EXPECT_EQ(m_Slider.PointerPixel(), 0);
  }
  m_Slider.IndexMain().SetDIBIndex(-1);  // no track at all
  m_Slider.SetPosition(3);
  EXPECT_LE(m_Slider.TrackLength(), 0);
  EXPECT_EQ(m_Slider.PointerPixel(), 0);
}

// The range ----------------------------------------------------------------------------------

TEST_F(Slider, MinAndMaxPushEachOtherApartAndClampThePosition) {
  m_Slider.SetMin(0);
  m_Slider.SetMax(0);
  EXPECT_EQ(m_Slider.Min(), -1);
  m_Slider.SetMax(5);
  m_Slider.SetPosition(3);
  m_Changes.Take();
  m_Slider.SetMin(10);
  EXPECT_EQ(m_Slider.Max(), 11);
  EXPECT_EQ(m_Slider.Position(), 10);
  EXPECT_EQ(m_Changes.Take(), Positions{10});
}

TEST_F(Slider, OnChangeFiresOnceForEveryNewPositionOnly) {
  m_Slider.SetPosition(200);
  EXPECT_EQ(m_Slider.Position(), 127);
  EXPECT_EQ(m_Slider.PointerPixel(), 139);
  m_Slider.SetPosition(127);
  EXPECT_EQ(m_Changes.Take(), Positions{127});
}

TEST_F(Slider, TheRangeReachesTheIntegerLimitsWithoutOverflow) {
  m_Slider.SetMax(kLowest);
  EXPECT_EQ(m_Slider.Max(), kLowest + 1);
  EXPECT_EQ(m_Slider.Min(), kLowest);
  m_Slider.SetMin(kHighest);
  EXPECT_EQ(m_Slider.Min(), kHighest - 1);
  EXPECT_EQ(m_Slider.Max(), kHighest);
  m_Slider.SetMin(kLowest);
  EXPECT_EQ(m_Slider.PositionToPixel(0), 69);  // 139 x 2^31 / (2^32 - 1)
  EXPECT_EQ(m_Slider.PixelToPosition(139), kHighest);
  EXPECT_EQ(m_Slider.PixelToDistance(139), int64_t{kHighest} - kLowest);
  m_Slider.SetDIBTabOrder(0);
  m_Backend.Click(CX(m_Slider.Left() + 8), CY(m_Slider.Top() + 7));
  m_Backend.PressKey(ui::VK_NEXT);
  EXPECT_EQ(m_Slider.Position(), kHighest);
  m_Backend.PressKey(ui::VK_NEXT);  // saturates at the end
  EXPECT_EQ(m_Slider.Position(), kHighest);
}

// Mouse --------------------------------------------------------------------------------------

TEST_F(Slider, APressBesideThePointerPagesTowardItAndRepeatsWhileHeld) {
  MoveTo(m_Slider, 100, 7);  // 86 pixels right of the pointer's centre
  Down(m_Slider, 100, 7);
  EXPECT_EQ(m_Changes.Take(), Positions{5});
  m_Backend.Advance(249);
  EXPECT_EQ(m_Slider.Position(), 5);
  m_Backend.Advance(251);
  EXPECT_EQ(m_Changes.Take(), (Positions{10, 15}));
  Up(m_Slider, 100, 7);
  m_Backend.Advance(1000);
  EXPECT_EQ(m_Slider.Position(), 15);
  m_Slider.SetLargeChange(1);
  Down(m_Slider, 160, 7);
  m_Backend.Advance(500);
  EXPECT_EQ(m_Changes.Take(), (Positions{16, 17, 18}));
  Up(m_Slider, 160, 7);
}

// Paging ends on the mouse: the last step is what remains, and the pointer reaching the
// mouse is taken hold of.
TEST_F(Slider, PagingThatReachesTheMouseTurnsIntoDragging) {
  const int32_t narrow = AddImage(3, 13, ui::clWhite);
  TDIBSlider& fine = AddSlider(10, 60, 103, {-1, -1, 2, -1, narrow});
  fine.SetMax(102);  // one position per pixel: the pointer's centre is at Position
  m_Changes.Watch(fine);
  MoveTo(fine, 13, 7);
  Down(fine, 13, 7);
  m_Backend.Advance(1000);
  EXPECT_EQ(m_Changes.Take(), (Positions{5, 10, 13}));
  EXPECT_TRUE(fine.Dragging());
  EXPECT_FALSE(fine.RepeatTimer().Enabled());
  MoveTo(fine, 20, 30);  // the drag follows along the track at any height
  EXPECT_EQ(m_Changes.Take(), Positions{20});
  Up(fine, 20, 30);
  EXPECT_FALSE(fine.Dragging());
}

TEST_F(Slider, DraggingMovesThePointerPixelByPixelAndDropsItThere) {
  MoveTo(m_Slider, 10, 7);
  Down(m_Slider, 10, 7);  // 5 pixels into the pointer
  EXPECT_TRUE(m_Slider.Dragging());
  MoveTo(m_Slider, 80, 7);
  EXPECT_EQ(m_Slider.PointerPixel(), 70);
  EXPECT_EQ(m_Slider.PointerRect().Left, 75);  // where dropped, not at position 63's pixel 68
  MoveTo(m_Slider, 81, 50);
  MoveTo(m_Slider, 500, 7);
  MoveTo(m_Slider, -40, 7);
  Up(m_Slider, -40, 7);
  EXPECT_EQ(m_Changes.Take(), (Positions{63, 64, 127, 0}));
  EXPECT_FALSE(m_Slider.Dragging());
  MoveTo(m_Slider, 100, 7);
  EXPECT_EQ(m_Slider.PointerPixel(), 0);
}

// The pointer's last column counts for a left press, which repeats, and not for others.
TEST_F(Slider, OnlyAHeldLeftPressCountsThePointersWholeSpan) {
  MoveTo(m_Slider, 23, 7);
  Down(m_Slider, 23, 7, MouseButton::Right);
  Up(m_Slider, 23, 7, MouseButton::Right);
  EXPECT_EQ(m_Changes.Take(), Positions{5});  // paged toward 9 pixels beyond the centre
  EXPECT_FALSE(m_Slider.Dragging());
  Down(m_Slider, 28, 0);  // the pointer's last column, above its rows
  EXPECT_TRUE(m_Slider.Dragging());
  Up(m_Slider, 28, 0);
}

TEST_F(Slider, TheEndCapsStepBySmallChangeWhileHeld) {
  m_Slider.SetSmallChange(3);
  MoveTo(m_Slider, 164, 7);
  Down(m_Slider, 164, 7);
  m_Backend.Advance(250);
  Up(m_Slider, 164, 7);
  MoveTo(m_Slider, 2, 7);
  Down(m_Slider, 2, 7);
  Up(m_Slider, 2, 7);
  EXPECT_EQ(m_Changes.Take(), (Positions{3, 6, 3}));
}

TEST_F(Slider, ADisabledSliderIgnoresTheMouseButFollowsPosition) {
  m_Slider.SetEnabled(false);
  MoveTo(m_Slider, 100, 7);
  Down(m_Slider, 100, 7);
  m_Backend.Advance(500);
  Up(m_Slider, 100, 7);
  EXPECT_EQ(m_Slider.Position(), 0);
  m_Slider.SetPosition(64);
  EXPECT_EQ(m_Slider.PointerPixel(), 70);
}

// Keys ---------------------------------------------------------------------------------------

TEST_F(Slider, KeysStepAlongTheSlidersOwnDirection) {
  TDIBSlider& vertical = AddSlider(200, 10, 169, AddSliderImages(stVertical), stVertical);
  m_Changes.Watch(vertical);
  m_Slider.SetSmallChange(2);
  m_Slider.SetPosition(50);
  vertical.SetPosition(50);
  m_Changes.Take();
  for (TDIBSlider* s : {&m_Slider, &vertical}) {
    s->SetDIBTabOrder(0);
    const dib::InclusiveRect& pointer = s->PointerRect();
    m_Backend.Click(CX(s->Left() + pointer.Left + 2), CY(s->Top() + pointer.Top + 2));
    for (uint16_t key : {ui::VK_RIGHT, ui::VK_LEFT, ui::VK_DOWN, ui::VK_UP, ui::VK_NEXT,
                         ui::VK_PRIOR, ui::VK_HOME, ui::VK_END}) {
      m_Backend.PressKey(key);
    }
  }
  EXPECT_EQ(m_Changes.Take(), (Positions{52, 50, 55, 50, 51, 50, 55, 50}));
}

// Losing only its focus would leave it the container's active control, and arrows would still
// move it.
TEST_F(Slider, ASliderDisabledWhileItHasTheKeyboardGivesItUpAndIgnoresKeys) {
  m_Slider.SetDIBTabOrder(0);
  m_Slider.Perform(ui::WM_SETFOCUS);
  m_Backend.PressKey(ui::VK_RIGHT);
  m_Slider.SetEnabled(false);
  EXPECT_FALSE(m_Slider.Focused());
  EXPECT_EQ(m_Container.ActiveControl(), nullptr);
  m_Backend.PressKey(ui::VK_RIGHT);
  EXPECT_EQ(m_Changes.Take(), (Positions{1}));
}

// Overlay ------------------------------------------------------------------------------------

TEST_F(Slider, TheOverlayFillsTheTrackUpToThePointer) {
  m_Slider.SetOverlayOpacity(255);
  m_Slider.SetPointerOpacityLow(255);
  const int32_t row = 10 + 7;
  for (int32_t x = 15; x < 175; ++x) ASSERT_NE(BackPixel(x, row), 0x00FF00u) << x;
  m_Slider.SetPosition(127);
  m_Backend.Pump();
  EXPECT_EQ(BackPixel(10 + 6, row), 0x00FF00u);  // from the end of the first cap
  EXPECT_EQ(BackPixel(10 + 143, row), 0x00FF00u);
  EXPECT_EQ(BackPixel(10 + 144, row), 0xFFFF00u);  // the pointer
  m_Slider.SetOverlayBorderX(120);                 // wider than the track: no overlay
  m_Backend.Pump();
  EXPECT_EQ(BackPixel(10 + 100, row), 0x808080u);
}

// A tiled track against its copies drawn one by one under a clip narrowed to the track, as it
// once was drawn: tiles whose lines along the track repeat one pixel (stretched instead) and
// tiles that do not, translucent over the background, at every track length modulo the tile,
// in both directions, and repainted in part.
TEST_F(SliderFixture, ATiledTrackLooksAsIfEachCopyWereDrawnOnItsOwn) {
  m_Container.SetColor(ui::clTeal);
  std::vector<std::pair<TDIBSlider*, TMemoryDIB*>> tracks;
  for (const TSliderType type : {stHorizontal, stVertical}) {
    for (const bool repeating : {true, false}) {
      const int32_t index = AddImage(4, 4, ui::clRed);
      TMemoryDIB& tile = m_Images.DIBImages().Items(index).DIB();
      for (int32_t line = 0; line < 4; ++line) {
        const ui::Color color = ui::Color(0x102030 * (line + 1));
        tile.FillRect(color, type == stHorizontal ? 0 : line, type == stHorizontal ? line : 0,
                      type == stHorizontal ? 4 : 1, type == stHorizontal ? 1 : 4);
      }
      if (!repeating) tile.FillRect(ui::clWhite, 2, 1, 1, 1);
      tile.FillAlpha(150);
      tile.SetMasked(true);
      for (int32_t length = 145; length < 149; ++length) {
        const int32_t across = 4 + 6 * static_cast<int32_t>(tracks.size() % 8);
        TDIBSlider& s = type == stHorizontal
                            ? AddSlider(4, across, length, {-1, -1, index, -1, -1}, type)
                            : AddSlider(across, 60, length, {-1, -1, index, -1, -1}, type);
        s.SetStretchBackground(false);
        tracks.emplace_back(&s, &tile);
      }
    }
  }
  m_Backend.Pump();
  const auto expectCopyByCopy = [&](const ui::Rect& repainted) {
    for (const auto& [slider, tile] : tracks) {
      TMemoryDIB expected(static_cast<uint16_t>(slider->Width()),
                          static_cast<uint16_t>(slider->Height()));
      expected.Fill(ui::clTeal);
      const dib::InclusiveRect& m = slider->MainRect();
      expected.SetClipRect(m);
      for (int32_t x = m.Left; x < std::max(m.Right, m.Left + 1); x += 4) {
        for (int32_t y = m.Top; y < std::max(m.Bottom, m.Top + 1); y += 4) {
          tile->Draw(x, y, 4, 4, expected);
        }
      }
      for (int32_t y = 0; y < slider->Height(); ++y) {
        for (int32_t x = 0; x < slider->Width(); ++x) {
          if (!repainted.Contains(slider->Left() + x, slider->Top() + y)) continue;
          ASSERT_EQ(BackPixel(slider->Left() + x, slider->Top() + y),
                    expected.ScanLine(y)[x] & dib::kColorBits)
              << slider->Width() << " x " << slider->Height() << " at " << x << ", " << y;
        }
      }
    }
  };
  expectCopyByCopy(m_Container.ClientRect());
  const ui::Rect part{37, 6, 90, 190};
  m_Container.BackBuffer().FillRect(ui::clBlack, 0, 0, m_Container.Width(), m_Container.Height());
  m_Container.InvalidateRect(part, false);
  m_Backend.Pump();
  expectCopyByCopy(part);
}

// Stored descriptions ------------------------------------------------------------------------

TEST_F(Slider, AStoredPositionSurvivesWhateverOrderTheRangeIsReadIn) {
  RegisterDIBSliderClasses();
  const struct {
    const char* properties;
    int32_t position;
  } cases[] = {{"Position = 120\nMax = 127", 120},
               {"Max = 127\nPosition = 120", 120},
               {"Position = -20\nMin = -50\nMax = -10", -20},
               {"Position = 300\nMax = 127", 127}};
  for (const auto& [properties, position] : cases) {
    auto holder = ui::ReadRootFromText(std::string("TDIBContainer C {\n TDIBSlider S {\n") +
                                       properties + "\n }\n}");
    EXPECT_EQ(holder->RequireComponent<TDIBSlider>("S").Position(), position) << properties;
    const std::string text = ui::WriteRootToText(*holder);
    EXPECT_EQ(text.find("PointerOpacityLow"), std::string::npos);  // defaults are left out
    EXPECT_NE(text.find("StretchBackground = true"), std::string::npos);
  }
}

TEST_F(Slider, ANewSliderStoresItsAcceleratorOpacityAndTabOrderAlthoughUnset) {
  RegisterDIBSliderClasses();
  auto holder = ui::ReadRootFromText("TDIBContainer C {\n  TDIBSlider S {\n  }\n}");
  EXPECT_NE(ui::WriteRootToText(*holder).find("    Height = 32\n"
                                              "    Accelerator = 0\n"
                                              "    DIBFeatures = <>\n"
                                              "    Opacity = 255\n"
                                              "    DIBTabOrder = -1\n"
                                              "    IndexEnd1.DIBIndex = -1\n"),
            std::string::npos);
}

TEST_F(Slider, ALoadedSliderPlacesItsPointerAtItsStoredPosition) {
  RegisterDIBSliderClasses();
  m_Images.SetName("Images");
  ui::ReadRootFromText(R"(Form Editor {
  TDIBContainer Stored {
    TDIBSlider S {
      Width = 169
      IndexEnd1.DIBImageList = @Images
      IndexEnd1.DIBIndex = 0
      IndexEnd2.DIBImageList = @Images
      IndexEnd2.DIBIndex = 1
      IndexMain.DIBImageList = @Images
      IndexMain.DIBIndex = 2
      IndexPointer.DIBImageList = @Images
      IndexPointer.DIBIndex = 4
      Position = 64
      Max = 127
    }
  }
})",
                       *m_Form);
  auto& stored = m_Form->RequireComponent<TDIBSlider>("S");
  EXPECT_EQ(stored.Height(), 15);
  EXPECT_EQ(stored.PointerPixel(), 70);
  EXPECT_EQ(stored.PointerRect(), (dib::InclusiveRect{75, 1, 93, 13}));
}

TEST_F(SliderFixture, ATemplateCarriesASlidersImagesAndSettingsToAnother) {
  TDIBSlider& source = AddSlider(10, 10, 169, AddSliderImages(stHorizontal));
  source.SetMax(127);
  source.SetPosition(64);
  source.SetLargeChange(1);
  source.SetOverlayOpacity(10);
  ui::MemoryStream saved;
  source.SaveTemplate(saved);

  TDIBImageList& otherImages = ui::Create<TDIBImageList>(*m_Form);
  TDIBSlider& target = ui::Create<TDIBSlider>(*m_Form);
  target.SetParent(&m_Container);
  target.SetBounds(10, 40, 169, 15);
  target.SetDIBImageList(&otherImages);
  for (int round = 0; round < 2; ++round) {  // a second load reuses the images it brought
    saved.SetPosition(0);
    target.LoadTemplate(saved);
    EXPECT_EQ(otherImages.DIBImages().Count(), 5);
  }

  for (auto link :
       {&TCustomDIBSlider::IndexEnd1, &TCustomDIBSlider::IndexEnd2, &TCustomDIBSlider::IndexMain,
        &TCustomDIBSlider::IndexOverlay, &TCustomDIBSlider::IndexPointer}) {
    const TMemoryDIB* from = (source.*link)().GetImage();
    const TMemoryDIB* to = (target.*link)().GetImage();
    ASSERT_NE(to, nullptr);
    EXPECT_EQ(to->Width(), from->Width());
    EXPECT_EQ(to->Height(), from->Height());
    EXPECT_EQ(to->Pixels()[0], from->Pixels()[0]);
  }
  EXPECT_EQ(target.Max(), 127);
  EXPECT_EQ(target.Position(), 64);
  EXPECT_EQ(target.LargeChange(), 1);
  EXPECT_EQ(target.OverlayOpacity(), 10);
  EXPECT_EQ(target.Height(), 15);
  EXPECT_EQ(target.PointerRect(), source.PointerRect());
}

}  // namespace
}  // namespace dibtest
