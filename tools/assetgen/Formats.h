#pragma once
// Writers for the file formats the game reads, written by hand except JPEG (libjpeg).
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/assetgen/Raster.h"

namespace assetgen {

using Bytes = std::vector<uint8_t>;

// Baseline JPEG with optimised Huffman tables; 4:4:4 keeps small tiles and masks crisp.
Bytes EncodeJpeg(const Raster& image, int quality, bool fullChroma);
Raster DecodeJpeg(const Bytes& jpeg);

// Inserts comment segments right after SOI so that the bytes add up to target.
// Throws when the plain picture already sums to more than target.
Bytes PadToByteSum(const Bytes& jpeg, uint64_t target);
uint64_t ByteSum(const Bytes& data);

Bytes EncodeBmp24(const Raster& image);
// Compressed with zlib, each row Paeth-filtered; the same bytes on every run.
Bytes EncodePng(const Raster& image);
// With an alpha channel, one value in 0..1 a pixel.
Bytes EncodePngWithAlpha(const Raster& image, const std::vector<float>& alpha);
// 16-bit mono PCM; samples in -1..1.
Bytes EncodeWav(const std::vector<float>& samples, int rate);
// 32 × 32 cursor, 32-bit BGRA with its AND mask; alpha in 0..1 per pixel.
Bytes EncodeCur(const Raster& image, const std::vector<float>& alpha, int hotX, int hotY);

void WriteFile(const std::filesystem::path& path, const Bytes& data);
Bytes ReadFile(const std::filesystem::path& path);

}  // namespace assetgen
