#pragma once
// A sequence of bytes with a position: the source and target of component streaming and of the
// image data formats.

#include <cstddef>
#include <cstdint>

namespace ui {

enum class SeekOrigin { Begin, Current, End };

class Stream {
 public:
  virtual ~Stream() = default;

  // Copies up to `count` bytes from the position on; returns how many were copied.
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Returns how many bytes were taken.
  virtual size_t Write(const void* buffer, size_t count) = 0;
  // Returns the new position; a position before the start raises StreamReadError.
  virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
  virtual int64_t Size();

  int64_t Position() { return Seek(0, SeekOrigin::Current); }
  void SetPosition(int64_t position) { Seek(position, SeekOrigin::Begin); }
  // Bytes between the position and the end (0 when the position lies beyond it).
  int64_t Remaining();

  // Exactly `count` bytes, or StreamReadError.
  void ReadBuffer(void* buffer, size_t count);
  // Exactly `count` bytes, or StreamWriteError.
  void WriteBuffer(const void* buffer, size_t count);
  // Copies `count` bytes from the position of `source`, or StreamReadError.
  void CopyFrom(Stream& source, size_t count);
};

}  // namespace ui
