// OpenGL 1.1 layer: counters of its work since the context was made, for its tests and benchmark:
// draws sent to OpenGL ES and the vertex bytes streamed per frame or stored once for display lists.
#pragma once

struct Gl11Stats {
  unsigned long long draws = 0;
  unsigned long long streamedBytes = 0;
  unsigned long long staticBytes = 0;
};

const Gl11Stats& gl11Stats();
