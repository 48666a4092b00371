// Desktop: SDL's default OpenGL contexts, without vsync (sdl/Presentation.h). A program on the
// OpenGL 1.1 layer links sdl/SdlGl11Contexts.cpp's OpenGL ES 3 contexts ahead of these instead
// (desktop_gl11_contexts), and the linker then leaves this file out.
#include "Presentation.h"

#include <SDL.h>

namespace sdl_layer {

void RequestContextKind() {}

void ContextMadeCurrent(bool) {
  SDL_GL_SetSwapInterval(0);  // no vsync; a driver that cannot turn it off is no error
}

void ContextGoing(const Context&, bool) {}

}  // namespace sdl_layer
