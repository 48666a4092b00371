// OpenGL 1.1 layer, in the browser: OpenGL ES is WebGL 2 through emscripten's GL library, whose
// calls are there under the names emscripten_gl* too. The layer's own definitions take the
// standard names, so it calls WebGL under those.
#include "Gl11Gles.h"

#define GL11_GLES_DECLARE(type, name, parameters) extern "C" type emscripten_##name parameters;
GL11_GLES_ENTRY_POINTS(GL11_GLES_DECLARE)
#undef GL11_GLES_DECLARE

namespace gl11 {

Gles gles;

bool LoadGles() {
  gles = Gles{};
#define GL11_GLES_BIND(type, name, parameters) gles.name.function = emscripten_##name;
  GL11_GLES_ENTRY_POINTS(GL11_GLES_BIND)
#undef GL11_GLES_BIND
  return true;
}

}  // namespace gl11
