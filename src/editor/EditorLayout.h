#pragma once
// The editor window's stored description in the framework's text form (ui/model/TextForm.h):
// every component of the window with its properties, the skin's image lists and the two
// pictures. Kept in uEditor.txt beside this file and compiled into the library.

#include <string_view>

std::string_view EditorWindowDescription();
