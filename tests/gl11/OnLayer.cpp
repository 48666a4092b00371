// DrawingApi.h for the programs on the OpenGL 1.1 layer: an OpenGL ES 3 context, handed to the
// layer as a window layer hands it a new one, and the layer's own counters.
#include "DrawingApi.h"

#include "Gl11Context.h"
#include "Gl11Stats.h"

#include <cstdlib>

namespace {

// Mesa gives a freed texture name again only when asked to (its driconf option, read from the
// environment when the display is first opened); many OpenGL ES drivers always do. Asked so, the
// layer's objects beneath meet reused names, which its bindings must not mistake for the old ones.
const bool kNamesReused = setenv("force_gl_names_reuse", "true", 0) == 0;

}  // namespace

namespace drawing_api {

testgl::GLApi ContextApi() { return testgl::GLApi::OpenGLES3; }
void ContextMade(const void* context) { gl11ContextCreated(context); }
void ContextCurrent(const void* context) { gl11ContextMadeCurrent(context); }
void ContextGoing(const void* context) { gl11ContextDestroyed(context); }

bool Counters(Counts& counts) {
  const Gl11Stats& s = gl11Stats();
  counts = {s.frames, s.draws, s.glesCalls, s.programsMade, s.programSwitches, s.streamedBytes};
  return true;
}

}  // namespace drawing_api
