#include "tools/assetgen/Formats.h"

#include <jpeglib.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace assetgen {
namespace {

void Put16(Bytes& out, uint32_t v) {
  out.push_back(v & 255);
  out.push_back((v >> 8) & 255);
}

void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void Put32Be(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back((v >> shift) & 255);
}

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 255] ^ (crc >> 8);
  return ~crc;
}

void PngChunk(Bytes& out, const char* type, const Bytes& payload) {
  Put32Be(out, static_cast<uint32_t>(payload.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), payload.begin(), payload.end());
  out.insert(out.end(), typed.begin(), typed.end());
  Put32Be(out, Crc32(typed.data(), typed.size()));
}

}  // namespace

Bytes EncodeJpeg(const Raster& image, int quality, bool fullChroma) {
  Bytes rgb = image.Bytes();
  jpeg_compress_struct info{};
  JpegError err{};
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    throw std::runtime_error("JPEG encoding failed");
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = image.Width();
  info.image_height = image.Height();
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.optimize_coding = TRUE;
  info.dct_method = JDCT_ISLOW;
  if (fullChroma)
    for (int c = 0; c < info.num_components; ++c)
      info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = &rgb[static_cast<size_t>(info.next_scanline) * image.Width() * 3];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

Raster DecodeJpeg(const Bytes& jpeg) {
  jpeg_decompress_struct info{};
  JpegError err{};
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    throw std::runtime_error("JPEG decoding failed");
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, jpeg.data(), jpeg.size());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  Raster out(info.output_width, info.output_height);
  std::vector<uint8_t> row(static_cast<size_t>(info.output_width) * 3);
  while (info.output_scanline < info.output_height) {
    int y = info.output_scanline;
    JSAMPROW ptr = row.data();
    jpeg_read_scanlines(&info, &ptr, 1);
    for (int x = 0; x < static_cast<int>(info.output_width); ++x)
      out.Set(x, y, {row[x * 3] / 255.0f, row[x * 3 + 1] / 255.0f, row[x * 3 + 2] / 255.0f});
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return out;
}

uint64_t ByteSum(const Bytes& data) {
  uint64_t sum = 0;
  for (uint8_t b : data) sum += b;
  return sum;
}

Bytes PadToByteSum(const Bytes& jpeg, uint64_t target) {
  uint64_t sum = ByteSum(jpeg);
  if (sum > target) throw std::runtime_error("JPEG already sums past the target");
  // A segment is FF FE, a two-byte length (payload + 2) and the payload. Neither the length
  // nor the payload holds an FF byte, so no reader scanning for markers can mistake them.
  constexpr uint32_t kMaxPayload = 65000;
  constexpr uint64_t kTop = 0xFE;
  auto overhead = [](uint32_t payload) {
    uint32_t length = payload + 2;
    return 0xFFu + 0xFEu + (length >> 8) + (length & 255);
  };
  Bytes segments;
  uint64_t need = target - sum;
  while (need > 0) {
    uint32_t payload = kMaxPayload;
    uint64_t fullSum = overhead(payload) + kTop * payload;
    if (need < fullSum + 2048) {
      // Last segment: the fewest bytes that can still carry what is left (or half of it,
      // so that the remainder never drops below a segment's own overhead).
      uint64_t want = need / kTop + 8;
      payload = static_cast<uint32_t>(want <= kMaxPayload ? want : want / 2);
      if (((payload + 2) & 255) == 255) ++payload;
      if (need < overhead(payload)) throw std::runtime_error("byte sum gap too small to pad");
    }
    uint64_t body = std::min<uint64_t>(need - overhead(payload), kTop * payload);
    segments.push_back(0xFF);
    segments.push_back(0xFE);
    segments.push_back(((payload + 2) >> 8) & 255);
    segments.push_back((payload + 2) & 255);
    for (uint32_t i = 0; i < payload; ++i) {
      uint8_t b = static_cast<uint8_t>(std::min(body, kTop));
      segments.push_back(b);
      body -= b;
    }
    need = target - sum - ByteSum(segments);
  }
  Bytes out;
  out.reserve(jpeg.size() + segments.size());
  out.push_back(jpeg[0]);
  out.push_back(jpeg[1]);
  out.insert(out.end(), segments.begin(), segments.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

Bytes EncodeBmp24(const Raster& image) {
  Bytes rgb = image.Bytes();
  int w = image.Width(), h = image.Height();
  uint32_t stride = (w * 3 + 3) & ~3u;
  uint32_t pixels = stride * h;
  Bytes out{'B', 'M'};
  Put32(out, 54 + pixels);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, w);
  Put32(out, h);
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, pixels);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
      out.push_back(p[2]);
      out.push_back(p[1]);
      out.push_back(p[0]);
    }
    for (uint32_t pad = w * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

namespace {

uint8_t Paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// channels: 3 (RGB) or 4 (RGBA), interleaved rows top to bottom.
Bytes Png(const Bytes& pixels, int w, int h, int channels) {
  const size_t stride = static_cast<size_t>(w) * channels;
  Bytes filtered;
  filtered.reserve((stride + 1) * h);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = &pixels[y * stride];
    const uint8_t* up = y > 0 ? row - stride : nullptr;
    filtered.push_back(4);
    for (size_t i = 0; i < stride; ++i) {
      int a = i >= static_cast<size_t>(channels) ? row[i - channels] : 0;
      int b = up ? up[i] : 0;
      int c = up && i >= static_cast<size_t>(channels) ? up[i - channels] : 0;
      filtered.push_back(static_cast<uint8_t>(row[i] - Paeth(a, b, c)));
    }
  }
  uLongf size = compressBound(filtered.size());
  Bytes z(size);
  if (compress2(z.data(), &size, filtered.data(), filtered.size(), 9) != Z_OK)
    throw std::runtime_error("zlib could not compress a picture");
  z.resize(size);

  Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  Put32Be(ihdr, w);
  Put32Be(ihdr, h);
  ihdr.insert(ihdr.end(), {8, static_cast<uint8_t>(channels == 4 ? 6 : 2), 0, 0, 0});
  PngChunk(out, "IHDR", ihdr);
  PngChunk(out, "IDAT", z);
  PngChunk(out, "IEND", {});
  return out;
}

}  // namespace

Bytes EncodePng(const Raster& image) {
  return Png(image.Bytes(), image.Width(), image.Height(), 3);
}

Bytes EncodePngWithAlpha(const Raster& image, const std::vector<float>& alpha) {
  const Bytes rgb = image.Bytes();
  Bytes rgba;
  rgba.reserve(alpha.size() * 4);
  for (size_t i = 0; i < alpha.size(); ++i) {
    rgba.insert(rgba.end(), rgb.begin() + i * 3, rgb.begin() + i * 3 + 3);
    rgba.push_back(static_cast<uint8_t>(std::lround(std::clamp(alpha[i], 0.0f, 1.0f) * 255)));
  }
  return Png(rgba, image.Width(), image.Height(), 4);
}

Bytes EncodeWav(const std::vector<float>& samples, int rate) {
  uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  Bytes out{'R', 'I', 'F', 'F'};
  Put32(out, 36 + data);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, rate);
  Put32(out, rate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  Put32(out, data);
  for (float s : samples) {
    long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    Put16(out, static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(v))));
  }
  return out;
}

