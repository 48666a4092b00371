// TGA and BMP decoding (JPEG is in JpegDecoder.cpp). Every read is checked against the end of the
// input before it happens, and every write lies inside the pixel buffer sized from the header.
#include "ImageDecoders.h"

#include <cstring>
#include <new>

namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t Le32Signed(const uint8_t* p) {
  const uint32_t u = Le32(p);
  int32_t s;
  std::memcpy(&s, &u, sizeof s);
  return s;
}

// Byte count of a w x h image with bpp bytes per pixel, or false when it does not fit a size_t.
bool ImageBytes(uint64_t w, uint64_t h, uint64_t bpp, size_t& bytes) {
  // Sides are at most 2^32 each, so w * h fits 64 bits; check the last factor.
  const uint64_t pixels = w * h;
  if (pixels > UINT64_MAX / bpp) return false;
  const uint64_t total = pixels * bpp;
  if (total > static_cast<uint64_t>(SIZE_MAX)) return false;
  bytes = static_cast<size_t>(total);
  return true;
}

uint8_t* Allocate(size_t bytes) { return new (std::nothrow) uint8_t[bytes]; }

// BGRA -> RGBA for one pixel held in a little-endian word.
inline uint32_t SwapRedBlue32(uint32_t p) {
  return (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
}

// `count` 4-byte pixels from BGRA to RGBA.
void ConvertRun32(const uint8_t* src, uint8_t* dst, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    uint32_t p;
    std::memcpy(&p, src + 4 * i, 4);
    p = SwapRedBlue32(p);
    std::memcpy(dst + 4 * i, &p, 4);
  }
}

// `count` 3-byte pixels from BGR to RGB.
void ConvertRun24(const uint8_t* src, uint8_t* dst, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const uint8_t b = src[3 * i], g = src[3 * i + 1], r = src[3 * i + 2];
    dst[3 * i] = r;
    dst[3 * i + 1] = g;
    dst[3 * i + 2] = b;
  }
}

void Fill32(uint8_t* dst, uint32_t value, size_t count) {
  for (size_t i = 0; i < count; ++i) std::memcpy(dst + 4 * i, &value, 4);
}

void Fill24(uint8_t* dst, const uint8_t rgb[3], size_t count) {
  for (size_t i = 0; i < count; ++i) {
    dst[3 * i] = rgb[0];
    dst[3 * i + 1] = rgb[1];
    dst[3 * i + 2] = rgb[2];
  }
}

// Run-length packets (header byte + pixels) into N pixels at `dst`. False when the stream ends
// before the last pixel. A packet that would run past the last pixel is cut there.
template <unsigned Bpp>
bool DecodeTgaPackets(const uint8_t* s, const uint8_t* end, uint8_t* dst, size_t pixelTotal) {
  size_t left = pixelTotal;
  while (left > 0) {
    if (s >= end) return false;
    const unsigned header = *s++;
    const size_t avail = static_cast<size_t>(end - s);
    if (header < 128) {
      size_t count = header + 1;
      if (count > left) count = left;
      if (avail < count * Bpp) return false;
      if (Bpp == 4) {
        ConvertRun32(s, dst, count);
      } else {
        ConvertRun24(s, dst, count);
      }
      s += count * Bpp;
      dst += count * Bpp;
      left -= count;
    } else {
      size_t count = header - 127;
      if (count > left) count = left;
      if (avail < Bpp) return false;
      if (Bpp == 4) {
        uint32_t p;
        std::memcpy(&p, s, 4);
        Fill32(dst, SwapRedBlue32(p), count);
      } else {
        const uint8_t rgb[3] = {s[2], s[1], s[0]};
        Fill24(dst, rgb, count);
      }
      s += Bpp;
      dst += count * Bpp;
      left -= count;
    }
  }
  return true;
}

}  // namespace

// ---- TGA --------------------------------------------------------------------------------------

