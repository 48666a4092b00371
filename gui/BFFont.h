// Reading a BFF font blob, without OpenGL: the header fields into the font record, the width
// table, and the texels for the texture that LoadBFFont then makes.
#pragma once

#include "GLGUI.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The font image of a BFF blob: Width x Height texels of Bits / 8 bytes, rows tightly packed.
struct BFFImage {
  int32_t Width = 0;
  int32_t Height = 0;
  uint8_t Bits = 0;  // 8 (luminance), 24 (RGB) or 32 (RGBA)
  std::vector<uint8_t> Texels;
};

// Reads `length` bytes of `blob`, never past them. A blob shorter than its 20-byte header changes
// nothing. Otherwise the cell fields of `font` are set from the header (fields whose quotient does
// not exist keep what they held), and when the blob describes a usable image (a known bit depth,
// the 276 bytes up to the pixels, positive sizes, sides up to `maxSide`) its widths are copied and
// `image` is filled, texels the blob lacks being zero; only then is the result true.
bool ParseBFFont(TGUIBFFont& font, const uint8_t* blob, size_t length, int32_t maxSide, BFFImage& image);
