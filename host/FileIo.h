#pragma once
// Whole-file reads and writes with errors that name the file.

#include <cstdint>
#include <string>
#include <vector>

namespace fluxhost {

// Reads a regular file or a pipe of at most `limitMiB` mebibytes; anything else,
// a device that never ends say, is refused. Throws std::runtime_error.
std::vector<uint8_t> readBinaryFile(const std::string& path, size_t limitMiB);
void writeBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);
void writeTextFile(const std::string& path, const std::string& text);

}  // namespace fluxhost
