// Reads arbitrary bytes as a binary component stream: only framework errors may come out. Any
// stream the text form accepts must survive the way to text and back unchanged.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "testsupport/ui/SampleComponents.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/Exception.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sample::RegisterSampleClasses();
  sample::Log().clear();  // the samples log every event
  const std::span<const uint8_t> bytes(data, size);
  try {
    ui::MemoryStream stream(bytes);
    ui::ComponentReader(stream).ReadRoot();
  } catch (const ui::Exception&) {
  }
  std::string text;
  try {
    ui::MemoryStream stream(bytes);
    text = ui::BinaryToText(stream);
  } catch (const ui::Exception&) {
    return 0;
  }
  ui::MemoryStream again(ui::TextToBinary(text));
  if (ui::BinaryToText(again) != text) std::abort();
  return 0;
}
