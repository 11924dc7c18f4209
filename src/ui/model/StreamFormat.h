#pragma once
// The binary component stream, shared by its writer, its reader and the text-form converter.
//
//   stream     := signature component
//   component  := name(class, 1..255) name(component, 0..255) properties children
//   properties := { name(property, 1..255) value } 0x00
//   children   := { 0x01 component } 0x00
//   name       := u8 length, bytes
//   value      := tag payload, the payload by tag:
//     Null, False, True           none
//     Int8 / Int16 / Int32 / Int64  1 / 2 / 4 / 8 bytes, signed
//     Single / Double / Extended  4 / 8 / 10 bytes, IEEE single, double, x87 80-bit
//     String, Binary              u32 length, bytes (strings are UTF-8)
//     Ident, Reference            name(1..255)
//     Set                         { name(1..255) } 0x00
//     Collection                  { 0x01 properties } 0x00
// All integers are little-endian. A nested object's properties are stored in its owner's list
// under dotted names ("DIB.Angle").

#include <array>
#include <cstdint>

namespace ui {

inline constexpr std::array<uint8_t, 4> kStreamSignature = {'F', 'L', 'X', 0};

// Components and collections nested deeper than this are refused, when read and when written.
inline constexpr int kMaxNestingDepth = 64;

enum class ValueTag : uint8_t {
  Null = 1,
  False,
  True,
  Int8,
  Int16,
  Int32,
  Int64,
  Single,
  Double,
  Extended,
  String,
  Ident,
  Set,
  Binary,
  Collection,
  Reference,
};
inline constexpr uint8_t kLastValueTag = static_cast<uint8_t>(ValueTag::Reference);

enum class FloatPrecision : uint8_t { Single, Double, Extended };

// "an integer", "a string", ...: for messages about a value of the wrong type.
const char* DescribeTag(ValueTag tag) noexcept;
inline bool IsIntegerTag(ValueTag tag) noexcept {
  return tag >= ValueTag::Int8 && tag <= ValueTag::Int64;
}
inline bool IsFloatTag(ValueTag tag) noexcept {
  return tag >= ValueTag::Single && tag <= ValueTag::Extended;
}

}  // namespace ui
