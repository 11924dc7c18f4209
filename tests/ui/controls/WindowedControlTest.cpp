// Painting: only what was invalidated is painted, only what that changed is presented,
// non-windowed children are
// composed into their parent, labels size themselves, the text box scrolls, and a small form
// matches a committed PNG pixel for pixel.

#include <cstdio>

#include "testsupport/GoldenPicture.h"
#include "testsupport/ui/FormFixture.h"
#include "testsupport/ui/SurfacePicture.h"
#include "ui/controls/Label.h"
#include "ui/controls/PictureBox.h"
#include "ui/controls/TextBox.h"

namespace uitest {
namespace {

using platform::Rect;

class Painting : public FormFixture {
 public:
  WindowlessProbe& left = Add<WindowlessProbe>(*m_Form, "left", ui::Bounds(10, 10, 30, 20));
  WindowlessProbe& over = Add<WindowlessProbe>(*m_Form, "over", ui::Bounds(30, 20, 30, 20));
  WindowlessProbe& right = Add<WindowlessProbe>(*m_Form, "right", ui::Bounds(150, 70, 30, 20));
  WindowedProbe& panel = Add<WindowedProbe>(*m_Form, "panel", ui::Bounds(100, 0, 60, 60));
  WindowlessProbe& inPanel = Add<WindowlessProbe>(panel, "inPanel", ui::Bounds(5, 5, 20, 20));

  Painting() {
    m_Backend.Pump();
    m_Backend.TakePresented(m_Form->Handle());
    for (auto* p : {&left, &over, &right, &inPanel}) p->paints = 0;
    panel.paints = 0;
  }
  std::vector<int> Paints() {
    return {left.paints, over.paints, right.paints, panel.paints, inPanel.paints};
  }
};

TEST_F(Painting, OnlyWhatWasInvalidatedIsPainted) {
  right.Invalidate();
  m_Backend.Pump();
  EXPECT_EQ(Paints(), (std::vector<int>{0, 0, 1, 0, 0}));

  left.Invalidate();  // `over` overlaps it and is drawn again above it, clipped to it
  m_Backend.Pump();
  EXPECT_EQ(Paints(), (std::vector<int>{1, 1, 1, 0, 0}));

  inPanel.Invalidate();  // inside the panel: the panel paints its own area only
  m_Backend.Pump();
  EXPECT_EQ(Paints(), (std::vector<int>{1, 1, 1, 1, 1}));
}

// White with one black pixel at `dot`.
class Dotted final : public ui::WindowlessControl {
 public:
  using WindowlessControl::WindowlessControl;
  ui::Point dot;

