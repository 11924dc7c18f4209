// The "Data" stream form of an image:
//   uncompressed: Width (2 bytes), Height (2 bytes), the pixels bottom row first;
//   compressed:   "DIBCMP", compressor id (16), uncompressed length (4), compressed bytes.
// All integers little-endian.

#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "DIB/DIBLittleEndian.h"
#include "DIB/cDIB.h"
#include "DIB/cDIBCompressor.h"
#include "ui/model/PropertyFiler.h"
#include "ui/model/Stream.h"
#include "ui/model/ValueReader.h"
#include "ui/model/ValueWriter.h"

static_assert(std::endian::native == std::endian::little, "pixels are stored as they lie");

namespace {

constexpr char kSignature[6] = {'D', 'I', 'B', 'C', 'M', 'P'};
constexpr std::size_t kSizeHeader = 4;
constexpr std::size_t kCompressedHeader = sizeof(kSignature) + 16 + 4;

std::vector<uint8_t> ReadAll(ui::Stream& data) {
  data.SetPosition(0);
  std::vector<uint8_t> bytes(static_cast<std::size_t>(data.Size()));
  data.ReadBuffer(bytes.data(), bytes.size());
  return bytes;
}

bool IsCompressed(const std::vector<uint8_t>& bytes) {
  // Shorter data that begins with the signature is an uncompressed image.
  return bytes.size() >= kCompressedHeader &&
         std::memcmp(bytes.data(), kSignature, sizeof(kSignature)) == 0;
}

std::vector<uint8_t> Decompress(const TAbstractSuperDIB& image, const std::vector<uint8_t>& bytes) {
  TDIBId id;
  std::memcpy(id.data(), bytes.data() + sizeof(kSignature), id.size());
  const uint32_t length = dib::LoadLE32(bytes.data() + sizeof(kSignature) + id.size());
  TDIBCompressor* compressor = FindDecompressor(id);
  if (compressor == nullptr) throw EDIBCompressError("Could not find a suitable decompressor.");
  if (length > kMaxCompressedDataLength) {
    throw ui::StreamReadError("DIB data claims " + std::to_string(length) +
                              " uncompressed bytes, more than an image can be read from");
  }
  std::vector<uint8_t> expanded(length);
  compressor->Decompress(image, id, std::span(bytes).subspan(kCompressedHeader), expanded);
  return expanded;
}

}  // namespace

void TAbstractSuperDIB::DefineProperties(ui::PropertyFiler& filer) {
  ui::Persistent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Data", [this](ui::Stream& data) { ReadData(data); },
      [this](ui::Stream& data) { WriteData(data); }, m_Pixels != nullptr);
}

void TAbstractSuperDIB::WriteData(ui::Stream& data) const {
  const flux::PixelView block = ConstBlock();
  const std::size_t pixelBytes =
      static_cast<std::size_t>(block.width) * static_cast<std::size_t>(block.height) * 4;
  std::vector<uint8_t> form(kSizeHeader + pixelBytes);
  dib::StoreLE16(form.data(), static_cast<uint16_t>(block.width));
  dib::StoreLE16(form.data() + 2, static_cast<uint16_t>(block.height));
  if (pixelBytes != 0) std::memcpy(form.data() + kSizeHeader, block.bits, pixelBytes);

  TDIBCompressor* compressor = CurrentCompressor();
  if (compressor != nullptr && form.size() <= kMaxCompressedDataLength) {
    std::vector<uint8_t> packed(form.size());
    const std::size_t count = compressor->Compress(*this, form, packed);
    if (count != 0 && count <= packed.size()) {
      const TDIBId id = compressor->GetId();
      uint8_t length[4];
      dib::StoreLE32(length, static_cast<uint32_t>(form.size()));
      data.WriteBuffer(kSignature, sizeof(kSignature));
      data.WriteBuffer(id.data(), id.size());
      data.WriteBuffer(length, sizeof(length));
      data.WriteBuffer(packed.data(), count);
      return;
    }
  }
  data.WriteBuffer(form.data(), form.size());
}

void TAbstractSuperDIB::ReadData(ui::Stream& data) {
  std::vector<uint8_t> bytes = ReadAll(data);
  if (IsCompressed(bytes)) bytes = Decompress(*this, bytes);
  ReadUncompressed(bytes.data(), bytes.size());
}

void TAbstractSuperDIB::ReadUncompressed(const uint8_t* bytes, std::size_t size) {
  // Everything is checked before the image changes.
  if (size < kSizeHeader) throw ui::StreamReadError("DIB data too short for its size");
  const uint16_t width = dib::LoadLE16(bytes);
  const uint16_t height = dib::LoadLE16(bytes + 2);
  if (width == 0 || height == 0) throw ui::StreamReadError("DIB data of an empty image");
  const uint64_t pixelBytes = uint64_t{width} * height * 4;
  if (pixelBytes > size - kSizeHeader) {
    throw ui::StreamReadError("DIB data too short for a " + std::to_string(width) + " x " +
                              std::to_string(height) + " image");
  }
  SetSize(width, height);
  if (m_Pixels != nullptr) {
    std::memcpy(m_Pixels, bytes + kSizeHeader, static_cast<std::size_t>(pixelBytes));
  }
  Changed();
}

// --- TCustomMemoryDIB ----------------------------------------------------------------------

void TCustomMemoryDIB::DefineProperties(ui::PropertyFiler& filer) {
  TAbstractSuperDIB::DefineProperties(filer);
  filer.DefineProperty(
      "ImageFilename", [this](ui::ValueReader& r) { m_ImageFilename = r.ReadString(); },
      [this](ui::ValueWriter& w) { w.WriteString(m_ImageFilename); }, !m_ImageFilename.empty());
  filer.DefineProperty(
      "MaskFilename", [this](ui::ValueReader& r) { m_MaskFilename = r.ReadString(); },
      [this](ui::ValueWriter& w) { w.WriteString(m_MaskFilename); }, !m_MaskFilename.empty());
}

void TCustomMemoryDIB::WriteData(ui::Stream& data) const {
  if (m_StoreData) TAbstractSuperDIB::WriteData(data);
}

void TCustomMemoryDIB::ReadData(ui::Stream& data) {
  if (data.Size() != 0) TAbstractSuperDIB::ReadData(data);
}
