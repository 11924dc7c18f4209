#pragma once
// File reads and writes with errors that name the file.

#include <cstdint>
#include <fstream>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace fluxhost {

// A file written piece by piece; every failure throws std::runtime_error.
class OutputFile {
 public:
  explicit OutputFile(const std::string& path);  // created, or emptied
  void write(std::span<const uint8_t> bytes);
  // Over bytes written before; fails where the file cannot seek (a pipe).
  void writeAt(uint64_t offset, std::span<const uint8_t> bytes);
  bool canSeek();
  void close();  // everything handed to the system, or an error

 private:
  std::string m_path;
  std::ofstream m_out;
};

// Reads a regular file or a pipe of at most `limitMiB` mebibytes; anything else,
// a device that never ends say, is refused. Throws std::runtime_error.
std::vector<uint8_t> readBinaryFile(const std::string& path, size_t limitMiB);
void writeBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);

// "cannot write to standard output: No space left on device" for a stream
// `target` that failed just now; without the reason where errno gives none.
std::runtime_error streamWriteError(const std::string& target);
void writeTextFile(const std::string& path, const std::string& text);

}  // namespace fluxhost
