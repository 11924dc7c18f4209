#include "FileIo.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fluxhost {

namespace {

std::runtime_error FileError(const char* what, const std::string& path) {
  return std::runtime_error(std::string("cannot ") + what + " '" + path +
                            "': " + std::strerror(errno));
}

void WriteAll(const std::string& path, const char* data, size_t size) {
  OutputFile out(path);
  out.Write({reinterpret_cast<const uint8_t*>(data), size});
  out.Close();
}

}  // namespace

OutputFile::OutputFile(const std::string& path)
    : m_Path(path), m_Out(path, std::ios::binary | std::ios::trunc) {
  if (!m_Out) throw FileError("create", m_Path);
}

void OutputFile::Write(std::span<const uint8_t> bytes) {
  m_Out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  if (!m_Out) throw FileError("write", m_Path);
}

void OutputFile::WriteAt(uint64_t offset, std::span<const uint8_t> bytes) {
  const std::ofstream::pos_type end = m_Out.tellp();
  m_Out.seekp(static_cast<std::streamoff>(offset));
  Write(bytes);
  m_Out.seekp(end);
  if (!m_Out) throw FileError("write", m_Path);
}

bool OutputFile::CanSeek() {
  return m_Out.tellp() != std::ofstream::pos_type(-1);
}

void OutputFile::Close() {
  m_Out.close();
  if (!m_Out) throw FileError("write", m_Path);
}

std::vector<uint8_t> ReadBinaryFile(const std::string& path, size_t limitMiB) {
  namespace fs = std::filesystem;
  std::error_code unknown;  // a path that cannot be looked at fails to open below
  const fs::file_type type = fs::status(path, unknown).type();
  if (!unknown && type != fs::file_type::regular && type != fs::file_type::fifo)
    throw std::runtime_error("cannot read '" + path + "': not a regular file or a pipe");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError("open", path);
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
  if (in.bad()) throw FileError("read", path);
  return bytes;
}

void WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteAll(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::runtime_error StreamWriteError(const std::string& target) {
  const int reason = errno;
  return std::runtime_error("cannot write " + target +
                            (reason != 0 ? std::string(": ") + std::strerror(reason) : ""));
}

void WriteTextFile(const std::string& path, const std::string& text) {
  WriteAll(path, text.data(), text.size());
}

}  // namespace fluxhost
