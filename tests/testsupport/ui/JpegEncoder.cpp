#include "testsupport/ui/JpegEncoder.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace uitest {

std::vector<uint8_t> EncodeJpeg(const ui::Surface& picture, int quality) {
  // libjpeg's own error handler prints the message and ends the process: on pictures made by
  // the caller there is no error to recover from.
  jpeg_compress_struct compressor{};
  jpeg_error_mgr errors{};
  compressor.err = jpeg_std_error(&errors);
  jpeg_create_compress(&compressor);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&compressor, &buffer, &size);
  compressor.image_width = static_cast<JDIMENSION>(picture.Width());
  compressor.image_height = static_cast<JDIMENSION>(picture.Height());
  compressor.input_components = 3;
  compressor.in_color_space = JCS_RGB;
  jpeg_set_defaults(&compressor);
  jpeg_set_quality(&compressor, quality, TRUE);
  compressor.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&compressor, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.Width()) * 3);
  for (int32_t y = 0; y < picture.Height(); ++y) {
    for (int32_t x = 0; x < picture.Width(); ++x) {
      const uint32_t pixel = picture.Pixel(x, y);
      const std::size_t at = static_cast<std::size_t>(x) * 3;
      row[at] = static_cast<JSAMPLE>(pixel >> 16);
      row[at + 1] = static_cast<JSAMPLE>(pixel >> 8);
      row[at + 2] = static_cast<JSAMPLE>(pixel);
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&compressor, rows, 1);
  }
  jpeg_finish_compress(&compressor);
  jpeg_destroy_compress(&compressor);
  std::vector<uint8_t> encoded(buffer, buffer + size);
  std::free(buffer);
  return encoded;
}

}  // namespace uitest
