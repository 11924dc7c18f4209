#pragma once
// A multi-line text box with a sunken border and an optional vertical scroll bar that works
// with the mouse (arrows, track, dragged thumb), the wheel, the arrow and page keys, and
// WM_VSCROLL. Read-only, it only scrolls; otherwise typed characters are added at the end.

#include <string>
#include <string_view>
#include <vector>

#include "ui/controls/WindowedControl.h"

namespace ui {

enum TScrollStyle : uint8_t { ssNone, ssVertical };

class TextBox : public WindowedControl {
 public:
  explicit TextBox(Component* owner);

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  const std::vector<std::string>& Lines() const { return m_Lines; }
  void SetLines(std::vector<std::string> lines);
  // The lines joined by "\r\n"; setting splits at "\r\n", "\n" or "\r".
  std::string Text() const;
  void SetText(const std::string& text);
  bool ReadOnly() const { return m_ReadOnly; }
  void SetReadOnly(bool readOnly) { m_ReadOnly = readOnly; }
  TScrollStyle ScrollBars() const { return m_ScrollBars; }
  void SetScrollBars(TScrollStyle scrollBars);

  int32_t TopLine() const { return m_TopLine; }
  void SetTopLine(int32_t line);     // kept within 0..MaxTopLine
  int32_t VisibleLineCount() const;  // lines that fit whole
  int32_t MaxTopLine() const;

 protected:
  void Dispatch(Message& message) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;

 private:
  struct ScrollBarLayout {
    Rect bar, up, down, track, thumb;
    bool hasThumb;
  };
  int32_t LineHeight() const;
  Rect TextRect() const;
  ScrollBarLayout ScrollBar() const;
  void Scroll(uint16_t code, int32_t position);
  void PaintScrollBar(ui::Canvas& canvas, const ScrollBarLayout& layout);

  std::vector<std::string> m_Lines;
  bool m_ReadOnly = false;
  TScrollStyle m_ScrollBars = ssNone;
  int32_t m_TopLine = 0;
  int32_t m_ThumbGrip = -1;  // while the thumb is dragged: the press point below its top
};

}  // namespace ui
