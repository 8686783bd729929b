#pragma once
#include <string>

namespace kravelon {

class TBitmap;

// Decodes a JPEG file into the picture (resized to the image). Any decoder error or warning
// (a file cut short decodes as grey with only a warning), a folder in its place, or a size larger
// than MaxPictureSide raises TFileError naming the path.
void LoadJpegFile(TBitmap& picture, const std::string& path);

}  // namespace kravelon
