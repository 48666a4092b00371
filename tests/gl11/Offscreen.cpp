// The context of Offscreen.h: EGL without a display (Mesa's surfaceless platform), with the API
// that the program draws through (DrawingApi.h), drawing into a framebuffer object. Compiled once
// for programs on OpenGL and on the layer: the GL calls here are the program's, the layer's or
// OpenGL's, except the viewport, which belongs to the context beneath.
#include "Offscreen.h"

#include "DrawingApi.h"

#include <GL/gl.h>

Offscreen* Offscreen::current_ = nullptr;

Offscreen::Offscreen(int width, int height) : width_(width), height_(height), context_(drawing_api::ContextApi()) {
  if (!context_.Ok()) {
    error_ = context_.Error();
    return;
  }
  error_ = target_.Create(testgl::EglProcAddress, width, height);
  if (!error_.empty()) return;
  // A new context's viewport is its drawable's size; without a drawable it is set here, before the
  // layer takes it over from the context.
  using Viewport = void (*)(GLint, GLint, GLsizei, GLsizei);
  const auto viewport = reinterpret_cast<Viewport>(testgl::EglProcAddress("glViewport"));
  if (!viewport) {
    error_ = "no glViewport";
    return;
  }
  viewport(0, 0, width, height);
  drawing_api::ContextMade(this);
  current_ = this;
  ok_ = true;
}

Offscreen::~Offscreen() {
  if (!ok_) return;
  MakeCurrent();  // the framebuffer and the layer's objects are this context's
  drawing_api::ContextGoing(this);
  current_ = nullptr;
}

bool Offscreen::MakeCurrent() {
  if (!context_.MakeCurrent()) return false;
  drawing_api::ContextCurrent(this);
  current_ = this;
  return true;
}

std::vector<uint8_t> Offscreen::Pixels() const {
  std::vector<uint8_t> pixels(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}
