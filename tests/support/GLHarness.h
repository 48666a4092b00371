// The shared harness of the rendering tests: a real OpenGL compatibility context without X
// (Mesa, EGL surfaceless) drawing into a framebuffer object, GL feedback capture for exact
// geometry, and a recorder for the message boxes the code under test would show.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <functional>
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

  // The colour buffer, RGBA, bottom row first (as glReadPixels gives it).
  std::vector<uint8_t> ReadPixels() const;
  // Writes the colour buffer as a PNG, top row first.
  bool SavePng(const std::string& path) const;

 private:
  int width_, height_;
  bool ok_ = false;
  std::string error_;
  void* display_ = nullptr;
  void* context_ = nullptr;
  unsigned fbo_ = 0, colour_ = 0, depth_ = 0;
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

// Window coordinates (y up) of a point under the current matrices and viewport (gluProject).
struct WindowPoint {
  double x, y, z;
};
WindowPoint ProjectToWindow(double x, double y, double z = 0.0);

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
