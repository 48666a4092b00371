// OpenGL 1.1 layer, natively: OpenGL ES through EGL. eglGetProcAddress gives the driver's own
// entry points (Mesa's, for whichever context is current) even for the names that the layer
// itself defines, which a look-up of the program's symbols would find first.
#include "Gl11Gles.h"

#define EGL_NO_X11  // the look-up alone, without the X types of the native platform
#include <EGL/egl.h>

#include <cstdio>
#include <cstring>

namespace gl11 {

Gles gles;

bool LoadGles() {
  gles = Gles{};
  bool complete = true;
#define GL11_GLES_LOAD(type, name, parameters)                                                    \
  gles.name.function = reinterpret_cast<type(GLAPIENTRY*) parameters>(eglGetProcAddress(#name)); \
  if (!gles.name.function) {                                                                      \
    std::fprintf(stderr, "OpenGL 1.1 layer: OpenGL ES has no %s\n", #name);                       \
    complete = false;                                                                             \
  }
  GL11_GLES_ENTRY_POINTS(GL11_GLES_LOAD)
#undef GL11_GLES_LOAD
  return complete;
}

bool QueriesAreRoundTrips() { return false; }

namespace {
bool Offered(const char* name) {
  const auto* extensions = reinterpret_cast<const char*>(gles.glGetString(GL_EXTENSIONS));
  return extensions && std::strstr(extensions, name);
}
}  // namespace

const char* ClipDistanceExtension() {
  return Offered("GL_EXT_clip_cull_distance") ? "GL_EXT_clip_cull_distance" : nullptr;
}

bool ParallelCompileExtension() { return Offered("GL_KHR_parallel_shader_compile"); }

}  // namespace gl11
