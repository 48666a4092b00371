// OpenGL 1.1 layer, in the browser: OpenGL ES is WebGL 2 through emscripten's GL library, whose
// calls are there under the names emscripten_gl* too. The layer's own definitions take the
// standard names, so it calls WebGL under those.
#include "Gl11Gles.h"
#include "Gl11Stats.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>

#define GL11_GLES_DECLARE(type, name, parameters) extern "C" type emscripten_##name parameters;
GL11_GLES_ENTRY_POINTS(GL11_GLES_DECLARE)
#undef GL11_GLES_DECLARE

namespace gl11 {

Gles gles;

namespace {
bool clipDistances = false;    // WEBGL_clip_cull_distance is on in the current context
bool parallelCompile = false;  // and KHR_parallel_shader_compile
}  // namespace

bool LoadGles() {
  gles = Gles{};
#define GL11_GLES_BIND(type, name, parameters) gles.name.function = emscripten_##name;
  GL11_GLES_ENTRY_POINTS(GL11_GLES_BIND)
#undef GL11_GLES_BIND
  // WebGL turns on only the extensions a page asks for, and the program is linked without
  // emscripten's asking for every one the browser offers (that took tens of milliseconds of the
  // first frame): the layer asks for what it uses, the clip distances where there are any.
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_get_current_context();
  // Whether clip distances are there is known from turning them on, without asking for the list
  // of extensions (another round trip). Programs compile on the browser's threads meanwhile.
  clipDistances = context && emscripten_webgl_enable_extension(context, "WEBGL_clip_cull_distance");
  parallelCompile = context && emscripten_webgl_enable_extension(context, "KHR_parallel_shader_compile");
  return true;
}

bool QueriesAreRoundTrips() { return true; }

// WebGL's extension is ANGLE's in the shaders.
const char* ClipDistanceExtension() { return clipDistances ? "GL_ANGLE_clip_cull_distance" : nullptr; }

bool ParallelCompileExtension() { return parallelCompile; }

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
