// File encoders of the art generator. All output is a pure function of the input, so repeated runs
// give byte-identical files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Canvas.h"

using Bytes = std::vector<uint8_t>;

// 32-bit true-colour TGA, run-length encoded (image type 10), bottom-left origin (descriptor 8:
// eight alpha bits), no image ID, packets never cross a row, TGA 2.0 footer.
Bytes EncodeTgaRle32(const Canvas& image);

// Bitmap-font blob: identifier BF F2, little-endian sizes, 32 bits per pixel, base character, the
// 256-entry width table and the RGBA pixels top row first.
Bytes EncodeBff(const Canvas& image, int cellWidth, int cellHeight, uint8_t baseChar,
                const uint8_t (&widths)[256]);

// 16-bit mono PCM WAV.
Bytes EncodeWav16Mono(const std::vector<int16_t>& samples, int sampleRate);

// Baseline JPEG of the RGB channels (alpha ignored) with fixed settings. Empty on failure.
Bytes EncodeJpeg(const Canvas& image, int quality, std::string& error);

// 8-bit RGB PNG (alpha composited away before), zlib-compressed. Empty on failure.
Bytes EncodePngRgb(const Canvas& image, std::string& error);

bool WriteFileBytes(const std::string& path, const Bytes& bytes, std::string& error);
