#include "Glyphs.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

uint32_t Cp1252ToUnicode(uint8_t code) {
  static const uint16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  if (code < 32 || code == 127) return 0;
  if (code >= 0x80 && code < 0xA0) return kHigh[code - 0x80];
  return code;
}

bool GlyphBitmap::Empty() const {
  return std::none_of(Coverage.begin(), Coverage.end(), [](uint8_t v) { return v != 0; });
}

namespace {

bool ColumnVisible(const GlyphBitmap& glyph, int x) {
  for (int y = 0; y < glyph.Height; ++y)
    if (glyph.At(x, y) >= kVisibleCoverage) return true;
  return false;
}

}  // namespace

int GlyphBitmap::FirstVisible() const {
  for (int x = 0; x < Width; ++x)
    if (ColumnVisible(*this, x)) return x;
  return 0;
}

int GlyphBitmap::LastVisible() const {
  for (int x = Width - 1; x >= 0; --x)
    if (ColumnVisible(*this, x)) return x;
  return -1;
}

FontFace::~FontFace() {
  if (Face) FT_Done_Face(static_cast<FT_Face>(Face));
  if (Library) FT_Done_FreeType(static_cast<FT_Library>(Library));
}

bool FontFace::Open(const std::string& path, std::string& error) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    error = "FreeType could not be initialised";
    return false;
  }
  Library = library;
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    error = "font file missing or unreadable: " + path +
            " (install the Debian packages fonts-dejavu-core and fonts-dejavu-extra)";
    return false;
  }
  Face = face;
  return true;
}

bool FontFace::HasGlyph(uint32_t codePoint) const {
  return Face && FT_Get_Char_Index(static_cast<FT_Face>(Face), codePoint) != 0;
}

GlyphBitmap FontFace::Render(uint32_t codePoint, int pixelSize, double xScale,
                             double embolden) const {
  GlyphBitmap out;
  FT_Face face = static_cast<FT_Face>(Face);
  if (!face) return out;
  const FT_UInt index = FT_Get_Char_Index(face, codePoint);
  if (index == 0) return out;
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
  FT_Matrix matrix;
  matrix.xx = static_cast<FT_Fixed>(std::lround(xScale * 65536.0));
  matrix.xy = 0;
  matrix.yx = 0;
  matrix.yy = 0x10000;
  FT_Vector delta = {0, 0};
  FT_Set_Transform(face, &matrix, &delta);
  const bool loaded = FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT) == 0 &&
                      face->glyph->format == FT_GLYPH_FORMAT_OUTLINE;
  if (loaded && embolden > 0.0) {
    const FT_Pos strength = static_cast<FT_Pos>(std::lround(embolden * 64.0));
    FT_Outline_EmboldenXY(&face->glyph->outline, strength, strength / 2);
  }
  const bool rendered = loaded && FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0;
  FT_Set_Transform(face, nullptr, nullptr);
  if (!rendered) return out;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  out.Width = static_cast<int>(bitmap.width);
  out.Height = static_cast<int>(bitmap.rows);
  out.Left = face->glyph->bitmap_left;
  out.Top = face->glyph->bitmap_top;
  out.Coverage.resize(static_cast<size_t>(out.Width) * out.Height);
  for (int y = 0; y < out.Height; ++y)
    for (int x = 0; x < out.Width; ++x)
      out.Coverage[static_cast<size_t>(y) * out.Width + x] =
          bitmap.buffer[static_cast<size_t>(y) * bitmap.pitch + x];
  // Trim empty columns so that Width is the ink width.
  int first = out.Width, last = -1;
  for (int x = 0; x < out.Width; ++x)
    for (int y = 0; y < out.Height; ++y)
      if (out.At(x, y)) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  if (last < first) return GlyphBitmap();
  GlyphBitmap trimmed;
  trimmed.Width = last - first + 1;
  trimmed.Height = out.Height;
  trimmed.Left = out.Left + first;
  trimmed.Top = out.Top;
  trimmed.Coverage.resize(static_cast<size_t>(trimmed.Width) * trimmed.Height);
  for (int y = 0; y < out.Height; ++y)
    for (int x = 0; x < trimmed.Width; ++x)
      trimmed.Coverage[static_cast<size_t>(y) * trimmed.Width + x] = out.At(first + x, y);
  return trimmed;
}

GlyphBitmap RenderFitted(const FontFace& face, uint32_t codePoint, int pixelSize, int available,
                         double embolden, bool stretch, double widen) {
  GlyphBitmap glyph = face.Render(codePoint, pixelSize, widen, embolden);
  if (glyph.Empty()) return glyph;
  if (glyph.Width > available) {
    double scale = widen * available / glyph.Width;
    int attempt = 0;
    for (; attempt < 12; ++attempt, scale *= 0.95) {
      glyph = face.Render(codePoint, pixelSize, scale, embolden);
      if (glyph.Width <= available) break;
    }
    if (attempt == 12) return GlyphBitmap();
  }
  if (!stretch || glyph.VisibleWidth() == available) return glyph;
  // The widest rendering whose visible columns fit: the scale bisected between one that fits
  // (0, nothing) and one at which the glyph is about twice too wide.
  double fits = 0, tooWide = 2 * widen * (available + 1) / std::max(1, glyph.VisibleWidth());
  GlyphBitmap widest;
  for (int step = 0; step < 16; ++step) {
    const double scale = (fits + tooWide) / 2;
    GlyphBitmap fitted = face.Render(codePoint, pixelSize, scale, embolden);
    if (fitted.VisibleWidth() > available) {
      tooWide = scale;
    } else {
      fits = scale;
      widest = std::move(fitted);
    }
  }
  return widest;
}
