#include "ui/model/FileStream.h"

#include <algorithm>
#include <limits>

#include "ui/model/Exception.h"

namespace ui {
namespace {

std::ios_base::openmode OpenMode(FileStream::Mode mode) {
  switch (mode) {
    case FileStream::Mode::Read:
      return std::ios_base::in | std::ios_base::binary;
    case FileStream::Mode::Create:
      return std::ios_base::in | std::ios_base::out | std::ios_base::trunc | std::ios_base::binary;
    case FileStream::Mode::ReadWrite:
      break;
  }
  return std::ios_base::in | std::ios_base::out | std::ios_base::binary;
}

// std::streamsize is 32 bits on 32-bit targets: move big blocks in pieces.
constexpr size_t kMaxStep = static_cast<size_t>(std::numeric_limits<int32_t>::max());

}  // namespace

FileStream::FileStream(const std::filesystem::path& path, Mode mode) {
  if (m_File.open(path, OpenMode(mode)) == nullptr) {
    throw Exception("Cannot open file \"" + path.string() + "\"");
  }
}

size_t FileStream::Read(void* buffer, size_t count) {
  auto* bytes = static_cast<char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const size_t step = std::min(count - done, kMaxStep);
    const std::streamsize got = m_File.sgetn(bytes + done, static_cast<std::streamsize>(step));
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

size_t FileStream::Write(const void* buffer, size_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const size_t step = std::min(count - done, kMaxStep);
    const std::streamsize put = m_File.sputn(bytes + done, static_cast<std::streamsize>(step));
    if (put <= 0) break;
    done += static_cast<size_t>(put);
  }
  return done;
}

int64_t FileStream::Seek(int64_t offset, SeekOrigin origin) {
  const std::ios_base::seekdir direction = origin == SeekOrigin::Begin     ? std::ios_base::beg
                                           : origin == SeekOrigin::Current ? std::ios_base::cur
                                                                           : std::ios_base::end;
  const std::streampos position = m_File.pubseekoff(static_cast<std::streamoff>(offset), direction,
                                                    std::ios_base::in | std::ios_base::out);
  if (position == std::streampos(std::streamoff(-1))) {
    throw StreamReadError("Seek to " + std::to_string(offset) + " failed");
  }
  return static_cast<int64_t>(std::streamoff(position));
}

}  // namespace ui
