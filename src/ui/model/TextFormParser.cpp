#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "ui/model/Component.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/Exception.h"
#include "ui/model/Identifiers.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"
#include "ui/model/ValueWriter.h"

namespace ui {
namespace {

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || IsDigit(c);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

enum class TokenKind { End, Ident, Integer, Float, String, Symbol };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string_view text;  // identifier, number or symbol as written; a string's contents
  size_t offset = 0;
};

// Parses text and writes the binary form as it goes.
class TextParser {
 public:
  TextParser(std::string_view text, Stream& binary) : m_Text(text), m_Values(binary) {
    if (m_Text.starts_with("\xEF\xBB\xBF")) m_Position = 3;  // a byte-order mark
  }

  void Convert() {
    m_Values.WriteSignature();
    ParseComponent(Next(), 0);
    const Token trailing = Next();
    if (trailing.kind != TokenKind::End) Fail(trailing, "Text after the end of the component");
  }

 private:
  [[noreturn]] void Fail(size_t offset, const std::string& message) const {
    size_t line = 1;
    size_t column = 1;
    for (size_t i = 0; i < offset && i < m_Text.size(); ++i) {
      if (m_Text[i] == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    throw StreamReadError("Line " + std::to_string(line) + ", column " + std::to_string(column) +
                          ": " + message);
  }
  [[noreturn]] void Fail(const Token& token, const std::string& message) const {
    Fail(token.offset, message);
  }

  // ---- lexer

  void SkipSpaceAndComments() {
    while (m_Position < m_Text.size()) {
      const char c = m_Text[m_Position];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        ++m_Position;
      } else if (m_Text.substr(m_Position).starts_with("//")) {
        while (m_Position < m_Text.size() && m_Text[m_Position] != '\n') ++m_Position;
      } else {
        return;
      }
    }
  }

  Token Peek() {
    if (!m_Peeked) {
      m_Next = Lex();
      m_Peeked = true;
    }
    return m_Next;
  }

  Token Next() {
    const Token token = Peek();
    m_Peeked = false;
    return token;
  }

  Token Lex() {
    SkipSpaceAndComments();
    Token token;
    token.offset = m_Position;
    if (m_Position >= m_Text.size()) return token;
    const char c = m_Text[m_Position];
    const size_t start = m_Position;
    if (IsIdentStart(c)) {
      while (m_Position < m_Text.size() && IsIdentChar(m_Text[m_Position])) ++m_Position;
      token.kind = TokenKind::Ident;
    } else if (IsDigit(c) ||
               ((c == '-' || c == '+') && m_Position + 1 < m_Text.size() &&
                (IsDigit(m_Text[m_Position + 1]) || IsIdentStart(m_Text[m_Position + 1])))) {
      token.kind = LexNumber();
    } else if (c == '"') {
      token.kind = TokenKind::String;
      LexString();
      token.text = m_Text.substr(start + 1, m_Position - start - 2);
      return token;
    } else if (std::string_view("{}=.@[],()<>").find(c) != std::string_view::npos) {
      ++m_Position;
      token.kind = TokenKind::Symbol;
    } else {
      Fail(start, "Unexpected character '" + std::string(1, c) + "'");
    }
    token.text = m_Text.substr(start, m_Position - start);
    return token;
  }

  TokenKind LexNumber() {
    if (m_Text[m_Position] == '-' || m_Text[m_Position] == '+') ++m_Position;
    if (m_Text.substr(m_Position).starts_with("0x") ||
        m_Text.substr(m_Position).starts_with("0X")) {
      m_Position += 2;
      while (m_Position < m_Text.size() && HexDigit(m_Text[m_Position]) >= 0) ++m_Position;
      return TokenKind::Integer;
    }
    bool isFloat = false;
    // Digits, a fraction, an exponent, a precision suffix; or a word such as inf or nan.
    while (m_Position < m_Text.size()) {
      const char c = m_Text[m_Position];
      if (IsIdentChar(c) || c == '.') {
        isFloat = isFloat || c == '.' || c == 'e' || c == 'E' || !IsDigit(c);
        const bool exponent = c == 'e' || c == 'E';
        ++m_Position;
        if (exponent && m_Position < m_Text.size() &&
            (m_Text[m_Position] == '-' || m_Text[m_Position] == '+')) {
          ++m_Position;
        }
      } else {
        break;
      }
    }
    return isFloat ? TokenKind::Float : TokenKind::Integer;
  }

  void LexString() {
    const size_t start = m_Position++;
    while (m_Position < m_Text.size()) {
      const char c = m_Text[m_Position];
      if (c == '"') {
        ++m_Position;
        return;
      }
      if (c == '\\') ++m_Position;
      if (c == '\n') break;
      ++m_Position;
    }
    Fail(start, "Unterminated string");
  }

  // ---- grammar

  Token Expect(std::string_view symbol, const char* context) {
    const Token token = Next();
    if (token.kind != TokenKind::Symbol || token.text != symbol) {
      Fail(token, "Expected '" + std::string(symbol) + "' " + context);
    }
    return token;
  }

  std::string_view ExpectIdent(const char* what) {
    const Token token = Next();
    if (token.kind != TokenKind::Ident) Fail(token, std::string("Expected ") + what);
    if (token.text.size() > 255) Fail(token, std::string("The ") + what + " is too long");
    return token.text;
  }

  bool IsSymbol(const Token& token, char symbol) const {
    return token.kind == TokenKind::Symbol && token.text[0] == symbol;
  }

  void CheckDepth(const Token& token, int depth) const {
    if (depth > kMaxNestingDepth) {
      Fail(token, "Nested deeper than " + std::to_string(kMaxNestingDepth) + " levels");
    }
  }

  // component := ClassName [Name] '{' property* component* '}'
  void ParseComponent(const Token& classToken, int depth) {
    CheckDepth(classToken, depth);
    if (classToken.kind != TokenKind::Ident) Fail(classToken, "Expected a class name");
    if (classToken.text.size() > 255) Fail(classToken, "The class name is too long");
    m_Values.WriteName(classToken.text);
    std::string_view name;
    if (Peek().kind == TokenKind::Ident) name = ExpectIdent("component name");
    m_Values.WriteName(name);
    Expect("{", "to open the component");
    bool childrenStarted = false;
    for (Token token = Next();; token = Next()) {
      if (IsSymbol(token, '}')) break;
      if (token.kind != TokenKind::Ident) Fail(token, "Expected a property or a component");
      const Token after = Peek();
      if (after.kind != TokenKind::Ident && !IsSymbol(after, '{')) {
        if (childrenStarted) Fail(token, "Properties must come before child components");
        ParseProperty(token, 0);
        continue;
      }
      if (!childrenStarted) m_Values.WriteName({});
      childrenStarted = true;
      m_Values.WriteMarker(true);
      ParseComponent(token, depth + 1);
    }
    if (!childrenStarted) m_Values.WriteName({});
    m_Values.WriteMarker(false);
  }

  // property := Name ('.' Name)* '=' value; `collectionDepth` counts the collections around it,
  // apart from the components, as the binary reader does.
  void ParseProperty(const Token& first, int collectionDepth) {
    std::string name(first.text);
    while (IsSymbol(Peek(), '.')) {
      Next();
      name += ".";
      name += ExpectIdent("property name");
    }
    if (name.size() > 255) Fail(first, "The property name is too long");
    m_Values.WriteName(name);
    Expect("=", "after the property name");
    ParseValue(collectionDepth);
  }

  void ParseValue(int collectionDepth) {
    const Token token = Next();
    switch (token.kind) {
      case TokenKind::Integer:
        m_Values.WriteInteger(ParseInteger(token));
        return;
      case TokenKind::Float:
        ParseFloat(token);
        return;
      case TokenKind::String:
        m_Values.WriteString(Unescape(token));
        return;
      case TokenKind::Ident:
        if (token.text == "true" || token.text == "false") {
          m_Values.WriteBoolean(token.text == "true");
        } else if (token.text == "none") {
          m_Values.WriteNull();
        } else {
          if (token.text.size() > 255) Fail(token, "The identifier is too long");
          m_Values.WriteIdent(token.text);
        }
        return;
      case TokenKind::Symbol:
        break;
      case TokenKind::End:
        Fail(token, "Expected a value");
    }
    switch (token.text[0]) {
      case '@':
        m_Values.WriteReference(ExpectIdent("component name"));
        return;
      case '[':
        ParseSet();
        return;
      case '(':
        ParseBinary(token);
        return;
      case '<':
        ParseCollection(token, collectionDepth + 1);
        return;
      default:
        Fail(token, "Expected a value");
    }
  }

  int64_t ParseInteger(const Token& token) {
    std::string_view digits = token.text;
    const bool negative = digits.starts_with('-');
    if (digits.starts_with('-') || digits.starts_with('+')) digits.remove_prefix(1);
    int base = 10;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
      digits.remove_prefix(2);
      base = 16;
    }
    uint64_t magnitude = 0;
    const auto result =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    const uint64_t limit = negative ? uint64_t{1} << 63 : uint64_t{INT64_MAX};
    if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size() ||
        magnitude > limit) {
      Fail(token, "Invalid integer " + std::string(token.text));
    }
    if (negative) return magnitude == limit ? INT64_MIN : -static_cast<int64_t>(magnitude);
    return static_cast<int64_t>(magnitude);
  }

