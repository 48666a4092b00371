// SDL backend: what an outline font's character list is compiled from, as plain numbers: kept in
// memory between builds, stored in the disk cache (GlyphCache.h), made by GlyphOutlines.h.
#pragma once

#include "WinFonts.h"

#include <cstddef>
#include <map>
#include <vector>

struct GlyphPoint {
  double x, y;
};

// Everything a character's list is compiled from: its outline flattened to closed contours, the
// fill's triangles (filled fonts only), the advance and the metrics record. The extrusion is not
// part of it: the back face and the walls are made from the same outline while compiling.
struct GlyphGeometry {
  bool loaded = false;
  double advance = 0;
  GLYPHMETRICSFLOAT metrics{};
  std::vector<GlyphPoint> points;
  std::vector<size_t> contourStarts;  // contour k is points[contourStarts[k] .. next start)
  std::vector<GlyphPoint> triangles;  // three vertices per triangle, counter-clockwise
  bool outerClockwise = false;        // TrueType contour direction

  size_t ContourEnd(size_t k) const { return k + 1 < contourStarts.size() ? contourStarts[k + 1] : points.size(); }
};

// Glyph geometry by character code.
using GlyphSet = std::map<DWORD, GlyphGeometry>;
