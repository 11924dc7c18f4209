#include "ui/controls/TextBox.h"

#include <algorithm>

#include "ui/graphics/Frame3D.h"
#include "ui/model/TypeBuilder.h"

namespace ui {
namespace {

constexpr int32_t kBorder = 2;  // the sunken edge
constexpr int32_t kScrollBarWidth = 16;
constexpr int32_t kMinThumb = 8;
constexpr int32_t kWheelLines = 3;  // per notch
constexpr int32_t kTextMargin = 2;

void RaisedBox(Canvas& canvas, const Rect& r) {
  canvas.brush = {clBtnFace, BrushStyle::Solid};
  canvas.FillRect(r);
  canvas.brush.color = clBtnHighlight;
  canvas.FillRect({r.Left, r.Top, r.Right - 1, r.Top + 1});
  canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom - 1});
  canvas.brush.color = clBlack;
  canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
  canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
  canvas.brush.color = clBtnShadow;
  canvas.FillRect({r.Left + 1, r.Bottom - 2, r.Right - 1, r.Bottom - 1});
  canvas.FillRect({r.Right - 2, r.Top + 1, r.Right - 1, r.Bottom - 1});
}

// A small solid triangle pointing up or down, centred in r.
void Arrow(Canvas& canvas, const Rect& r, bool up, Color color) {
  canvas.brush = {color, BrushStyle::Solid};
  const int32_t cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
  for (int32_t row = 0; row < 4; ++row) {
    const int32_t y = up ? cy - 2 + row : cy + 1 - row;
    canvas.FillRect({cx - row, y, cx + row + 1, y + 1});
  }
}

}  // namespace

TextBox::TextBox(Component* owner) : WindowedControl(owner) {
  SetControlStyle(ControlStyle() | csOpaque);
  SetColor(clWindow);
  SetTabStop(true);
  SetCursor(crIBeam);
  SetBounds(0, 0, 185, 89);
}

const TypeInfo& TextBox::StaticType() {
  using T = TextBox;
  static const TypeInfo type =
      TypeBuilder<T>("TextBox", WindowedControl::StaticType())
          .Integer("Color", &T::Color, &T::SetColor)
          .Idents(ColorIdents())
          .Default(clWindow)
          .Object("Font", [](T& box) -> ControlFont& { return box.Font(); })
          .Boolean("ReadOnly", &T::ReadOnly, &T::SetReadOnly)
          .Default(false)
          .Enumeration("ScrollBars", &T::ScrollBars, &T::SetScrollBars, {"ssNone", "ssVertical"})
          .Default(ssNone)
          .String("Text", &T::Text, &T::SetText)
          .Default("")
          .Creatable()
          .Build();
  return type;
}

void TextBox::SetLines(std::vector<std::string> lines) {
  m_Lines = std::move(lines);
  m_TopLine = std::min(m_TopLine, MaxTopLine());
  Invalidate();
}

std::string TextBox::Text() const {
  std::string text;
  for (std::size_t i = 0; i < m_Lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += m_Lines[i];
  }
  return text;
}

void TextBox::SetText(const std::string& text) {
  std::vector<std::string> lines;
  if (!text.empty()) lines.emplace_back();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  SetLines(std::move(lines));
}

void TextBox::SetScrollBars(TScrollStyle scrollBars) {
  if (m_ScrollBars == scrollBars) return;
  m_ScrollBars = scrollBars;
  Invalidate();
}

int32_t TextBox::LineHeight() const {
  return std::max(TextExtent(Font().Value(), "").cy, 1);
}

Rect TextBox::TextRect() const {
  const int32_t right = Width() - kBorder - (m_ScrollBars == ssVertical ? kScrollBarWidth : 0);
  return {kBorder, kBorder, std::max(right, kBorder), std::max(Height() - kBorder, kBorder)};
}

int32_t TextBox::VisibleLineCount() const {
  return std::max(TextRect().Height() / LineHeight(), 1);
}

int32_t TextBox::MaxTopLine() const {
  return std::max(static_cast<int32_t>(m_Lines.size()) - VisibleLineCount(), 0);
}

