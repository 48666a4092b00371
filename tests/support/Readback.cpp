#include "Readback.h"

#include <GL/gl.h>

#include <algorithm>

namespace testgl {

Ink FindInk(const HeadlessGL& gl, int threshold) {
  const std::vector<uint8_t> pixels = gl.ReadPixels();
  Ink ink;
  ink.minX = gl.Width();
  ink.minY = gl.Height();
  for (int y = 0; y < gl.Height(); ++y) {
    for (int x = 0; x < gl.Width(); ++x) {
      const uint8_t* p = &pixels[(static_cast<size_t>(y) * gl.Width() + x) * 4];
      if (std::max({p[0], p[1], p[2]}) <= threshold) continue;
      ++ink.count;
      ink.minX = std::min(ink.minX, x);
      ink.maxX = std::max(ink.maxX, x);
      ink.minY = std::min(ink.minY, y);
      ink.maxY = std::max(ink.maxY, y);
    }
  }
  if (ink.count == 0) ink = Ink{};
  return ink;
}

Ink DrawAndFindInk(const HeadlessGL& gl, const std::function<void()>& draw, int threshold) {
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  draw();
  glFinish();
  return FindInk(gl, threshold);
}

Box InkBounds(const Ink& ink, const OrthoView& view) {
  Box box;
  if (ink.Empty()) return box;
  box.Add(view.X(ink.minX), view.Y(ink.minY));
  box.Add(view.X(ink.maxX + 1), view.Y(ink.maxY + 1));
  return box;
}

}  // namespace testgl
