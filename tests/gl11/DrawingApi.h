// What a program of the OpenGL 1.1 layer's tests and benchmark draws through, fixed by the library
// it links: gl11_on_layer (OnLayer.cpp: the layer over OpenGL ES 3, in a program built with
// GLGUI_GL11) or gl11_on_opengl (OnOpenGL.cpp: Mesa's OpenGL). Everything else is compiled once and
// serves both.
#pragma once

#include "EglContext.h"

namespace drawing_api {

// The API of the context that Offscreen makes.
testgl::GLApi ContextApi();
// Called once the new context is current with its framebuffer bound and its viewport set, when it
// is made current again after another, and before it goes, while it is still current. `context`
// names it.
void ContextMade(const void* context);
void ContextCurrent(const void* context);
void ContextGoing(const void* context);
// What the layer has sent to the GPU so far (Gl11Stats); false where nothing counts it.
struct Counts {
  unsigned long long frames, draws, glesCalls, programsMade, programSwitches, streamedBytes;
};
bool Counters(Counts& counts);

}  // namespace drawing_api
