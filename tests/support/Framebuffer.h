// The framebuffer object a headless test context draws into, for every platform's context: its
// entry points (past OpenGL 1.1, under the same names in OpenGL ES 3) are looked up through the
// platform's eglGetProcAddress or wglGetProcAddress. Free of GL headers, like EglContext.h.
#pragma once

#include <memory>
#include <string>

namespace testgl {

// An entry point of the current context by name, null when there is none.
using GLProcLookup = void* (*)(const char* name);

// A width x height RGBA8 colour buffer with a 16-bit depth buffer, bound for drawing and reading
// on the context that is current at Create. That context must still be current when it goes.
class Framebuffer {
 public:
  Framebuffer();
  ~Framebuffer();
  Framebuffer(const Framebuffer&) = delete;
  Framebuffer& operator=(const Framebuffer&) = delete;

  // Empty when the framebuffer is complete and bound, else what failed.
  std::string Create(GLProcLookup lookup, int width, int height);

 private:
  struct Calls;
  std::unique_ptr<Calls> calls_;
  unsigned fbo_ = 0, colour_ = 0, depth_ = 0;
};

}  // namespace testgl