void TextBox::SetTopLine(int32_t line) {
  line = std::clamp(line, 0, MaxTopLine());
  if (line == m_TopLine) return;
  m_TopLine = line;
  Invalidate();
}

TextBox::ScrollBarLayout TextBox::ScrollBar() const {
  ScrollBarLayout l{};
  l.bar = {Width() - kBorder - kScrollBarWidth, kBorder, Width() - kBorder, Height() - kBorder};
  const int32_t arrow = std::min(kScrollBarWidth, std::max(l.bar.Height(), 0) / 2);
  l.up = {l.bar.Left, l.bar.Top, l.bar.Right, l.bar.Top + arrow};
  l.down = {l.bar.Left, l.bar.Bottom - arrow, l.bar.Right, l.bar.Bottom};
  l.track = {l.bar.Left, l.up.Bottom, l.bar.Right, l.down.Top};
  const int32_t total = static_cast<int32_t>(m_Lines.size());
  const int32_t maxTop = MaxTopLine();
  const int32_t trackLength = l.track.Height();
  l.hasThumb = maxTop > 0 && trackLength >= kMinThumb;
  if (l.hasThumb) {
    const int32_t length =
        std::clamp(trackLength * VisibleLineCount() / std::max(total, 1), kMinThumb, trackLength);
    const int32_t top = l.track.Top + (trackLength - length) * m_TopLine / maxTop;
    l.thumb = {l.bar.Left, top, l.bar.Right, top + length};
  }
  return l;
}

void TextBox::Scroll(uint16_t code, int32_t position) {
  switch (code) {
    case SB_LINEUP:
      SetTopLine(m_TopLine - 1);
      break;
    case SB_LINEDOWN:
      SetTopLine(m_TopLine + 1);
      break;
    case SB_PAGEUP:
      SetTopLine(m_TopLine - VisibleLineCount());
      break;
    case SB_PAGEDOWN:
      SetTopLine(m_TopLine + VisibleLineCount());
      break;
    case SB_THUMBTRACK:
      SetTopLine(position);
      break;
    case SB_TOP:
      SetTopLine(0);
      break;
    case SB_BOTTOM:
      SetTopLine(MaxTopLine());
      break;
    default:
      break;
  }
}

void TextBox::Dispatch(Message& message) {
  switch (message.msg) {
    case WM_GETDLGCODE:
      message.result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
      return;
    case WM_VSCROLL:
      Scroll(static_cast<uint16_t>(message.wParam & 0xFFFF),
             static_cast<int16_t>((message.wParam >> 16) & 0xFFFF));
      return;
    case WM_MOUSEWHEEL: {
      const auto delta = static_cast<int16_t>((message.wParam >> 16) & 0xFFFF);
      SetTopLine(m_TopLine - delta * kWheelLines / WHEEL_DELTA);
      message.result = 1;
      return;
    }
    case CM_FONTCHANGED:
      m_TopLine = std::min(m_TopLine, MaxTopLine());
      Invalidate();
      return;
    default:
      WindowedControl::Dispatch(message);
  }
}

void TextBox::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  WeakRef<TextBox> self(this);
  if (button == mbLeft && !Focused()) SetFocus();
  if (!self) return;
  if (button == mbLeft && m_ScrollBars == ssVertical) {
    const ScrollBarLayout l = ScrollBar();
    if (l.bar.Contains(x, y)) {
      if (l.up.Contains(x, y)) {
        Scroll(SB_LINEUP, 0);
      } else if (l.down.Contains(x, y)) {
        Scroll(SB_LINEDOWN, 0);
      } else if (l.hasThumb && y < l.thumb.Top) {
        Scroll(SB_PAGEUP, 0);
      } else if (l.hasThumb && y >= l.thumb.Bottom) {
        Scroll(SB_PAGEDOWN, 0);
      } else if (l.hasThumb) {
        m_ThumbGrip = y - l.thumb.Top;
      }
    }
  }
  WindowedControl::MouseDown(button, shift, x, y);
}