 protected:
  void Paint() override {
    Canvas().brush.color = ui::clWhite;
    Canvas().FillRect(ClientRect());
    Canvas().brush.color = ui::clBlack;
    Canvas().FillRect({dot.X, dot.Y, dot.X + 1, dot.Y + 1});
  }
};

TEST_F(Painting, ARepaintPresentsTheBoxAroundThePixelsItChangedAndNothingElse) {
  Dotted& dotted = ui::Create<Dotted>(*m_Form);
  dotted.SetParent(m_Form.get());
  dotted.SetBoundsRect(ui::Bounds(20, 40, 50, 30));
  m_Backend.Pump();
  m_Backend.TakePresented(m_Form->Handle());

  dotted.Invalidate();
  m_Backend.Pump();
  EXPECT_TRUE(m_Backend.TakePresented(m_Form->Handle()).empty());

  dotted.dot = {7, 3};
  dotted.Invalidate();
  dotted.Invalidate();  // asked twice, painted and compared once
  m_Backend.Pump();
  EXPECT_EQ(m_Backend.TakePresented(m_Form->Handle()), (std::vector<Rect>{{20, 40, 28, 44}}));
  EXPECT_EQ(m_Backend.FrameOf(m_Form->Handle())->Pixel(27, 43) & 0xFFFFFF, 0u);

  m_Form->SetBoundsRect(ui::Bounds(kFormX, kFormY, 300, 200));  // the window system shows nothing
  m_Backend.Pump();
  EXPECT_EQ(m_Backend.TakePresented(m_Form->Handle()), (std::vector<Rect>{{0, 0, 300, 200}}));

  // Painted twice before presenting, over a larger area the second time, and back to what the
  // window shows: nothing to present.
  dotted.dot = {1, 1};
  dotted.Invalidate();
  m_Form->Perform(ui::WM_PAINT);
  dotted.dot = {7, 3};
  m_Form->InvalidateRect({0, 0, 120, 120}, true);
  m_Form->Perform(ui::WM_PAINT);
  m_Form->Update();
  EXPECT_TRUE(m_Backend.TakePresented(m_Form->Handle()).empty());
}

TEST_F(Painting, AWindowedChildKeepsItsAreaFromTheParentsPaint) {
  m_Form->InvalidateRect({90, 0, 200, 100}, true);
  m_Backend.Pump();
  EXPECT_EQ(panel.paints, 0);
  EXPECT_EQ(right.paints, 1);
  const std::vector<Rect> presented = m_Backend.TakePresented(m_Form->Handle());
  for (const Rect& a : presented) {
    EXPECT_FALSE(a.Left >= 100 && a.Right <= 160 && a.Bottom <= 60) << "panel area presented";
  }
}

TEST_F(Painting, HidingAWindowedControlRepaintsWhatLayUnderIt) {
  WindowlessProbe& under = Add<WindowlessProbe>(*m_Form, "under", ui::Bounds(110, 10, 10, 10));
  m_Backend.Pump();
  under.paints = 0;
  panel.Hide();
  m_Backend.Pump();
  EXPECT_EQ(under.paints, 1);
  EXPECT_EQ(inPanel.paints, 0);
  panel.Show();
  m_Backend.Pump();
  EXPECT_EQ(panel.paints, 1);
  EXPECT_EQ(inPanel.paints, 1);
}

// Each windowed control keeps the area it may paint between layout changes: every move and
// change of order must renew it.
TEST_F(Painting, TheAreaAWindowedControlMayPaintFollowsMovesAndOrder) {
  WindowlessProbe& under = Add<WindowlessProbe>(*m_Form, "under", ui::Bounds(110, 10, 10, 10));
  WindowedProbe& cover = Add<WindowedProbe>(*m_Form, "cover", ui::Bounds(100, 0, 60, 60));
  m_Backend.Pump();
  const auto paintsAfterInvalidate = [this](WindowlessProbe& probe) {
    probe.paints = 0;
    probe.Invalidate();
    m_Backend.Pump();
    return probe.paints;
  };
  EXPECT_EQ(paintsAfterInvalidate(under), 0);    // under the panel
  EXPECT_EQ(paintsAfterInvalidate(inPanel), 0);  // the panel is under `cover`
  panel.BringToFront();
  m_Backend.Pump();
  EXPECT_EQ(paintsAfterInvalidate(inPanel), 1);
  panel.SetLeft(200);
  cover.SetTop(100);
  m_Backend.Pump();
  EXPECT_EQ(paintsAfterInvalidate(under), 1);
  cover.SetBounds(0, 0, 60, 60);
  m_Backend.Pump();
  cover.SetParent(&panel);  // now covering the whole of `inPanel`
  m_Backend.Pump();
  EXPECT_EQ(paintsAfterInvalidate(inPanel), 0);
}

TEST_F(Painting, SizesBelowZeroCountAsZeroAndPaintNothing) {
  left.SetBounds(10, 10, -5, -100);
  EXPECT_EQ(left.Width(), 0);
  EXPECT_EQ(left.Height(), 0);
  panel.SetBounds(100, 0, 0, 0);
  m_Backend.Pump();
  left.paints = inPanel.paints = 0;
  m_Form->Invalidate();
  m_Backend.Pump();
  EXPECT_EQ(left.paints, 0);
  EXPECT_EQ(inPanel.paints, 0);
  m_Form->SetBounds(0, 0, -10, 0);
  m_Backend.Pump();
  EXPECT_EQ(m_Form->Pixels().Width(), 0);
}

TEST_F(Painting, LabelsSizeThemselvesToTheirTextWithinConstraints) {
  ui::Label& label = ui::Create<ui::Label>(*m_Form);
  label.SetParent(m_Form.get());
  label.SetCaption("Fluxomatic 1");
  const ui::Size extent = ui::TextExtent(label.Font().Value(), "Fluxomatic 1");
  EXPECT_EQ(label.Width(), extent.cx);
  EXPECT_EQ(label.Height(), extent.cy);
  label.Font().SetHeight(-19);
  EXPECT_GT(label.Height(), extent.cy);
  label.Constraints().SetMaxWidth(20);
  EXPECT_EQ(label.Width(), 20);
  label.SetAutoSize(false);
  label.SetCaption("a much longer caption than before");
  EXPECT_EQ(label.Width(), 20);
}

// The editor's layout places its labels for the widths of the texts they show; the embedded
// faces are chosen to come within two pixels of those widths, so that "Randomise" stays clear
// of the slider beside it.
TEST_F(Painting, TheEditorsLabelsComeWithinTwoPixelsOfTheirLayoutWidths) {
  struct Case {
    const char* text;
    int32_t fontHeight;
    int32_t layoutWidth;
    int32_t width;  // as measured with the embedded faces
    int32_t height;
  };
  const Case cases[] = {
      {"Value", -11, 27, 28, 14},  {"Randomise", -11, 53, 55, 14},
      {"CC Out", -11, 34, 35, 14}, {"Fluxomatic 1", -11, 65, 64, 14},
      {"About", -11, 28, 29, 14},  {"Fluxomatic", -19, 102, 104, 23},
  };
  for (const Case& c : cases) {
    ui::Label& label = ui::Create<ui::Label>(*m_Form);
    label.SetParent(m_Form.get());
    label.Font().SetHeight(c.fontHeight);
    label.SetCaption(c.text);
    std::printf("%-14s height %3d  layout %3d  ours %3d x %2d\n", c.text, c.fontHeight,
                c.layoutWidth, label.Width(), label.Height());
    EXPECT_EQ(label.Width(), c.width) << c.text;
    EXPECT_EQ(label.Height(), c.height) << c.text;
    EXPECT_LE(std::abs(label.Width() - c.layoutWidth), 2) << c.text;
  }
}

TEST_F(Painting, AnOpaqueLabelShowsEveryChangeOfItsTextColourAndSize) {
  ui::Label& label = ui::Create<ui::Label>(*m_Form);
  label.SetParent(m_Form.get());
  label.SetAutoSize(false);
  label.SetBounds(10, 40, 20, 14);
  label.Font().SetColor(ui::clBlack);
  label.SetCaption("I");
  m_Backend.Pump();
  const auto shown = [this](int32_t x, int32_t y) {
    return m_Form->Pixels().Pixel(10 + x, 40 + y) & 0xFFFFFF;
  };
  const auto row = [&](int32_t y) {
    std::vector<uint32_t> pixels;
    for (int32_t x = 0; x < label.Width(); ++x) pixels.push_back(shown(x, y));
    return pixels;
  };
  EXPECT_EQ(shown(0, 0), ui::ColorToPixel(ui::ColorToRGB(ui::clBtnFace)));
  label.SetColor(ui::clRed);
  m_Backend.Pump();
  EXPECT_EQ(shown(0, 0), 0xFF0000u);
  const std::vector<uint32_t> narrow = row(6);
  label.SetCaption("W");
  m_Backend.Pump();
  EXPECT_NE(row(6), narrow);
  label.SetWidth(40);
  m_Backend.Pump();
  EXPECT_EQ(shown(label.Width() - 1, 6), 0xFF0000u);
  label.Font().SetColor(ui::clWhite);
  const std::vector<uint32_t> black = row(6);
  m_Backend.Pump();
  EXPECT_NE(row(6), black);
}

TEST_F(Painting, TheTextBoxScrollsWithItsScrollBarAndTheWheel) {
  ui::TextBox& box = ui::Create<ui::TextBox>(*m_Form);
  box.SetParent(m_Form.get());
  box.SetBounds(0, 0, 100, 80);
  box.SetScrollBars(ui::ssVertical);
  std::vector<std::string> lines;
  for (int i = 0; i < 30; ++i) lines.push_back("line " + std::to_string(i));
  box.SetLines(lines);
  m_Backend.Pump();
  const int32_t page = box.VisibleLineCount();
  ASSERT_GT(page, 2);
  const int32_t bar = 100 - 2 - 8;     // the middle of the scroll bar
  m_Backend.Click(X(bar), Y(78 - 8));  // down arrow
  EXPECT_EQ(box.TopLine(), 1);
  m_Backend.Click(X(bar), Y(2 + 8));  // up arrow
  EXPECT_EQ(box.TopLine(), 0);
  m_Backend.Click(X(bar), Y(60));  // track below the thumb
  EXPECT_EQ(box.TopLine(), page);
  m_Backend.Wheel(X(40), Y(40), -ui::WHEEL_DELTA);
  EXPECT_EQ(box.TopLine(), page + 3);
  m_Backend.Wheel(X(40), Y(40), 10 * ui::WHEEL_DELTA);
  EXPECT_EQ(box.TopLine(), 0);
  // The thumb dragged to the bottom of the track shows the last lines.
  m_Backend.MouseDown(platform::MouseButton::Left, X(bar), Y(20));
  m_Backend.MouseMove(X(bar), Y(200));
  m_Backend.MouseUp(platform::MouseButton::Left, X(bar), Y(200));
  EXPECT_EQ(box.TopLine(), box.MaxTopLine());
  EXPECT_EQ(box.MaxTopLine(), 30 - page);
}

// A 32-bit top-down bitmap of w x h pixels from `pixel(x, y)`.
template <class F>
std::vector<uint8_t> MakeBitmap(int32_t w, int32_t h, F pixel) {
  std::vector<uint8_t> file(54);
  const auto put32 = [&file](std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      file[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(-h));
  file[26] = 1;
  file[28] = 32;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t p = pixel(x, y);
      file.insert(file.end(), {static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8),
                               static_cast<uint8_t>(p >> 16), 0});
    }
  }
  return file;
}

