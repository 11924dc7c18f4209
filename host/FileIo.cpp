#include "FileIo.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fluxhost {

namespace {

std::runtime_error fileError(const char* what, const std::string& path) {
  return std::runtime_error(std::string("cannot ") + what + " '" + path +
                            "': " + std::strerror(errno));
}

void writeAll(const std::string& path, const char* data, size_t size) {
  OutputFile out(path);
  out.write({reinterpret_cast<const uint8_t*>(data), size});
  out.close();
}

}  // namespace

OutputFile::OutputFile(const std::string& path)
    : m_path(path), m_out(path, std::ios::binary | std::ios::trunc) {
  if (!m_out) throw fileError("create", m_path);
}

void OutputFile::write(std::span<const uint8_t> bytes) {
  m_out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  if (!m_out) throw fileError("write", m_path);
}

void OutputFile::writeAt(uint64_t offset, std::span<const uint8_t> bytes) {
  const std::ofstream::pos_type end = m_out.tellp();
  m_out.seekp(static_cast<std::streamoff>(offset));
  write(bytes);
  m_out.seekp(end);
  if (!m_out) throw fileError("write", m_path);
}

bool OutputFile::canSeek() {
  return m_out.tellp() != std::ofstream::pos_type(-1);
}

void OutputFile::close() {
  m_out.close();
  if (!m_out) throw fileError("write", m_path);
}

std::vector<uint8_t> readBinaryFile(const std::string& path, size_t limitMiB) {
  namespace fs = std::filesystem;
  std::error_code unknown;  // a path that cannot be looked at fails to open below
  const fs::file_type type = fs::status(path, unknown).type();
  if (!unknown && type != fs::file_type::regular && type != fs::file_type::fifo)
    throw std::runtime_error("cannot read '" + path + "': not a regular file or a pipe");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw fileError("open", path);
  const size_t limit = limitMiB << 20;
  std::vector<uint8_t> bytes;
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    const auto count = static_cast<size_t>(in.gcount());
    if (count > limit - bytes.size()) {
      throw std::runtime_error("cannot read '" + path + "': larger than " +
                               std::to_string(limitMiB) + " MiB, the most fluxhost reads");
    }
    bytes.insert(bytes.end(), chunk, chunk + count);
  }
  if (in.bad()) throw fileError("read", path);
  return bytes;
}

void writeBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  writeAll(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::runtime_error streamWriteError(const std::string& target) {
  const int reason = errno;
  return std::runtime_error("cannot write " + target +
                            (reason != 0 ? std::string(": ") + std::strerror(reason) : ""));
}

void writeTextFile(const std::string& path, const std::string& text) {
  writeAll(path, text.data(), text.size());
}

}  // namespace fluxhost
