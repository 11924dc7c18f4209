#include "ui/model/Stream.h"

#include <algorithm>
#include <array>
#include <string>

#include "ui/model/Exception.h"

namespace ui {

int64_t Stream::Size() {
  const int64_t position = Position();
  const int64_t size = Seek(0, SeekOrigin::End);
  SetPosition(position);
  return size;
}

int64_t Stream::Remaining() {
  return std::max<int64_t>(0, Size() - Position());
}

void Stream::ReadBuffer(void* buffer, size_t count) {
  const size_t got = Read(buffer, count);
  if (got != count) {
    throw StreamReadError("Stream read error: " + std::to_string(count) + " bytes wanted, " +
                          std::to_string(got) + " read");
  }
}

void Stream::WriteBuffer(const void* buffer, size_t count) {
  const size_t put = Write(buffer, count);
  if (put != count) {
    throw StreamWriteError("Stream write error: " + std::to_string(count) + " bytes given, " +
                           std::to_string(put) + " written");
  }
}

void Stream::CopyFrom(Stream& source, size_t count) {
  std::array<uint8_t, 4096> chunk;
  while (count > 0) {
    const size_t step = std::min(count, chunk.size());
    source.ReadBuffer(chunk.data(), step);
    WriteBuffer(chunk.data(), step);
    count -= step;
  }
}

}  // namespace ui
