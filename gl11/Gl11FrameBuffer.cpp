// OpenGL 1.1 layer: the frame buffer calls: clearing, reading pixels back in
// the program's pack format, and finishing.
#include "Gl11Layer.h"

#include <cstring>
#include <vector>

using namespace gl11;

extern "C" {

// ---- the frame buffer --------------------------------------------------------------------------

void glClear(GLbitfield mask) {
  if (Record([=] { glClear(mask); })) return;
  if (!Outside()) return;
  if (mask &
      ~static_cast<GLbitfield>(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_ACCUM_BUFFER_BIT))
    return SetError(GL_INVALID_VALUE);
  Flush();
  GlesSide& gl = g.gl;
  if (!gl.clearValid || std::memcmp(gl.clearColour, g.fixed.clearColour, sizeof gl.clearColour) != 0) {
    gles.glClearColor(g.fixed.clearColour[0], g.fixed.clearColour[1], g.fixed.clearColour[2], g.fixed.clearColour[3]);
    std::memcpy(gl.clearColour, g.fixed.clearColour, sizeof gl.clearColour);
  }
  if (!gl.clearValid || gl.clearDepth != static_cast<float>(g.fixed.clearDepth)) {
    gles.glClearDepthf(static_cast<float>(g.fixed.clearDepth));
    gl.clearDepth = static_cast<float>(g.fixed.clearDepth);
  }
  gl.clearValid = true;
  gles.glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT));
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  if (Record([=] { glClearColor(red, green, blue, alpha); })) return;
  if (!Outside()) return;
  const float v[4] = {red, green, blue, alpha};
  for (int i = 0; i < 4; ++i) g.fixed.clearColour[i] = v[i] < 0 ? 0 : v[i] > 1 ? 1 : v[i];
}

void glClearDepth(GLclampd depth) {
  if (Record([=] { glClearDepth(depth); })) return;
  if (!Outside()) return;
  g.fixed.clearDepth = depth < 0 ? 0 : depth > 1 ? 1 : depth;
}

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels) {
  if (!Outside()) return;
  if (width < 0 || height < 0) return SetError(GL_INVALID_VALUE);
  if (format != GL_RGBA && format != GL_RGB) return SetError(GL_INVALID_ENUM);
  if (type != GL_UNSIGNED_BYTE) return SetError(GL_INVALID_ENUM);
  if (width == 0 || height == 0) return;
  Flush();
  // GLES reads RGBA bytes for certain; the program's format and packing are applied here.
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  gles.glPixelStorei(GL_PACK_ALIGNMENT, 4);
  gles.glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  const size_t components = format == GL_RGBA ? 4 : 3;
  const PixelStore& p = g.pack;
  const size_t rowPixels = p.rowLength > 0 ? static_cast<size_t>(p.rowLength) : static_cast<size_t>(width);
  const size_t a = static_cast<size_t>(p.alignment);
  const size_t stride = (rowPixels * components + a - 1) / a * a;
  auto* out = static_cast<uint8_t*>(pixels) + static_cast<size_t>(p.skipRows) * stride +
              static_cast<size_t>(p.skipPixels) * components;
  for (GLsizei row = 0; row < height; ++row) {
    const uint8_t* src = rgba.data() + static_cast<size_t>(row) * static_cast<size_t>(width) * 4;
    uint8_t* dst = out + static_cast<size_t>(row) * stride;
    for (GLsizei i = 0; i < width; ++i)
      for (size_t c = 0; c < components; ++c) dst[static_cast<size_t>(i) * components + c] = src[i * 4 + c];
  }
}

void glFinish(void) {
  if (!Outside()) return;
  Flush();
  gles.glFinish();
  EndFrame();
}

void glFlush(void) {
  if (!Outside()) return;
  Flush();
  gles.glFlush();
  EndFrame();
}

}  // extern "C"
