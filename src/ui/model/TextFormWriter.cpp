#include <charconv>
#include <cmath>
#include <limits>

#include "ui/model/Component.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/Exception.h"
#include "ui/model/Identifiers.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"
#include "ui/model/ValueReader.h"

namespace ui {
namespace {

bool IsReservedWord(std::string_view word) {
  return word == "true" || word == "false" || word == "none";
}

template <class F>
std::string FormatFloat(F value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "+nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "+inf";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

// Writes one component as text while reading it from the binary form.
class TextWriter {
 public:
  explicit TextWriter(Stream& binary) : m_Values(binary) {}

  std::string Convert() {
    m_Values.ReadSignature();
    WriteComponent(0);
    return std::move(m_Text);
  }

 private:
  void Indent(int level) { m_Text.append(static_cast<size_t>(level) * 2, ' '); }

  std::string Identifier(const std::string& name, const char* what) {
    if (!IsIdentifier(name)) {
      throw StreamReadError(std::string("The ") + what + " \"" + name +
                            "\" cannot be written as text");
    }
    return name;
  }

  void WriteComponent(int level) {
    if (level > kMaxNestingDepth) {
      throw StreamReadError("Components are nested deeper than " +
                            std::to_string(kMaxNestingDepth) + " levels");
    }
    Indent(level);
    m_Text += Identifier(m_Values.ReadNonEmptyName("class name"), "class name");
    const std::string name = m_Values.ReadName();
    if (!name.empty()) m_Text += " " + Identifier(name, "component name");
    m_Text += " {\n";
    WriteProperties(level + 1, 0);
    while (m_Values.ReadMarker()) WriteComponent(level + 1);
    Indent(level);
    m_Text += "}\n";
  }

  void WriteProperties(int level, int collectionDepth) {
    for (std::string name = m_Values.ReadName(); !name.empty(); name = m_Values.ReadName()) {
      CheckPropertyName(name);
      Indent(level);
      m_Text += name + " = ";
      WriteValue(level, collectionDepth);
      m_Text += "\n";
    }
  }

  void CheckPropertyName(const std::string& name) {
    size_t start = 0;
    for (size_t dot = name.find('.');; dot = name.find('.', start)) {
      const std::string part = name.substr(start, dot == std::string::npos ? dot : dot - start);
      if (!IsIdentifier(part)) Identifier(name, "property name");
      if (dot == std::string::npos) return;
      start = dot + 1;
    }
  }

  void WriteValue(int level, int collectionDepth) {
    const ValueTag tag = m_Values.ReadTag();
    switch (tag) {
      case ValueTag::Null:
        m_Text += "none";
        return;
      case ValueTag::False:
        m_Text += "false";
        return;
      case ValueTag::True:
        m_Text += "true";
        return;
      case ValueTag::Int8:
      case ValueTag::Int16:
      case ValueTag::Int32:
      case ValueTag::Int64:
        m_Text += std::to_string(m_Values.ReadIntegerBody(tag));
        return;
      case ValueTag::Single:
        m_Text += FormatFloat(static_cast<float>(m_Values.ReadFloatBody(tag))) + "f";
        return;
      case ValueTag::Double:
        m_Text += FormatFloat(static_cast<double>(m_Values.ReadFloatBody(tag))) + "d";
        return;
      case ValueTag::Extended:
        m_Text += FormatFloat(m_Values.ReadFloatBody(tag));
        return;
      case ValueTag::String:
        WriteString(m_Values.ReadStringBody());
        return;
      case ValueTag::Ident:
        m_Text += ValueIdent(m_Values.ReadIdentBody());
        return;
      case ValueTag::Reference:
        m_Text += "@" + Identifier(m_Values.ReadIdentBody(), "component name");
        return;
      case ValueTag::Set:
        WriteSet();
        return;
      case ValueTag::Binary:
        WriteBinary(level);
        return;
      case ValueTag::Collection:
        WriteCollection(level, collectionDepth + 1);
        return;
    }
  }

  std::string ValueIdent(const std::string& ident) {
    if (IsReservedWord(ident)) {
      throw StreamReadError("The identifier \"" + ident + "\" is a reserved word of the text form");
    }
    return Identifier(ident, "identifier");
  }

  void WriteString(const std::string& value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    m_Text += '"';
    for (char c : value) {
      const auto byte = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        m_Text += '\\';
        m_Text += c;
      } else if (c == '\n') {
        m_Text += "\\n";
      } else if (c == '\r') {
        m_Text += "\\r";
      } else if (c == '\t') {
        m_Text += "\\t";
      } else if (byte < 0x20 || byte > 0x7E) {
        m_Text += "\\x";
        m_Text += kHex[byte >> 4];
        m_Text += kHex[byte & 15];
      } else {
        m_Text += c;
      }
    }
    m_Text += '"';
  }

  void WriteSet() {
    m_Text += "[";
    const std::vector<std::string> elements = m_Values.ReadSetBody();
    for (size_t i = 0; i < elements.size(); ++i) {
      if (i > 0) m_Text += ", ";
      m_Text += ValueIdent(elements[i]);
    }
    m_Text += "]";
  }

  void WriteBinary(int level) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    static constexpr size_t kBytesPerLine = 32;
    const std::vector<uint8_t> bytes = m_Values.ReadBinaryBody();
    m_Text += "(";
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (i % kBytesPerLine == 0) {
        m_Text += "\n";
        Indent(level + 1);
      }
      m_Text += kHex[bytes[i] >> 4];
      m_Text += kHex[bytes[i] & 15];
    }
    if (!bytes.empty()) {
      m_Text += "\n";
      Indent(level);
    }
    m_Text += ")";
  }

  void WriteCollection(int level, int collectionDepth) {
    if (collectionDepth > kMaxNestingDepth) {
      throw StreamReadError("Collections are nested deeper than " +
                            std::to_string(kMaxNestingDepth) + " levels");
    }
    m_Text += "<";
    bool any = false;
    while (m_Values.ReadMarker()) {
      any = true;
      m_Text += "\n";
      Indent(level + 1);
      m_Text += "item {\n";
      WriteProperties(level + 2, collectionDepth);
      Indent(level + 1);
      m_Text += "}";
    }
    if (any) {
      m_Text += "\n";
      Indent(level);
    }
    m_Text += ">";
  }

  ValueReader m_Values;
  std::string m_Text;
};

}  // namespace

std::string BinaryToText(Stream& binary) {
  return TextWriter(binary).Convert();
}

std::string WriteRootToText(Component& root) {
  MemoryStream binary;
  ComponentWriter(binary).WriteRoot(root);
  binary.SetPosition(0);
  return BinaryToText(binary);
}

}  // namespace ui
