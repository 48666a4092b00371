// SDL backend: logical fonts, their selection into device contexts, and outline glyphs as display lists.
//
// A logical font only records what CreateFontA was given. wglUseFontOutlinesA resolves the
// selected font's face and weight with fontconfig, reads each glyph's outline with FreeType in
// font units (FT_LOAD_NO_SCALE), flattens its curves and compiles one display list per
// character in em units: filled triangles from the GLU tessellator, or one line loop per
// contour. The glyphs' geometry is kept in memory and in the disk cache (GlyphCache.h), so that
// a font built before only compiles its lists.
#include "WinFonts.h"

#include "GlyphCache.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <sys/stat.h>

#include <algorithm>
#include <array>
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

// ---- FreeType and fontconfig ---------------------------------------------------------------------

struct FreeTypeLibraryDeleter {
  void operator()(FT_Library lib) const { FT_Done_FreeType(lib); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceDeleter>;
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// Fontconfig's configuration, loaded on first use and released when the program ends.
class FontconfigSession {
 public:
  FontconfigSession() : ok_(FcInit() == FcTrue) {}
  ~FontconfigSession() {
    if (ok_) FcFini();
  }
  FontconfigSession(const FontconfigSession&) = delete;
  FontconfigSession& operator=(const FontconfigSession&) = delete;
  bool Ok() const { return ok_; }

 private:
  bool ok_;
};

// The FreeType library and every face opened so far, by request (face name, weight, italic).
// Faces stay open so that a rebuilt font (a new window) does not search and parse again.
class FaceCache {
 public:
  FT_Face Get(const std::string& family, int weight, bool italic) {
    if (!fontconfig_.Ok()) return nullptr;
    if (!library_) {
      FT_Library lib = nullptr;
      if (FT_Init_FreeType(&lib) != 0) return nullptr;
      library_.reset(lib);
    }
    const std::string key = family + '\n' + std::to_string(weight) + (italic ? "i" : "");
    auto found = faces_.find(key);
    if (found != faces_.end()) return found->second.get();
    std::string file;
    FacePtr face = Open(family, weight, italic, file);
    if (!face) return nullptr;
    files_[face.get()] = file;
    return faces_.emplace(key, std::move(face)).first->second.get();
  }

  // The font file a face was opened from (empty for a face this cache did not open).
  std::string FileOf(FT_Face face) const {
    const auto found = files_.find(face);
    return found == files_.end() ? std::string() : found->second;
  }

 private:
  FacePtr Open(const std::string& family, int weight, bool italic, std::string& path) {
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) return nullptr;
    if (!family.empty())
      FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) return nullptr;
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match) return nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file) return nullptr;
    if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    FT_Face face = nullptr;
    if (FT_New_Face(library_.get(), reinterpret_cast<const char*>(file), index, &face) != 0) return nullptr;
    FacePtr owned(face);
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return nullptr;
    path = reinterpret_cast<const char*>(file);
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && face->num_charmaps > 0)
      FT_Set_Charmap(face, face->charmaps[0]);
    return owned;
  }

  // Members are destroyed in reverse order: the faces, then the library, then fontconfig.
  FontconfigSession fontconfig_;
  std::unique_ptr<FT_LibraryRec_, FreeTypeLibraryDeleter> library_;
  std::map<std::string, FacePtr> faces_;
  std::map<FT_Face, std::string> files_;
};

FaceCache& Faces() {
  static FaceCache cache;
  return cache;
}

// ---- outline flattening -------------------------------------------------------------------------

using Point = GlyphPoint;

// Collects a glyph outline as closed polygons in em units, curves flattened so that no chord
// strays further than `tolerance` (font units) from its curve. The buffers are kept between
// glyphs, so a font build allocates only while they grow.
class OutlineFlattener {
 public:
  std::vector<Point> points;
  std::vector<size_t> contourStarts;  // contour k is points[contourStarts[k] .. next start)

  void Run(FT_Outline* outline, double unitsPerEm, double tolerance) {
    points.clear();
    contourStarts.clear();
    scale_ = 1.0 / unitsPerEm;
    tolerance_ = tolerance;
    start_ = 0;
    open_ = false;
    static const FT_Outline_Funcs funcs = {&MoveTo, &LineTo, &ConicTo, &CubicTo, 0, 0};
    if (FT_Outline_Decompose(outline, &funcs, this) != 0) {
      points.clear();
      contourStarts.clear();
      return;
    }
    Close();
  }

