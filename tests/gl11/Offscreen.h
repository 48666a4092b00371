// A headless context drawing into a framebuffer object, for the OpenGL 1.1 layer's tests: Mesa's
// OpenGL (compatibility profile) in the reference program, Mesa's OpenGL ES 3 with the layer on
// top in the layer's tests, as DrawingApi.h says. Free of GL headers, so that code built against
// either <GL/gl.h> uses it.
#pragma once

#include "EglContext.h"
#include "Framebuffer.h"

#include <cstdint>
#include <string>
#include <vector>

class Offscreen {
 public:
  // Makes the context current with a width x height RGBA8 colour and 16-bit depth buffer and the
  // viewport on it (on the layer, the layer is then given the new context).
  Offscreen(int width, int height);
  ~Offscreen();
  Offscreen(const Offscreen&) = delete;
  Offscreen& operator=(const Offscreen&) = delete;

  bool Ok() const { return ok_; }
  const std::string& Error() const { return error_; }
  // Makes the context current again, after another one was.
  bool MakeCurrent();
  // The one made current last, while it lasts.
  static Offscreen* Current() { return current_; }
  // The colour buffer, RGBA, bottom row first, read after glFinish.
  std::vector<uint8_t> Pixels() const;

 private:
  int width_, height_;
  bool ok_ = false;
  static Offscreen* current_;
  std::string error_;
  testgl::EglContext context_;
  testgl::Framebuffer target_;  // goes before the context, while it is current
};
