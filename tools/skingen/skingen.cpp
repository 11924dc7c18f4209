// Draws the editor's skin and writes it into the window's stored description: the two image
// lists as whole components, the two pictures as their JPEG data. Everything else in the
// description is kept as it stands.
//
//   skingen <description> [--check] [--previews <folder>]
//
// --check compares instead of writing and fails when the description is not what this tool
// makes of it. --previews also writes each used image and picture enlarged eight times as PNG.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "DIB/cDIBImageList.h"
#include "DescriptionSplice.h"
#include "SkinImages.h"
#include "SkinPictures.h"
#include "png/Png.h"
#include "testsupport/ui/JpegEncoder.h"
#include "testsupport/ui/SurfacePicture.h"
#include "ui/controls/PictureBox.h"
#include "ui/graphics/Picture.h"
#include "ui/model/TextForm.h"

namespace skingen {
namespace {

constexpr int32_t kPreviewScale = 8;
constexpr int kJpegQuality = 90;

std::string ImageListText(const char* name, const std::vector<NamedPicture>& images) {
  TDIBImageList list(nullptr);
  list.SetName(name);
  for (const NamedPicture& image : images) {
    TDIBImagesItem& item = list.DIBImages().Add();
    TMemoryDIB& dib = item.DIB();
    dib.SetSize(static_cast<uint16_t>(image.picture.Width()),
                static_cast<uint16_t>(image.picture.Height()));
    // Both keep their rows bottom-up without padding.
    std::copy_n(image.picture.Bits(), image.picture.Width() * image.picture.Height(), dib.Pixels());
    dib.FillAlpha(255);
    item.SetDisplayName(image.name);
  }
  return ui::WriteRootToText(list);
}

// A picture box holding the JPEG data, as text.
std::string PictureHolderText(const std::vector<uint8_t>& jpeg) {
  ui::PictureBox holder(nullptr);
  holder.LoadPicture(jpeg);
  return ui::WriteRootToText(holder);
}

ui::Surface Enlarged(const ui::Surface& picture) {
  ui::Surface large(picture.Width() * kPreviewScale, picture.Height() * kPreviewScale);
  for (int32_t y = 0; y < large.Height(); ++y) {
    for (int32_t x = 0; x < large.Width(); ++x) {
      large.SetPixel(x, y, picture.Pixel(x / kPreviewScale, y / kPreviewScale));
    }
  }
  return large;
}

void WritePreview(const std::string& folder, const std::string& name, const ui::Surface& picture) {
  const std::string file = folder + "/" + name + ".png";
  png::WriteFile(file, uitest::ColoursOf(Enlarged(picture)));
}

ui::Surface Decoded(const std::vector<uint8_t>& jpeg) {
  ui::Picture picture;
  picture.LoadFromMemory(jpeg);
  return picture.Pixels();
}

int Run(const std::string& descriptionFile, bool check, const std::string& previews) {
  std::ifstream in(descriptionFile, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + descriptionFile);
  std::ostringstream read;
  read << in.rdbuf();
  const std::string original = read.str();

  const std::vector<NamedPicture> sliderImages = SliderSkinImages();
  const std::vector<NamedPicture> indicatorImages = IndicatorSkinImages();
  const std::vector<uint8_t> background = uitest::EncodeJpeg(BackgroundTexture(), kJpegQuality);
  const std::vector<uint8_t> close = uitest::EncodeJpeg(CloseSymbol(), kJpegQuality);

  std::string made = original;
  made = ReplaceComponent(made, "TDIBImageList DIBImageList1",
                          ImageListText("DIBImageList1", sliderImages));
  made = ReplaceComponent(made, "TDIBImageList DIBImageList2",
                          ImageListText("DIBImageList2", indicatorImages));
  made = ReplaceBinaryProperty(made, "PictureBox bg", "PictureData", PictureHolderText(background));
  made = ReplaceBinaryProperty(made, "PictureBox close", "PictureData", PictureHolderText(close));

  if (!previews.empty()) {
    for (std::size_t index = 54; index <= 57; ++index) {
      WritePreview(previews, sliderImages[index].name, sliderImages[index].picture);
    }
    for (std::size_t index = 4; index <= 5; ++index) {
      WritePreview(previews, "indicator_" + indicatorImages[index].name,
                   indicatorImages[index].picture);
    }
    WritePreview(previews, "picture_bg", Decoded(background));
    WritePreview(previews, "picture_close", Decoded(close));
  }

  if (check) {
    if (made == original) return 0;
    std::cerr << descriptionFile << " differs from the skin this tool draws; run skingen on it\n";
    return 1;
  }
  std::ofstream out(descriptionFile, std::ios::binary);
  out << made;
  if (!out) throw std::runtime_error("cannot write " + descriptionFile);
  return 0;
}

}  // namespace
}  // namespace skingen

int main(int argc, char** argv) {
  std::string description, previews;
  bool check = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--check") {
      check = true;
    } else if (argument == "--previews" && i + 1 < argc) {
      previews = argv[++i];
    } else if (description.empty() && argument.rfind("--", 0) != 0) {
      description = argument;
    } else {
      description.clear();
      break;
    }
  }
  if (description.empty()) {
    std::cerr << "usage: skingen <description> [--check] [--previews <folder>]\n";
    return 2;
  }
  try {
    return skingen::Run(description, check, previews);
  } catch (const std::exception& error) {
    std::cerr << "skingen: " << error.what() << "\n";
    return 1;
  }
}
