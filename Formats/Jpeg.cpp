// JPEG pictures through libjpeg, with an error manager that returns instead of ending the program.
#include <SDL_surface.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>

#include "Formats/Decoders.h"
#include "Formats/PictureLimits.h"
#include "Platform/Errors.h"

namespace kravelon {

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

// A progressive file may hold any number of scans, each a pass over the whole picture; ours have
// one. Thousands of tiny scans only serve to keep the decoder busy.
constexpr int MaxScans = 100;

void OnProgress(j_common_ptr info) {
  auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
  if (decoder->input_scan_number > MaxScans) {
    std::snprintf(reinterpret_cast<TErrorManager*>(info->err)->Message, JMSG_LENGTH_MAX,
                  "more than %d scans", MaxScans);
    std::longjmp(reinterpret_cast<TErrorManager*>(info->err)->Escape, 1);
  }
}

}  // namespace

TSurfacePtr DecodeJpeg(const std::uint8_t* data, std::size_t size) {
  jpeg_decompress_struct info{};
  TErrorManager errors{};
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnProgress;
  info.err = jpeg_std_error(&errors.Base);
  errors.Base.error_exit = OnError;
  errors.Base.emit_message = OnMessage;
  SDL_Surface* volatile surface = nullptr;
  // Nothing with a destructor may live between setjmp and a longjmp back to it.
  if (setjmp(errors.Escape)) {
    jpeg_destroy_decompress(&info);
    TSdlDeleter{}(surface);  // no owning pointer may live across the longjmp
    throw TToolkitError(errors.Message);
  }
  jpeg_create_decompress(&info);
  info.progress = &progress;
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  // The size comes from the frame header; nothing large is allocated before start_decompress.
  if (info.image_width > MaxPictureSide || info.image_height > MaxPictureSide) {
    std::snprintf(errors.Message, JMSG_LENGTH_MAX,
                  "picture of %u x %u is larger than the game can use", info.image_width,
                  info.image_height);
    std::longjmp(errors.Escape, 1);
  }
  info.out_color_space = JCS_EXT_BGRX;  // the byte order of a 32-bit XRGB surface
  jpeg_start_decompress(&info);
  surface = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(info.output_width),
                                           static_cast<int>(info.output_height), 32,
                                           SDL_PIXELFORMAT_RGB888);
  if (!surface) {
    std::snprintf(errors.Message, JMSG_LENGTH_MAX, "cannot hold the picture");
    std::longjmp(errors.Escape, 1);
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = static_cast<JSAMPROW>(surface->pixels) +
                   static_cast<std::size_t>(info.output_scanline) * surface->pitch;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return TSurfacePtr(surface);
}

}  // namespace kravelon
