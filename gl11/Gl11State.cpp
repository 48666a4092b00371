// OpenGL 1.1 layer: the capabilities (glEnable and glIsEnabled) and the
// fixed-function state beside them: blending, depth test, culling, shading, hints, clip planes.
#include "Gl11Layer.h"

#include <array>

namespace gl11 {

bool* Capability(GLenum cap) {
  switch (cap) {
    case GL_BLEND:
      return &g.blend;
    case GL_DEPTH_TEST:
      return &g.depthTest;
    case GL_CULL_FACE:
      return &g.cull;
    case GL_TEXTURE_2D:
      return &g.texture2D;
    default:
      if (cap >= kClipPlane0 && cap < kClipPlane0 + kClipPlanes) return &g.clipEnabled[cap - kClipPlane0];
      return nullptr;
  }
}

}  // namespace gl11

using namespace gl11;

namespace {

void SetCapability(GLenum cap, bool on) {
  if (Record([=] { on ? gl11Enable(cap) : gl11Disable(cap); })) return;
  if (!Outside()) return;
  bool* flag = Capability(cap);
  if (!flag) return SetError(GL_INVALID_ENUM);
  *flag = on;
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

void gl11Enable(GLenum cap) { SetCapability(cap, true); }
void gl11Disable(GLenum cap) { SetCapability(cap, false); }

GLboolean gl11IsEnabled(GLenum cap) {
  if (!Outside()) return GL_FALSE;
  const bool* flag = Capability(cap);
  if (!flag) {
    SetError(GL_INVALID_ENUM);
    return GL_FALSE;
  }
  return *flag ? GL_TRUE : GL_FALSE;
}

void gl11BlendFunc(GLenum sfactor, GLenum dfactor) {
  if (Record([=] { gl11BlendFunc(sfactor, dfactor); })) return;
  if (!Outside()) return;
  if (!ValidBlendFactor(sfactor, true) || !ValidBlendFactor(dfactor, false)) return SetError(GL_INVALID_ENUM);
  g.blendSrc = sfactor;
  g.blendDst = dfactor;
}

void gl11DepthFunc(GLenum func) {
  if (Record([=] { gl11DepthFunc(func); })) return;
  if (!Outside()) return;
  if (func < GL_NEVER || func > GL_ALWAYS) return SetError(GL_INVALID_ENUM);
  g.depthFunc = func;
}

void gl11CullFace(GLenum mode) {
  if (Record([=] { gl11CullFace(mode); })) return;
  if (!Outside()) return;
  if (mode != GL_FRONT && mode != GL_BACK && mode != GL_FRONT_AND_BACK) return SetError(GL_INVALID_ENUM);
  g.cullMode = mode;
}

void gl11ShadeModel(GLenum mode) {
  if (Record([=] { gl11ShadeModel(mode); })) return;
  if (!Outside()) return;
  if (mode != kFlat && mode != kSmooth) return SetError(GL_INVALID_ENUM);
  g.shadeModel = mode;
}

void gl11Hint(GLenum target, GLenum mode) {
  if (Record([=] { gl11Hint(target, mode); })) return;
  if (!Outside()) return;
  // GL_PERSPECTIVE_CORRECTION_HINT .. GL_FOG_HINT; the shader interpolates with perspective anyway.
  if (target < kPerspectiveCorrectionHint || target > 0x0C54) return SetError(GL_INVALID_ENUM);
  if (mode != GL_DONT_CARE && mode != GL_FASTEST && mode != GL_NICEST) return SetError(GL_INVALID_ENUM);
  if (target == kPerspectiveCorrectionHint) g.hint = mode;
}

void gl11ClipPlane(GLenum plane, const GLdouble* equation) {
  if (g.compiling) {
    const std::array<double, 4> e{equation[0], equation[1], equation[2], equation[3]};
    Record([=] { gl11ClipPlane(plane, e.data()); });
    return;
  }
  if (!Outside()) return;
  if (plane < kClipPlane0 || plane >= kClipPlane0 + kClipPlanes) return SetError(GL_INVALID_ENUM);
  // The plane is kept in eye coordinates: the equation times the inverse of the modelview matrix.
  Mat4 inverse = Mat4::Identity();
  g.modelview.back().Inverse(inverse);
  double* out = g.clip[plane - kClipPlane0];
  for (int c = 0; c < 4; ++c) {
    double sum = 0;
    for (int k = 0; k < 4; ++k) sum += equation[k] * static_cast<double>(inverse.m[c * 4 + k]);
    out[c] = sum;
  }
}

void gl11GetClipPlane(GLenum plane, GLdouble* equation) {
  if (!Outside()) return;
  if (plane < kClipPlane0 || plane >= kClipPlane0 + kClipPlanes) return SetError(GL_INVALID_ENUM);
  for (int i = 0; i < 4; ++i) equation[i] = g.clip[plane - kClipPlane0][i];
}

}  // extern "C"
