// The context of Offscreen.h: EGL without a display (Mesa's surfaceless platform), with
// OpenGL ES 3 when built for the layer (GL11_ON_GLES) and OpenGL otherwise, drawing into a
// framebuffer object.
#include "Offscreen.h"

#ifdef GL11_ON_GLES
#include <GLES3/gl3.h>

#include "Gl11Context.h"

static constexpr testgl::GLApi kApi = testgl::GLApi::OpenGLES3;
#else
#include <GL/gl.h>

static constexpr testgl::GLApi kApi = testgl::GLApi::OpenGL;
#endif

Offscreen::Offscreen(int width, int height) : width_(width), height_(height), context_(kApi) {
  if (!context_.Ok()) {
    error_ = context_.Error();
    return;
  }
  error_ = target_.Create(testgl::EglProcAddress, width, height);
  if (!error_.empty()) return;
  glViewport(0, 0, width, height);
#ifdef GL11_ON_GLES
  gl11ContextCreated();
#endif
  ok_ = true;
}

Offscreen::~Offscreen() {
  if (ok_) context_.MakeCurrent();  // the framebuffer and the layer's objects are this context's
#ifdef GL11_ON_GLES
  if (ok_) gl11ContextDestroyed();
#endif
}

std::vector<uint8_t> Offscreen::Pixels() const {
  std::vector<uint8_t> pixels(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}
