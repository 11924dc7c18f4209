#pragma once
// The message of the framework error an action raises, for tests that pin messages exactly.

#include <string>

#include "ui/model/Exception.h"

namespace dibtest {

// "no error" when the action raises nothing.
std::string ErrorOf(const auto& action) {
  try {
    action();
  } catch (const ui::Exception& error) {
    return error.what();
  }
  return "no error";
}

}  // namespace dibtest
