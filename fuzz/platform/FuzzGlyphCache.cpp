// libFuzzer harness: any bytes given to the glyph cache reader must either be read as a sound
// glyph set or refused cleanly. The input is tried as it is, and with a correct check appended,
// so that the fuzzer reaches the reader behind the check. The expected key is the one the input
// names, when it names one.
#include "sdl/GlyphCache.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

std::string KeyOf(const uint8_t* data, size_t size) {
  uint32_t length = 0;
  if (size < 20) return std::string();
  std::memcpy(&length, data + 16, 4);
  if (length > size - 20) return std::string();
  return std::string(reinterpret_cast<const char*>(data + 20), length);
}

void Use(const GlyphSet& set) {
  // Walk the geometry as the list compiler does, so that a bad index would be caught.
  volatile double sum = 0;
  for (const auto& entry : set) {
    const GlyphGeometry& g = entry.second;
    for (size_t k = 0; k < g.contourStarts.size(); ++k)
      for (size_t i = g.contourStarts[k]; i < g.ContourEnd(k); ++i) sum = sum + g.points.at(i).x;
    for (const GlyphPoint& p : g.triangles) sum = sum + p.y;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string key = KeyOf(data, size);
  GlyphSet set;
  if (DecodeGlyphSet(data, size, key, set)) Use(set);
  std::vector<uint8_t> checked(data, data + size);
  const uint64_t check = GlyphFileCheck(data, size);
  const auto* bytes = reinterpret_cast<const uint8_t*>(&check);
  checked.insert(checked.end(), bytes, bytes + sizeof check);
  if (DecodeGlyphSet(checked.data(), checked.size(), key, set)) Use(set);
  return 0;
}