  size_t ContourEnd(size_t k) const { return k + 1 < contourStarts.size() ? contourStarts[k + 1] : points.size(); }

 private:
  static OutlineFlattener& Self(void* user) { return *static_cast<OutlineFlattener*>(user); }

  static int MoveTo(const FT_Vector* to, void* user) {
    OutlineFlattener& f = Self(user);
    f.Close();
    f.start_ = f.points.size();
    f.open_ = true;
    f.cx_ = static_cast<double>(to->x);
    f.cy_ = static_cast<double>(to->y);
    f.Add(f.cx_, f.cy_);
    return 0;
  }
  static int LineTo(const FT_Vector* to, void* user) {
    OutlineFlattener& f = Self(user);
    f.cx_ = static_cast<double>(to->x);
    f.cy_ = static_cast<double>(to->y);
    f.Add(f.cx_, f.cy_);
    return 0;
  }
  static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    OutlineFlattener& f = Self(user);
    const double x0 = f.cx_, y0 = f.cy_;
    const double x1 = static_cast<double>(control->x), y1 = static_cast<double>(control->y);
    const double x2 = static_cast<double>(to->x), y2 = static_cast<double>(to->y);
    // A quadratic's second derivative is constant, 2 (P0 - 2 P1 + P2); n equal steps keep the
    // chord within |P0 - 2 P1 + P2| / (4 n^2) of the curve.
    const double d = std::hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2);
    const int n = f.Steps(d / 4);
    for (int i = 1; i < n; ++i) {
      const double t = static_cast<double>(i) / n, u = 1 - t;
      f.Add(u * u * x0 + 2 * u * t * x1 + t * t * x2, u * u * y0 + 2 * u * t * y1 + t * t * y2);
    }
    f.cx_ = x2;
    f.cy_ = y2;
    f.Add(x2, y2);
    return 0;
  }
  static int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    OutlineFlattener& f = Self(user);
    const double x0 = f.cx_, y0 = f.cy_;
    const double x1 = static_cast<double>(c1->x), y1 = static_cast<double>(c1->y);
    const double x2 = static_cast<double>(c2->x), y2 = static_cast<double>(c2->y);
    const double x3 = static_cast<double>(to->x), y3 = static_cast<double>(to->y);
    // A cubic's second derivative is bounded by 6 max(|P0 - 2 P1 + P2|, |P1 - 2 P2 + P3|),
    // so n equal steps keep the chord within 3 max(...) / (4 n^2) of the curve.
    const double d = std::max(std::hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2),
                              std::hypot(x1 - 2 * x2 + x3, y1 - 2 * y2 + y3));
    const int n = f.Steps(3 * d / 4);
    for (int i = 1; i < n; ++i) {
      const double t = static_cast<double>(i) / n, u = 1 - t;
      const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, e = t * t * t;
      f.Add(a * x0 + b * x1 + c * x2 + e * x3, a * y0 + b * y1 + c * y2 + e * y3);
    }
    f.cx_ = x3;
    f.cy_ = y3;
    f.Add(x3, y3);
    return 0;
  }

  // Number of equal steps that keep the error bound `k` / n^2 within the tolerance.
  int Steps(double k) const {
    const double n = std::ceil(std::sqrt(k / tolerance_));
    if (!(n >= 1)) return 1;
    return n > 256 ? 256 : static_cast<int>(n);
  }

  void Add(double x, double y) {
    const Point p{x * scale_, y * scale_};
    if (points.size() > start_) {
      const Point& last = points.back();
      if (last.x == p.x && last.y == p.y) return;
    }
    points.push_back(p);
  }

  // Ends the open contour: drops a closing point equal to the first, and the whole contour when
  // fewer than three points remain (it encloses nothing).
  void Close() {
    if (!open_) return;
    open_ = false;
    size_t n = points.size() - start_;
    if (n > 1 && points.back().x == points[start_].x && points.back().y == points[start_].y) {
      points.pop_back();
      --n;
    }
    if (n < 3)
      points.resize(start_);
    else
      contourStarts.push_back(start_);
  }

  double scale_ = 1, tolerance_ = 1, cx_ = 0, cy_ = 0;
  size_t start_ = 0;
  bool open_ = false;
};

// ---- tessellation --------------------------------------------------------------------------------

struct TessDeleter {
  void operator()(GLUtesselator* t) const { gluDeleteTess(t); }
};

