#pragma once
// The implementations' own routines behind BlitRoutines. A SIMD table holds null where the
// implementation has nothing faster than the ones below it.

#include "DIB/pixels/DIBBlit.h"

namespace dib::detail {

const BlitTable& PortableBlitTable();
const BlitTable* Sse2BlitTable();   // null when the build has no SSE2 routines
const BlitTable* Ssse3BlitTable();  // null when the build has no SSSE3 routines
const BlitTable* Avx2BlitTable();   // null when the build has no AVX2 routines

}  // namespace dib::detail
