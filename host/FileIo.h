#pragma once
// Whole-file reads and writes with errors that name the file.

#include <cstdint>
#include <string>
#include <vector>

namespace fluxhost {

std::vector<uint8_t> readBinaryFile(const std::string& path);  // throws std::runtime_error
void writeBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);
void writeTextFile(const std::string& path, const std::string& text);

}  // namespace fluxhost
