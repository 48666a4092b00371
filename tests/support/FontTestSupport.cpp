#include "FontTestSupport.h"

#ifndef _WIN32
#include <fontconfig/fontconfig.h>
#endif

#include <algorithm>
#include <memory>

namespace fonttest {

std::vector<uint8_t> MakeBffBlob(int32_t width, int32_t height, int32_t cellWidth, int32_t cellHeight, uint8_t bits,
                                 uint8_t baseChar, const uint8_t* widths) {
  const size_t pixels = width > 0 && height > 0 ? size_t(width) * size_t(height) * (bits / 8u) : 0;
  std::vector<uint8_t> blob(276 + pixels);
  blob[0] = 0xBF;
  blob[1] = 0xF2;
  const int32_t fields[4] = {width, height, cellWidth, cellHeight};
  for (int f = 0; f < 4; ++f)
    for (int k = 0; k < 4; ++k) blob[2 + 4 * f + k] = static_cast<uint8_t>(static_cast<uint32_t>(fields[f]) >> (8 * k));
  blob[18] = bits;
  blob[19] = baseChar;
  for (int c = 0; c < 256; ++c) blob[20 + c] = widths ? widths[c] : testgl::kBuiltinWidths[c];
  for (size_t k = 0; k < pixels; ++k) blob[276 + k] = static_cast<uint8_t>(k * 7 + k / 251);
  return blob;
}

#ifndef _WIN32
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
#endif  // _WIN32

size_t Count(const std::vector<testgl::FeedbackPrimitive>& prims, testgl::FeedbackPrimitive::Kind kind) {
  return static_cast<size_t>(std::count_if(prims.begin(), prims.end(), [&](const auto& p) { return p.kind == kind; }));
}

double SignedArea(const std::vector<testgl::FeedbackPrimitive>& prims, double* smallest) {
  double total = 0, least = 1e30;
  for (const auto& p : testgl::Polygons(prims)) {
    double a = 0;
    const auto& v = p.vertices;
    for (size_t i = 0; i < v.size(); ++i) {
      const auto& q = v[(i + 1) % v.size()];
      a += (double(v[i].x) * q.y - double(q.x) * v[i].y) / 2;
    }
    total += a;
    least = std::min(least, a);
  }
  if (smallest) *smallest = least;
  return total;
}

}  // namespace fonttest
