// libjpeg reports fatal errors through error_exit, which must not return. It jumps back
// (longjmp) to the step that called into the library; those steps keep no C++ object with a
// destructor in their frame, so the jump skips nothing. The session that owns the
// decompressor lives one frame further out and cleans up as the error is thrown.

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include <jpeglib.h>

#include "ui/graphics/GraphicError.h"
#include "ui/graphics/PictureDecoders.h"

namespace ui {
namespace {

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpOut(j_common_ptr info) {
  auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
  (*info->err->format_message)(info, trap->message);
  std::longjmp(trap->jump, 1);
}

// Warnings about corrupt data (level -1) end the decoding too: the picture would be wrong.
void JumpOutOnCorruption(j_common_ptr info, int level) {
  if (level < 0) JumpOut(info);
}

struct Session {
  Session() {
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = JumpOut;
    trap.manager.emit_message = JumpOutOnCorruption;
  }
  ~Session() { jpeg_destroy_decompress(&info); }  // also safe when never created
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  jpeg_decompress_struct info{};
  ErrorTrap trap{};
};

bool ReadHeader(Session& session, const uint8_t* data, std::size_t size) {
  jpeg_decompress_struct& info = session.info;
  if (setjmp(session.trap.jump)) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  info.dct_method = JDCT_ISLOW;  // exact integer arithmetic: the same pixels everywhere
  jpeg_start_decompress(&info);
  return true;
}

bool ReadPixels(Session& session, Surface& surface) {
  jpeg_decompress_struct& info = session.info;
  if (setjmp(session.trap.jump)) return false;
  JSAMPARRAY line = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                              info.output_width * 3, 1);
  while (info.output_scanline < info.output_height) {
    const auto y = static_cast<int32_t>(info.output_scanline);
    jpeg_read_scanlines(&info, line, 1);
    uint32_t* out = surface.ScanLine(y);
    const JSAMPLE* in = line[0];
    for (JDIMENSION x = 0; x < info.output_width; ++x, in += 3) {
      out[x] = uint32_t{in[0]} << 16 | uint32_t{in[1]} << 8 | in[2];
    }
  }
  jpeg_finish_decompress(&info);
  return true;
}

[[noreturn]] void Fail(const Session& session) {
  throw GraphicError(std::string("JPEG error: ") + session.trap.message);
}

// 8192 x 8192 pixels: far beyond any skin, and a 256 MiB surface at most.
constexpr uint64_t kMaxJpegPixels = uint64_t{1} << 26;

}  // namespace

Surface DecodeJpeg(std::span<const uint8_t> data) {
  Session session;
  if (data.empty()) throw GraphicError("JPEG error: no data");
  // libjpeg takes the size as unsigned long, 32 bits on 64-bit Windows too.
  if (data.size() > std::numeric_limits<unsigned long>::max())
    throw GraphicError("JPEG error: data too large");
  if (!ReadHeader(session, data.data(), data.size())) Fail(session);
  // A few hundred bytes of header can claim a picture of 65535 x 65535: the
  // size is checked before anything is allocated for it.
  const uint64_t pixels = uint64_t{session.info.output_width} * session.info.output_height;
  if (pixels == 0 || pixels > kMaxJpegPixels) throw GraphicError("JPEG error: picture too large");
  Surface surface(static_cast<int32_t>(session.info.output_width),
                  static_cast<int32_t>(session.info.output_height));
  if (!ReadPixels(session, surface)) Fail(session);
  return surface;
}

}  // namespace ui
