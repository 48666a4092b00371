// SDL backend: logical fonts, their selection into device contexts, and outline fonts as
// display lists (wglUseFontOutlinesA).
//
// A logical font only records what CreateFontA was given. wglUseFontOutlinesA resolves the
// selected font's face (FontFaces.h), takes each character's geometry (GlyphOutlines.h) and
// compiles one display list per character in em units: filled triangles, or the contours as
// lines. The glyphs' geometry is kept in memory and in the disk cache (GlyphCache.h), so that a
// font built before only compiles its lists. In the browser, where nothing outlives the page, a
// glyph is made when its list is first drawn; its metrics come from the measures the site carries
// beside the font, or else from measuring it up front.
#include "WinFonts.h"

#include "FaceLookup.h"
#include "FontFaces.h"
#include "GlyphCache.h"
#include "GlyphOutlines.h"
#include "Presentation.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct HFONT__ {
  int Height, Width, Escapement, Orientation, Weight;
  DWORD Italic, Underline, StrikeOut, CharSet, OutPrecision, ClipPrecision, Quality, PitchAndFamily;
  std::string FaceName;
};

namespace {

using Point = GlyphPoint;

// Every logical font ever made; a deque keeps their addresses (the HFONT values) stable.
std::deque<HFONT__>& LogicalFonts() {
  static std::deque<HFONT__> fonts;
  return fonts;
}

std::map<HDC, HGDIOBJ>& SelectedObjects() {
  static std::map<HDC, HGDIOBJ> selected;
  return selected;
}

const HFONT__* AsLogicalFont(HGDIOBJ object) {
  for (const HFONT__& f : LogicalFonts())
    if (&f == object) return &f;
  return nullptr;
}

// ---- glyph geometry kept between builds ----------------------------------------------------------

// The glyphs of one face, flattened with one tolerance, with or without the fill's triangles.
// A face stays open for the whole run (FontFaces.h), so its handle names it.
struct GlyphSetKey {
  FT_Face face;
  double tolerance;
  bool filled;
  bool operator==(const GlyphSetKey& o) const {
    return face == o.face && tolerance == o.tolerance && filled == o.filled;
  }
};

// Glyph geometry by character code, for the few glyph sets built last. A rebuilt font (a new
// window after a fullscreen toggle) compiles its lists from here instead of reading, flattening
// and tessellating every glyph again; the lists come out the same, since they are compiled from
// the same numbers by the same code.
struct KeptSet {
  GlyphSet glyphs;
  bool diskTried = false;  // the disk cache was asked for this set
};

class GlyphSets {
 public:
  KeptSet& Get(const GlyphSetKey& key) {
    for (auto it = sets_.begin(); it != sets_.end(); ++it) {
      if (!(it->first == key)) continue;
      if (it != sets_.end() - 1) std::rotate(it, it + 1, sets_.end());  // newest last
      return sets_.back().second;
    }
    if (sets_.size() >= kKept) sets_.erase(sets_.begin());
    sets_.emplace_back(key, KeptSet());
    return sets_.back().second;
  }
  void Clear() { sets_.clear(); }

