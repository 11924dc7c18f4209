#include "DIB/pixels/DIBBlit.h"

#include "DIB/pixels/DIBBlitTables.h"

namespace dib {
namespace {

// Feature tests may run from static constructors, before the runtime has probed the processor.
bool ProcessorHasSse2() {
#if defined(__x86_64__) || defined(_M_X64)
  return true;  // part of the architecture
#elif defined(__i386__) && (defined(__GNUC__) || defined(__clang__))
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2");
#else
  return false;
#endif
}

bool ProcessorHasSsse3() {
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
  __builtin_cpu_init();
  return __builtin_cpu_supports("ssse3");
#else
  return false;
#endif
}

bool ProcessorHasAvx2() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");  // also false when the system does not save YMM state
#else
  return false;
#endif
}

// Each implementation's place in kBlitImplementations is its value.
constexpr bool ListedInOrder() {
  for (std::size_t i = 0; i < kBlitImplementations.size(); ++i) {
    if (static_cast<std::size_t>(kBlitImplementations[i]) != i) return false;
  }
  return true;
}
static_assert(ListedInOrder());

// The implementation's own table, whether or not the processor can run it.
const BlitTable* OwnTable(BlitImplementation implementation) {
  switch (implementation) {
    case BlitImplementation::Portable:
      return &detail::PortableBlitTable();
    case BlitImplementation::Sse2:
      return detail::Sse2BlitTable();
    case BlitImplementation::Ssse3:
      return detail::Ssse3BlitTable();
    case BlitImplementation::Avx2:
      return detail::Avx2BlitTable();
  }
  return nullptr;
}

// The first available one at or below the given one in the order of preference.
BlitImplementation AvailableAtOrBelow(BlitImplementation implementation) {
  for (auto i = static_cast<std::size_t>(implementation); i > 0; --i) {
    if (BlitImplementationAvailable(kBlitImplementations[i])) return kBlitImplementations[i];
  }
  return BlitImplementation::Portable;
}

BlitImplementation BestImplementation() {
  return AvailableAtOrBelow(kBlitImplementations.back());
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

const char* BlitImplementationName(BlitImplementation implementation) {
  switch (implementation) {
    case BlitImplementation::Portable:
      return "Portable";
    case BlitImplementation::Sse2:
      return "Sse2";
    case BlitImplementation::Ssse3:
      return "Ssse3";
    case BlitImplementation::Avx2:
      return "Avx2";
  }
  return "?";
}

bool BlitImplementationAvailable(BlitImplementation implementation) {
  static const bool sse2 = detail::Sse2BlitTable() != nullptr && ProcessorHasSse2();
  static const bool ssse3 = detail::Ssse3BlitTable() != nullptr && ProcessorHasSsse3();
  static const bool avx2 = detail::Avx2BlitTable() != nullptr && ProcessorHasAvx2();
  switch (implementation) {
    case BlitImplementation::Portable:
      return true;
    case BlitImplementation::Sse2:
      return sse2;
    case BlitImplementation::Ssse3:
      return ssse3;
    case BlitImplementation::Avx2:
      return avx2;
  }
  return false;
}

const BlitTable& BlitRoutines(BlitImplementation implementation) {
  return *OwnTable(AvailableAtOrBelow(implementation));
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
