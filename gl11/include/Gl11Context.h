// OpenGL 1.1 layer: contexts and a display list compiled when first called, the calls of the
// layer's own beside the standard ones. Each context has its own state, as with any GL: textures,
// lists, matrices, every setting, and what the layer makes on OpenGL ES for it. Whoever makes
// contexts (the window layer, or a test) names each by a handle of its own, unique among its live
// contexts, and tells the layer:
// - gl11ContextCreated once a new OpenGL ES 3.0 / WebGL 2 context is current: the layer loads the
//   OpenGL ES entry points, makes its buffers (and, where programs are made in the background, its
//   general program) and puts every piece of state to OpenGL 1.1's defaults;
// - gl11ContextMadeCurrent whenever another context (or none, with null) becomes current: the
//   layer goes on with that context's state. Primitives the last one had waiting stay with it, to
//   be drawn when it is current again;
// - gl11ContextDestroyed before a context goes. When it is current, the layer's GL objects and all
//   its display lists are freed, and no context is current after; another context's state is
//   dropped without a GL call (its objects go with it), and the current one is not touched.
// With no context current the layer's entry points do nothing.
// Primitives wait in the layer's batch until a state change, a read or glFlush/glFinish: whoever
// presents a frame (SwapBuffers) calls glFlush first.
#pragma once

#include <GL/gl.h>

#include <functional>

void gl11ContextCreated(const void* context);
void gl11ContextMadeCurrent(const void* context);
void gl11ContextDestroyed(const void* context);

// Whether the current context's shader programs are made in the background: one general program
// draws every fixed-function state while the scene loads (until a frame draws no state for the
// first time and gives the GL no texture image), and after that a state's own program is started
// when the state is drawn and taken into use once the GL says it is complete (one a frame;
// KHR_parallel_shader_compile, or, where the GL cannot say, from the next frame on). Asking
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
