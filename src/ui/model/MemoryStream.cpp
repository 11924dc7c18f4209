#include "ui/model/MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "ui/model/Exception.h"

namespace ui {

MemoryStream::MemoryStream(std::span<const uint8_t> bytes) : m_Bytes(bytes.begin(), bytes.end()) {}

size_t MemoryStream::Read(void* buffer, size_t count) {
  if (m_Position >= m_Bytes.size()) return 0;
  const size_t available = std::min(count, m_Bytes.size() - m_Position);
  if (available > 0) std::memcpy(buffer, m_Bytes.data() + m_Position, available);
  m_Position += available;
  return available;
}

size_t MemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return 0;
  if (count > std::numeric_limits<size_t>::max() - m_Position) return 0;
  const size_t end = m_Position + count;
  if (end > m_Bytes.size()) m_Bytes.resize(end);
  std::memcpy(m_Bytes.data() + m_Position, buffer, count);
  m_Position = end;
  return count;
}

int64_t MemoryStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = 0;
  if (origin == SeekOrigin::Current) base = static_cast<int64_t>(m_Position);
  if (origin == SeekOrigin::End) base = static_cast<int64_t>(m_Bytes.size());
  const int64_t target = base + offset;
  if (target < 0 || static_cast<uint64_t>(target) > std::numeric_limits<size_t>::max()) {
    throw StreamReadError("Seek to " + std::to_string(target) + " is outside the stream");
  }
  m_Position = static_cast<size_t>(target);
  return target;
}

void MemoryStream::SetSize(size_t size) {
  m_Bytes.resize(size);
}

void MemoryStream::Clear() noexcept {
  m_Bytes.clear();
  m_Position = 0;
}

}  // namespace ui