 private:
  static constexpr size_t kKept = 8;
  std::vector<std::pair<GlyphSetKey, KeptSet>> sets_;
};

GlyphSets& KeptGlyphs() {
  static GlyphSets sets;
  return sets;
}

// ---- display lists -------------------------------------------------------------------------------

// Each glyph is one primitive batch (one glBegin/glEnd): lighter lists, and Mesa's feedback
// mode only reports the first batch of a display list (and crashes on long line loops).

void EmitFilled(const GlyphGeometry& outline, double extrusion) {
  if (outline.triangles.empty()) return;
  const bool outerClockwise = outline.outerClockwise;
  glBegin(GL_TRIANGLES);
  glNormal3f(0, 0, 1);
  for (const Point& v : outline.triangles) glVertex3d(v.x, v.y, 0.0);
  if (extrusion != 0) {
    const double z = -extrusion;
    glNormal3f(0, 0, -1);
    for (size_t i = 0; i < outline.triangles.size(); i += 3) {
      const Point &a = outline.triangles[i], &b = outline.triangles[i + 1], &c = outline.triangles[i + 2];
      glVertex3d(a.x, a.y, z);
      glVertex3d(c.x, c.y, z);
      glVertex3d(b.x, b.y, z);
    }
    // Side walls: two triangles per outline edge, facing away from the filled area.
    for (size_t k = 0; k < outline.contourStarts.size(); ++k) {
      const size_t first = outline.contourStarts[k], end = outline.ContourEnd(k);
      for (size_t i = first; i < end; ++i) {
        const Point& p = outline.points[i];
        const Point& q = outline.points[i + 1 < end ? i + 1 : first];
        const double dx = q.x - p.x, dy = q.y - p.y, len = std::hypot(dx, dy);
        if (len == 0) continue;
        // Seen from outside, p(front) -> p(back) -> q(back) -> q(front) turns counter-clockwise
        // when the filled area lies left of p -> q (PostScript), the other way round otherwise.
        const Point& u = outerClockwise ? q : p;
        const Point& w = outerClockwise ? p : q;
        if (outerClockwise)
          glNormal3d(-dy / len, dx / len, 0);
        else
          glNormal3d(dy / len, -dx / len, 0);
        glVertex3d(u.x, u.y, 0);
        glVertex3d(u.x, u.y, z);
        glVertex3d(w.x, w.y, z);
        glVertex3d(u.x, u.y, 0);
        glVertex3d(w.x, w.y, z);
        glVertex3d(w.x, w.y, 0);
      }
    }
  }
  glEnd();
}

// Every contour as a closed ring of segments; extruded, a second ring at the back and an edge
// from each front point to its back point.
void EmitLines(const GlyphGeometry& outline, double extrusion) {
  if (outline.contourStarts.empty()) return;
  const bool extruded = extrusion != 0;
  glBegin(GL_LINES);
  for (size_t k = 0; k < outline.contourStarts.size(); ++k) {
    const size_t first = outline.contourStarts[k], end = outline.ContourEnd(k);
    for (size_t i = first; i < end; ++i) {
      const Point& p = outline.points[i];
      const Point& q = outline.points[i + 1 < end ? i + 1 : first];
      glVertex3d(p.x, p.y, 0.0);
      glVertex3d(q.x, q.y, 0.0);
      if (!extruded) continue;
      glVertex3d(p.x, p.y, -extrusion);
      glVertex3d(q.x, q.y, -extrusion);
      glVertex3d(p.x, p.y, 0.0);
      glVertex3d(p.x, p.y, -extrusion);
    }
  }
  glEnd();
}

// Changes with any change to how glyphs are read, flattened or tessellated above, so that sets
// stored by an earlier build of this code are not taken for current ones.
constexpr int kGeometryRevision = 1;

// Names everything a glyph set's numbers depend on: the face's file (path, size and time of its
// last change) and place in it, the tolerance, the format, and the code and libraries that made
// them. Empty when the file cannot be looked at: such a set is not stored.
std::string DiskKey(FT_Face face, double tolerance, bool filled) {
  const std::string file = FaceFile(face);
  struct stat st;
  if (file.empty() || stat(file.c_str(), &st) != 0) return std::string();
  FT_Int major = 0, minor = 0, patch = 0;
  FT_Library_Version(face->glyph->library, &major, &minor, &patch);
  const char* glu = reinterpret_cast<const char*>(gluGetString(GLU_VERSION));
  char text[256];
  std::snprintf(text, sizeof text, "\n%ld\n%lld %lld.%09ld\n%d %a %s\nrevision %d, FreeType %d.%d.%d, GLU %s",
                face->face_index, static_cast<long long>(st.st_size), static_cast<long long>(st.st_mtim.tv_sec),
                st.st_mtim.tv_nsec, face->units_per_EM, tolerance, filled ? "polygons" : "lines", kGeometryRevision,
                major, minor, patch, glu ? glu : "?");
  return file + text;
}

// Compiles a glyph's list: its geometry in em units, then the step to the next character.
void CompileGlyph(GLuint list, const GlyphGeometry& glyph, double depth, int format) {
  glNewList(list, GL_COMPILE);
  if (format == WGL_FONT_LINES)
    EmitLines(glyph, depth);
  else
    EmitFilled(glyph, depth);
  glTranslatef(static_cast<float>(glyph.advance), 0.0f, 0.0f);
  glEndList();
}

// Compiles a glyph's list when it is first drawn: the glyph is made then, unless it has been by
// now, and kept with the others of its set.
void CompileDeferredGlyph(GlyphSetKey key, DWORD code, GLuint list, double depth, int format) {
  GlyphSet& kept = KeptGlyphs().Get(key).glyphs;
  auto found = kept.find(code);
  if (found == kept.end()) {
    static std::unique_ptr<GlyphReader> readers[2];
    std::unique_ptr<GlyphReader>& reader = readers[key.filled ? 1 : 0];
    if (!reader) reader = std::make_unique<GlyphReader>(key.filled);
    found = kept.emplace(code, reader->Ok() ? reader->Read(key.face, code, key.tolerance) : GlyphGeometry{}).first;
  }
  CompileGlyph(list, found->second, depth, format);
}

// Where lists can wait for their first call and the face's glyphs were measured ahead (the web
// build's site carries the measures beside its fonts), the metrics are the measured ones and the
// face is opened, and a glyph made, only when a list is first drawn. False, having done nothing,
// where there are no measures for every character asked for.
bool CompileMeasuredGlyphs(const HFONT__& font, int weight, double deviation, bool filled, DWORD first, DWORD count,
                           DWORD listBase, double depth, int format, GLYPHMETRICSFLOAT* metrics) {
  const bool italic = font.Italic != 0;
  std::string file;
  int index = 0;
  GlyphSet measured;
  if (!LocateFace(font.FaceName, weight, italic, file, index) || !LoadMeasuredGlyphs(file, index, deviation, measured))
    return false;
  for (DWORD i = 0; i < count; ++i)
    if (measured.count(first + i) == 0) return false;
  const auto family = std::make_shared<const std::string>(font.FaceName);
  for (DWORD i = 0; i < count; ++i) {
    const DWORD code = first + i;
    const GLuint list = listBase + i;
    if (metrics) metrics[i] = measured[code].metrics;
    sdl_layer::kPresentation.CompileOnFirstCall(list, [=] {
      FT_Face face = FindFace(*family, weight, italic);
      if (!face) {
        CompileGlyph(list, GlyphGeometry{}, depth, format);
        return;
      }
      const GlyphSetKey key{face, FlatteningTolerance(deviation, face->units_per_EM), filled};
      CompileDeferredGlyph(key, code, list, depth, format);
    });
  }
  return true;
}

}  // namespace

