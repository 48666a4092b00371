// OpenGL 1.1 layer: its counters. Draws and bytes are counted where the layer sends them; calls to
// OpenGL ES by the table they all go through, programs as the calls that make and use them.
#include "Gl11Layer.h"

namespace gl11 {

namespace {

Gl11Stats Difference(const Gl11Stats& a, const Gl11Stats& b) {
  Gl11Stats d;
  d.frames = a.frames - b.frames;
  d.draws = a.draws - b.draws;
  d.glesCalls = a.glesCalls - b.glesCalls;
  d.programsMade = a.programsMade - b.programsMade;
  d.programSwitches = a.programSwitches - b.programSwitches;
  d.streamedBytes = a.streamedBytes - b.streamedBytes;
  return d;
}

}  // namespace

void EndFrame() {
  const Gl11Stats& now = gl11Stats();
  if (!g.ready || now.draws == g.frameStart.draws) return;
  ++g.gl.frame;
  if (!g.gl.metNew && !g.gl.settled) {
    g.gl.settled = true;
    g.gl.keysMet.clear();
  }
  g.gl.metNew = false;
  ++g.stats.frames;
  g.lastFrame = Difference(now, g.frameStart);
  g.frameStart = g.stats;
}

}  // namespace gl11

using namespace gl11;

const Gl11Stats& gl11Stats() {
  // The table's counts start with the context's; between contexts the layer's are all 0.
  if (g.ready) {
    unsigned long long calls = 0;
#define GL11_GLES_COUNT(type, name, parameters) calls += gles.name.calls;
    GL11_GLES_ENTRY_POINTS(GL11_GLES_COUNT)
#undef GL11_GLES_COUNT
    g.stats.glesCalls = calls;
    g.stats.programsMade = gles.glCreateProgram.calls;
    g.stats.programSwitches = gles.glUseProgram.calls;
  }
  return g.stats;
}

Gl11Stats gl11FrameStats() { return g.lastFrame; }
