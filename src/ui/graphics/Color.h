#pragma once
// Colours as the window system gives them: 0x00BBGGRR, red in the low byte. A value with the
// top bit set names a system colour by its index in the low byte and is resolved through
// ColorToRGB before use.

#include <cstdint>
#include <span>

#include "ui/model/TypeInfo.h"

namespace ui {

using Color = uint32_t;

inline constexpr Color clBlack = 0x000000;
inline constexpr Color clMaroon = 0x000080;
inline constexpr Color clGreen = 0x008000;
inline constexpr Color clOlive = 0x008080;
inline constexpr Color clNavy = 0x800000;
inline constexpr Color clPurple = 0x800080;
inline constexpr Color clTeal = 0x808000;
inline constexpr Color clGray = 0x808080;
inline constexpr Color clSilver = 0xC0C0C0;
inline constexpr Color clRed = 0x0000FF;
inline constexpr Color clLime = 0x00FF00;
inline constexpr Color clYellow = 0x00FFFF;
inline constexpr Color clBlue = 0xFF0000;
inline constexpr Color clFuchsia = 0xFF00FF;
inline constexpr Color clAqua = 0xFFFF00;
inline constexpr Color clWhite = 0xFFFFFF;

inline constexpr Color kSystemColorFlag = 0x80000000;
inline constexpr Color clWindow = kSystemColorFlag | 5;
inline constexpr Color clWindowText = kSystemColorFlag | 8;
inline constexpr Color clHighlight = kSystemColorFlag | 13;
inline constexpr Color clHighlightText = kSystemColorFlag | 14;
inline constexpr Color clBtnFace = kSystemColorFlag | 15;
inline constexpr Color clBtnShadow = kSystemColorFlag | 16;
inline constexpr Color clGrayText = kSystemColorFlag | 17;
inline constexpr Color clBtnText = kSystemColorFlag | 18;
inline constexpr Color clBtnHighlight = kSystemColorFlag | 20;

// The RGB value of a colour: system colours from the classic desktop scheme (the same on
// every platform), an unknown system index as black, anything else as it is.
Color ColorToRGB(Color color);

inline constexpr Color RGB(uint8_t red, uint8_t green, uint8_t blue) {
  return Color{red} | Color{green} << 8 | Color{blue} << 16;
}
inline constexpr uint8_t RedOf(Color color) {
  return static_cast<uint8_t>(color);
}
inline constexpr uint8_t GreenOf(Color color) {
  return static_cast<uint8_t>(color >> 8);
}
inline constexpr uint8_t BlueOf(Color color) {
  return static_cast<uint8_t>(color >> 16);
}

// Image pixels are 0xMMRRGGBB: red and blue swap places; the mask byte is cleared / dropped.
inline constexpr uint32_t ColorToPixel(Color rgb) {
  return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
inline constexpr Color PixelToColor(uint32_t pixel) {
  return (pixel & 0xFF) << 16 | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}

// Names of the colours above ("clRed", "clBtnFace", ...) for stored properties.
std::span<const IntegerIdent> ColorIdents();

}  // namespace ui