ui::Surface FrameToSurface(const platform::Frame& frame) {
  ui::Surface surface(frame.width, frame.height);
  std::copy(frame.bits.begin(), frame.bits.end(), surface.Bits());
  return surface;
}

TEST(FormGolden, ASmallFormMatchesTheCommittedImage) {
  platform::HeadlessBackend backend{platform::HeadlessBackend::Delivery::AtOnce};
  platform::ScopedBackend installed(backend);
  void* host = backend.CreateHostWindow({0, 0, 240, 140});
  ui::Form form(nullptr, host);
  form.SetBounds(0, 0, 220, 120);
  form.SetColor(ui::clBlack);

  ui::PictureBox& picture = ui::Create<ui::PictureBox>(form);
  picture.SetParent(&form);
  picture.SetAlign(ui::alClient);
  picture.SetStretch(true);
  picture.LoadPicture(
      MakeBitmap(10, 6, [](int32_t x, int32_t y) { return (x + y) % 2 ? 0xD8D8D8u : 0xB0B8C8u; }));
  ui::Label& title = ui::Create<ui::Label>(form);
  title.SetParent(&form);
  title.SetBounds(4, 0, 0, 0);
  title.Font().SetHeight(-19);
  title.Font().SetColor(ui::clBlack);
  title.SetColor(ui::clSilver);
  title.SetCaption("Fluxomatic");
  ui::Label& about = ui::Create<ui::Label>(form);
  about.SetParent(&form);
  about.SetBounds(170, 4, 0, 0);
  about.Font().SetColor(ui::clGray);
  about.SetTransparent(true);
  about.SetCaption("About");

  ui::Panel& panel = ui::Create<ui::Panel>(form);
  panel.SetParent(&form);
  panel.SetBounds(0, 26, 220, 94);
  panel.SetColor(ui::clSilver);
  panel.SetBevelOuter(ui::bvLowered);
  panel.SetCaption("Panel1");
  ui::TextBox& memo = ui::Create<ui::TextBox>(form);
  memo.SetParent(&panel);
  memo.SetBounds(8, 4, 150, 60);
  memo.SetReadOnly(true);
  memo.SetScrollBars(ui::ssVertical);
  memo.SetText("\n  (c) 2004\n\n  Thanks to;\n  everyone\n\n  end");
  ui::Label& value = ui::Create<ui::Label>(form);
  value.SetParent(&panel);
  value.SetBounds(8, 72, 0, 0);
  value.Font().SetColor(ui::clBlack);
  value.SetColor(ui::clSilver);
  value.SetCaption("Value 127");
  form.Show();
  backend.Pump();

  const ui::Surface drawn = FrameToSurface(*backend.FrameOf(form.Handle()));
  EXPECT_TRUE(testsupport::MatchesGoldenFile(ColoursOf(drawn),
                                             std::string(FLUX_GOLDEN_DIR) + "/form_sample.png"));
  EXPECT_EQ(drawn, FrameToSurface(*backend.FrameOf(form.Handle())));
}

}  // namespace
}  // namespace uitest