  void ParseFloat(const Token& token) {
    std::string_view number = token.text;
    const bool hasSign = number.starts_with('-') || number.starts_with('+');
    const bool negative = number.starts_with('-');
    FloatPrecision precision = FloatPrecision::Extended;
    const std::string_view body = hasSign ? number.substr(1) : number;
    const bool special = body.starts_with("inf") || body.starts_with("nan");
    if (number.ends_with('f') && body != "inf") {
      precision = FloatPrecision::Single;
      number.remove_suffix(1);
    } else if (number.ends_with('d')) {
      precision = FloatPrecision::Double;
      number.remove_suffix(1);
    }
    long double value = 0;
    if (special) {
      const std::string_view word = hasSign ? number.substr(1) : number;
      if (!hasSign || (word != "inf" && word != "nan"))
        Fail(token, "Invalid number " + std::string(token.text));
      value = word == "inf" ? std::numeric_limits<long double>::infinity()
                            : std::numeric_limits<long double>::quiet_NaN();
      m_Values.WriteFloat(negative ? -value : value, precision);
      return;
    }
    // The text is read at its own precision, so that it rounds once, like the value it shows.
    bool ok = false;
    switch (precision) {
      case FloatPrecision::Single:
        ok = FromChars<float>(number, value);
        break;
      case FloatPrecision::Double:
        ok = FromChars<double>(number, value);
        break;
      case FloatPrecision::Extended:
        ok = FromChars<long double>(number, value);
        break;
    }
    if (!ok) Fail(token, "Invalid number " + std::string(token.text));
    m_Values.WriteFloat(value, precision);
  }

