// OpenGL 1.1 layer: contexts. Every context has a state of its own, the GL state and what the layer
// made on OpenGL ES for it (programs, vertex arrays, stream buffer, textures, lists) with the table
// of entry points beneath. The current context's is `g`, where the entry points find it; the
// others wait in their contexts' places and are switched in when their context is made current.
#include "Gl11Context.h"

#include "Gl11Programs.h"

#include <cstring>
#include <map>
#include <memory>

namespace gl11 {

Layer g;

namespace {

// What a context keeps while another one is current.
struct Parked {
  Layer layer;
  Gles table;
};

struct Contexts {
  const void* current = nullptr;  // whose state is in `g` and `gles`; null for none
  std::map<const void*, std::unique_ptr<Parked>> parked;
};

Contexts& AllContexts() {
  static Contexts contexts;
  return contexts;
}

// Puts the current context's state in its place, and `g` and `gles` back to no context's.
void Park() {
  Contexts& c = AllContexts();
  if (!c.current) return;
  auto parked = std::make_unique<Parked>();
  parked->layer = std::move(g);
  parked->table = gles;
  c.parked[c.current] = std::move(parked);
  g = Layer{};
  gles = Gles{};
  c.current = nullptr;
}

// Makes `context`'s waiting state the current one; false for a context the layer has no state of.
bool Unpark(const void* context) {
  Contexts& c = AllContexts();
  const auto it = c.parked.find(context);
  if (it == c.parked.end()) return false;
  g = std::move(it->second->layer);
  gles = it->second->table;
  c.parked.erase(it);
  c.current = context;
  return true;
}

// The two vertex layouts in the stream buffer, each in a vertex array object of its own.
void MakeVertexArrays() {
  gles.glGenVertexArrays(2, g.gl.vertexArrays);
  for (int layout = 0; layout < 2; ++layout) {
    gles.glBindVertexArray(g.gl.vertexArrays[layout]);
    const auto stride = static_cast<GLsizei>(layout ? sizeof(StreamVertex) : kUntexturedStride);
    gles.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                               reinterpret_cast<const void*>(offsetof(StreamVertex, x)));
    gles.glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                               reinterpret_cast<const void*>(offsetof(StreamVertex, rgba)));
    gles.glEnableVertexAttribArray(0);
    gles.glEnableVertexAttribArray(1);
    if (layout) {
      gles.glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                                 reinterpret_cast<const void*>(offsetof(StreamVertex, s)));
      gles.glEnableVertexAttribArray(2);
    }
  }
  g.gl.layout = 1;
}

// Gives back what the layer made in the current context: it is still current.
void ReleaseObjects() {
  Flush();
  ResetLists();
  ResetTextures();
  gles.glDeleteBuffers(1, &g.gl.streamBuffer);
  gles.glDeleteVertexArrays(2, g.gl.vertexArrays);
  DeletePrograms();
}

}  // namespace

}  // namespace gl11

using namespace gl11;

void gl11ContextCreated(const void* context) {
  Park();
  // A context made in the place of one that went without a word from its maker.
  AllContexts().parked.erase(context);
  AllContexts().current = context;
  g.modelview.assign(1, Mat4::Identity());
  g.projection.assign(1, Mat4::Identity());
  g.textureMatrix.assign(1, Mat4::Identity());
  if (!LoadGles()) return;
  gles.glActiveTexture(GL_TEXTURE0);
  g.gl.clipDistances = ClipDistanceExtension();  // where offered
  g.gl.completionStatus = ParallelCompileExtension();
  // The stream buffer stays bound to GL_ARRAY_BUFFER, and both vertex arrays read from it.
  gles.glGenBuffers(1, &g.gl.streamBuffer);
  gles.glBindBuffer(GL_ARRAY_BUFFER, g.gl.streamBuffer);
  MakeVertexArrays();
  GLint viewport[4] = {};
  gles.glGetIntegerv(GL_VIEWPORT, viewport);  // the drawable's size, as a new GL context starts with
  std::memcpy(g.fixed.ops.viewport, viewport, sizeof viewport);
  gles.glGetIntegerv(GL_MAX_VIEWPORT_DIMS, g.maxViewport);
  g.ready = true;
  // Where each answer from the GL is a round trip (a browser's GPU process), programs are made in
  // the background, and the general one is made now: asking whether it linked waits for the GL,
  // which has nothing else to finish yet, rather than behind the textures of the first frame.
  g.gl.programsInBackground = QueriesAreRoundTrips();
  if (g.gl.programsInBackground) MakeGeneralProgram();
}

void gl11ContextMadeCurrent(const void* context) {
  if (context == AllContexts().current) return;
  Park();
  Unpark(context);
}

void gl11ProgramsInBackground(bool on) {
  if (!g.ready) return;
  g.gl.programsInBackground = on;
  if (on) MakeGeneralProgram();
}

void gl11ContextDestroyed(const void* context) {
  Contexts& c = AllContexts();
  if (context != c.current) {
    // Its objects go with it on the GL side; the current context's state is not touched.
    c.parked.erase(context);
    return;
  }
  if (g.ready) ReleaseObjects();
  g = Layer{};
  gles = Gles{};
  c.current = nullptr;
}
