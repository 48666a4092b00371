// The built-in bitmap font and the two texture-grid font images.
#include <algorithm>
#include <cctype>

#include "Art.h"

const uint8_t kBuiltinFontWidths[256] = {
    6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,         // 0-15
    6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,         // 16-31
    4, 5, 4, 8, 6, 9, 6, 2, 4, 4, 6, 7, 3, 4, 3, 5,         // 32-47
    8, 6, 8, 8, 8, 8, 8, 8, 8, 8, 2, 3, 7, 7, 8, 7,         // 48-63
    8, 7, 7, 6, 7, 6, 6, 7, 7, 5, 6, 6, 6, 12, 7, 6,        // 64-79
    7, 7, 7, 7, 5, 6, 7, 11, 7, 7, 7, 3, 5, 4, 7, 27,       // 80-95
    2, 7, 7, 7, 7, 6, 6, 7, 7, 5, 7, 7, 6, 11, 8, 6,        // 96-111
    7, 6, 7, 6, 5, 6, 6, 9, 6, 7, 7, 5, 3, 5, 7, 6,         // 112-127
    8, 6, 2, 9, 4, 10, 6, 6, 5, 13, 6, 4, 10, 6, 6, 6,      // 128-143
    6, 3, 3, 5, 5, 4, 8, 12, 5, 11, 6, 4, 10, 6, 6, 7,      // 144-159
    6, 5, 5, 8, 6, 7, 3, 7, 5, 9, 5, 6, 11, 6, 9, 4,        // 160-175
    6, 7, 4, 4, 2, 7, 9, 3, 3, 4, 4, 6, 7, 7, 7, 7,         // 176-191
    7, 7, 7, 7, 7, 7, 10, 6, 6, 6, 6, 6, 5, 5, 6, 6,        // 192-207
    7, 7, 6, 6, 6, 6, 6, 7, 6, 6, 6, 6, 6, 7, 9, 6,         // 208-223
    7, 7, 7, 7, 7, 7, 10, 7, 6, 6, 6, 6, 5, 5, 6, 6,        // 224-239
    7, 8, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7, 9, 7,         // 240-255
};

namespace {

// Letters and digits among the characters of code page 1252: ASCII's, and the Latin ones from
// U+00C0 on (× and ÷ aside), which include Š, Œ, Ž, Ÿ and ƒ.
bool IsLetterOrDigit(uint32_t cp) {
  if (cp < 0x80) return std::isalnum(static_cast<int>(cp)) != 0;
  return cp >= 0xC0 && cp < 0x250 && cp != 0xD7 && cp != 0xF7;
}

// The face to draw a letter of the built-in font from. A few letters (i, l, I, r and their
// accented forms) are so much narrower in the proportional face than the columns their advances
// give them that, widened to fill them, their stems would turn bold; the monospaced face draws them
// with serifs to fill a wide cell, and those forms are taken instead.
const FontFace& FormFor(const FontFace& face, const FontFace& monospaced, uint32_t cp, int pixelSize, int available) {
  constexpr double kMostWidening = 1.4;
  const int natural = face.Render(cp, pixelSize).VisibleWidth();
  if (!IsLetterOrDigit(cp) || natural * kMostWidening >= available) return face;
  return monospaced.Render(cp, pixelSize).VisibleWidth() > natural ? monospaced : face;
}

// Writes a glyph's visible columns as white with the shape in alpha (slivers too faint to show
// beside them are left out), the first at column `inkLeft` and the baseline at row `baseline` of
// the cell, clipped to columns and rows 1 up to (not including) the usable width and height.
void PlaceGlyph(Canvas& atlas, const GlyphBitmap& glyph, int cellX, int cellY, int inkLeft,
                int baseline, int usableWidth, int usableHeight) {
  // A glyph reaching past the usable rows (a low underscore, a tall accent) is moved back in.
  int top = baseline - glyph.Top;
  if (top + glyph.Height > usableHeight) top = usableHeight - glyph.Height;
  if (top < 1) top = 1;
  const int first = glyph.FirstVisible(), last = glyph.LastVisible();
  for (int y = 0; y < glyph.Height; ++y)
    for (int x = first; x <= last; ++x) {
      const int cx = inkLeft + x - first, cy = top + y;
      if (cx < 1 || cy < 1 || cx >= usableWidth || cy >= usableHeight) continue;
      const uint8_t a = glyph.At(x, y);
      if (a) atlas.At(cellX + cx, cellY + cy) = Rgba{1, 1, 1, a / 255.0f};
    }
}

}  // namespace