  template <class F>
  static bool FromChars(std::string_view text, long double& value) {
    if (text.starts_with('+')) text.remove_prefix(1);
    if (text.empty() || !(IsDigit(text[0]) || text[0] == '-') ||
        text.find_first_not_of("0123456789.eE+-") != std::string_view::npos) {
      return false;
    }
    F parsed = 0;
#if defined(__MINGW32__)
    if constexpr (std::is_same_v<F, long double>) return ParseExtendedWithStrtold(text, value);
#endif
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ptr != text.data() + text.size()) return false;
    if (result.ec == std::errc::result_out_of_range && std::is_same_v<F, long double>) {
      // The library refuses extended subnormals here; strtold reads them (and reports ERANGE).
      const std::string copy(text);
      char* end = nullptr;
      parsed = static_cast<F>(std::strtold(copy.c_str(), &end));
      if (end != copy.c_str() + copy.size() || std::isinf(parsed) || parsed == 0) return false;
    } else if (result.ec != std::errc()) {
      return false;
    }
    value = static_cast<long double>(parsed);
    return true;
  }

#if defined(__MINGW32__)
  // mingw's from_chars for long double does not round correctly; its strtold
  // does. strtold follows the process's numeric locale, so the separator is
  // put in the locale's form first.
  static bool ParseExtendedWithStrtold(std::string_view text, long double& value) {
    std::string copy(text);
    const char* point = std::localeconv()->decimal_point;
    if (point && point[0] && point[0] != '.') std::replace(copy.begin(), copy.end(), '.', point[0]);
    char* end = nullptr;
    const long double parsed = std::strtold(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || std::isinf(parsed)) return false;
    value = parsed;
    return true;
  }