TgaStatus DecodeTga(const uint8_t* data, size_t size, DecodedImage& out, const DecodeLimits& limits) {
  constexpr size_t kHeader = 18;
  if (!data || size < kHeader) return TgaStatus::ShortHeader;
  const uint8_t idLength = data[0];
  const uint8_t colourMapType = data[1];
  const uint8_t imageType = data[2];
  const uint8_t depth = data[16];
  if (imageType != 2 && imageType != 10) return TgaStatus::UnsupportedType;
  if (colourMapType != 0) return TgaStatus::ColourMapped;
  if (depth != 24 && depth != 32) return TgaStatus::UnsupportedDepth;

  const uint32_t width = Le16(data + 12);
  const uint32_t height = Le16(data + 14);
  const uint32_t bpp = depth / 8u;
  if (width == 0 || height == 0) return TgaStatus::EmptyImage;
  if (width > limits.MaxSide || height > limits.MaxSide) return TgaStatus::TooLarge;
  if (static_cast<uint64_t>(width) * height > limits.MaxPixels) return TgaStatus::TooLarge;
  size_t bytes = 0;
  if (!ImageBytes(width, height, bpp, bytes)) return TgaStatus::TooLarge;
  const size_t pixelTotal = static_cast<size_t>(width) * height;

  // The pixel data or packet stream begins after the header and the image ID.
  const size_t start = kHeader + idLength;
  const uint8_t* body = data + (start <= size ? start : size);
  const size_t bodySize = start <= size ? size - start : 0;

  // Refuse data that cannot hold the image before allocating for it: raw data needs every byte,
  // and a packet makes at most 128 pixels from 1 + bpp bytes.
  if (imageType == 2) {
    if (bodySize < bytes) return TgaStatus::ShortPixelData;
  } else {
    const uint64_t packets = (static_cast<uint64_t>(pixelTotal) + 127) / 128;
    if (bodySize / (1 + bpp) < packets) return TgaStatus::ShortPacketStream;
  }

  std::unique_ptr<uint8_t[]> pixels(Allocate(bytes));
  if (!pixels) return TgaStatus::OutOfMemory;

  if (imageType == 2) {
    if (bpp == 4) {
      ConvertRun32(body, pixels.get(), pixelTotal);
    } else {
      ConvertRun24(body, pixels.get(), pixelTotal);
    }
  } else {
    const bool complete =
        bpp == 4 ? DecodeTgaPackets<4>(body, body + bodySize, pixels.get(), pixelTotal)
                 : DecodeTgaPackets<3>(body, body + bodySize, pixels.get(), pixelTotal);
    if (!complete) return TgaStatus::ShortPacketStream;
  }

  out.Pixels = std::move(pixels);
  out.Width = width;
  out.Height = height;
  out.BytesPerPixel = bpp;
  return TgaStatus::Ok;
}

// ---- BMP --------------------------------------------------------------------------------------

BmpStatus DecodeBmp(const uint8_t* data, size_t size, DecodedImage& out, const DecodeLimits& limits) {
  constexpr uint64_t kFileHeader = 14;
  constexpr uint64_t kInfoHeader = 40;
  if (!data || size < 2 || data[0] != 'B' || data[1] != 'M') return BmpStatus::NotBmp;
  if (size < kFileHeader + 4) return BmpStatus::ShortHeader;
  const uint64_t infoSize = Le32(data + 14);
  if (infoSize < kInfoHeader) return BmpStatus::UnsupportedHeader;
  if (size < kFileHeader + infoSize) return BmpStatus::ShortHeader;

  const uint64_t pixelOffset = Le32(data + 10);
  const int32_t width = Le32Signed(data + 18);
  const int32_t height = Le32Signed(data + 22);
  const uint16_t bitCount = Le16(data + 28);
  const uint32_t compression = Le32(data + 30);
  const uint64_t imageSize = Le32(data + 34);
  const uint64_t coloursUsed = Le32(data + 46);

  if (compression != 0) return BmpStatus::Compressed;
  if (bitCount != 24) return BmpStatus::UnsupportedDepth;
  const int64_t absHeight = height < 0 ? -static_cast<int64_t>(height) : height;
  if (width <= 0 || absHeight == 0 || static_cast<uint64_t>(width) > limits.MaxSide ||
      static_cast<uint64_t>(absHeight) > limits.MaxSide ||
      static_cast<uint64_t>(width) * static_cast<uint64_t>(absHeight) > limits.MaxPixels) {
    return BmpStatus::UnsupportedSize;
  }
  const uint32_t w = static_cast<uint32_t>(width);
  const uint32_t h = static_cast<uint32_t>(absHeight);
  size_t bytes = 0;
  if (!ImageBytes(w, h, 3, bytes)) return BmpStatus::UnsupportedSize;

  // An optional colour table (4 bytes an entry) follows the headers; it plays no part in a
  // 24-bit image, but a file that ends inside it is damaged.
  const uint64_t headersEnd = kFileHeader + infoSize;
  if (headersEnd + coloursUsed * 4 > size) return BmpStatus::ShortPalette;
  if (pixelOffset < headersEnd) return BmpStatus::UnsupportedHeader;

  // Rows are filled to a multiple of 4 bytes; the last row's fill may be missing.
  const uint64_t rowBytes = static_cast<uint64_t>(w) * 3;
  const uint64_t stride = (rowBytes + 3) & ~static_cast<uint64_t>(3);
  const uint64_t needed = stride * (h - 1) + rowBytes;
  // A non-zero image-size field says how many bytes of pixel data there are: all must be present.
  const uint64_t dataSize = imageSize != 0 ? imageSize : needed;
  if (pixelOffset > size || size - pixelOffset < dataSize || dataSize < needed) {
    return BmpStatus::ShortPixelData;
  }

  std::unique_ptr<uint8_t[]> pixels(Allocate(bytes));
  if (!pixels) return BmpStatus::OutOfMemory;
  const uint8_t* src = data + pixelOffset;
  for (uint32_t row = 0; row < h; ++row) {
    // Bottom-up bitmaps (positive height) are stored bottom row first already.
    const uint32_t target = height > 0 ? row : h - 1 - row;
    ConvertRun24(src + stride * row, pixels.get() + static_cast<size_t>(rowBytes) * target, w);
  }

  out.Pixels = std::move(pixels);
  out.Width = w;
  out.Height = h;
  out.BytesPerPixel = 3;
  return BmpStatus::Ok;
}
