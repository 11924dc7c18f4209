// Reads arbitrary text as a component description: only framework errors may come out. Any text
// the parser accepts must convert to text and back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "testsupport/ui/SampleComponents.h"
#include "ui/model/Exception.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sample::RegisterSampleClasses();
  sample::Log().clear();  // the samples log every event
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    ui::ReadRootFromText(text);
  } catch (const ui::Exception&) {
  }
  std::vector<uint8_t> binary;
  try {
    binary = ui::TextToBinary(text);
  } catch (const ui::Exception&) {
    return 0;
  }
  std::string canonical;
  try {
    ui::MemoryStream stream(binary);
    canonical = ui::BinaryToText(stream);
  } catch (const ui::Exception&) {
    return 0;  // e.g. a reserved word used as an identifier value
  }
  if (ui::TextToBinary(canonical) != binary) std::abort();
  return 0;
}
