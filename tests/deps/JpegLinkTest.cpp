// The JPEG library is found and linked on every target: decode a tiny
// grey image made by the same library.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

struct ErrorTrap {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void ExitByJump(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

std::vector<unsigned char> EncodeGrey(int width, int height, unsigned char level) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = 1;
  c.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width), level);
  while (c.next_scanline < c.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<unsigned char> result(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return result;
}

}  // namespace

TEST(JpegLibrary, DecodesWhatItEncoded) {
  const auto data = EncodeGrey(8, 4, 200);
  jpeg_decompress_struct d{};
  ErrorTrap trap{};
  d.err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = ExitByJump;
  if (setjmp(trap.jump)) {
    jpeg_destroy_decompress(&d);
    FAIL() << "decoding raised an error";
  }
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, data.data(), static_cast<unsigned long>(data.size()));
  ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
  jpeg_start_decompress(&d);
  EXPECT_EQ(d.output_width, 8u);
  EXPECT_EQ(d.output_height, 4u);
  std::vector<unsigned char> row(d.output_width * static_cast<unsigned>(d.output_components));
  JSAMPROW rows[1] = {row.data()};
  jpeg_read_scanlines(&d, rows, 1);
  for (unsigned char v : row) EXPECT_NEAR(v, 200, 1);
  jpeg_abort_decompress(&d);
  jpeg_destroy_decompress(&d);
}
