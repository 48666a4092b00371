// Desktop: a program on the OpenGL 1.1 layer makes its GL contexts as the layer needs them: SDL's
// OpenGL ES 3 contexts, handed to the layer (sdl/SdlGl11Contexts.cpp). This object goes into the
// program itself (desktop_gl11_contexts), so its choice is made as the program starts, before main.
#include "Presentation.h"

namespace {

struct ChooseGl11Contexts {
  ChooseGl11Contexts() { sdl_layer::UseContextKind(sdl_layer::kGl11Contexts); }
} gChoice;

}  // namespace
