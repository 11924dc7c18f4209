#include <gtest/gtest.h>

#include <memory>

#include "DIB/cDIBBorder.h"
#include "DIB/cDIBImageList.h"

namespace {

constexpr uint32_t kBackground = 0x00000000;
constexpr uint32_t kControls = 0x00AAAAAA;

// Pixel form of the colour an image of the test list is filled with.
uint32_t PixelOf(ui::Color color) {
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// Stands in for the container: shrinks its client area by the border and paints the border
// under or over its controls (which fill the client area), forgetting a removed border.
class TBorderHost : public ui::Component {
 public:
  TBorderHost(ui::Component* owner, uint16_t width, uint16_t height)
      : ui::Component(owner), backBuffer(width, height) {}
  void SetDIBBorder(TDIBBorder* border) {
    m_Border = border;
    if (border != nullptr) border->FreeNotification(*this);
  }
  ui::Rect ClientRect() const {
    ui::Rect rect{0, 0, backBuffer.Width(), backBuffer.Height()};
    if (m_Border != nullptr) m_Border->AdjustClientRect(rect);
    return rect;
  }
  void Paint(bool borderOverControls) {
    backBuffer.Fill(ui::clBlack);
    const ui::Rect whole{0, 0, backBuffer.Width(), backBuffer.Height()};
    if (m_Border != nullptr && !borderOverControls) m_Border->Draw(backBuffer, whole);
    const ui::Rect client = ClientRect();
    backBuffer.FillRect(0xAAAAAA, client.Left, client.Top, client.Width(), client.Height());
    if (m_Border != nullptr && borderOverControls) m_Border->Draw(backBuffer, whole);
  }
  uint32_t At(int32_t x, int32_t y) const { return *(backBuffer.ScanLine(y) + x) & 0xFFFFFF; }
  void Notification(ui::Component& component, ui::Operation operation) override {
    ui::Component::Notification(component, operation);
    if (operation == ui::Operation::Remove && &component == m_Border) m_Border = nullptr;
  }

  TWinDIB backBuffer;

 private:
  TDIBBorder* m_Border = nullptr;
};

class BorderTest : public ::testing::Test {
 protected:
  BorderTest() {
    m_List = &ui::Create<TDIBImageList>(m_Form);
    m_Border = &ui::Create<TDIBBorder>(m_Form);
    m_Border->SetDIBImageList(m_List);
  }
  // Adds a width x height image of one colour; with `stripes`, each row (top row 0) gets the
  // colour plus its row number, so that the drawn rows can be told apart.
  int32_t AddImage(uint16_t width, uint16_t height, ui::Color color, bool stripes = false) {
    TMemoryDIB& image = m_List->DIBImages().Add().DIB();
    image.SetSize(width, height);
    image.Fill(color);
    for (int32_t row = 0; stripes && row < height; ++row) {
      image.FillRect(color + static_cast<ui::Color>(row), 0, row, width, 1);
    }
    return m_List->DIBImages().Count() - 1;
  }

  ui::Component m_Form{nullptr};
  TDIBImageList* m_List;
  TDIBBorder* m_Border;
};

TEST_F(BorderTest, AMiddleOnlyEdgeTilesFromTheCornerAndCutsTheLastCopy) {
  TBorderHost host(nullptr, 8, 14);
  m_Border->BorderLeft().ImageMiddle().SetDIBIndex(AddImage(3, 4, 0x100000, true));
  // Drawn within the top 10 rows only: copies at 0, 4 and 8, the last cut to 2 rows.
  host.backBuffer.Fill(ui::clBlack);
  m_Border->Draw(host.backBuffer, {0, 0, 8, 10});
  for (int32_t y = 0; y < 14; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const uint32_t expected =
          (x < 3 && y < 10) ? PixelOf(0x100000 + static_cast<uint32_t>(y % 4)) : kBackground;
      ASSERT_EQ(host.At(x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(BorderTest, AStretchedMiddleFillsTheRoomBetweenTheEndPieces) {
  TBorderHost host(nullptr, 12, 6);
  TDIBHorzBorderEdge& top = m_Border->BorderTop();
  top.ImageLeft().SetDIBIndex(AddImage(2, 3, ui::clRed));
  top.ImageRight().SetDIBIndex(AddImage(3, 2, ui::clBlue));
  top.ImageMiddle().SetDIBIndex(AddImage(1, 1, ui::clLime));
  top.SetDrawStyle(dsStretch);
  EXPECT_EQ(top.ImageSize(), 3);
  EXPECT_EQ(top.Size(), 3);

  host.SetDIBBorder(m_Border);
  host.Paint(true);
  EXPECT_EQ(host.ClientRect(), (ui::Rect{0, 3, 12, 6}));
  for (int32_t x = 0; x < 12; ++x) {
    const uint32_t red = PixelOf(ui::clRed);
    const uint32_t blue = PixelOf(ui::clBlue);
    EXPECT_EQ(host.At(x, 0), x < 2 ? red : x >= 9 ? blue : PixelOf(ui::clLime)) << x;
    EXPECT_EQ(host.At(x, 1), x < 2 ? red : x >= 9 ? blue : kBackground) << x;
    EXPECT_EQ(host.At(x, 2), x < 2 ? red : kBackground) << x;
    EXPECT_EQ(host.At(x, 3), kControls) << x;
  }
}

TEST_F(BorderTest, TheClientAreaShrinksByTheStoredSizeWhileEdgesUseTheirImages) {
  TBorderHost host(nullptr, 30, 20);
  host.SetDIBBorder(m_Border);
  m_Border->BorderLeft().ImageMiddle().SetDIBIndex(AddImage(10, 1, ui::clRed));
  m_Border->BorderLeft().SetAutoCalcSize(false);
  m_Border->BorderLeft().SetSize(4);
  m_Border->BorderTop().ImageMiddle().SetDIBIndex(AddImage(1, 2, ui::clBlue));
  EXPECT_EQ(host.ClientRect(), (ui::Rect{4, 2, 30, 20}));

  host.Paint(true);  // border over the controls
  EXPECT_EQ(host.At(9, 0), PixelOf(ui::clRed)) << "the side edge runs the full height";
  EXPECT_EQ(host.At(10, 0), PixelOf(ui::clBlue)) << "the top edge starts past the side image";
  EXPECT_EQ(host.At(6, 10), PixelOf(ui::clRed));
  EXPECT_EQ(host.At(10, 10), kControls);

  host.Paint(false);  // border under the controls
  EXPECT_EQ(host.At(6, 10), kControls);
  EXPECT_EQ(host.At(2, 10), PixelOf(ui::clRed));

  m_Border->BorderLeft().SetAutoCalcSize(true);
  EXPECT_EQ(host.ClientRect().Left, 10);
}

TEST_F(BorderTest, RemovingTheListLeavesEveryEdgeWithoutImages) {
  m_Border->BorderRight().ImageTop().SetDIBIndex(AddImage(5, 5, ui::clRed));
  m_Border->BorderBottom().ImageMiddle().SetDIBIndex(AddImage(1, 6, ui::clBlue));
  EXPECT_EQ(m_Border->BorderRight().ImageSize(), 5);
  EXPECT_EQ(m_Border->BorderBottom().ImageLeft().DIBImageList(), m_List);

  delete m_List;

  EXPECT_EQ(m_Border->DIBImageList(), nullptr);
  for (const TDIBBorderEdge* edge : {static_cast<const TDIBBorderEdge*>(&m_Border->BorderBottom()),
                                     static_cast<const TDIBBorderEdge*>(&m_Border->BorderLeft()),
                                     static_cast<const TDIBBorderEdge*>(&m_Border->BorderRight()),
                                     static_cast<const TDIBBorderEdge*>(&m_Border->BorderTop())}) {
    EXPECT_EQ(edge->FirstEndImage().DIBImageList(), nullptr);
    EXPECT_EQ(edge->SecondEndImage().DIBImageList(), nullptr);
    EXPECT_EQ(edge->ImageMiddle().DIBImageList(), nullptr);
    EXPECT_EQ(edge->ImageSize(), 0);
  }
  TBorderHost host(nullptr, 8, 8);
  host.SetDIBBorder(m_Border);
  host.Paint(true);
  EXPECT_EQ(host.At(0, 0), kControls);
}

}  // namespace