Canvas MakeBuiltinFont(const FontFace& face, const FontFace& monospaced) {
  // White everywhere, so that filtering at glyph edges never darkens the text.
  Canvas atlas(kBuiltinImage, kBuiltinImage, Rgba{1, 1, 1, 0});
  constexpr int kCellsPerRow = kBuiltinImage / kBuiltinCell;
  constexpr int kPixelSize = 11;
  constexpr int kBaseline = 13;
  for (int code = 32; code < 256; ++code) {
    const uint32_t cp = Cp1252ToUnicode(static_cast<uint8_t>(code));
    if (cp == 0 || cp == 0x20 || cp == 0xA0) continue;
    const int cell = code - 32;
    const int cellX = (cell % kCellsPerRow) * kBuiltinCell;
    const int cellY = (cell / kCellsPerRow) * kBuiltinCell;
    // Ink stays inside the advance, one column short of it for spacing, and off the cell's
    // outermost columns and rows, which linear filtering shares with the neighbouring cells.
    // Letters and digits fill those columns (the advances are the font's, not DejaVu's): one
    // narrower than its advance would stand apart from its neighbours. Other signs keep their
    // width, centred.
    const int advance = kBuiltinFontWidths[code];
    const int available = std::max(1, std::min(advance - 1, kBuiltinCell - 2));
    const bool fill = IsLetterOrDigit(cp) || cp == '_';
    const GlyphBitmap glyph =
        RenderFitted(FormFor(face, monospaced, cp, kPixelSize, available), cp, kPixelSize, available, 0.0, fill);
    if (glyph.Empty()) continue;
    const int inkLeft = 1 + (available - glyph.VisibleWidth()) / 2;
    PlaceGlyph(atlas, glyph, cellX, cellY, inkLeft, kBaseline, 1 + available, kBuiltinCell - 1);
  }
  return atlas;
}

Canvas MakeGridFont(const FontFace& face, int pixelSize, double embolden, double widen) {
  Canvas atlas(kGridImage, kGridImage, Rgba{1, 1, 1, 0});
  // A label advances by 500/760 of a cell; the glyph keeps to the left part of its cell, with
  // the baseline a quarter up from the cell's bottom edge (the pen line). The pitch is fixed, so a
  // letter narrower than the others would stand apart from its neighbours: letters and digits are
  // widened (or narrowed) to fill it, as a monospaced face draws them; other signs keep their
  // width, centred.
  constexpr int kAvailable = kGridCell * 500 / 760 - 1;
  const int baseline = kGridCell * 3 / 4;
  for (int code = 32; code < 256; ++code) {
    const uint32_t cp = Cp1252ToUnicode(static_cast<uint8_t>(code));
    if (cp == 0 || cp == 0x20 || cp == 0xA0) continue;
    const int cell = code - 32;
    const int cellX = (cell % 16) * kGridCell;
    const int cellY = (cell / 16) * kGridCell;
    const GlyphBitmap glyph = RenderFitted(face, cp, pixelSize, kAvailable, embolden, IsLetterOrDigit(cp), widen);
    if (glyph.Empty()) continue;
    const int inkLeft = 1 + (kAvailable - glyph.VisibleWidth()) / 2;
    PlaceGlyph(atlas, glyph, cellX, cellY, inkLeft, baseline, kGridCell - 1, kGridCell - 1);
  }
  return atlas;
}

void DrawFaceText(Canvas& target, const FontFace& face, int pixelSize, int x, int baseline,
                  const char* text, const Rgba& colour) {
  int pen = x;
  for (const char* p = text; *p; ++p) {
    const uint32_t cp = static_cast<unsigned char>(*p);
    if (cp == ' ') {
      pen += pixelSize * 3 / 10;
      continue;
    }
    const GlyphBitmap glyph = face.Render(cp, pixelSize);
    for (int y = 0; y < glyph.Height; ++y)
      for (int gx = 0; gx < glyph.Width; ++gx) {
        Rgba c = colour;
        c.A *= glyph.At(gx, y) / 255.0f;
        target.BlendOver(pen + glyph.Left + gx, baseline - glyph.Top + y, c);
      }
    pen += glyph.Left + glyph.Width + std::max(1, pixelSize / 10);
  }
}
