// Writes the sample tree as seeds for the reader fuzz targets.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "testsupport/ui/SampleComponents.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  sample::RegisterSampleClasses();
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir / "binary");
  std::filesystem::create_directories(dir / "text");
  auto tree = ui::ReadRootFromText(sample::kSampleTreeText);
  ui::MemoryStream binary;
  ui::ComponentWriter(binary).WriteRoot(*tree);
  std::ofstream(dir / "binary" / "sample.bin", std::ios::binary)
      .write(reinterpret_cast<const char*>(binary.Bytes().data()),
             static_cast<std::streamsize>(binary.Bytes().size()));
  std::ofstream(dir / "text" / "sample.txt", std::ios::binary) << sample::kSampleTreeText;
  return 0;
}
