// SDL backend: stand-ins for the GDI font calls and wglUseFontOutlinesA. Faces are resolved
// with fontconfig, outlines read with FreeType and turned into display lists (filled through the
// GLU tessellator or as line loops), in em units, one list per character code of Windows code
// page 1250. Included through WinFonts.h, which picks it everywhere but on Windows.
#pragma once

#include "SdlApi.h"

#include <cstdint>

using HGDIOBJ = void*;

constexpr int WGL_FONT_LINES = 0;
constexpr int WGL_FONT_POLYGONS = 1;

constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr DWORD ANSI_CHARSET = 0;
constexpr DWORD EASTEUROPE_CHARSET = 238;  // code page 1250, which the stand-in always reads
constexpr DWORD OUT_TT_PRECIS = 4;
constexpr DWORD CLIP_DEFAULT_PRECIS = 0;
constexpr DWORD ANTIALIASED_QUALITY = 4;
constexpr DWORD DEFAULT_PITCH = 0;
constexpr DWORD FF_DONTCARE = 0;

// A logical font: the face name and weight (and the other arguments) that a later
// wglUseFontOutlinesA resolves. Fonts live until the program ends; a null face name means the
// system's default face.
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, const char* faceName);
// Selects a font into a device context (any HDC value, null included); returns the previous one
// (null when there was none).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Builds `count` display lists from `listBase` for the characters first .. first + count - 1 of
// the font selected into `dc`: glyphs in em units in the z = 0 plane (extruded to z = -extrusion
// when extrusion is not 0), each list ending with a translation by the glyph's advance. Codes
// 0 to 255 are Windows code page 1250 bytes, higher codes Unicode. `deviation` is the largest
// chordal deviation of flattened curves in em units (0 picks a fine default). `metrics`, when
// not null, receives `count` records. The glyphs' geometry is kept for the next build of the same
// face, deviation and format (see ForgetGlyphOutlines). Returns FALSE when no font is selected or no face could be
// loaded; the lists are then left as they were.
BOOL wglUseFontOutlinesA(HDC dc, DWORD first, DWORD count, DWORD listBase, float deviation, float extrusion,
                         int format, GLYPHMETRICSFLOAT* metrics);

// The geometry of the glyphs built last (per face, deviation and format) is kept in memory, so
// that building the same font again, for a new context, only compiles its lists; it is also
// stored in the disk cache for later runs (GlyphCache.h). This drops what is kept in memory: the
// next wglUseFontOutlinesA takes its glyphs from the disk cache or makes them anew.
void ForgetGlyphOutlines();
