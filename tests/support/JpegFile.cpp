#include "tests/support/JpegFile.h"

#include <jpeglib.h>

#include <csetjmp>
#include <fstream>
#include <iterator>

namespace kravelon {

namespace {

struct TStrictErrors {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
};

}  // namespace

bool ReadJpegFile(const std::string& path, TRgbPicture& out) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> data{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  if (data.empty()) return false;
  jpeg_decompress_struct info{};
  TStrictErrors errors{};
  info.err = jpeg_std_error(&errors.Manager);
  errors.Manager.error_exit = [](j_common_ptr c) {
    std::longjmp(reinterpret_cast<TStrictErrors*>(c->err)->Jump, 1);
  };
  errors.Manager.emit_message = [](j_common_ptr c, int level) {
    if (level < 0) std::longjmp(reinterpret_cast<TStrictErrors*>(c->err)->Jump, 1);
  };
  if (setjmp(errors.Jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), data.size());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  out.Width = static_cast<int>(info.output_width);
  out.Height = static_cast<int>(info.output_height);
  out.Rgb.assign(static_cast<std::size_t>(out.Width) * out.Height * 3, 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &out.Rgb[static_cast<std::size_t>(info.output_scanline) * out.Width * 3];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace kravelon
