// SDL backend: the outline fonts' glyph geometry, and its cache on disk: a font's glyphs are read, flattened
// and tessellated once, and later runs (of any program on this toolkit) compile their display
// lists from the stored numbers. A set is stored under a key that names everything the geometry
// depends on (font file and its stamp, tolerance, format, FreeType and GLU versions); a file
// that is missing, stale, damaged or made for another key is ignored and the glyphs are built
// anew. Linux only: on Windows the system's wglUseFontOutlines builds the glyphs.
#pragma once

#include "WinFonts.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
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

// The bytes of a cache file holding `set` for `key`.
std::vector<uint8_t> EncodeGlyphSet(const std::string& key, const GlyphSet& set);
// The check that ends a cache file, of the bytes before it.
uint64_t GlyphFileCheck(const uint8_t* data, size_t size);
// Reads the bytes of a cache file into `set` (replacing what it held); false, with `set` empty,
// unless they are a whole, undamaged set stored for exactly this key. Any bytes are safe.
bool DecodeGlyphSet(const uint8_t* data, size_t size, const std::string& key, GlyphSet& set);

// The folder of the cache files: the one set here, or else "glgui" in $XDG_CACHE_HOME, or else
// in ~/.cache. An empty folder turns the disk cache off.
void SetGlyphCacheFolder(const std::string& folder);
std::string GlyphCacheFolder();

// Loads the stored set for `key`; false when there is none that fits.
bool LoadGlyphSet(const std::string& key, GlyphSet& set);
// Stores the set for `key`, replacing the file whole (written aside, then renamed), so that a
// reader never sees half a file; the folder keeps the 64 files written last. The cache is an
// aid: when it cannot be written, nothing is.
void StoreGlyphSet(const std::string& key, const GlyphSet& set);
