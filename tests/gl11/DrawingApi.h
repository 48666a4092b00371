// What a program of the OpenGL 1.1 layer's tests and benchmark draws through, fixed by the library
// it links: gl11_on_layer (OnLayer.cpp: the layer over OpenGL ES 3, in a program built with
// GLGUI_GL11) or gl11_on_opengl (OnOpenGL.cpp: Mesa's OpenGL). Everything else is compiled once and
// serves both.
#pragma once

#include "EglContext.h"

namespace drawing_api {

// The API of the context that Offscreen makes.
testgl::GLApi ContextApi();
// Called once the new context is current with its framebuffer bound and its viewport set, and
// before it goes, while it is still current.
void ContextMade();
void ContextGoing();
// The draws sent to the GPU and the vertex bytes streamed so far; false where nothing counts them.
bool Counters(unsigned long long& draws, unsigned long long& streamedBytes);

}  // namespace drawing_api
