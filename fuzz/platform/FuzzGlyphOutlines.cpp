// libFuzzer harness: any outline must come out of the flattener and the tessellator as sound
// geometry (every contour index inside the points, three vertices a triangle, finite numbers), or
// as nothing. The input is an outline in font units: a byte with the contour count and the
// tolerance's scale, one byte per contour end, then per point a tag byte and two 16-bit
// coordinates. Contour ends are made increasing and kept inside the points, as a font's are.
#include "sdl/GlyphOutlines.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void Check(const GlyphGeometry& g) {
  for (size_t k = 0; k < g.contourStarts.size(); ++k) {
    if (g.contourStarts[k] >= g.points.size() || g.ContourEnd(k) > g.points.size()) std::abort();
    if (k > 0 && g.contourStarts[k] <= g.contourStarts[k - 1]) std::abort();
  }
  if (g.triangles.size() % 3 != 0) std::abort();
  for (const GlyphPoint& p : g.points)
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
  for (const GlyphPoint& p : g.triangles)
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int contours = 1 + (data[0] & 0x0F);
  const double tolerance = 0.25 * (1 + (data[0] >> 4));  // font units
  size_t at = 1;
  if (size < at + static_cast<size_t>(contours)) return 0;
  const size_t pointCount = (size - at - contours) / 5;
  if (pointCount == 0 || pointCount > 4000) return 0;
  std::vector<short> ends;
  for (int k = 0; k < contours; ++k) {
    const size_t end = ends.empty() ? data[at + k] % pointCount : ends.back() + 1 + data[at + k];
    if (end >= pointCount) break;
    ends.push_back(static_cast<short>(end));
  }
  at += contours;
  if (ends.empty() || ends.back() != static_cast<short>(pointCount - 1)) ends.push_back(static_cast<short>(pointCount - 1));
  std::vector<FT_Vector> points(pointCount);
  std::vector<char> tags(pointCount);
  for (size_t i = 0; i < pointCount; ++i, at += 5) {
    tags[i] = static_cast<char>(data[at] & 0x03);  // on, conic or cubic control point
    points[i].x = static_cast<int16_t>(data[at + 1] | data[at + 2] << 8);
    points[i].y = static_cast<int16_t>(data[at + 3] | data[at + 4] << 8);
  }
  FT_Outline outline{};
  outline.n_contours = static_cast<short>(ends.size());
  outline.n_points = static_cast<short>(pointCount);
  outline.points = points.data();
  outline.tags = tags.data();
  outline.contours = ends.data();
  for (const bool filled : {false, true}) {
    static GlyphReader lines(false), fills(true);
    GlyphGeometry glyph;
    (filled ? fills : lines).Shape(&outline, 2048, tolerance, glyph);
    Check(glyph);
  }
  return 0;
}
