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
  void Write(std::span<const uint8_t> bytes);
  // Over bytes written before; fails where the file cannot seek (a pipe).
  void WriteAt(uint64_t offset, std::span<const uint8_t> bytes);
  bool CanSeek();
  void Close();  // everything handed to the system, or an error

 private:
  std::string m_Path;
  std::ofstream m_Out;
};

// Reads a regular file or a pipe of at most `limitMiB` mebibytes; anything else,
// a device that never ends say, is refused. Throws std::runtime_error.
std::vector<uint8_t> ReadBinaryFile(const std::string& path, size_t limitMiB);
void WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);

// "cannot write to standard output: No space left on device" for a stream
// `target` that failed just now; without the reason where errno gives none.
std::runtime_error StreamWriteError(const std::string& target);
void WriteTextFile(const std::string& path, const std::string& text);

}  // namespace fluxhost
