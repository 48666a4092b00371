// The floor for a page's first frame: an emscripten program that only creates a WebGL 2 context
// and clears it on each of the browser's frames. Built with emcc -O2 by scripts/test-web.sh --bench,
// which loads it alternately with the demo (bench/web/figures.mjs).
#include <emscripten/html5.h>
#include <GLES3/gl3.h>

static EM_BOOL Frame(double time, void* user) {
  (void)time;
  (void)user;
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  return EM_TRUE;
}

int main(void) {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#canvas", &attributes);
  if (context <= 0) return 1;
  emscripten_webgl_make_context_current(context);
  emscripten_request_animation_frame_loop(Frame, 0);
  return 0;
}
