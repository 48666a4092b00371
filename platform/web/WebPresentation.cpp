// Web backend: the browser's side of Presentation.h. Contexts are WebGL 2 ones, and the OpenGL 1.1
// layer is told when one is new and before one goes; a frame is shown by flushing the layer's batch
// and waiting for the browser's next frame (the page shows what was drawn once the program yields
// to the browser); message boxes are drawn in the page (WebPage.cpp), modal: the program waits
// until the box is dismissed.
#include "Presentation.h"

#include "Gl11Context.h"
#include "SdlText.h"
#include "WebPage.h"
#include <GL/gl.h>
#include <SDL.h>

namespace sdl_layer {

namespace {
bool WindowAlive(SDL_Window* sdl) {
  for (const auto& entry : gLayer.windows)
    if (entry.second->sdl == sdl) return sdl != nullptr;
  return false;
}
}  // namespace

// WebGL 2 is OpenGL ES 3.0.
void RequestContextKind() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
}

void ContextMadeCurrent(bool first) {
  if (first) gl11ContextCreated();
}

// The layer releases what it made in the context, so the context must be current meanwhile; after
// a window that went first, there is nothing to make it current with, and the context goes with
// what it holds.
void ContextGoing(const Context& c, bool current) {
  if (!WindowAlive(c.window)) return;
  if (current) {
    gl11ContextDestroyed();
    return;
  }
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previous = SDL_GL_GetCurrentContext();
  if (SDL_GL_MakeCurrent(c.window, c.context) == 0) {
    gl11ContextDestroyed();
    SDL_GL_MakeCurrent(previous ? previousWindow : c.window, previous);
  }
}

void PresentFrame(SDL_Window*) {
  glFlush();  // the layer's batch holds the frame's last primitives until then
  web_page::WaitForNextFrame();
}

void ShowBox(const char* text, const char* caption, BoxIcon icon) {
  const char* kind = icon == BoxIcon::Error ? "error" : icon == BoxIcon::Warning ? "warning" : "information";
  web_page::ShowMessageBox(Cp1250ToUtf8(caption), Cp1250ToUtf8(text), kind);
}

}  // namespace sdl_layer
