// A headless GL context of Mesa's through EGL without a display (the surfaceless platform): the
// OpenGL compatibility profile, or OpenGL ES 3 for the OpenGL 1.1 layer's tests. Free of GL and EGL
// headers, so that code built against either API's <GL/gl.h> (the system's or the layer's) uses it.
#pragma once

#include <string>

namespace testgl {

enum class GLApi { OpenGL, OpenGLES3 };

// Made current on construction, with no surface: draw into a Framebuffer. Released and the display
// terminated on destruction.
class EglContext {
 public:
  explicit EglContext(GLApi api);
  ~EglContext();
  EglContext(const EglContext&) = delete;
  EglContext& operator=(const EglContext&) = delete;

  bool Ok() const { return ok_; }
  const std::string& Error() const { return error_; }
  // Makes this context current again, after another one was (several may live side by side).
  bool MakeCurrent();

 private:
  bool ok_ = false;
  std::string error_;
  void* display_ = nullptr;
  void* context_ = nullptr;
};

// eglGetProcAddress: the entry point of the current context's API by name (null if unknown).
void* EglProcAddress(const char* name);

}  // namespace testgl
