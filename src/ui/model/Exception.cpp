#include "ui/model/Exception.h"

namespace ui {

AssignError::AssignError(std::string_view sourceClass, std::string_view targetClass)
    : Exception("Cannot assign a " + std::string(sourceClass) + " to a " +
                std::string(targetClass)) {}

AssertionError::AssertionError(const std::string& source)
    : Exception("Assertion failure (" + source + ")"), m_Source(source) {}

ClassNotFoundError::ClassNotFoundError(std::string_view className)
    : Exception("Class " + std::string(className) + " not found") {}

}  // namespace ui
