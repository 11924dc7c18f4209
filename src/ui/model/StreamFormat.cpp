#include "ui/model/StreamFormat.h"

namespace ui {

const char* DescribeTag(ValueTag tag) noexcept {
  switch (tag) {
    case ValueTag::Null:
      return "none";
    case ValueTag::False:
    case ValueTag::True:
      return "a boolean";
    case ValueTag::Int8:
    case ValueTag::Int16:
    case ValueTag::Int32:
    case ValueTag::Int64:
      return "an integer";
    case ValueTag::Single:
    case ValueTag::Double:
    case ValueTag::Extended:
      return "a float";
    case ValueTag::String:
      return "a string";
    case ValueTag::Ident:
      return "an identifier";
    case ValueTag::Set:
      return "a set";
    case ValueTag::Binary:
      return "binary data";
    case ValueTag::Collection:
      return "a collection";
    case ValueTag::Reference:
      return "a component reference";
  }
  return "an unknown value";
}

}  // namespace ui