Bytes EncodeCur(const Raster& image, const std::vector<float>& alpha, int hotX, int hotY) {
  constexpr int kSize = 32;
  constexpr uint32_t kXor = kSize * kSize * 4, kAnd = kSize * 4;
  Bytes rgb = image.Bytes();
  Bytes out;
  Put16(out, 0);
  Put16(out, 2);  // cursor
  Put16(out, 1);
  out.insert(out.end(), {kSize, kSize, 0, 0});
  Put16(out, hotX);
  Put16(out, hotY);
  Put32(out, 40 + kXor + kAnd);
  Put32(out, 22);
  Put32(out, 40);
  Put32(out, kSize);
  Put32(out, kSize * 2);  // colour bitmap and AND mask stacked
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, kXor + kAnd);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  auto alphaByte = [&](int x, int y) {
    return static_cast<uint8_t>(std::lround(std::clamp(alpha[y * kSize + x], 0.0f, 1.0f) * 255));
  };
  for (int y = kSize - 1; y >= 0; --y)
    for (int x = 0; x < kSize; ++x) {
      const uint8_t* p = &rgb[(y * kSize + x) * 3];
      uint8_t a = alphaByte(x, y);
      // Zeros where fully clear, so a viewer that ignores alpha shows no stray colour.
      out.push_back(a ? p[2] : 0);
      out.push_back(a ? p[1] : 0);
      out.push_back(a ? p[0] : 0);
      out.push_back(a);
    }
  for (int y = kSize - 1; y >= 0; --y)
    for (int byte = 0; byte < 4; ++byte) {
      uint8_t bits = 0;
      // Set wherever the pixel is not fully opaque: some loaders force alpha to 255 where
      // the mask is clear, which would square off the anti-aliased edge.
      for (int bit = 0; bit < 8; ++bit)
        if (alphaByte(byte * 8 + bit, y) < 255) bits |= 0x80 >> bit;
      out.push_back(bits);
    }
  return out;
}

void WriteFile(const std::filesystem::path& path, const Bytes& data) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path.string());
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace assetgen
