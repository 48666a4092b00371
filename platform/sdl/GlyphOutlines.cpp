// SDL backend: glyph outlines as geometry, without GL (see GlyphOutlines.h).
#include "GlyphOutlines.h"

#include <GL/glu.h>
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace {

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

}  // namespace

double FlatteningDeviation(float deviation) {
  return (std::isfinite(deviation) && deviation > 0) ? static_cast<double>(deviation) : 0.001;
}

double FlatteningTolerance(double deviation, double unitsPerEm) { return std::max(deviation * unitsPerEm, 1e-3); }

struct GlyphReader::Scratch {
  OutlineFlattener outline;
  std::unique_ptr<Triangulator> triangulator;  // filled fonts only
};

GlyphReader::GlyphReader(bool filled) : scratch_(std::make_unique<Scratch>()) {
  if (filled) scratch_->triangulator = std::make_unique<Triangulator>();
}

GlyphReader::~GlyphReader() = default;

bool GlyphReader::Ok() const { return !scratch_->triangulator || scratch_->triangulator->Ok(); }

GlyphGeometry GlyphReader::Read(FT_Face face, DWORD code, double tolerance) {
  GlyphGeometry glyph;
  const uint32_t cp = code < 256 ? Cp1250ToUnicode(static_cast<uint8_t>(code)) : code;
  // An unmapped character, control codes included, shows the face's default glyph, as WGL does.
  const FT_UInt index = FT_Get_Char_Index(face, cp);
  glyph.loaded = FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) == 0;
  if (!glyph.loaded) return glyph;  // empty, no advance, zero metrics

  const double em = face->units_per_EM;
  FT_GlyphSlot slot = face->glyph;
  glyph.advance = static_cast<double>(slot->metrics.horiAdvance) / em;
  FT_Outline* outline = slot->format == FT_GLYPH_FORMAT_OUTLINE ? &slot->outline : nullptr;
  Shape(outline, em, tolerance, glyph);
  return glyph;
}

void GlyphReader::Shape(FT_Outline* source, double unitsPerEm, double tolerance, GlyphGeometry& glyph) {
  OutlineFlattener& outline = scratch_->outline;
  outline.points.clear();
  outline.contourStarts.clear();
  if (source) outline.Run(source, unitsPerEm, tolerance);
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

  Triangulator* triangulator = scratch_->triangulator.get();
  if (triangulator && !glyph.contourStarts.empty()) {
    triangulator->Run(outline);
    glyph.triangles.reserve(triangulator->triangles.size());
    for (const GLdouble* v : triangulator->triangles) glyph.triangles.push_back(Point{v[0], v[1]});
    glyph.outerClockwise = FT_Outline_Get_Orientation(source) == FT_ORIENTATION_TRUETYPE;
  }
}

