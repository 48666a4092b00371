// OpenGL 1.1 layer, in the browser: OpenGL ES is WebGL 2 through emscripten's GL library, whose
// calls are there under the names emscripten_gl* too. The layer's own definitions take the
// standard names, so it calls WebGL under those.
#include "Gl11Gles.h"
#include "Gl11Stats.h"

#include <emscripten.h>

#include <cstdio>

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

// The layer's counters for a page's scripts (the benchmark's), as JSON:
// a pointer to a NUL-terminated string in the heap. Nothing in the program calls it.
extern "C" EMSCRIPTEN_KEEPALIVE const char* gl11_stats_json() {
  static char json[320];
  const Gl11Stats& s = gl11Stats();
  std::snprintf(json, sizeof json,
                "{\"frames\":%llu,\"draws\":%llu,\"glesCalls\":%llu,\"programsMade\":%llu,"
                "\"programSwitches\":%llu,\"streamedBytes\":%llu}",
                s.frames, s.draws, s.glesCalls, s.programsMade, s.programSwitches, s.streamedBytes);
  return json;
}