void TextBox::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (m_ThumbGrip >= 0) {
    const ScrollBarLayout l = ScrollBar();
    const int32_t room = l.track.Height() - l.thumb.Height();
    if (l.hasThumb && room > 0) {
      const int32_t offset = std::clamp(y - m_ThumbGrip - l.track.Top, 0, room);
      Scroll(SB_THUMBTRACK, (offset * MaxTopLine() + room / 2) / room);
    }
  }
  WindowedControl::MouseMove(shift, x, y);
}

void TextBox::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft) m_ThumbGrip = -1;
  WindowedControl::MouseUp(button, shift, x, y);
}

void TextBox::KeyDown(uint16_t& key, TShiftState shift) {
  WindowedControl::KeyDown(key, shift);
  switch (key) {
    case VK_UP:
      Scroll(SB_LINEUP, 0);
      break;
    case VK_DOWN:
      Scroll(SB_LINEDOWN, 0);
      break;
    case VK_PRIOR:
      Scroll(SB_PAGEUP, 0);
      break;
    case VK_NEXT:
      Scroll(SB_PAGEDOWN, 0);
      break;
    default:
      break;
  }
}

void TextBox::KeyPress(char& key) {
  WindowedControl::KeyPress(key);
  if (m_ReadOnly || key == 0) return;
  std::vector<std::string> lines = m_Lines;
  if (lines.empty()) lines.emplace_back();
  if (key == '\r') {
    lines.emplace_back();
  } else if (key == '\b') {
    if (!lines.back().empty()) {
      lines.back().pop_back();
    } else if (lines.size() > 1) {
      lines.pop_back();
    }
  } else if (static_cast<unsigned char>(key) >= 0x20) {
    lines.back() += key;
  } else {
    return;
  }
  SetLines(std::move(lines));
  SetTopLine(MaxTopLine());  // the end, where the text grows, stays in view
}

void TextBox::Paint() {
  ui::Canvas& canvas = Canvas();
  // Sunken edge: shadow and dark outside, highlight and face inside.
  Rect edge = ClientRect();
  Frame3D(canvas, edge, clBtnShadow, clBtnHighlight, 1);
  Frame3D(canvas, edge, clBlack, clBtnFace, 1);

  const Rect text = TextRect();
  canvas.brush = {Color(), BrushStyle::Solid};
  canvas.FillRect(text);
  DeviceContext& dc = *canvas.Handle();
  dc.Save();
  dc.IntersectClipRect(text);
  canvas.font = Font().Value();
  canvas.brush.style = BrushStyle::Clear;
  const int32_t height = LineHeight();
  for (int32_t i = m_TopLine, y = text.Top;
       i < static_cast<int32_t>(m_Lines.size()) && y < text.Bottom; ++i, y += height) {
    canvas.TextOut(text.Left + kTextMargin, y, m_Lines[static_cast<std::size_t>(i)]);
  }
  dc.Restore();
  if (m_ScrollBars == ssVertical) PaintScrollBar(canvas, ScrollBar());
}

void TextBox::PaintScrollBar(ui::Canvas& canvas, const ScrollBarLayout& l) {
  // The track in the classic checked pattern of highlight and face.
  canvas.brush = {clBtnHighlight, BrushStyle::Solid};
  canvas.FillRect(l.track);
  canvas.brush.color = clBtnFace;
  for (int32_t y = l.track.Top; y < l.track.Bottom; ++y) {
    for (int32_t x = l.track.Left + ((y + l.track.Left) & 1); x < l.track.Right; x += 2) {
      canvas.FillRect({x, y, x + 1, y + 1});
    }
  }
  const ui::Color arrows = l.hasThumb ? clBlack : clBtnShadow;
  RaisedBox(canvas, l.up);
  Arrow(canvas, l.up, true, arrows);
  RaisedBox(canvas, l.down);
  Arrow(canvas, l.down, false, arrows);
  if (l.hasThumb) RaisedBox(canvas, l.thumb);
}

}  // namespace ui
