#pragma once
// A stream over a file.

#include <filesystem>
#include <fstream>

#include "ui/model/Stream.h"

namespace ui {

class FileStream : public Stream {
 public:
  enum class Mode { Read, Create, ReadWrite };

  // Raises Exception naming the file when it cannot be opened.
  FileStream(const std::filesystem::path& path, Mode mode);

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;

 private:
  std::filebuf m_File;
};

}  // namespace ui
