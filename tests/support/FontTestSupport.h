// Helpers shared by the font tests, the font screenshot and the font benchmark: BFF blobs built
// in memory, the face file fontconfig picks, and summaries of captured geometry.
#pragma once

#include "GLHarness.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fonttest {

// A BFF blob: header, width table (the built-in font's when `widths` is null) and
// width x height x bits/8 pixel bytes, byte k holding (k * 7 + k / 251) mod 256.
std::vector<uint8_t> MakeBffBlob(int32_t width, int32_t height, int32_t cellWidth, int32_t cellHeight, uint8_t bits,
                                 uint8_t baseChar, const uint8_t* widths);

// The file fontconfig picks for a family and weight (OpenType scale), as the font layer does.
// (Not on Windows, where GDI picks the face.)
std::string FontFileFor(const std::string& family, int weight);

// How many primitives of one kind there are among `prims`.
size_t Count(const std::vector<testgl::FeedbackPrimitive>& prims, testgl::FeedbackPrimitive::Kind kind);

// Sum of the signed areas (window units, counter-clockwise positive) of the polygons.
double SignedArea(const std::vector<testgl::FeedbackPrimitive>& prims, double* smallest = nullptr);

}  // namespace fonttest
