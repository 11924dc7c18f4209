#pragma once
// Writes the tagged values and names of the component stream format (ui/model/StreamFormat.h).
// Class-defined properties use it to store their value.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "ui/model/StreamFormat.h"

namespace ui {

class Stream;

class ValueWriter {
 public:
  explicit ValueWriter(Stream& target) : m_Target(target) {}

  Stream& Target() noexcept { return m_Target; }

  void WriteSignature();
  void WriteNull();
  void WriteBoolean(bool value);
  void WriteInteger(int64_t value);  // in the smallest of the four widths
  void WriteFloat(long double value, FloatPrecision precision);
  void WriteString(std::string_view value);
  void WriteIdent(std::string_view ident);
  void WriteReference(std::string_view componentName);
  void WriteSet(std::span<const std::string> elements);
  void WriteBinary(std::span<const uint8_t> bytes);
  void BeginCollection();

  // A length-prefixed name of 0..255 bytes; an empty one ends a property list.
  void WriteName(std::string_view name);
  // 1 before each child component or collection item, 0 after the last.
  void WriteMarker(bool more);

 private:
  void WriteTag(ValueTag tag);
  void WriteLittleEndian(uint64_t value, size_t bytes);
  void WriteLength(size_t length);

  Stream& m_Target;
};

}  // namespace ui
