#include "DIB/cDIBFormat.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "DIB/DIBLittleEndian.h"
#include "ui/model/Stream.h"

namespace {

constexpr std::size_t kRsbHeaderSize = 28;
constexpr const char* kRsbDescription = "RSB 16-bit game bitmap";

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) ==
           std::toupper(static_cast<unsigned char>(y));
  });
}

// The bits of each channel in a 16-bit pixel: blue lowest, then green, red and the mask.
struct RsbLayout {
  uint32_t red, green, blue, mask;

  // Every channel fits a byte, the colours fill at least a byte and all fit the 16 bits, so
  // every shift below stays in range.
  bool IsSupported() const {
    return red <= 8 && green <= 8 && blue <= 8 && mask <= 8 && blue + green >= 8 &&
           red + green + blue + mask <= 16;
  }

  static uint32_t TopBits(uint32_t count) { return (0xFFu << (8 - count)) & 0xFFu; }

  uint32_t Decode(uint32_t v) const {
    const uint32_t b = (v << (8 - blue)) & 0xFF;
    const uint32_t g = (v >> (blue + green - 8)) & TopBits(green);
    const uint32_t r = (v >> (red + green + blue - 8)) & TopBits(red);
    uint32_t m = 0;
    if (mask != 0) {  // spread over 0..255, so that a full mask is opaque
      const uint32_t levels = (1u << mask) - 1;
      m = ((v >> (red + green + blue)) & levels) * 255 / levels;
    }
    return m << 24 | r << 16 | g << 8 | b;
  }
};

uint16_t EncodeMasked(uint32_t p) {
  return static_cast<uint16_t>((p >> 28) << 12 | ((p >> 20) & 0xF) << 8 | ((p >> 8) & 0xF0) |
                               ((p >> 4) & 0xF));
}

uint16_t EncodeOpaque(uint32_t p) {
  return static_cast<uint16_t>(((p >> 19) & 0x1F) << 11 | ((p >> 10) & 0x3F) << 5 |
                               ((p >> 3) & 0x1F));
}

}  // namespace

// --- TAbstractDIBFormat ----------------------------------------------------------------------

bool TAbstractDIBFormat::AcceptsLoadExtension(const std::string&) const {
  return false;
}

bool TAbstractDIBFormat::AcceptsSaveExtension(const std::string&) const {
  return false;
}

void TAbstractDIBFormat::AddSaveFilter(std::vector<std::string>&) const {}

void TAbstractDIBFormat::AddLoadFilter(std::vector<std::string>&) const {}

TAbstractSuperDIB& TAbstractDIBFormat::Target() const {
  ui::Assert(m_DIB != nullptr, "DIB\\cDIBFormat");
  return *m_DIB;
}

void TAbstractDIBFormat::ReportProgress(int32_t percent) {
  if (m_OnFormatProgress) m_OnFormatProgress(this, percent);
}

// --- TDIBRSBFormat ---------------------------------------------------------------------------

TDIBRSBFormat::TDIBRSBFormat()
    // {98F6C973-0C96-4A90-82B1-998C22697021}
    : TAbstractDIBFormat({0x73, 0xC9, 0xF6, 0x98, 0x96, 0x0C, 0x90, 0x4A, 0x82, 0xB1, 0x99, 0x8C,
                          0x22, 0x69, 0x70, 0x21}) {}

std::string TDIBRSBFormat::GetDescription() const {
  return kRsbDescription;
}

