// BFF blobs: a 20-byte header, 256 character widths, then the font image.
#include "BFFont.h"

#include <cstring>

namespace {

// The fixed part of a BFF blob, and where the width table and the pixels start.
constexpr size_t kHeaderFields = 20;
constexpr size_t kWidthsOffset = 20;
constexpr size_t kPixelsOffset = 276;

int32_t ReadInt32(const uint8_t* p) {
  const uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                     (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  int32_t out;
  std::memcpy(&out, &v, sizeof out);
  return out;
}

}  // namespace

bool ParseBFFont(TGUIBFFont& font, const uint8_t* blob, size_t length, int32_t maxSide, BFFImage& image) {
  if (!blob || length < kHeaderFields) return false;

  const int32_t imageWidth = ReadInt32(blob + 2);
  const int32_t imageHeight = ReadInt32(blob + 6);
  const int32_t cellWidth = ReadInt32(blob + 10);
  const int32_t cellHeight = ReadInt32(blob + 14);
  const uint8_t bits = blob[18];

  font.BaseChar = blob[19];
  font.CellWidth = cellWidth;
  font.CellHeight = cellHeight;
  font.GlyphHeight = cellHeight;
  // Fields whose quotient does not exist keep what they held.
  if (cellWidth != 0 && !(imageWidth == INT32_MIN && cellWidth == -1)) font.CellsPerRow = imageWidth / cellWidth;
  if (imageWidth != 0) font.CellTexWidth = static_cast<double>(cellWidth) / imageWidth;
  if (imageHeight != 0) font.CellTexHeight = static_cast<double>(cellHeight) / imageHeight;

  if (bits != 8 && bits != 24 && bits != 32) return false;
  if (length < kPixelsOffset) return false;
  if (imageWidth <= 0 || imageHeight <= 0 || cellWidth <= 0 || cellHeight <= 0) return false;
  if (imageWidth > maxSide || imageHeight > maxSide) return false;

  font.Widths.assign(blob + kWidthsOffset, blob + kWidthsOffset + 256);

  // Texels beyond the end of the blob stay zero.
  const size_t size = static_cast<size_t>(imageWidth) * static_cast<size_t>(imageHeight) * (bits / 8u);
  image.Width = imageWidth;
  image.Height = imageHeight;
  image.Bits = bits;
  image.Texels.assign(size, 0);
  const size_t available = length - kPixelsOffset;
  std::memcpy(image.Texels.data(), blob + kPixelsOffset, available < size ? available : size);
  return true;
}
