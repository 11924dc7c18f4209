#pragma once
// Replaces generated parts of a stored description (ui/model/TextForm.h) in place, leaving every
// other line as it stands. A part is found by its opening line; it ends at the first line
// that closes it at the same indentation. Missing parts raise std::runtime_error.

#include <string>
#include <string_view>

namespace skingen {

// The block of the component whose opening line reads `header` + " {" (such as
// "TDIBImageList DIBImageList1") becomes `component`, the text of a root component, indented
// to the block's depth.
std::string ReplaceComponent(std::string_view description, std::string_view header,
                             std::string_view component);

// The binary property `name` (a "name = ( ... )" block) in the body of the component opened by
// `header` becomes the property of that name in `holder`, the text of a root component.
std::string ReplaceBinaryProperty(std::string_view description, std::string_view header,
                                  std::string_view name, std::string_view holder);

}  // namespace skingen
