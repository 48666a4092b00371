// OpenGL 1.1 layer: the context's lifetime and a display list compiled when first called, the calls
// of the layer's own beside the standard ones. Whoever makes contexts (the window layer, or a test) calls gl11ContextCreated once a new
// OpenGL ES 3.0 / WebGL 2 context is current: the layer loads the OpenGL ES entry points, makes its
// shader program and buffers and puts every piece of state to OpenGL 1.1's defaults. It calls
// gl11ContextDestroyed while the context is still current, before it goes: the layer's GL objects
// and all display lists are freed. Texture names belong to the context and go with it. Until the
// first context, and between contexts, the layer's entry points do nothing.
// Primitives wait in the layer's batch until a state change, a read or glFlush/glFinish: whoever
// presents a frame (SwapBuffers) calls glFlush first.
#pragma once

#include <GL/gl.h>

#include <functional>

void gl11ContextCreated();
void gl11ContextDestroyed();

// Whether the current context's shader programs are made in the background: one general program
// draws every fixed-function state in the first frames (30), and after them a state's own program
// is started when the state is drawn and taken into use from a later frame (one a frame). Asking
// the GL whether a program linked waits for the GL to finish all it was given, which in a browser
// is a round trip to the GPU process: so the start waits once, not once per state. On by default
// in the browser, off elsewhere; the pixels are the same either way.
void gl11ProgramsInBackground(bool on);

// Makes `list` a display list (glIsList is true) whose contents `build` compiles, with glNewList(list,
// GL_COMPILE) ... glEndList, only when the list is first called: work for lists that may never be
// drawn (a font's 256 glyphs) is not done up front. The call runs `build` once, outside any list
// being compiled and with the caller's current values left as they were, then draws the list; a call
// between glBegin and glEnd draws nothing and leaves it for the next. glNewList or glDeleteLists on
// the name, or the context's end, drop `build` unrun.
void gl11DeferList(GLuint list, std::function<void()> build);