void ForgetGlyphOutlines() { KeptGlyphs().Clear(); }

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, const char* faceName) {
  LogicalFonts().push_back(HFONT__{height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                   charSet, outPrecision, clipPrecision, quality, pitchAndFamily,
                                   faceName ? std::string(faceName) : std::string()});
  return &LogicalFonts().back();
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  HGDIOBJ& slot = SelectedObjects()[dc];
  HGDIOBJ previous = slot;
  slot = object;
  return previous;
}

namespace {

// A font's lists as a call asks for them: the font selected into the device context, its weight,
// fill, deviation (FlatteningDeviation's) and depth.
struct OutlineRequest {
  const HFONT__* font = nullptr;
  int weight = FW_NORMAL;
  bool filled = true;
  double deviation = 0.0, depth = 0.0;
};

// False when no font is selected into `dc`.
bool SelectedOutlines(HDC dc, float deviation, float extrusion, int format, OutlineRequest& r) {
  const auto selected = SelectedObjects().find(dc);
  if (selected == SelectedObjects().end()) return false;
  r.font = AsLogicalFont(selected->second);
  if (!r.font) return false;
  // Win32 weights run 1 to 1000 with 0 meaning "regular"; OpenType uses the same scale.
  r.weight = r.font->Weight <= 0 ? FW_NORMAL : std::min(r.font->Weight, 1000);
  r.filled = format != WGL_FONT_LINES;
  r.deviation = FlatteningDeviation(deviation);
  r.depth = std::isfinite(extrusion) ? static_cast<double>(extrusion) : 0.0;
  return true;
}

// The glyphs kept for the request's face (opened now) and tolerance, and their key; null when the
// face cannot be opened.
KeptSet* KeptSetOf(const OutlineRequest& r, GlyphSetKey& key) {
  FT_Face face = FindFace(r.font->FaceName, r.weight, r.font->Italic != 0);
  if (!face) return nullptr;
  key = GlyphSetKey{face, FlatteningTolerance(r.deviation, face->units_per_EM), r.filled};
  return &KeptGlyphs().Get(key);
}

}  // namespace

