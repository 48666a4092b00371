// OpenGL 1.1 layer: the capabilities (glEnable and glIsEnabled) and the
// fixed-function state beside them: blending, depth test, culling, shading, hints, clip planes.
#include "Gl11Layer.h"

#include <array>

namespace gl11 {

GLboolean* Capability(GLenum cap) {
  switch (cap) {
    case GL_BLEND:
      return &g.fixed.ops.blend;
    case GL_DEPTH_TEST:
      return &g.fixed.ops.depthTest;
    case GL_CULL_FACE:
      return &g.fixed.ops.cull;
    case GL_TEXTURE_2D:
      return &g.fixed.texture2D;
    default:
      if (cap >= GL_CLIP_PLANE0 && cap < GL_CLIP_PLANE0 + kClipPlanes)
        return &g.fixed.clipEnabled[cap - GL_CLIP_PLANE0];
      return nullptr;
  }
}

}  // namespace gl11

using namespace gl11;

namespace {

void SetCapability(GLenum cap, bool on) {
  if (Record([=] { on ? glEnable(cap) : glDisable(cap); })) return;
  if (!Outside()) return;
  GLboolean* flag = Capability(cap);
  if (!flag) return SetError(GL_INVALID_ENUM);
  *flag = on ? GL_TRUE : GL_FALSE;
}

bool ValidBlendFactor(GLenum f, bool source) {
  if (f == GL_ZERO || f == GL_ONE) return true;
  if (f >= GL_SRC_COLOR && f <= GL_ONE_MINUS_DST_ALPHA) return true;
  if (f == GL_DST_COLOR || f == GL_ONE_MINUS_DST_COLOR) return true;
  return source && f == GL_SRC_ALPHA_SATURATE;
}

}  // namespace

extern "C" {

// ---- capabilities and fixed-function state -----------------------------------------------------

void glEnable(GLenum cap) { SetCapability(cap, true); }
void glDisable(GLenum cap) { SetCapability(cap, false); }

GLboolean glIsEnabled(GLenum cap) {
  if (!Outside()) return GL_FALSE;
  const GLboolean* flag = Capability(cap);
  if (!flag) {
    SetError(GL_INVALID_ENUM);
    return GL_FALSE;
  }
  return *flag ? GL_TRUE : GL_FALSE;
}

void glBlendFunc(GLenum sfactor, GLenum dfactor) {
  if (Record([=] { glBlendFunc(sfactor, dfactor); })) return;
  if (!Outside()) return;
  if (!ValidBlendFactor(sfactor, true) || !ValidBlendFactor(dfactor, false)) return SetError(GL_INVALID_ENUM);
  g.fixed.ops.blendSrc = sfactor;
  g.fixed.ops.blendDst = dfactor;
}

void glDepthFunc(GLenum func) {
  if (Record([=] { glDepthFunc(func); })) return;
  if (!Outside()) return;
  if (func < GL_NEVER || func > GL_ALWAYS) return SetError(GL_INVALID_ENUM);
  g.fixed.ops.depthFunc = func;
}

void glCullFace(GLenum mode) {
  if (Record([=] { glCullFace(mode); })) return;
  if (!Outside()) return;
  if (mode != GL_FRONT && mode != GL_BACK && mode != GL_FRONT_AND_BACK) return SetError(GL_INVALID_ENUM);
  g.fixed.ops.cullMode = mode;
}

void glShadeModel(GLenum mode) {
  if (Record([=] { glShadeModel(mode); })) return;
  if (!Outside()) return;
  if (mode != GL_FLAT && mode != GL_SMOOTH) return SetError(GL_INVALID_ENUM);
  g.fixed.shadeModel = mode;
}

void glHint(GLenum target, GLenum mode) {
  if (Record([=] { glHint(target, mode); })) return;
  if (!Outside()) return;
  // The shader interpolates with perspective anyway.
  if (target < GL_PERSPECTIVE_CORRECTION_HINT || target > GL_FOG_HINT) return SetError(GL_INVALID_ENUM);
  if (mode != GL_DONT_CARE && mode != GL_FASTEST && mode != GL_NICEST) return SetError(GL_INVALID_ENUM);
  if (target == GL_PERSPECTIVE_CORRECTION_HINT) g.fixed.hint = mode;
}

void glClipPlane(GLenum plane, const GLdouble* equation) {
  if (Recording()) {
    const std::array<double, 4> e{equation[0], equation[1], equation[2], equation[3]};
    if (Record([=] { glClipPlane(plane, e.data()); })) return;
  }
  if (!Outside()) return;
  if (plane < GL_CLIP_PLANE0 || plane >= GL_CLIP_PLANE0 + kClipPlanes) return SetError(GL_INVALID_ENUM);
  // The plane is kept in eye coordinates: the equation times the inverse of the modelview matrix.
  Mat4 inverse = Mat4::Identity();
  g.modelview.back().Inverse(inverse);
  double* out = g.fixed.clip[plane - GL_CLIP_PLANE0];
  for (int c = 0; c < 4; ++c) {
    double sum = 0;
    for (int k = 0; k < 4; ++k) sum += equation[k] * static_cast<double>(inverse.m[c * 4 + k]);
    out[c] = sum;
  }
}

void glGetClipPlane(GLenum plane, GLdouble* equation) {
  if (!Outside()) return;
  if (plane < GL_CLIP_PLANE0 || plane >= GL_CLIP_PLANE0 + kClipPlanes) return SetError(GL_INVALID_ENUM);
  for (int i = 0; i < 4; ++i) equation[i] = g.fixed.clip[plane - GL_CLIP_PLANE0][i];
}

}  // extern "C"
