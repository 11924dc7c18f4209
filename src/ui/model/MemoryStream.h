#pragma once
// A stream over a growable block of memory.

#include <cstdint>
#include <span>
#include <vector>

#include "ui/model/Stream.h"

namespace ui {

class MemoryStream : public Stream {
 public:
  MemoryStream() = default;
  // A copy of `bytes`, positioned at the start.
  explicit MemoryStream(std::span<const uint8_t> bytes);
  // Takes over `bytes` without copying them, positioned at the start.
  explicit MemoryStream(std::vector<uint8_t>&& bytes) noexcept : m_Bytes(std::move(bytes)) {}

  size_t Read(void* buffer, size_t count) override;
  // Writing beyond the end grows the block, filling any gap with zeros.
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(m_Bytes.size()); }

  void SetSize(size_t size);  // keeps the position
  const std::vector<uint8_t>& Bytes() const noexcept { return m_Bytes; }
  void Clear() noexcept;

 private:
  std::vector<uint8_t> m_Bytes;
  size_t m_Position = 0;
};

}  // namespace ui
