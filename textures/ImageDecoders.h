// GL-free image decoders beneath the texture readers. Each takes a whole image in memory and
// either returns its pixels in the upload layout or says which failure happened; the readers in
// GLTextures.cpp turn that into a message box or a texture. Nothing here touches OpenGL, shows a
// message or throws, so the decoders can be tested, fuzzed and benchmarked on their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Pixels in the layout BuildTexture takes: Width x Height pixels, rows tightly packed with no fill,
// first row in the buffer = texture row 0 (for TGA and BMP: the rows in stored order, which is
// bottom row first for the usual bottom-left origin). 3 bytes per pixel = R, G, B; 4 = R, G, B, A.
struct DecodedImage {
  std::unique_ptr<uint8_t[]> Pixels;
  uint32_t Width = 0;
  uint32_t Height = 0;
  uint32_t BytesPerPixel = 0;  // 3 or 4

  size_t ByteCount() const { return static_cast<size_t>(Width) * Height * BytesPerPixel; }
};

// Bounds every decoder applies before it allocates anything.
struct DecodeLimits {
  uint32_t MaxSide = 65535;  // neither side may exceed this (BuildTexture takes 16-bit sides)
  // Width x height may not exceed this: 64 Mi pixels (8192 x 8192, 256 MiB as RGBA), far beyond
  // any texture a GUI draws, yet a file declaring more is refused before anything is allocated.
  uint64_t MaxPixels = uint64_t{1} << 26;
};

// ---- TGA: uncompressed (type 2) and run-length-encoded (type 10) true colour, 24 or 32 bits ------
enum class TgaStatus {
  Ok,
  ShortHeader,        // fewer than the 18 header bytes
  UnsupportedType,    // image type neither 2 nor 10 (checked first)
  ColourMapped,       // colour-map type not 0 (checked second)
  UnsupportedDepth,   // pixel depth neither 24 nor 32 (checked third)
  EmptyImage,         // width or height is 0
  TooLarge,           // a side or the pixel count above the limits, or a size that does not fit in memory
  OutOfMemory,        // the pixel buffer could not be allocated
  ShortPixelData,     // type 2: fewer than width x height pixels follow the header and image ID
  ShortPacketStream,  // type 10: the packets end before width x height pixels are made
};

// Decodes a whole TGA image (header at data[0]). The image ID (header byte 0) is skipped; a packet
// running past the last pixel is cut there; whatever follows the data needed (a footer) is ignored.
// Output: 24-bit images as RGB, 32-bit as RGBA with alpha exactly as stored, rows in stored order.
TgaStatus DecodeTga(const uint8_t* data, size_t size, DecodedImage& out,
                    const DecodeLimits& limits = DecodeLimits());

// ---- BMP: uncompressed 24-bit Windows bitmaps ----------------------------------------------------
enum class BmpStatus {
  Ok,
  NotBmp,             // no "BM" signature (or not even two bytes)
  ShortHeader,        // the data ends inside the 14-byte file header or the info header
  UnsupportedHeader,  // info header shorter than 40 bytes, or pixel offset inside the headers
  Compressed,         // compression other than none (BI_RGB)
  UnsupportedDepth,   // bit count other than 24
  UnsupportedSize,    // width <= 0, height 0, a side or the pixel count above the limits, or an overflow
  ShortPalette,       // the data ends inside the colour table that the colours-used field announces
  ShortPixelData,     // fewer pixel bytes than the image-size field or the rows need
  OutOfMemory,
};

// Decodes a whole BMP file image. Pixel data starts at the stored offset; rows carry their fill to
// 4 bytes; a non-zero image-size field must be present in full. Output is RGB, bottom row first
// (a top-down bitmap, negative height, is turned bottom row first as well).
BmpStatus DecodeBmp(const uint8_t* data, size_t size, DecodedImage& out,
                    const DecodeLimits& limits = DecodeLimits());

// ---- JPEG through libjpeg ------------------------------------------------------------------------
enum class JpegStatus {
  Ok,
  BadHeader,    // not JPEG data, or libjpeg failed while reading the header
  TooLarge,     // a side or the pixel count above the limits, or a size that does not fit in memory
  OutOfMemory,  // the output buffer could not be allocated
  DecodeError,  // libjpeg failed during the full decode, or the data ends long before the image
};

// Decodes a whole JPEG file image at full size with block smoothing. Output is RGBA with alpha 255,
// bottom row first. Grayscale images go through libjpeg's quantiser (236 levels) and come out with
// red = green = blue. `libjpegCode`, when given, receives libjpeg's message code of a failure.
JpegStatus DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out,
                      const DecodeLimits& limits = DecodeLimits(), int* libjpegCode = nullptr);
