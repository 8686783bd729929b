#include "Toolkit/Jpeg.h"

#include "Formats/Decoders.h"
#include "Toolkit/Graphics.h"

namespace kravelon {

void LoadJpegFile(TBitmap& picture, const std::string& path) {
  picture.AdoptSurface(LoadPictureFile(path, DecodeJpeg));
}

}  // namespace kravelon
