#include "FileIo.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fluxhost {

namespace {

std::runtime_error fileError(const char* what, const std::string& path) {
  return std::runtime_error(std::string("cannot ") + what + " '" + path +
                            "': " + std::strerror(errno));
}

void writeAll(const std::string& path, const char* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw fileError("create", path);
  out.write(data, static_cast<std::streamsize>(size));
  out.close();
  if (!out) throw fileError("write", path);
}

}  // namespace

std::vector<uint8_t> readBinaryFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw fileError("open", path);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw fileError("read", path);
  return bytes;
}

void writeBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  writeAll(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void writeTextFile(const std::string& path, const std::string& text) {
  writeAll(path, text.data(), text.size());
}

}  // namespace fluxhost
