#include "DIB/DIBRunLengthCompressor.h"

#include <cstring>

namespace {

constexpr std::size_t kUnit = 4;
constexpr std::size_t kMaxLiteral = 128;
constexpr std::size_t kMaxRun = 129;
constexpr uint8_t kFirstRunCode = 128;  // codes a run of 2

[[noreturn]] void Corrupt() {
  throw EDIBCompressError("Corrupt run-length compressed DIB data");
}

class Writer {
 public:
  explicit Writer(std::span<uint8_t> target) : m_Target(target) {}

  // False when the target is full.
  bool Put(uint8_t control, const uint8_t* units, std::size_t bytes) {
    if (1 + bytes > m_Target.size() - m_Count) return false;
    m_Target[m_Count++] = control;
    std::memcpy(m_Target.data() + m_Count, units, bytes);
    m_Count += bytes;
    return true;
  }
  std::size_t Count() const { return m_Count; }

 private:
  std::span<uint8_t> m_Target;
  std::size_t m_Count = 0;
};

}  // namespace

std::size_t TDIBRunLengthCompressor::Compress(const TAbstractSuperDIB&,
                                              std::span<const uint8_t> data,
                                              std::span<uint8_t> target) {
  if (data.size() % kUnit != 0) return 0;
  const std::size_t units = data.size() / kUnit;
  const auto unit = [&data](std::size_t i) { return data.data() + i * kUnit; };
  const auto same = [&](std::size_t a, std::size_t b) {
    return std::memcmp(unit(a), unit(b), kUnit) == 0;
  };
  Writer out(target);
  for (std::size_t i = 0; i < units;) {
    std::size_t run = 1;
    while (i + run < units && run < kMaxRun && same(i, i + run)) ++run;
    if (run >= 2) {
      if (!out.Put(static_cast<uint8_t>(kFirstRunCode + run - 2), unit(i), kUnit)) return 0;
      i += run;
      continue;
    }
    const std::size_t start = i;
    do {
      ++i;
    } while (i < units && i - start < kMaxLiteral && !(i + 1 < units && same(i, i + 1)));
    const std::size_t count = i - start;
    if (!out.Put(static_cast<uint8_t>(count - 1), unit(start), count * kUnit)) return 0;
  }
  return out.Count() < data.size() ? out.Count() : 0;
}

void TDIBRunLengthCompressor::Decompress(const TAbstractSuperDIB&, const TDIBId&,
                                         std::span<const uint8_t> data, std::span<uint8_t> target) {
  std::size_t in = 0;
  for (std::size_t out = 0; out < target.size();) {
    if (in == data.size()) Corrupt();
    const uint8_t control = data[in++];
    const bool repeat = control >= kFirstRunCode;
    const std::size_t bytes = (repeat ? control - kFirstRunCode + 2u : control + 1u) * kUnit;
    const std::size_t stored = repeat ? kUnit : bytes;
    if (bytes > target.size() - out || stored > data.size() - in) Corrupt();
    for (std::size_t done = 0; done < bytes; done += stored) {
      std::memcpy(target.data() + out + done, data.data() + in, stored);
    }
    in += stored;
    out += bytes;
  }
  if (in != data.size()) Corrupt();
}
