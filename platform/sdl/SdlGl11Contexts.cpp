// SDL backend: GL contexts for a program that draws through the OpenGL 1.1 layer (gl11/): SDL's
// OpenGL ES 3.0 contexts (WebGL 2 in the browser), each handed to the layer when it is first made
// current, named by SDL's context, switched to whenever it is made current and taken back before
// it goes: the table kGl11Contexts (sdl/Presentation.h). The
// browser's backend names it as its own; on the desktop a program on the layer links it with
// desktop_gl11_contexts, which chooses it.
#include "Gl11Context.h"
#include "Presentation.h"

#include <SDL.h>

namespace sdl_layer {

namespace {

bool WindowAlive(SDL_Window* sdl) {
  for (const auto& entry : gLayer.windows)
    if (entry.second->sdl == sdl) return sdl != nullptr;
  return false;
}

// Through EGL, where the layer looks up the entry points beneath it: SDL would otherwise make an
// X11 desktop's OpenGL ES context through GLX.
void RequestContextKind() {
  SDL_SetHint(SDL_HINT_OPENGL_ES_DRIVER, "1");
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
}

void ContextMadeCurrent(const Context* c, bool first) {
  if (!c)
    gl11ContextMadeCurrent(nullptr);
  else if (first)
    gl11ContextCreated(c->context);
  else
    gl11ContextMadeCurrent(c->context);
}

// The layer releases what it made in the current context; another context's objects, or those of
// one whose window went first (nothing to draw with any more), go with the context itself.
void ContextGoing(const Context& c, bool current) {
  if (current && !WindowAlive(c.window)) gl11ContextMadeCurrent(nullptr);
  gl11ContextDestroyed(c.context);
}

}  // namespace

const ContextKind kGl11Contexts = {RequestContextKind, ContextMadeCurrent, ContextGoing};

}  // namespace sdl_layer
