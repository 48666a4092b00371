// Shared pieces of the GUI tests: a headless context with a flat view of the GUI plane, the
// input and GUI globals reset before each test, quads read back from GL feedback in plane units,
// and a hand-made copy of the built-in font's metrics.
#pragma once

#include "GLGUI.h"
#include "GLGlobal.h"
#include "GLHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace guitest {

// A vertex as it reached the rasteriser, with its position turned back into GUI-plane units.
struct PlaneVertex {
  double x, y;
  float r, g, b, a;
  float s, t;
};

// One drawn quad (Mesa reports it as two triangles; they are merged again here).
struct Quad {
  PlaneVertex v[4];
  double MinX() const;
  double MaxX() const;
  double MinY() const;
  double MaxY() const;
  // The vertex nearest the given corner of the quad's bounds.
  const PlaneVertex& TopLeft() const;
  const PlaneVertex& TopRight() const;
  const PlaneVertex& BottomLeft() const;
  const PlaneVertex& BottomRight() const;
};

// A primitive from feedback: either a glPassThrough marker or a polygon / point in plane units.
struct Item {
  enum Kind { Marker, Polygon, Point } kind;
  float token = 0;
  std::vector<PlaneVertex> vertices;
};

// Every test gets a fresh 640 x 480 context looking straight at the plane through an orthographic
// view in which window x = (plane x + 1) * 320 and window y = (plane y + 1) * 240.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs `draw` in feedback mode and returns what it drew, in plane units.
  std::vector<Item> Capture(const std::function<void()>& draw);
  // Only the quads (triangle pairs merged); fails the test if the polygons do not pair up.
  std::vector<Quad> CaptureQuads(const std::function<void()>& draw);

  // Installs the hand-made built-in font as BuiltinFont (with a 256 x 256 texture).
  void InstallBuiltinFont();
  // A small RGBA texture of one colour; returns its name.
  GLuint SolidTexture(uint8_t r, uint8_t g, uint8_t b, uint8_t a);

  testgl::HeadlessGL* gl = nullptr;
};

// Merges the polygons of `items` into quads.
std::vector<Quad> QuadsOf(const std::vector<Item>& items);

// The built-in font's advance table, indexed by character code.
extern const uint8_t kBuiltinWidths[256];

// Plane x and y of an absolute virtual pixel by the common 4:3 rule.
inline double VX(int v) { return (v - 512) * 0.001078125; }
inline double VY(int v) { return (384 - v) * 0.001078125; }

}  // namespace guitest

// Tolerance for positions read back through feedback (window floats at 640 x 480).
constexpr double kPlaneEps = 2e-6;