BOOL wglUseFontOutlinesA(HDC dc, DWORD first, DWORD count, DWORD listBase, float deviation, float extrusion,
                         int format, GLYPHMETRICSFLOAT* metrics) {
  return sdl_layer::kPresentation.UseFontOutlines(dc, first, count, listBase, deviation, extrusion, format, metrics);
}

// Where a list can be compiled on its first call (the browser's GL), a glyph not made yet is only
// measured now and made when its list is first drawn: most of a font's glyphs never are, and the
// fill's tessellation is most of a font's cost.
BOOL sdl_layer::UseFontOutlinesOnFirstCall(HDC dc, DWORD first, DWORD count, DWORD listBase, float deviation,
                                           float extrusion, int format, GLYPHMETRICSFLOAT* metrics) {
  OutlineRequest r;
  if (!SelectedOutlines(dc, deviation, extrusion, format, r)) return FALSE;
  const double depth = r.depth;
  if (CompileMeasuredGlyphs(*r.font, r.weight, r.deviation, r.filled, first, count, listBase, depth, format, metrics))
    return TRUE;
  GlyphSetKey key{};
  KeptSet* set = KeptSetOf(r, key);
  if (!set) return FALSE;
  GlyphSet& kept = set->glyphs;
  std::unique_ptr<GlyphReader> measurer;
  for (DWORD i = 0; i < count; ++i) {
    const DWORD code = first + i;
    const GLuint list = listBase + i;
    const auto found = kept.find(code);
    if (found != kept.end()) {
      if (metrics) metrics[i] = found->second.metrics;
      CompileGlyph(list, found->second, depth, format);
      continue;
    }
    if (metrics) {
      if (!measurer) measurer = std::make_unique<GlyphReader>(false);
      GlyphGeometry glyph = measurer->Read(key.face, code, key.tolerance);
      metrics[i] = glyph.metrics;
      // Measuring made all that a glyph of lines needs: it is kept for its list, not read again.
      if (!r.filled) kept.emplace(code, std::move(glyph));
    }
    kPresentation.CompileOnFirstCall(list, [=] { CompileDeferredGlyph(key, code, list, depth, format); });
  }
  return TRUE;
}

// The glyphs made up front, from memory, the disk cache, or anew (and then stored in the cache).
BOOL sdl_layer::UseFontOutlinesNow(HDC dc, DWORD first, DWORD count, DWORD listBase, float deviation, float extrusion,
                                   int format, GLYPHMETRICSFLOAT* metrics) {
  OutlineRequest r;
  if (!SelectedOutlines(dc, deviation, extrusion, format, r)) return FALSE;
  GlyphSetKey key{};
  KeptSet* set = KeptSetOf(r, key);
  if (!set) return FALSE;
  GlyphSet& kept = set->glyphs;
  auto missing = [&] {
    for (DWORD i = 0; i < count; ++i)
      if (kept.count(first + i) == 0) return true;
    return false;
  };
  // Glyphs this process has not made yet may be in the disk cache (asked once per set).
  std::string diskKey;
  if (missing() && !set->diskTried) {
    set->diskTried = true;
    diskKey = DiskKey(key.face, key.tolerance, r.filled);
    GlyphSet stored;
    if (!diskKey.empty() && LoadGlyphSet(diskKey, stored)) kept.merge(stored);  // glyphs made here stay
  }
  // A reader (with a tessellator for a filled font) only when some glyph has to be made anew;
  // made before any list is touched.
  std::unique_ptr<GlyphReader> reader;
  if (missing()) {
    reader = std::make_unique<GlyphReader>(r.filled);
    if (!reader->Ok()) return FALSE;
  }
  bool made = false;

  for (DWORD i = 0; i < count; ++i) {
    const DWORD code = first + i;
    auto found = kept.find(code);
    if (found == kept.end()) {
      found = kept.emplace(code, reader->Read(key.face, code, key.tolerance)).first;
      made = true;
    }
    const GlyphGeometry& glyph = found->second;
    if (metrics) metrics[i] = glyph.metrics;

    CompileGlyph(listBase + i, glyph, r.depth, format);
  }
  if (made) {
    if (diskKey.empty()) diskKey = DiskKey(key.face, key.tolerance, r.filled);
    if (!diskKey.empty()) StoreGlyphSet(diskKey, kept);
  }
  return TRUE;
}