void TDIBRSBFormat::LoadFromStream(ui::Stream& stream) {
  TAbstractSuperDIB& image = Target();
  // Header and pixels are read and checked in full before the image changes.
  uint8_t header[kRsbHeaderSize];
  stream.ReadBuffer(header, sizeof(header));
  const auto field = [&header](std::size_t i) { return dib::LoadLE32(header + 4 * i); };
  if (field(0) != 1) throw EDIBFormatError("Only RSB version 1 is supported.");
  const uint32_t width = field(1), height = field(2);
  if (width == 0 || height == 0 || width > 65535 || height > 65535) {
    throw EDIBFormatError("RSB image size " + std::to_string(width) + " x " +
                          std::to_string(height) + " is out of range.");
  }
  const RsbLayout layout{field(3), field(4), field(5), field(6)};
  if (!layout.IsSupported()) throw EDIBFormatError("Unsupported RSB pixel layout.");
  const uint64_t byteCount = uint64_t{width} * height * 2;
  if (byteCount > static_cast<uint64_t>(stream.Remaining()) ||
      byteCount > std::numeric_limits<std::size_t>::max()) {
    throw ui::StreamReadError("RSB pixels end before " + std::to_string(byteCount) + " bytes");
  }
  std::vector<uint8_t> bytes(static_cast<std::size_t>(byteCount));
  stream.ReadBuffer(bytes.data(), bytes.size());

  image.SetSize(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
  const uint8_t* in = bytes.data();
  for (uint32_t y = 0; y < height; ++y) {
    uint32_t* row = image.ScanLine(static_cast<int32_t>(y));
    for (uint32_t x = 0; x < width; ++x, in += 2) {
      if (row != nullptr) row[x] = layout.Decode(dib::LoadLE16(in));
    }
    ReportProgress(static_cast<int32_t>(uint64_t{y + 1} * 100 / height));
  }
  image.SetMasked(layout.mask > 0);
}

void TDIBRSBFormat::SaveToStream(ui::Stream& stream) {
  const TAbstractSuperDIB& image = Target();
  const bool masked = image.Masked();
  const uint32_t width = image.Width(), height = image.Height();
  const uint32_t fields[7] = {
      1, width, height, masked ? 4u : 5u, masked ? 4u : 6u, masked ? 4u : 5u, masked ? 4u : 0u};
  uint8_t header[kRsbHeaderSize];
  for (std::size_t i = 0; i < 7; ++i) dib::StoreLE32(header + 4 * i, fields[i]);
  std::vector<uint8_t> bytes(std::size_t{width} * height * 2);
  uint8_t* out = bytes.data();
  for (uint32_t y = 0; y < height; ++y) {
    const uint32_t* row = image.ScanLine(static_cast<int32_t>(y));
    for (uint32_t x = 0; x < width; ++x, out += 2) {
      if (row != nullptr) dib::StoreLE16(out, masked ? EncodeMasked(row[x]) : EncodeOpaque(row[x]));
    }
  }
  stream.WriteBuffer(header, sizeof(header));
  stream.WriteBuffer(bytes.data(), bytes.size());
}

bool TDIBRSBFormat::AcceptsLoadExtension(const std::string& ext) const {
  return EqualsIgnoringCase(ext, ".RSB");
}

bool TDIBRSBFormat::AcceptsSaveExtension(const std::string& ext) const {
  return EqualsIgnoringCase(ext, ".RSB");
}

void TDIBRSBFormat::AddSaveFilter(std::vector<std::string>& filters) const {
  AddLoadFilter(filters);
}

void TDIBRSBFormat::AddLoadFilter(std::vector<std::string>& filters) const {
  filters.push_back(std::string(kRsbDescription) + " (*.rsb)|*.rsb");
}

// --- Registry ----------------------------------------------------------------------------------

std::vector<std::unique_ptr<TAbstractDIBFormat>>& DIBFormats() {
  static std::vector<std::unique_ptr<TAbstractDIBFormat>> formats = [] {
    std::vector<std::unique_ptr<TAbstractDIBFormat>> builtIn;
    builtIn.push_back(std::make_unique<TDIBRSBFormat>());
    return builtIn;
  }();
  return formats;
}

void RegisterDIBFormat(std::unique_ptr<TAbstractDIBFormat> format) {
  DIBFormats().push_back(std::move(format));
}
