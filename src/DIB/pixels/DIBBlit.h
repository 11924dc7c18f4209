#pragma once
// The blit routines: every routine blends one row with the same signature, and lives in
// one table per implementation (portable, SSE2, SSSE3, AVX2); RunBlit steps the rows.

#include <array>
#include <cstddef>
#include <cstdint>

namespace dib {

// What a routine reads of the image whose settings it uses.
struct BlitSettings {
  uint8_t opacity = 255;
  uint32_t key = 0;  // key colour in pixel form; only its low 24 bits are compared
};

// Blends count pixels of src into dest. The two rows must not overlap.
using BlitRow = void (*)(uint32_t* dest, const uint32_t* src, int32_t count,
                         const BlitSettings& settings);

enum class BlitKind : uint8_t {
  Copy,                // d = s
  Opacity,             // colour blended with a = opacity, d's mask kept
  Masked,              // colour blended with a = s's mask, d's mask kept
  MaskedOpacity,       // colour blended with a = (s's mask * opacity) >> 8, d's mask kept
  Transparent,         // key colour skipped, otherwise d = s with mask 0
  TransparentOpacity,  // key colour skipped, otherwise colour blended with a = opacity, mask = s's
  Alpha,               // d's mask = s's mask, colour kept
  MaskAsGrey,          // all four bytes of d = s's mask
};
inline constexpr std::size_t kBlitKindCount = 8;

using BlitTable = std::array<BlitRow, kBlitKindCount>;

// In rising order of preference, on x86 processors: Avx2 where the processor has it, else Ssse3,
// else Sse2. Each supplies only the routines it speeds up and takes the others from the next
// one below it that is available and switched on.
enum class BlitImplementation : uint8_t { Portable, Sse2, Ssse3, Avx2 };
inline constexpr std::array kBlitImplementations = {
    BlitImplementation::Portable, BlitImplementation::Sse2, BlitImplementation::Ssse3,
    BlitImplementation::Avx2};

// The routine an image draws with: Masked wins over Transparent.
BlitKind SelectBlitKind(uint8_t opacity, bool masked, bool transparent);

const char* BlitImplementationName(BlitImplementation implementation);  // "Portable", "Sse2", ...
// Whether the implementation's own routines exist on this build and processor.
bool BlitImplementationAvailable(BlitImplementation implementation);
// Switches an implementation off, as if the processor lacked it, or on again: one switched off
// is never used, and those above it fall back past it. Portable cannot be switched off. All are
// on at start; for tests and benchmarks, never while another thread blits.
void SwitchBlitImplementation(BlitImplementation implementation, bool on);
bool BlitImplementationSwitchedOn(BlitImplementation implementation);
// The table of the best implementation at or below the given one that is available and
// switched on, completed from the ones below it.
const BlitTable& BlitRoutines(BlitImplementation implementation);
// The implementation whose table RunBlit uses: the best available one switched on.
BlitImplementation ActiveBlitImplementation();

// A block of rows to blend. Strides are in pixels from one drawn row to the next and are
// negative when the rows run from the top of a bottom-up image downwards.
struct BlitJob {
  uint32_t* dest;
  std::ptrdiff_t destStride;
  const uint32_t* src;
  std::ptrdiff_t srcStride;
  int32_t columns;
  int32_t rows;
};

// Rows and columns are not negative; each drawn row of src and of dest lies in its image, and
// the two do not overlap (an image drawn into itself is drawn from a copy).
void RunBlit(const BlitTable& table, BlitKind kind, const BlitJob& job,
             const BlitSettings& settings);
void RunBlit(BlitKind kind, const BlitJob& job, const BlitSettings& settings);  // active table

}  // namespace dib