// Fills a flattened outline with triangles through the GLU tessellator (non-zero winding, so
// both TrueType and PostScript contour directions fill). Every vertex handed to the tessellator,
// and every vertex it makes where edges cross, lives in `vertices` until the next glyph.
class Triangulator {
 public:
  std::vector<const GLdouble*> triangles;  // three vertices per triangle, counter-clockwise

  Triangulator() : tess_(gluNewTess()) {
    if (!tess_) return;
    GLUtesselator* t = tess_.get();
    gluTessProperty(t, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(t, 0, 0, 1);
    gluTessCallback(t, GLU_TESS_BEGIN_DATA, reinterpret_cast<_GLUfuncptr>(&Begin));
    gluTessCallback(t, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<_GLUfuncptr>(&EdgeFlag));
    gluTessCallback(t, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(&Vertex));
    gluTessCallback(t, GLU_TESS_END_DATA, reinterpret_cast<_GLUfuncptr>(&End));
    gluTessCallback(t, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&Combine));
    gluTessCallback(t, GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(&Error));
  }

  bool Ok() const { return tess_ != nullptr; }

  void Run(const OutlineFlattener& outline) {
    triangles.clear();
    vertices_.clear();
    if (!tess_ || outline.contourStarts.empty()) return;
    GLUtesselator* t = tess_.get();
    gluTessBeginPolygon(t, this);
    for (size_t k = 0; k < outline.contourStarts.size(); ++k) {
      gluTessBeginContour(t);
      for (size_t i = outline.contourStarts[k], end = outline.ContourEnd(k); i < end; ++i) {
        vertices_.push_back({outline.points[i].x, outline.points[i].y, 0.0});
        GLdouble* v = vertices_.back().data();
        gluTessVertex(t, v, v);
      }
      gluTessEndContour(t);
    }
    gluTessEndPolygon(t);
    triangles.resize(triangles.size() - triangles.size() % 3);
    // Counter-clockwise as seen from +z, whichever way the tessellator turned them.
    for (size_t i = 0; i < triangles.size(); i += 3) {
      const GLdouble *a = triangles[i], *b = triangles[i + 1], *c = triangles[i + 2];
      if ((b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]) < 0) std::swap(triangles[i + 1], triangles[i + 2]);
    }
  }

 private:
  static Triangulator& Self(void* data) { return *static_cast<Triangulator*>(data); }
  static void Begin(GLenum, void*) {}
  // Registering an edge-flag callback makes the tessellator emit separate triangles only.
  static void EdgeFlag(GLboolean, void*) {}
  static void Vertex(void* vertex, void* data) { Self(data).triangles.push_back(static_cast<const GLdouble*>(vertex)); }
  static void End(void*) {}
  static void Combine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* data) {
    Triangulator& self = Self(data);
    self.vertices_.push_back({coords[0], coords[1], coords[2]});
    *out = self.vertices_.back().data();
  }
  static void Error(GLenum, void*) {}

  std::unique_ptr<GLUtesselator, TessDeleter> tess_;
  std::deque<std::array<GLdouble, 3>> vertices_;
};

// ---- glyph geometry kept between builds ----------------------------------------------------------

// The glyphs of one face, flattened with one tolerance, with or without the fill's triangles.
// A face stays loaded for the whole run (FaceCache), so its handle names it.
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

// Reads one character of code page 1250 (codes from 256 on: Unicode) from the face and makes
// its geometry; `triangulator` is null for outline fonts. `outline` is scratch space.
GlyphGeometry ReadGlyph(FT_Face face, DWORD code, double tolerance, OutlineFlattener& outline,
                        Triangulator* triangulator) {
  GlyphGeometry glyph;
  const uint32_t cp = code < 256 ? Cp1250ToUnicode(static_cast<uint8_t>(code)) : code;
  // An unmapped character, control codes included, shows the face's default glyph, as WGL does.
  const FT_UInt index = FT_Get_Char_Index(face, cp);
  glyph.loaded = FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) == 0;
  if (!glyph.loaded) return glyph;  // empty, no advance, zero metrics

  const double em = face->units_per_EM;
  FT_GlyphSlot slot = face->glyph;
  glyph.advance = static_cast<double>(slot->metrics.horiAdvance) / em;
  outline.points.clear();
  outline.contourStarts.clear();
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) outline.Run(&slot->outline, em, tolerance);
  glyph.points = outline.points;
  glyph.contourStarts = outline.contourStarts;

  // The black box is that of the geometry the list draws.
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  if (!glyph.points.empty()) {
    minX = maxX = glyph.points[0].x;
    minY = maxY = glyph.points[0].y;
    for (const Point& p : glyph.points) {
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y);
      maxY = std::max(maxY, p.y);
    }
  }
  glyph.metrics = GLYPHMETRICSFLOAT{static_cast<float>(maxX - minX),
                                    static_cast<float>(maxY - minY),
                                    {static_cast<float>(minX), static_cast<float>(maxY)},
                                    static_cast<float>(glyph.advance),
                                    0.0f};

  if (triangulator && !glyph.contourStarts.empty()) {
    triangulator->Run(outline);
    glyph.triangles.reserve(triangulator->triangles.size());
    for (const GLdouble* v : triangulator->triangles) glyph.triangles.push_back(Point{v[0], v[1]});
    glyph.outerClockwise = FT_Outline_Get_Orientation(&slot->outline) == FT_ORIENTATION_TRUETYPE;
  }
  return glyph;
}

