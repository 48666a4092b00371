// Pixels read back from the harness's framebuffer object: where something was drawn, for checks
// that must not go through GL feedback (WGL's glyph lists hold several glBegin/glEnd batches,
// which Mesa's feedback mode does not replay).
#pragma once

#include "GLHarness.h"

#include <cstddef>
#include <functional>

namespace testgl {

// The lit pixels (any of red, green, blue above a threshold) of the colour buffer: how many, and
// their bounds in window pixels (y up), inclusive.
struct Ink {
  size_t count = 0;
  int minX = 0, minY = 0, maxX = -1, maxY = -1;
  bool Empty() const { return count == 0; }
};
Ink FindInk(const HeadlessGL& gl, int threshold = 127);

// Clears the colour buffer to black, runs `draw`, and finds its ink.
Ink DrawAndFindInk(const HeadlessGL& gl, const std::function<void()>& draw, int threshold = 127);

// The ink's bounds in the units of an orthographic view (pixel edges, not centres).
Box InkBounds(const Ink& ink, const OrthoView& view);

}  // namespace testgl
