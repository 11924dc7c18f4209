#pragma once
// Reads the tagged values and names of the component stream format (ui/model/StreamFormat.h).
// Every length is checked against the bytes left before anything is allocated; anything
// malformed raises StreamReadError.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/model/StreamFormat.h"

namespace ui {

class Stream;

class ValueReader {
 public:
  explicit ValueReader(Stream& source) : m_Source(source) {}

  Stream& Source() noexcept { return m_Source; }

  void ReadSignature();
  ValueTag ReadTag();

  // The payload after a tag that was already read; the tag must suit the request.
  int64_t ReadIntegerBody(ValueTag tag);
  long double ReadFloatBody(ValueTag tag);
  std::string ReadStringBody();
  std::string ReadIdentBody();  // also the body of a Reference
  std::vector<std::string> ReadSetBody();
  std::vector<uint8_t> ReadBinaryBody();

  // Tag and payload together, for class-defined properties.
  bool ReadBoolean();
  int64_t ReadInteger();
  long double ReadFloat();  // accepts integers too
  std::string ReadString();
  std::string ReadIdent();
  std::vector<uint8_t> ReadBinary();

  // A length-prefixed name of 0..255 bytes (empty ends a property list).
  std::string ReadName();
  // A name that may not be empty; `what` names it in the error.
  std::string ReadNonEmptyName(const char* what);
  // True for 1 (another child or item follows), false for 0.
  bool ReadMarker();

 private:
  uint64_t ReadLittleEndian(size_t bytes);
  size_t ReadLength();
  ValueTag Expect(ValueTag wanted);

  Stream& m_Source;
};

}  // namespace ui
