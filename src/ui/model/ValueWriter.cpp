#include "ui/model/ValueWriter.h"

#include <bit>
#include <cstring>
#include <limits>

#include "ui/model/Exception.h"
#include "ui/model/Stream.h"

namespace ui {

static_assert(std::numeric_limits<long double>::digits == 64 &&
                  std::endian::native == std::endian::little,
              "extended floats are stored as the x87 80-bit format");

void ValueWriter::WriteSignature() {
  m_Target.WriteBuffer(kStreamSignature.data(), kStreamSignature.size());
}

void ValueWriter::WriteTag(ValueTag tag) {
  const auto byte = static_cast<uint8_t>(tag);
  m_Target.WriteBuffer(&byte, 1);
}

void ValueWriter::WriteLittleEndian(uint64_t value, size_t bytes) {
  uint8_t buffer[8];
  for (size_t i = 0; i < bytes; ++i) buffer[i] = static_cast<uint8_t>(value >> (8 * i));
  m_Target.WriteBuffer(buffer, bytes);
}

void ValueWriter::WriteLength(size_t length) {
  if (length > std::numeric_limits<uint32_t>::max()) {
    throw StreamWriteError("Value of " + std::to_string(length) + " bytes is too long to store");
  }
  WriteLittleEndian(length, 4);
}

void ValueWriter::WriteNull() {
  WriteTag(ValueTag::Null);
}

void ValueWriter::WriteBoolean(bool value) {
  WriteTag(value ? ValueTag::True : ValueTag::False);
}

void ValueWriter::WriteInteger(int64_t value) {
  const auto bits = static_cast<uint64_t>(value);
  if (value >= INT8_MIN && value <= INT8_MAX) {
    WriteTag(ValueTag::Int8);
    WriteLittleEndian(bits, 1);
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    WriteTag(ValueTag::Int16);
    WriteLittleEndian(bits, 2);
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    WriteTag(ValueTag::Int32);
    WriteLittleEndian(bits, 4);
  } else {
    WriteTag(ValueTag::Int64);
    WriteLittleEndian(bits, 8);
  }
}

void ValueWriter::WriteFloat(long double value, FloatPrecision precision) {
  switch (precision) {
    case FloatPrecision::Single:
      WriteTag(ValueTag::Single);
      WriteLittleEndian(std::bit_cast<uint32_t>(static_cast<float>(value)), 4);
      return;
    case FloatPrecision::Double:
      WriteTag(ValueTag::Double);
      WriteLittleEndian(std::bit_cast<uint64_t>(static_cast<double>(value)), 8);
      return;
    case FloatPrecision::Extended: {
      WriteTag(ValueTag::Extended);
      uint8_t bytes[sizeof(long double)];
      std::memcpy(bytes, &value, sizeof value);
      m_Target.WriteBuffer(bytes, 10);
      return;
    }
  }
}

void ValueWriter::WriteString(std::string_view value) {
  WriteTag(ValueTag::String);
  WriteLength(value.size());
  m_Target.WriteBuffer(value.data(), value.size());
}

void ValueWriter::WriteIdent(std::string_view ident) {
  if (ident.empty()) throw StreamWriteError("Cannot store an empty identifier");
  WriteTag(ValueTag::Ident);
  WriteName(ident);
}

void ValueWriter::WriteReference(std::string_view componentName) {
  if (componentName.empty()) throw StreamWriteError("Cannot store a reference without a name");
  WriteTag(ValueTag::Reference);
  WriteName(componentName);
}

void ValueWriter::WriteSet(std::span<const std::string> elements) {
  WriteTag(ValueTag::Set);
  for (const std::string& element : elements) {
    if (element.empty()) throw StreamWriteError("Cannot store an empty set element");
    WriteName(element);
  }
  WriteName({});
}

void ValueWriter::WriteBinary(std::span<const uint8_t> bytes) {
  WriteTag(ValueTag::Binary);
  WriteLength(bytes.size());
  m_Target.WriteBuffer(bytes.data(), bytes.size());
}

void ValueWriter::BeginCollection() {
  WriteTag(ValueTag::Collection);
}

void ValueWriter::WriteName(std::string_view name) {
  if (name.size() > 255) {
    throw StreamWriteError("Name \"" + std::string(name) + "\" is longer than 255 bytes");
  }
  const auto length = static_cast<uint8_t>(name.size());
  m_Target.WriteBuffer(&length, 1);
  m_Target.WriteBuffer(name.data(), name.size());
}

void ValueWriter::WriteMarker(bool more) {
  const uint8_t byte = more ? 1 : 0;
  m_Target.WriteBuffer(&byte, 1);
}

}  // namespace ui
