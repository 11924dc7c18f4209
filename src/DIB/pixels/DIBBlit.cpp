#include "DIB/pixels/DIBBlit.h"

#include <functional>

#include "DIB/pixels/DIBBlitTables.h"
#include "common/Assert.h"

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
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
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

constexpr std::size_t Index(BlitImplementation implementation) {
  return static_cast<std::size_t>(implementation);
}

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

// Which implementations are switched on, and the table of each usable one (available and
// switched on): its own routines, the rest from the next usable one below.
class Chain {
 public:
  Chain() {
    m_On.fill(true);
    Compose();
  }

  bool On(BlitImplementation implementation) const { return m_On[Index(implementation)]; }
  void Switch(BlitImplementation implementation, bool on) {
    m_On[Index(implementation)] = on;
    Compose();
  }

  BlitImplementation UsableAtOrBelow(BlitImplementation implementation) const {
    for (std::size_t i = Index(implementation); i > 0; --i) {
      if (Usable(kBlitImplementations[i])) return kBlitImplementations[i];
    }
    return BlitImplementation::Portable;
  }

  const BlitTable& Table(BlitImplementation implementation) const {
    return m_Tables[Index(UsableAtOrBelow(implementation))];
  }
  // The best usable table, chosen once for all blits until a switch.
  const BlitTable& Active() const { return *m_Active; }

 private:
  bool Usable(BlitImplementation implementation) const {
    return On(implementation) && BlitImplementationAvailable(implementation);
  }

  void Compose() {
    m_Tables[0] = detail::PortableBlitTable();
    std::size_t below = 0;
    for (std::size_t i = 1; i < kBlitImplementations.size(); ++i) {
      if (!Usable(kBlitImplementations[i])) continue;
      const BlitTable& own = *OwnTable(kBlitImplementations[i]);
      for (std::size_t kind = 0; kind < kBlitKindCount; ++kind) {
        m_Tables[i][kind] = own[kind] != nullptr ? own[kind] : m_Tables[below][kind];
      }
      below = i;
    }
    m_Active = &Table(kBlitImplementations.back());
  }

  std::array<bool, kBlitImplementations.size()> m_On;
  std::array<BlitTable, kBlitImplementations.size()> m_Tables{};
  const BlitTable* m_Active = nullptr;
};

Chain& TheChain() {
  static Chain chain;
  return chain;
}

// Whether two rows of count pixels share none; they may lie in different images, which only
// std::less orders. Asserted only.
[[maybe_unused]] bool Apart(const uint32_t* a, const uint32_t* b, int32_t count) {
  const std::less<const uint32_t*> before;
  return !before(a, b + count) || !before(b, a + count);
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
  // The processor first: the tables' files are built for their instruction sets.
  static const bool sse2 = ProcessorHasSse2() && detail::Sse2BlitTable() != nullptr;
  static const bool ssse3 = ProcessorHasSsse3() && detail::Ssse3BlitTable() != nullptr;
  static const bool avx2 = ProcessorHasAvx2() && detail::Avx2BlitTable() != nullptr;
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

void SwitchBlitImplementation(BlitImplementation implementation, bool on) {
  FLUX_ASSERT(on || implementation != BlitImplementation::Portable);
  TheChain().Switch(implementation, on);
}

bool BlitImplementationSwitchedOn(BlitImplementation implementation) {
  return TheChain().On(implementation);
}

const BlitTable& BlitRoutines(BlitImplementation implementation) {
  return TheChain().Table(implementation);
}

BlitImplementation ActiveBlitImplementation() {
  return TheChain().UsableAtOrBelow(kBlitImplementations.back());
}

void RunBlit(const BlitTable& table, BlitKind kind, const BlitJob& job,
             const BlitSettings& settings) {
  FLUX_ASSERT(job.columns >= 0 && job.rows >= 0);
  FLUX_ASSERT(static_cast<std::size_t>(kind) < table.size());
  const BlitRow row = table[static_cast<std::size_t>(kind)];
  FLUX_ASSERT(row != nullptr);
  FLUX_ASSERT(job.rows == 0 || job.columns == 0 || (job.dest != nullptr && job.src != nullptr));
  uint32_t* dest = job.dest;
  const uint32_t* src = job.src;
  for (int32_t i = 0; i < job.rows; ++i, dest += job.destStride, src += job.srcStride) {
    FLUX_ASSERT(Apart(dest, src, job.columns));
    row(dest, src, job.columns, settings);
  }
}

void RunBlit(BlitKind kind, const BlitJob& job, const BlitSettings& settings) {
  RunBlit(TheChain().Active(), kind, job, settings);
}

}  // namespace dib
