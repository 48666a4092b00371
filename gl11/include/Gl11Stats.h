// OpenGL 1.1 layer: counters of its work since the context was made, for its tests and benchmarks.
// A frame ends at the first glFlush or glFinish after a draw (a swap flushes first), so the second
// flush of a frame drawn with glFlush and then swapped starts nothing. Per frame: the difference of
// two gl11Stats(), divided by the frames between them, or gl11FrameStats() for the last frame alone.
#pragma once

struct Gl11Stats {
  unsigned long long frames = 0;
  unsigned long long draws = 0;      // draw calls sent to OpenGL ES
  unsigned long long glesCalls = 0;  // every call to OpenGL ES, draws and state alike
  unsigned long long programsMade = 0;     // shader programs created (glCreateProgram)
  unsigned long long programSwitches = 0;  // programs made current (glUseProgram calls sent)
  unsigned long long streamedBytes = 0;    // vertex bytes streamed, display lists' included
};

const Gl11Stats& gl11Stats();
// The counts of the last frame that ended (its `frames` is 1); all 0 before the first.
Gl11Stats gl11FrameStats();
