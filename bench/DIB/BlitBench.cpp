// The pixel routines on 512 x 512 images, each figure with its reference in the same run:
// "<figure>:subject" against "<figure>:reference".

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "DIB/pixels/DIBBlit.h"
#include "DIB/pixels/DIBStretch.h"
#include "DIB/pixels/DIBTransform.h"
#include "testsupport/DIB/PixelReferences.h"  // from tests/

namespace {

constexpr int32_t kSide = 512;

// Random pixels with a quarter fully transparent and a quarter fully opaque.
std::vector<uint32_t> RandomImage(uint32_t seed, int32_t width, int32_t height) {
  std::mt19937 random(seed);
  std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (uint32_t& p : pixels) {
    const uint32_t colour = random() & 0xFFFFFF;
    switch (random() % 4) {
      case 0:
        p = colour;
        break;
      case 1:
        p = colour | 0xFF000000;
        break;
      default:
        p = static_cast<uint32_t>(random());
    }
  }
  return pixels;
}

struct Images {
  std::vector<uint32_t> src = RandomImage(1, kSide, kSide);
  std::vector<uint32_t> dest = RandomImage(2, kSide, kSide);
};

void Blit(benchmark::State& state, dib::BlitImplementation implementation, dib::BlitKind kind,
          uint8_t opacity) {
  Images images;
  const dib::BlitTable& table = dib::BlitRoutines(implementation);
  const dib::BlitSettings settings{opacity, images.src[17]};
  // Top row first through bottom-up storage, as images draw.
  const std::ptrdiff_t last = std::ptrdiff_t{kSide} * (kSide - 1);
  const dib::BlitJob job{
      images.dest.data() + last, -kSide, images.src.data() + last, -kSide, kSide, kSide};
  for (auto _ : state) {
    dib::RunBlit(table, kind, job, settings);
    benchmark::ClobberMemory();
  }
}

void Memcpy(benchmark::State& state) {
  Images images;
  for (auto _ : state) {
    std::memcpy(images.dest.data(), images.src.data(), images.src.size() * sizeof(uint32_t));
    benchmark::ClobberMemory();
  }
}

pixman_image_t* PixmanImage(pixman_format_code_t format, std::vector<uint32_t>& pixels) {
  return pixman_image_create_bits(format, kSide, kSide, pixels.data(), kSide * 4);
}

// OVER of the source onto the destination, through a solid mask of the given opacity or,
// without one, through the source's own alpha.
void PixmanOver(benchmark::State& state, pixman_format_code_t sourceFormat, int opacity) {
  Images images;
  pixman_image_t* src = PixmanImage(sourceFormat, images.src);
  pixman_image_t* dest = PixmanImage(PIXMAN_a8r8g8b8, images.dest);
  const auto level = static_cast<uint16_t>(opacity * 257);
  const pixman_color_t grey = {level, level, level, level};
  pixman_image_t* mask = opacity >= 0 ? pixman_image_create_solid_fill(&grey) : nullptr;
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dest, 0, 0, 0, 0, 0, 0, kSide, kSide);
    benchmark::ClobberMemory();
  }
  if (mask) pixman_image_unref(mask);
  pixman_image_unref(dest);
  pixman_image_unref(src);
}

template <auto Stretch>
void StretchUp(benchmark::State& state) {
  const std::vector<uint32_t> src = RandomImage(3, 200, 150);
  std::vector<uint32_t> dest(kSide * kSide);
  for (auto _ : state) {
    Stretch(flux::MutablePixelView{dest.data(), kSide, kSide},
            flux::PixelView{src.data(), 200, 150});
    benchmark::ClobberMemory();
  }
}

template <auto Transform>
void Rotate(benchmark::State& state) {
  const std::vector<uint32_t> src = RandomImage(4, kSide, kSide);
  std::vector<uint32_t> dest(kSide * kSide);
  const dib::TransformSettings settings{30, 100.0, 100.0, 0};
  for (auto _ : state) {
    Transform(flux::MutablePixelView{dest.data(), kSide, kSide},
              flux::PixelView{src.data(), kSide, kSide}, settings);
    benchmark::ClobberMemory();
  }
}

// The blends against pixman's OVER: through a solid mask of the same opacity, or through the
// source's own alpha. The best implementation gives the plain figures; SSSE3 and SSE2, one of
// which processors without AVX2 use, have their own where something better is active.
void RegisterBlends() {
  using benchmark::RegisterBenchmark;
  using dib::BlitKind;
  struct Blend {
    const char* name;
    BlitKind kind;
    uint8_t opacity;
    pixman_format_code_t pixmanSource;
    int pixmanOpacity;  // -1: no mask
  };
  static constexpr Blend kBlends[] = {
      {"opacity", BlitKind::Opacity, 128, PIXMAN_x8r8g8b8, 128},
      {"masked", BlitKind::Masked, 255, PIXMAN_a8r8g8b8, -1},
      {"masked_opacity", BlitKind::MaskedOpacity, 128, PIXMAN_a8r8g8b8, 128},
      {"transparent", BlitKind::Transparent, 255, PIXMAN_a8r8g8b8, -1},
      {"transparent_opacity", BlitKind::TransparentOpacity, 128, PIXMAN_x8r8g8b8, 128},
  };
  const auto registerAll = [](dib::BlitImplementation implementation, const char* infix) {
    for (const Blend& blend : kBlends) {
      const std::string figure = std::string("blit_") + blend.name + infix + "_vs_pixman";
      RegisterBenchmark((figure + ":subject").c_str(), Blit, implementation, blend.kind,
                        blend.opacity);
      RegisterBenchmark((figure + ":reference").c_str(), PixmanOver, blend.pixmanSource,
                        blend.pixmanOpacity);
    }
  };
  const dib::BlitImplementation best = dib::ActiveBlitImplementation();
  registerAll(best, "");
  const auto registerIfBelowBest = [&](dib::BlitImplementation implementation, const char* infix) {
    if (implementation != best && dib::BlitImplementationAvailable(implementation)) {
      registerAll(implementation, infix);
    }
  };
  registerIfBelowBest(dib::BlitImplementation::Ssse3, "_ssse3");
  registerIfBelowBest(dib::BlitImplementation::Sse2, "_sse2");
}

int Register() {
  using benchmark::RegisterBenchmark;
  RegisterBenchmark("blit_copy_vs_memcpy:subject", Blit, dib::ActiveBlitImplementation(),
                    dib::BlitKind::Copy, uint8_t{255});
  RegisterBenchmark("blit_copy_vs_memcpy:reference", Memcpy);
  RegisterBlends();
  RegisterBenchmark("stretch_vs_portable:subject", StretchUp<dib::StretchPixels>);
  RegisterBenchmark("stretch_vs_portable:reference", StretchUp<dibtest::StretchPixelsReference>);
  RegisterBenchmark("transform_vs_portable:subject", Rotate<dib::TransformPixels>);
  RegisterBenchmark("transform_vs_portable:reference", Rotate<dibtest::TransformPixelsReference>);
  return 0;
}

const int kRegistered = Register();

}  // namespace

BENCHMARK_MAIN();
