#include "ui/model/ValueReader.h"

#include <bit>
#include <cstring>
#include <limits>

#include "ui/model/Exception.h"
#include "ui/model/Stream.h"

namespace ui {

namespace {

std::string Mismatch(const char* wanted, ValueTag found) {
  return std::string("Expected ") + wanted + " in the stream, found " + DescribeTag(found);
}

}  // namespace

void ValueReader::ReadSignature() {
  uint8_t bytes[kStreamSignature.size()] = {};
  const size_t got = m_Source.Read(bytes, sizeof bytes);
  if (got != sizeof bytes || std::memcmp(bytes, kStreamSignature.data(), sizeof bytes) != 0) {
    throw StreamReadError("Not a component stream: the signature is missing");
  }
}

uint64_t ValueReader::ReadLittleEndian(size_t bytes) {
  uint8_t buffer[8] = {};
  m_Source.ReadBuffer(buffer, bytes);
  uint64_t value = 0;
  for (size_t i = 0; i < bytes; ++i) value |= uint64_t{buffer[i]} << (8 * i);
  return value;
}

size_t ValueReader::ReadLength() {
  const uint64_t length = ReadLittleEndian(4);
  const int64_t remaining = m_Source.Remaining();
  if (length > static_cast<uint64_t>(remaining)) {
    throw StreamReadError("Stored length " + std::to_string(length) + " exceeds the " +
                          std::to_string(remaining) + " bytes left in the stream");
  }
  return static_cast<size_t>(length);
}

ValueTag ValueReader::ReadTag() {
  uint8_t byte = 0;
  m_Source.ReadBuffer(&byte, 1);
  if (byte == 0 || byte > kLastValueTag) {
    throw StreamReadError("Unknown value type " + std::to_string(byte) + " in the stream");
  }
  return static_cast<ValueTag>(byte);
}

ValueTag ValueReader::Expect(ValueTag wanted) {
  const ValueTag tag = ReadTag();
  if (tag != wanted) throw StreamReadError(Mismatch(DescribeTag(wanted), tag));
  return tag;
}

int64_t ValueReader::ReadIntegerBody(ValueTag tag) {
  switch (tag) {
    case ValueTag::Int8:
      return static_cast<int8_t>(ReadLittleEndian(1));
    case ValueTag::Int16:
      return static_cast<int16_t>(ReadLittleEndian(2));
    case ValueTag::Int32:
      return static_cast<int32_t>(ReadLittleEndian(4));
    case ValueTag::Int64:
      return static_cast<int64_t>(ReadLittleEndian(8));
    default:
      throw StreamReadError(Mismatch("an integer", tag));
  }
}

long double ValueReader::ReadFloatBody(ValueTag tag) {
  switch (tag) {
    case ValueTag::Single:
      return static_cast<long double>(
          std::bit_cast<float>(static_cast<uint32_t>(ReadLittleEndian(4))));
    case ValueTag::Double:
      return static_cast<long double>(std::bit_cast<double>(ReadLittleEndian(8)));
    case ValueTag::Extended: {
      uint8_t bytes[sizeof(long double)] = {};
      m_Source.ReadBuffer(bytes, 10);
      // Only canonical x87 values: the explicit integer bit is set exactly when the exponent
      // is not zero. Pseudo-denormals, unnormals and pseudo-NaNs are refused.
      const bool integerBit = (bytes[7] & 0x80) != 0;
      const bool exponentZero = bytes[8] == 0 && (bytes[9] & 0x7F) == 0;
      if (integerBit == exponentZero) {
        throw StreamReadError("Extended float in the stream is not in canonical form");
      }
      long double value = 0;
      std::memcpy(&value, bytes, sizeof value);
      return value;
    }
    default:
      throw StreamReadError(Mismatch("a float", tag));
  }
}

std::string ValueReader::ReadStringBody() {
  std::string value(ReadLength(), '\0');
  m_Source.ReadBuffer(value.data(), value.size());
  return value;
}

std::string ValueReader::ReadIdentBody() {
  return ReadNonEmptyName("identifier");
}

std::vector<std::string> ValueReader::ReadSetBody() {
  std::vector<std::string> elements;
  for (std::string element = ReadName(); !element.empty(); element = ReadName()) {
    elements.push_back(std::move(element));
  }
  return elements;
}

std::vector<uint8_t> ValueReader::ReadBinaryBody() {
  std::vector<uint8_t> bytes(ReadLength());
  m_Source.ReadBuffer(bytes.data(), bytes.size());
  return bytes;
}

bool ValueReader::ReadBoolean() {
  const ValueTag tag = ReadTag();
  if (tag != ValueTag::False && tag != ValueTag::True) {
    throw StreamReadError(Mismatch("a boolean", tag));
  }
  return tag == ValueTag::True;
}

int64_t ValueReader::ReadInteger() {
  return ReadIntegerBody(ReadTag());
}

long double ValueReader::ReadFloat() {
  const ValueTag tag = ReadTag();
  if (IsIntegerTag(tag)) return static_cast<long double>(ReadIntegerBody(tag));
  return ReadFloatBody(tag);
}

std::string ValueReader::ReadString() {
  Expect(ValueTag::String);
  return ReadStringBody();
}

std::string ValueReader::ReadIdent() {
  Expect(ValueTag::Ident);
  return ReadIdentBody();
}

std::vector<uint8_t> ValueReader::ReadBinary() {
  Expect(ValueTag::Binary);
  return ReadBinaryBody();
}

std::string ValueReader::ReadName() {
  uint8_t length = 0;
  m_Source.ReadBuffer(&length, 1);
  std::string name(length, '\0');
  m_Source.ReadBuffer(name.data(), name.size());
  return name;
}

std::string ValueReader::ReadNonEmptyName(const char* what) {
  std::string name = ReadName();
  if (name.empty()) throw StreamReadError(std::string("Empty ") + what + " in the stream");
  return name;
}

bool ValueReader::ReadMarker() {
  uint8_t byte = 0;
  m_Source.ReadBuffer(&byte, 1);
  if (byte > 1) {
    throw StreamReadError("Expected the end of a list in the stream, found byte " +
                          std::to_string(byte));
  }
  return byte == 1;
}

}  // namespace ui
