// SDL backend: glyph outlines as geometry, with no GL context: a glyph's FreeType outline in font
// units, its curves flattened to closed contours in em units, the fill's triangles from GLU's
// tessellator, its advance and its metrics record (what a character's display list is compiled
// from).
#pragma once

#include "GlyphGeometry.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

class GlyphReader {
 public:
  // `filled`: the glyphs get the triangles that fill them (a tessellator is made for that).
  explicit GlyphReader(bool filled);
  ~GlyphReader();
  GlyphReader(const GlyphReader&) = delete;
  GlyphReader& operator=(const GlyphReader&) = delete;

  // False when a filled reader has no tessellator.
  bool Ok() const;
  // One character of the face: codes below 256 are Windows code page 1250 bytes, higher codes
  // Unicode. Curves are flattened so that no chord strays further than `tolerance` (font units)
  // from its curve.
  GlyphGeometry Read(FT_Face face, DWORD code, double tolerance);
  // The contours, metrics and (filled) triangles of an outline in font units, any outline; a
  // null outline gives none. The advance is left as it is.
  void Shape(FT_Outline* outline, double unitsPerEm, double tolerance, GlyphGeometry& glyph);

 private:
  struct Scratch;  // buffers kept between glyphs, so a font build allocates only while they grow
  std::unique_ptr<Scratch> scratch_;
};

// The deviation (em units) the outlines are flattened with for the one wglUseFontOutlinesA is
// given: that one, or 0.001 where it is zero, negative or not a number.
double FlatteningDeviation(float deviation);
// That deviation as the tolerance GlyphReader::Read takes, in font units.
double FlatteningTolerance(double deviation, double unitsPerEm);