// Changes with any change to how glyphs are read, flattened or tessellated above, so that sets
// stored by an earlier build of this code are not taken for current ones.
constexpr int kGeometryRevision = 1;

// Names everything a glyph set's numbers depend on: the face's file (path, size and time of its
// last change) and place in it, the tolerance, the format, and the code and libraries that made
// them. Empty when the file cannot be looked at: such a set is not stored.
std::string DiskKey(FT_Face face, double tolerance, bool filled) {
  const std::string file = Faces().FileOf(face);
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

BOOL wglUseFontOutlinesA(HDC dc, DWORD first, DWORD count, DWORD listBase, float deviation, float extrusion,
                         int format, GLYPHMETRICSFLOAT* metrics) {
  const auto selected = SelectedObjects().find(dc);
  if (selected == SelectedObjects().end()) return FALSE;
  const HFONT__* font = AsLogicalFont(selected->second);
  if (!font) return FALSE;

  // Win32 weights run 1 to 1000 with 0 meaning "regular"; OpenType uses the same scale.
  int weight = font->Weight <= 0 ? FW_NORMAL : std::min(font->Weight, 1000);
  FT_Face face = Faces().Get(font->FaceName, weight, font->Italic != 0);
  if (!face) return FALSE;

  const bool filled = format != WGL_FONT_LINES;
  const double em = face->units_per_EM;
  const double dev = (std::isfinite(deviation) && deviation > 0) ? static_cast<double>(deviation) : 0.001;
  const double tolerance = std::max(dev * em, 1e-3);
  const double depth = std::isfinite(extrusion) ? static_cast<double>(extrusion) : 0.0;

  KeptSet& set = KeptGlyphs().Get(GlyphSetKey{face, tolerance, filled});
  GlyphSet& kept = set.glyphs;
  auto missing = [&] {
    for (DWORD i = 0; i < count; ++i)
      if (kept.count(first + i) == 0) return true;
    return false;
  };
  // Glyphs this process has not made yet may be in the disk cache (asked once per set).
  std::string diskKey;
  if (missing() && !set.diskTried) {
    set.diskTried = true;
    diskKey = DiskKey(face, tolerance, filled);
    GlyphSet stored;
    if (!diskKey.empty() && LoadGlyphSet(diskKey, stored)) kept.merge(stored);  // glyphs made here stay
  }
  // A tessellator only when some glyph has to be filled anew; made before any list is touched.
  std::unique_ptr<Triangulator> triangulator;
  if (filled && missing()) {
    triangulator = std::make_unique<Triangulator>();
    if (!triangulator->Ok()) return FALSE;
  }
  OutlineFlattener outline;
  bool made = false;

  for (DWORD i = 0; i < count; ++i) {
    const DWORD code = first + i;
    auto found = kept.find(code);
    if (found == kept.end()) {
      found = kept.emplace(code, ReadGlyph(face, code, tolerance, outline, filled ? triangulator.get() : nullptr)).first;
      made = true;
    }
    const GlyphGeometry& glyph = found->second;
    if (metrics) metrics[i] = glyph.metrics;

    glNewList(listBase + i, GL_COMPILE);
    if (format == WGL_FONT_LINES)
      EmitLines(glyph, depth);
    else
      EmitFilled(glyph, depth);
    glTranslatef(static_cast<float>(glyph.advance), 0.0f, 0.0f);
    glEndList();
  }
  if (made) {
    if (diskKey.empty()) diskKey = DiskKey(face, tolerance, filled);
    if (!diskKey.empty()) StoreGlyphSet(diskKey, kept);
  }
  return TRUE;
}
