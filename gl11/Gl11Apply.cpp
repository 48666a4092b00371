// OpenGL 1.1 layer: a draw's state applied on OpenGL ES. The GLES side keeps what it was last
// given (GlesSide), and each draw sends only what changed: capabilities, blending, depth, culling
// and viewport, the program and its uniforms, the texture binding and the vertex layout.
#include "Gl11Programs.h"

#include <cstring>

namespace gl11 {

namespace {

// Sends a matrix uniform unless the program has it already.
void SendMatrix(bool all, GLint location, Mat4& sent, const Mat4& m) {
  if (!all && std::memcmp(&sent, &m, sizeof m) == 0) return;
  gles.glUniformMatrix4fv(location, 1, GL_FALSE, m.m);
  sent = m;
}

constexpr GLenum GL_CLIP_DISTANCE0 = 0x3000;

void SetCapability(GLenum cap, bool on) {
  if (on)
    gles.glEnable(cap);
  else
    gles.glDisable(cap);
}

}  // namespace

bool Apply(const DrawState& s) {
  Program& p = ProgramFor(s.program);
  if (!p.object) return false;
  GlesSide& gl = g.gl;
  const DrawState& a = gl.applied;
  const bool all = !gl.appliedValid;
  if (all || s.ops.blend != a.ops.blend) SetCapability(GL_BLEND, s.ops.blend);
  if (all || s.ops.blendSrc != a.ops.blendSrc || s.ops.blendDst != a.ops.blendDst)
    gles.glBlendFunc(s.ops.blendSrc, s.ops.blendDst);
  if (all || s.ops.depthTest != a.ops.depthTest) SetCapability(GL_DEPTH_TEST, s.ops.depthTest);
  if (all || s.ops.depthFunc != a.ops.depthFunc) gles.glDepthFunc(s.ops.depthFunc);
  if (all || s.ops.cull != a.ops.cull) SetCapability(GL_CULL_FACE, s.ops.cull);
  if (all || s.ops.cullMode != a.ops.cullMode) gles.glCullFace(s.ops.cullMode);
  if (all || std::memcmp(s.ops.viewport, a.ops.viewport, sizeof s.ops.viewport) != 0)
    gles.glViewport(s.ops.viewport[0], s.ops.viewport[1], s.ops.viewport[2], s.ops.viewport[3]);
  gl.applied = s;
  gl.appliedValid = true;

  if (gl.program != p.object) {
    gles.glUseProgram(p.object);
    gl.program = p.object;
  }
  // Uniforms belong to their program: each keeps what it was last given.
  const bool fresh = !p.sent;
  p.sent = true;
  const bool general = p.uKey >= 0;
  SendMatrix(fresh, p.uProjection, p.projection, s.projection);
  if (general || (s.program & kKeyGpuModelview)) SendMatrix(fresh, p.uModelview, p.modelview, s.modelview);
  if (general || (s.program & kKeyTextureMatrix)) SendMatrix(fresh, p.uTextureMatrix, p.textureMatrix, s.textureMatrix);
  if (general && (fresh || p.key != s.program)) {
    gles.glUniform1i(p.uKey, static_cast<GLint>(s.program));
    p.key = s.program;
  }
  const int planes = Planes(s.program);
  if (g.gl.clipDistances && gl.clipDistancesOn != planes) {
    for (int i = 0; i < kClipPlanes; ++i)
      if ((i < planes) != (i < gl.clipDistancesOn))
        SetCapability(GL_CLIP_DISTANCE0 + static_cast<GLenum>(i), i < planes);
    gl.clipDistancesOn = planes;
  }
  if (planes || general) {
    float clip[kClipPlanes][4] = {};
    int n = 0;
    for (int i = 0; i < kClipPlanes; ++i)
      if (s.program & (1u << i)) std::memcpy(clip[n++], s.clip[i], sizeof clip[0]);
    if (fresh || std::memcmp(clip, p.clip, sizeof clip) != 0) {
      gles.glUniform4fv(p.uClip, general ? kClipPlanes : planes, &clip[0][0]);
      std::memcpy(p.clip, clip, sizeof clip);
    }
  }
  if (Border(s.program) && TexMode(s.program) && (fresh || std::memcmp(s.texSize, p.texSize, sizeof p.texSize) != 0)) {
    gles.glUniform2f(p.uTexSize, static_cast<float>(s.texSize[0]), static_cast<float>(s.texSize[1]));
    std::memcpy(p.texSize, s.texSize, sizeof p.texSize);
  }
  const int layout = TexMode(s.program) ? 1 : 0;
  if (layout) BindGlesTexture(TextureObject(s.texture));
  if (gl.layout != layout) {
    gles.glBindVertexArray(gl.vertexArrays[layout]);
    gl.layout = layout;
  }
  return true;
}

void BindGlesTexture(GLuint object) {
  if (g.gl.texture == object) return;
  gles.glBindTexture(GL_TEXTURE_2D, object);
  g.gl.texture = object;
}

void ForgetGlesTexture(GLuint object) {
  // Deleting the bound texture binds 0 in its place.
  if (g.gl.texture == object) g.gl.texture = 0;
}

}  // namespace gl11
