// Writes the stored test form as a binary seed for the image-list reader fuzz target.
#include <cstdio>
#include <fstream>

#include "testsupport/DIB/ImageLinkHost.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  dibtest::RegisterClasses();
  auto form = ui::ReadRootFromText(dibtest::kStoredFormText);
  ui::MemoryStream binary;
  ui::ComponentWriter(binary).WriteRoot(*form);
  std::ofstream(argv[1], std::ios::binary)
      .write(reinterpret_cast<const char*>(binary.Bytes().data()),
             static_cast<std::streamsize>(binary.Bytes().size()));
  return 0;
}
