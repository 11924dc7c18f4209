// SSE2 rows: every kernel but the plain copy, whose memcpy is already as wide as it gets.

#include "DIB/pixels/DIBBlitTables.h"

#if defined(__SSE2__)

#include "DIB/pixels/DIBBlitSse2.h"

namespace dib::detail {

const BlitTable* Sse2BlitTable() {
  static constexpr BlitTable table =
      RowsOf<Sse2, OpacityKernels, MaskedKernel, MaskedOpacityKernel, TransparentKernel,
             TransparentOpacityKernels, AlphaKernel, MaskAsGreyKernel>();
  return &table;
}

}  // namespace dib::detail

#else

namespace dib::detail {

const BlitTable* Sse2BlitTable() {
  return nullptr;
}

}  // namespace dib::detail

#endif
