#include "FontTestSupport.h"

#include <GL/gl.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>

namespace fonttest {

const uint8_t kBuiltinWidths[256] = {
    6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
    4, 5, 4, 8, 6, 9, 6, 2, 4, 4, 6, 7, 3, 4, 3, 5, 8, 6, 8, 8, 8, 8, 8, 8, 8, 8, 2, 3, 7, 7, 8, 7,
    8, 7, 7, 6, 7, 6, 6, 7, 7, 5, 6, 6, 6, 12, 7, 6, 7, 7, 7, 7, 5, 6, 7, 11, 7, 7, 7, 3, 5, 4, 7, 27,
    2, 7, 7, 7, 7, 6, 6, 7, 7, 5, 7, 7, 6, 11, 8, 6, 7, 6, 7, 6, 5, 6, 6, 9, 6, 7, 7, 5, 3, 5, 7, 6,
    8, 6, 2, 9, 4, 10, 6, 6, 5, 13, 6, 4, 10, 6, 6, 6, 6, 3, 3, 5, 5, 4, 8, 12, 5, 11, 6, 4, 10, 6, 6, 7,
    6, 5, 5, 8, 6, 7, 3, 7, 5, 9, 5, 6, 11, 6, 9, 4, 6, 7, 4, 4, 2, 7, 9, 3, 3, 4, 4, 6, 7, 7, 7, 7,
    7, 7, 7, 7, 7, 7, 10, 6, 6, 6, 6, 6, 5, 5, 6, 6, 7, 7, 6, 6, 6, 6, 6, 7, 6, 6, 6, 6, 6, 7, 9, 6,
    7, 7, 7, 7, 7, 7, 10, 7, 6, 6, 6, 6, 5, 5, 6, 6, 7, 8, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7, 9, 7,
};

namespace {
void PutInt32(std::vector<uint8_t>& out, size_t at, int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  for (int k = 0; k < 4; ++k) out[at + k] = static_cast<uint8_t>(u >> (8 * k));
}
}  // namespace

std::vector<uint8_t> MakeBffBlob(int32_t width, int32_t height, int32_t cellWidth, int32_t cellHeight, uint8_t bits,
                                 uint8_t baseChar, const uint8_t* widths) {
  const size_t pixels = width > 0 && height > 0 ? size_t(width) * size_t(height) * (bits / 8u) : 0;
  std::vector<uint8_t> blob(276 + pixels);
  blob[0] = 0xBF;
  blob[1] = 0xF2;
  PutInt32(blob, 2, width);
  PutInt32(blob, 6, height);
  PutInt32(blob, 10, cellWidth);
  PutInt32(blob, 14, cellHeight);
  blob[18] = bits;
  blob[19] = baseChar;
  for (int c = 0; c < 256; ++c) blob[20 + c] = widths ? widths[c] : kBuiltinWidths[c];
  // A recognisable pattern: byte k of the pixel block holds (k * 7 + k / 251) mod 256.
  for (size_t k = 0; k < pixels; ++k) blob[276 + k] = static_cast<uint8_t>(k * 7 + k / 251);
  return blob;
}

PlaneView UseOrthoPlane(const testgl::HeadlessGL& gl, double left, double bottom, double scale) {
  glViewport(0, 0, gl.Width(), gl.Height());
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(left, left + gl.Width() / scale, bottom, bottom + gl.Height() / scale, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  return PlaneView{left, bottom, scale};
}

void Box::Add(double x, double y) {
  minX = std::min(minX, x);
  maxX = std::max(maxX, x);
  minY = std::min(minY, y);
  maxY = std::max(maxY, y);
}

Box PlaneBounds(const std::vector<testgl::FeedbackPrimitive>& prims, const PlaneView& view) {
  Box b;
  for (const auto& p : prims)
    for (const auto& v : p.vertices) b.Add(view.PlaneX(v.x), view.PlaneY(v.y));
  return b;
}

Kinds CountKinds(const std::vector<testgl::FeedbackPrimitive>& prims) {
  Kinds k;
  for (const auto& p : prims) {
    if (p.kind == testgl::FeedbackPrimitive::Polygon) ++k.polygons;
    if (p.kind == testgl::FeedbackPrimitive::Line) ++k.lines;
    if (p.kind == testgl::FeedbackPrimitive::Point) ++k.points;
  }
  return k;
}

double SignedArea(const std::vector<testgl::FeedbackPrimitive>& prims, double* smallest) {
  double total = 0, least = 1e30;
  for (const auto& p : prims) {
    if (p.kind != testgl::FeedbackPrimitive::Polygon) continue;
    double a = 0;
    const auto& v = p.vertices;
    for (size_t i = 0; i < v.size(); ++i) {
      const auto& q = v[(i + 1) % v.size()];
      a += double(v[i].x) * q.y - double(q.x) * v[i].y;
    }
    a /= 2;
    total += a;
    least = std::min(least, a);
  }
  if (smallest) *smallest = least;
  return total;
}

std::string FontFileFor(const std::string& family, int weight) {
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), &FcPatternDestroy);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result;
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> match(FcFontMatch(nullptr, pattern.get(), &result),
                                                                 &FcPatternDestroy);
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return {};
  return reinterpret_cast<const char*>(file);
}

}  // namespace fonttest