#endif

  std::string Unescape(const Token& token) {
    std::string value;
    const std::string_view text = token.text;
    for (size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (byte < 0x20 || byte == 0x7F) Fail(token, "Control character in a string");
      if (text[i] != '\\') {
        value += text[i];
        continue;
      }
      const char escape = ++i < text.size() ? text[i] : '\0';
      switch (escape) {
        case '"':
        case '\\':
          value += escape;
          break;
        case 'n':
          value += '\n';
          break;
        case 'r':
          value += '\r';
          break;
        case 't':
          value += '\t';
          break;
        case 'x': {
          const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
          const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
          if (high < 0 || low < 0) Fail(token, "\\x needs two hexadecimal digits");
          value += static_cast<char>(high * 16 + low);
          i += 2;
          break;
        }
        default:
          Fail(token, "Unknown escape in a string");
      }
    }
    return value;
  }

  // set := '[' [Name {',' Name}] ']'
  void ParseSet() {
    std::vector<std::string> elements;
    if (IsSymbol(Peek(), ']')) {
      Next();
    } else {
      for (;;) {
        const std::string_view element = ExpectIdent("a set element");
        elements.emplace_back(element);
        const Token token = Next();
        if (IsSymbol(token, ']')) break;
        if (!IsSymbol(token, ',')) Fail(token, "Expected ',' or ']' in a set");
      }
    }
    m_Values.WriteSet(elements);
  }

  // binary := '(' hex digits, blanks allowed between pairs ')'
  void ParseBinary(const Token& open) {
    std::vector<uint8_t> bytes;
    for (;;) {
      SkipSpaceAndComments();
      if (m_Position >= m_Text.size()) Fail(open, "Unterminated binary value");
      if (m_Text[m_Position] == ')') break;
      const int high = HexDigit(m_Text[m_Position]);
      const int low = m_Position + 1 < m_Text.size() ? HexDigit(m_Text[m_Position + 1]) : -1;
      if (high < 0 || low < 0) Fail(m_Position, "Expected two hexadecimal digits");
      bytes.push_back(static_cast<uint8_t>(high * 16 + low));
      m_Position += 2;
    }
    ++m_Position;
    m_Values.WriteBinary(bytes);
  }

  // collection := '<' { 'item' '{' property* '}' } '>'
  void ParseCollection(const Token& open, int depth) {
    CheckDepth(open, depth);
    m_Values.BeginCollection();
    for (Token token = Next(); !IsSymbol(token, '>'); token = Next()) {
      if (token.kind != TokenKind::Ident || token.text != "item") {
        Fail(token, "Expected 'item' or '>' in a collection");
      }
      Expect("{", "to open the item");
      m_Values.WriteMarker(true);
      for (Token name = Next(); !IsSymbol(name, '}'); name = Next()) {
        if (name.kind != TokenKind::Ident) Fail(name, "Expected a property or '}'");
        ParseProperty(name, depth);
      }
      m_Values.WriteName({});
    }
    m_Values.WriteMarker(false);
  }

  std::string_view m_Text;
  size_t m_Position = 0;
  Token m_Next;
  bool m_Peeked = false;
  ValueWriter m_Values;
};

}  // namespace

std::vector<uint8_t> TextToBinary(std::string_view text) {
  MemoryStream binary;
  TextParser(text, binary).Convert();
  return binary.Bytes();
}

void ReadRootFromText(std::string_view text, Component& root) {
  MemoryStream binary(TextToBinary(text));
  ComponentReader(binary).ReadRoot(root);
}

std::unique_ptr<Component> ReadRootFromText(std::string_view text) {
  MemoryStream binary(TextToBinary(text));
  return ComponentReader(binary).ReadRoot();
}

}  // namespace ui
