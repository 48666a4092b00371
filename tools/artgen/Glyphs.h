// Glyph rendering for the generator's font images: FreeType faces opened from pinned file paths,
// anti-aliased coverage bitmaps, optionally squeezed horizontally and emboldened.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Unicode code point of a Windows code page 1252 byte; 0 where the code page has no character
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) and for the control codes.
uint32_t Cp1252ToUnicode(uint8_t code);

// Coverage below this (a sixteenth) does not show: a column with no more is space between glyphs,
// though hinting may leave such a sliver beside a stem.
constexpr uint8_t kVisibleCoverage = 16;

struct GlyphBitmap {
  int Width = 0;   // ink box in pixels
  int Height = 0;
  int Left = 0;    // pen to the box's left edge
  int Top = 0;     // baseline to the box's top edge (upwards positive)
  std::vector<uint8_t> Coverage;  // Width x Height, row 0 at the top

  uint8_t At(int x, int y) const { return Coverage[static_cast<size_t>(y) * Width + x]; }
  bool Empty() const;
  // The first and the last column with visible coverage (0 and -1 when none has).
  int FirstVisible() const;
  int LastVisible() const;
  int VisibleWidth() const { return LastVisible() - FirstVisible() + 1; }
};

class FontFace {
 public:
  FontFace() = default;
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // Opens the font file; false with a message when it is missing or unreadable.
  bool Open(const std::string& path, std::string& error);

  // Renders one character at the given pixel size. xScale squeezes (or widens) the outline
  // horizontally; embolden thickens strokes by that many pixels. No glyph -> empty bitmap.
  GlyphBitmap Render(uint32_t codePoint, int pixelSize, double xScale = 1.0,
                     double embolden = 0.0) const;
  bool HasGlyph(uint32_t codePoint) const;

 private:
  void* Library = nullptr;  // FT_Library
  void* Face = nullptr;     // FT_Face
};

// Renders a glyph, widened by `widen`, that must fit in `available` columns: squeezed until it
// does (or, with stretch set, scaled to the widest rendering whose visible columns fit them).
GlyphBitmap RenderFitted(const FontFace& face, uint32_t codePoint, int pixelSize, int available,
                         double embolden, bool stretch, double widen = 1.0);
