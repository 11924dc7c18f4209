#pragma once
// The framework's exceptions. Every error the framework and the libraries above it raise derives
// from Exception, so one handler can catch them all.

#include <stdexcept>
#include <string>
#include <string_view>

namespace ui {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// "Cannot assign a <source class> to a <target class>".
class AssignError : public Exception {
 public:
  AssignError(std::string_view sourceClass, std::string_view targetClass);
};

// An internal check failed; Source() names the unit that made it, e.g. "DIB\cDIB".
class AssertionError : public Exception {
 public:
  explicit AssertionError(const std::string& source);
  const std::string& Source() const noexcept { return m_Source; }

 private:
  std::string m_Source;
};

// A stream ended early or holds data that is not what its reader expects.
class StreamReadError : public Exception {
 public:
  using Exception::Exception;
};

// A stream refused data, or an object holds a value that cannot be stored.
class StreamWriteError : public Exception {
 public:
  using Exception::Exception;
};

// No class of that name is registered.
class ClassNotFoundError : public Exception {
 public:
  explicit ClassNotFoundError(std::string_view className);
};

// A property that does not exist, cannot hold the given value, or cannot be set.
class InvalidPropertyError : public Exception {
 public:
  using Exception::Exception;
};

// A component name that is not an identifier or is taken by a sibling.
class ComponentNameError : public Exception {
 public:
  using Exception::Exception;
};

// Raises AssertionError naming `source` when `condition` is false.
inline void Assert(bool condition, const char* source) {
  if (!condition) throw AssertionError(source);
}

}  // namespace ui
