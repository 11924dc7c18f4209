#include "DIB/DIBBlit.h"

#include "DIB/DIBBlitTables.h"

namespace dib {
namespace {

bool ProcessorHasSse2() {
#if defined(__x86_64__) || defined(_M_X64)
  return true;  // part of the architecture
#elif defined(__i386__) && (defined(__GNUC__) || defined(__clang__))
  return __builtin_cpu_supports("sse2");
#else
  return false;
#endif
}

BlitImplementation BestImplementation() {
  return HasSse2() ? BlitImplementation::Sse2 : BlitImplementation::Portable;
}

BlitImplementation& ActiveImplementation() {
  static BlitImplementation active = BestImplementation();
  return active;
}

}  // namespace

BlitKind SelectBlitKind(uint8_t opacity, bool masked, bool transparent) {
  const bool opaque = opacity == 255;
  if (masked) return opaque ? BlitKind::Masked : BlitKind::MaskedOpacity;
  if (transparent) return opaque ? BlitKind::Transparent : BlitKind::TransparentOpacity;
  return opaque ? BlitKind::Copy : BlitKind::Opacity;
}

bool HasSse2() {
  static const bool available = detail::Sse2BlitTable() != nullptr && ProcessorHasSse2();
  return available;
}

const BlitTable& BlitRoutines(BlitImplementation implementation) {
  if (implementation == BlitImplementation::Sse2 && HasSse2()) return *detail::Sse2BlitTable();
  return detail::PortableBlitTable();
}

void SelectBlitImplementation(BlitImplementation implementation) {
  ActiveImplementation() = implementation;
}

BlitImplementation ActiveBlitImplementation() {
  return ActiveImplementation();
}

void RunBlit(const BlitTable& table, BlitKind kind, const BlitJob& job,
             const BlitSettings& settings) {
  const BlitRow row = table[static_cast<std::size_t>(kind)];
  uint32_t* dest = job.dest;
  const uint32_t* src = job.src;
  for (int32_t i = 0; i < job.rows; ++i, dest += job.destStride, src += job.srcStride) {
    row(dest, src, job.columns, settings);
  }
}

void RunBlit(BlitKind kind, const BlitJob& job, const BlitSettings& settings) {
  RunBlit(BlitRoutines(ActiveImplementation()), kind, job, settings);
}

}  // namespace dib
