// The shared harness of the rendering tests: a real OpenGL compatibility context without X
// (Mesa, EGL surfaceless) drawing into a framebuffer object, GL feedback capture for exact
// geometry, and a recorder for the message boxes the code under test would show.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testgl {

// A current GL context with a width x height RGBA8 colour buffer and a 16-bit depth buffer.
// One per test is fine; creating it takes a few milliseconds.
class HeadlessGL {
 public:
  explicit HeadlessGL(int width = 640, int height = 480);
  ~HeadlessGL();
  HeadlessGL(const HeadlessGL&) = delete;
  HeadlessGL& operator=(const HeadlessGL&) = delete;

  bool Ok() const { return ok_; }
  const std::string& Error() const { return error_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The device context of the context's window where the platform has one (WGL); null elsewhere.
  void* DeviceContext() const;

  // The colour buffer, RGBA, bottom row first (as glReadPixels gives it).
  std::vector<uint8_t> ReadPixels() const;
  // Writes the colour buffer as a PNG, top row first.
  bool SavePng(const std::string& path) const;

 private:
  struct Platform;  // the context and its framebuffer object, each platform's own
  int width_, height_;
  bool ok_ = false;
  std::string error_;
  std::unique_ptr<Platform> platform_;
};

// One vertex as GL feedback (GL_3D_COLOR_TEXTURE) reports it: window coordinates (y up),
// RGBA colour and texture coordinates.
struct FeedbackVertex {
  float x, y, z;
  float r, g, b, a;
  float s, t, p, q;
};

// One primitive from the feedback buffer. Mesa splits each quad into two polygons.
struct FeedbackPrimitive {
  enum Kind { Point, Line, Polygon, PassThrough } kind;
  std::vector<FeedbackVertex> vertices;
  float token = 0;  // the value of a glPassThrough marker
};

// Runs `draw` in GL_FEEDBACK mode and returns what reached the rasteriser.
// Fails the current test (and returns nothing) when the buffer overflows.
std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw,
                                               size_t capacityFloats = 1 << 20);

// Only the polygons, in order.
std::vector<FeedbackPrimitive> Polygons(const std::vector<FeedbackPrimitive>& all);

// Sets the shell's projection (45 degrees, the harness's aspect, 0.01 .. 100) and a modelview
// that looks at the GUI plane z = 0 from (0, 0, 1), as the demonstration's camera does at rest.
void UsePlaneCamera(const HeadlessGL& gl);

// UsePlaneCamera plus the state the demonstration draws its GUI with: 2D texturing, alpha
// blending (source alpha, one minus source alpha), no depth test (GL_ALWAYS), back faces culled.
void UseGuiState(const HeadlessGL& gl);

// Window coordinates (y up) of a point under the current matrices and viewport (gluProject).
struct WindowPoint {
  double x, y, z;
};
WindowPoint ProjectToWindow(double x, double y, double z = 0.0);

// An orthographic view over the whole viewport (identity modelview), and the way back from
// window coordinates to its units: x = windowX / scaleX + left.
struct OrthoView {
  double left, bottom, scaleX, scaleY;
  double X(double windowX) const { return windowX / scaleX + left; }
  double Y(double windowY) const { return windowY / scaleY + bottom; }
};
OrthoView UseOrthoView(const HeadlessGL& gl, double left, double right, double bottom, double top,
                       double zNear = -1, double zFar = 1);

// The bounds of every vertex of `prims`, in view units.
struct Box {
  double minX = 1e30, minY = 1e30, maxX = -1e30, maxY = -1e30;
  bool Empty() const { return minX > maxX; }
  void Add(double x, double y);
};
Box Bounds(const std::vector<FeedbackPrimitive>& prims, const OrthoView& view);

// An axis-aligned quad put together again from the polygons Mesa splits it into (two triangles
// in a row, or one quadrilateral), in view units, its vertices by corner. Fails the current test
// when the polygons do not pair up into rectangles.
struct QuadVertex {
  double x, y;
  float r, g, b, a, s, t;
};
struct Quad {
  enum Corner { BottomLeft, BottomRight, TopRight, TopLeft };
  QuadVertex v[4];
  double MinX() const { return v[BottomLeft].x; }
  double MaxX() const { return v[TopRight].x; }
  double MinY() const { return v[BottomLeft].y; }
  double MaxY() const { return v[TopRight].y; }
};
std::vector<Quad> Quads(const std::vector<FeedbackPrimitive>& prims, const OrthoView& view);

// Compares two lists of numbers element by element within `eps`, naming the index of any that differs.
void ExpectNear(const std::vector<double>& got, const std::vector<double>& want, double eps);

// What the display lists first .. first + count - 1 draw, each called alone under the current
// matrices, as one row of numbers: per list its number, then per primitive its kind and every
// vertex (window coordinates, colour, texture coordinates), then the translation the list leaves
// in the modelview. Lists compiled from the same geometry give equal rows.
std::vector<double> ListGeometry(GLuint first, int count);

// The values of the glPassThrough markers, in order.
std::vector<float> PassThroughTokens(const std::vector<FeedbackPrimitive>& prims);

// The advance table of the built-in bitmap font (resources/builtinfont.bff), by character code.
extern const uint8_t kBuiltinWidths[256];

// Every message box shown while a recorder lives is recorded here instead of being shown.
struct RecordedBox {
  std::string text, caption;
  unsigned type;
};
class MessageBoxRecorder {
 public:
  MessageBoxRecorder();
  ~MessageBoxRecorder();
  const std::vector<RecordedBox>& Boxes() const;
  void Clear();
};

}  // namespace testgl
