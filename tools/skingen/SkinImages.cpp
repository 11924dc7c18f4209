#include "SkinImages.h"

namespace skingen {
namespace {

constexpr uint32_t Opaque(uint8_t red, uint8_t green, uint8_t blue) {
  return 0xFF000000u | uint32_t{red} << 16 | uint32_t{green} << 8 | blue;
}

// The track, one grey a row from the top: dark rim, a lit upper face, the groove (row 8), and
// the lit lower face.
constexpr uint8_t kTrackRows[] = {0x12, 0x16, 0x41, 0x58, 0x72, 0x89, 0x54, 0x2C,
                                  0x6F, 0xA8, 0xA7, 0xA3, 0x99, 0xC2, 0xA2};

ui::Surface Track() {
  ui::Surface track(14, 15);
  for (int32_t y = 0; y < track.Height(); ++y) {
    for (int32_t x = 0; x < track.Width(); ++x) track.SetPixel(x, y, Grey(kTrackRows[y]));
  }
  return track;
}

// The left end: a near-black rim on the outer column and, like the track, on the top two rows;
// every other row brightens from the rim to the track's own grey in the last column, so that
// the end meets the track without a seam (and its 8th row ends in the track's dark groove).
ui::Surface TrackLeftEnd() {
  constexpr uint8_t kRim = 0x10;
  ui::Surface end(6, 15);
  const int32_t last = end.Width() - 1;
  for (int32_t y = 0; y < end.Height(); ++y) {
    for (int32_t x = 0; x < end.Width(); ++x) {
      const int32_t level = x == 0  ? kRim
                            : y < 2 ? kTrackRows[y]
                                    : kRim + (kTrackRows[y] - kRim) * x / last;
      end.SetPixel(x, y, Grey(static_cast<uint8_t>(level)));
    }
  }
  return end;
}

ui::Surface Mirrored(const ui::Surface& picture) {
  ui::Surface mirror(picture.Width(), picture.Height());
  for (int32_t y = 0; y < picture.Height(); ++y) {
    for (int32_t x = 0; x < picture.Width(); ++x) {
      mirror.SetPixel(picture.Width() - 1 - x, y, picture.Pixel(x, y));
    }
  }
  return mirror;
}

// The knob, drawn from its left half and mirrored about the middle column (the 10th): shaded
// wings, a dark edge, light bands brightening inwards, and a white / 0x55 / white centre line.
// The top and bottom rows are a mid grey rim.
ui::Surface Pointer() {
  constexpr uint8_t kLeftHalf[] = {0x5C, 0x78, 0x94, 0x48, 0xB4, 0xC6, 0xD8, 0xEA, 0xFF, 0x55};
  constexpr uint8_t kRim = 0x80;
  ui::Surface pointer(19, 13);
  const int32_t middle = pointer.Width() / 2;
  for (int32_t y = 0; y < pointer.Height(); ++y) {
    const bool rim = y == 0 || y == pointer.Height() - 1;
    for (int32_t x = 0; x <= middle; ++x) {
      const uint32_t pixel = Grey(rim ? kRim : kLeftHalf[x]);
      pointer.SetPixel(x, y, pixel);
      pointer.SetPixel(pointer.Width() - 1 - x, y, pixel);
    }
  }
  return pointer;
}

ui::Surface Filled(int32_t width, int32_t height, uint32_t pixel) {
  ui::Surface picture(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) picture.SetPixel(x, y, pixel);
  }
  return picture;
}

// Bright green, lightest in the middle and darker towards the corners.
ui::Surface IndicatorPointer() {
  constexpr uint32_t kShades[] = {Opaque(0x70, 0xFF, 0x70), Opaque(0x30, 0xF0, 0x30),
                                  Opaque(0x10, 0xC8, 0x10)};
  ui::Surface pointer(4, 4);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      const int32_t fromMiddle = (x == 0 || x == 3) + (y == 0 || y == 3);
      pointer.SetPixel(x, y, kShades[fromMiddle]);
    }
  }
  return pointer;
}

// A list of `count` one-pixel placeholders, named after their index.
std::vector<NamedPicture> Placeholders(int count) {
  std::vector<NamedPicture> images;
  for (int index = 0; index < count; ++index) {
    images.push_back({"Placeholder " + std::to_string(index), Filled(1, 1, Grey(0x80))});
  }
  return images;
}

}  // namespace

uint32_t Grey(uint8_t level) {
  return Opaque(level, level, level);
}

std::vector<NamedPicture> SliderSkinImages() {
  std::vector<NamedPicture> images = Placeholders(64);
  const ui::Surface leftEnd = TrackLeftEnd();
  images[54] = {"SliderHrz1", leftEnd};
  images[55] = {"SliderHrz2", Mirrored(leftEnd)};
  images[56] = {"SliderHrzMain", Track()};
  images[57] = {"SliderHrzP1", Pointer()};
  return images;
}

std::vector<NamedPicture> IndicatorSkinImages() {
  std::vector<NamedPicture> images = Placeholders(6);
  images[4] = {"main", Filled(4, 4, Opaque(0, 0, 0))};
  images[5] = {"pointer", IndicatorPointer()};
  return images;
}

}  // namespace skingen
