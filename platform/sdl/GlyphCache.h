// SDL backend: the outline fonts' glyph geometry, and its cache on disk: a font's glyphs are read, flattened
// and tessellated once, and later runs (of any program on this toolkit) compile their display
// lists from the stored numbers. A set is stored under a key that names everything the geometry
// depends on (font file and its stamp, tolerance, format, FreeType and GLU versions); a file
// that is missing, stale, damaged or made for another key is ignored and the glyphs are built
// anew. Linux only: on Windows the system's wglUseFontOutlines builds the glyphs.
#pragma once

#include "GlyphGeometry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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
// The folder when none is set, from $XDG_CACHE_HOME and $HOME (either may be null). A relative
// path in either is not taken, as the XDG base directory rules say; with neither, no folder.
std::string GlyphCacheFolderOf(const char* xdgCacheHome, const char* home);

// Loads the stored set for `key`; false when there is none that fits.
bool LoadGlyphSet(const std::string& key, GlyphSet& set);
// Stores the set for `key`, replacing the file whole (written aside, then renamed), so that a
// reader never sees half a file; the folder keeps the 64 files written last. The cache is an
// aid: when it cannot be written, nothing is.
void StoreGlyphSet(const std::string& key, const GlyphSet& set);

// Glyphs measured ahead: the metrics of characters 0 to 255 of one face at one deviation (em
// units, as FlatteningDeviation gives it), a glyph set without geometry in a file beside the
// face's, named by MeasuredGlyphsFile. The web build's site carries them (tools/glyphmeasures
// makes them), so that wglUseFontOutlinesA, where lists can wait for their first call, reads
// neither the face nor a glyph before a list is drawn. The key names the face by its file's name
// alone, as the file is measured in one place and read in another.
std::string MeasuredGlyphsFile(const std::string& faceFile);
std::string MeasuredGlyphsKey(const std::string& faceFile, int index, double deviation);
// The set measured for the face and deviation, when its file is there and is for them; false,
// with `set` empty, otherwise.
bool LoadMeasuredGlyphs(const std::string& faceFile, int index, double deviation, GlyphSet& set);
