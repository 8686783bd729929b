#include "Toolkit/Jpeg.h"

#include <SDL.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "Toolkit/Errors.h"
#include "Toolkit/Graphics.h"

namespace {

struct TErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Escape;
  char Message[JMSG_LENGTH_MAX];
};

// libjpeg's default handler calls exit(); ours returns to the caller instead.
[[noreturn]] void OnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<TErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->Message);
  std::longjmp(manager->Escape, 1);
}

void OnMessage(j_common_ptr info, int level) {
  if (level < 0) OnError(info);  // a warning: corrupt or truncated data
}

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

void LoadJpegFile(TBitmap& picture, const std::string& path) {
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw TToolkitError("Cannot open \"" + path + "\"");

  jpeg_decompress_struct info{};
  TErrorManager errors{};
  info.err = jpeg_std_error(&errors.Base);
  errors.Base.error_exit = OnError;
  errors.Base.emit_message = OnMessage;
  SDL_Surface* volatile surface = nullptr;
  // Nothing with a destructor may live between setjmp and a longjmp back to it.
  if (setjmp(errors.Escape)) {
    jpeg_destroy_decompress(&info);
    if (surface) SDL_FreeSurface(surface);
    throw TToolkitError("Cannot decode \"" + path + "\": " + errors.Message);
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file.get());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGRX;  // the byte order of a 32-bit XRGB surface
  jpeg_start_decompress(&info);
  surface = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(info.output_width),
                                           static_cast<int>(info.output_height), 32,
                                           SDL_PIXELFORMAT_RGB888);
  if (!surface) {
    jpeg_destroy_decompress(&info);
    throw TToolkitError("Cannot hold the picture \"" + path + "\"");
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = static_cast<JSAMPROW>(surface->pixels) +
                   static_cast<std::size_t>(info.output_scanline) * surface->pitch;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  picture.AdoptSurface(surface);
}
