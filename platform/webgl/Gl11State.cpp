// WebGL 2 backend: the OpenGL 1.1 layer's state calls: errors, capabilities, the matrix stacks,
// clip planes, the attribute and client attribute stacks, pixel storage, clearing and reading
// the frame buffer, and the glGet queries.
#include "Gl11Layer.h"

#include <cmath>
#include <cstring>
#include <string>

namespace gl11 {

Mat4 Mat4::Identity() {
  Mat4 r{};
  r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
  return r;
}

Mat4 Mat4::operator*(const Mat4& b) const {
  Mat4 r{};
  for (int c = 0; c < 4; ++c)
    for (int row = 0; row < 4; ++row) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += m[k * 4 + row] * b.m[c * 4 + k];
      r.m[c * 4 + row] = sum;
    }
  return r;
}

bool Mat4::Inverse(Mat4& out) const {
  // Cofactors in double precision.
  double a[16], inv[16];
  for (int i = 0; i < 16; ++i) a[i] = m[i];
  inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] +
           a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
  inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] - a[8] * a[7] * a[14] -
           a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
  inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] +
           a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
  inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] - a[8] * a[6] * a[13] -
            a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
  inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] - a[9] * a[3] * a[14] -
           a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
  inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] +
           a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
  inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] -
           a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
  inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] +
            a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
  inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] + a[13] * a[2] * a[7] -
           a[13] * a[3] * a[6];
  inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] -
           a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
  inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] +
            a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
  inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] -
            a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
  inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] - a[9] * a[2] * a[7] +
           a[9] * a[3] * a[6];
  inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] + a[8] * a[2] * a[7] -
           a[8] * a[3] * a[6];
  inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] - a[8] * a[1] * a[7] +
            a[8] * a[3] * a[5];
  inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] + a[8] * a[1] * a[6] -
            a[8] * a[2] * a[5];
  const double det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
  if (det == 0.0 || !std::isfinite(det)) return false;
  for (int i = 0; i < 16; ++i) out.m[i] = static_cast<float>(inv[i] / det);
  return true;
}

Mat4 FromDoubles(const double* m) {
  Mat4 r{};
  for (int i = 0; i < 16; ++i) r.m[i] = static_cast<float>(m[i]);
  return r;
}

void SetError(GLenum error) {
  if (g.error == GL_NO_ERROR) g.error = error;
}

bool Outside() {
  if (!g.ready) return false;
  if (g.inBegin) {
    SetError(GL_INVALID_OPERATION);
    return false;
  }
  return true;
}

std::vector<Mat4>& CurrentStack() {
  if (g.matrixMode == kProjection) return g.projection;
  if (g.matrixMode == kTexture) return g.textureMatrix;
  return g.modelview;
}

void MultiplyCurrent(const Mat4& m) {
  Mat4& top = CurrentStack().back();
  top = top * m;
}

}  // namespace gl11

using namespace gl11;

namespace {

size_t StackLimit() {
  if (g.matrixMode == kProjection) return kProjectionDepth;
  if (g.matrixMode == kTexture) return kTextureDepth;
  return kModelviewDepth;
}

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

PixelStore* StoreOf(GLenum pname, GLint*& field) {
  PixelStore* s = nullptr;
  GLenum base = 0;
  if (pname >= kUnpackSwapBytes && pname <= GL_UNPACK_ALIGNMENT) {
    s = &g.unpack;
    base = kUnpackSwapBytes;
  } else if (pname >= kPackSwapBytes && pname <= GL_PACK_ALIGNMENT) {
    s = &g.pack;
    base = kPackSwapBytes;
  } else {
    return nullptr;
  }
  GLint* fields[] = {&s->swapBytes, &s->lsbFirst, &s->rowLength, &s->skipRows, &s->skipPixels, &s->alignment};
  field = fields[pname - base];
  return s;
}

void Matrix(double out[16], const Mat4& m) {
  for (int i = 0; i < 16; ++i) out[i] = m.m[i];
}

// The value of a state variable as doubles: how many there are, 0 for an unknown name. `colour`
// is set for values that convert to integers as colours do (linearly onto the integer range).
int Values(GLenum pname, double* v, bool& colour) {
  colour = false;
  GLint* field = nullptr;
  if (StoreOf(pname, field)) {
    v[0] = *field;
    return 1;
  }
  if (bool* flag = Capability(pname)) {
    v[0] = *flag ? 1 : 0;
    return 1;
  }
  switch (pname) {
    case 0x0BA0:  // GL_MATRIX_MODE
      v[0] = g.matrixMode;
      return 1;
    case GL_VIEWPORT:
      for (int i = 0; i < 4; ++i) v[i] = g.viewport[i];
      return 4;
    case GL_MAX_TEXTURE_SIZE: {
      GLint size = 0;
      glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
      v[0] = size;
      return 1;
    }
    case GL_TEXTURE_BINDING_2D:
      v[0] = g.boundTexture;
      return 1;
    case 0x0B32:  // GL_LIST_BASE
      v[0] = g.listBase;
      return 1;
    case 0x0B33:  // GL_LIST_INDEX
      v[0] = g.compiling;
      return 1;
    case 0x0B30:  // GL_LIST_MODE
      v[0] = g.compiling ? g.compileMode : 0;
      return 1;
    case 0x0BA3:  // GL_MODELVIEW_STACK_DEPTH
      v[0] = static_cast<double>(g.modelview.size());
      return 1;
    case 0x0BA4:  // GL_PROJECTION_STACK_DEPTH
      v[0] = static_cast<double>(g.projection.size());
      return 1;
    case 0x0BA5:  // GL_TEXTURE_STACK_DEPTH
      v[0] = static_cast<double>(g.textureMatrix.size());
      return 1;
    case 0x0BB0:  // GL_ATTRIB_STACK_DEPTH
      v[0] = static_cast<double>(g.attribStack.size());
      return 1;
    case 0x0BB1:  // GL_CLIENT_ATTRIB_STACK_DEPTH
      v[0] = static_cast<double>(g.clientStack.size());
      return 1;
    case 0x0D36:  // GL_MAX_MODELVIEW_STACK_DEPTH
      v[0] = kModelviewDepth;
      return 1;
    case 0x0D38:  // GL_MAX_PROJECTION_STACK_DEPTH
      v[0] = kProjectionDepth;
      return 1;
    case 0x0D39:  // GL_MAX_TEXTURE_STACK_DEPTH
      v[0] = kTextureDepth;
      return 1;
    case 0x0D35:  // GL_MAX_ATTRIB_STACK_DEPTH
    case 0x0D3B:  // GL_MAX_CLIENT_ATTRIB_STACK_DEPTH
      v[0] = kAttribDepth;
      return 1;
    case 0x0B31:  // GL_MAX_LIST_NESTING
      v[0] = kListNesting;
      return 1;
    case 0x0D32:  // GL_MAX_CLIP_PLANES
      v[0] = kClipPlanes;
      return 1;
    case GL_DEPTH_FUNC:
      v[0] = g.depthFunc;
      return 1;
    case 0x0BE1:  // GL_BLEND_SRC
      v[0] = g.blendSrc;
      return 1;
    case 0x0BE0:  // GL_BLEND_DST
      v[0] = g.blendDst;
      return 1;
    case GL_CULL_FACE_MODE:
      v[0] = g.cullMode;
      return 1;
    case 0x0B54:  // GL_SHADE_MODEL
      v[0] = g.shadeModel;
      return 1;
    case kPerspectiveCorrectionHint:
      v[0] = g.hint;
      return 1;
    case 0x0BA6:  // GL_MODELVIEW_MATRIX
      Matrix(v, g.modelview.back());
      return 16;
    case 0x0BA7:  // GL_PROJECTION_MATRIX
      Matrix(v, g.projection.back());
      return 16;
    case 0x0BA8:  // GL_TEXTURE_MATRIX
      Matrix(v, g.textureMatrix.back());
      return 16;
    case 0x0B00:  // GL_CURRENT_COLOR
      colour = true;
      for (int i = 0; i < 4; ++i) v[i] = g.colour[i];
      return 4;
    case 0x0B02:  // GL_CURRENT_NORMAL
      for (int i = 0; i < 3; ++i) v[i] = g.normal[i];
      return 3;
    case 0x0B03:  // GL_CURRENT_TEXTURE_COORDS
      v[0] = g.texCoord[0];
      v[1] = g.texCoord[1];
      v[2] = 0;
      v[3] = 1;
      return 4;
    case GL_COLOR_CLEAR_VALUE:
      colour = true;
      for (int i = 0; i < 4; ++i) v[i] = g.clearColour[i];
      return 4;
    case GL_DEPTH_CLEAR_VALUE:
      colour = true;
      v[0] = g.clearDepth;
      return 1;
    default:
      return 0;
  }
}

// Queries through Values: nothing is written for an unknown name (GL_INVALID_ENUM).
template <class T>
void Get(GLenum pname, T* params, bool integer) {
  if (!Outside()) return;
  double v[16];
  bool colour = false;
  const int n = Values(pname, v, colour);
  if (n == 0) return SetError(GL_INVALID_ENUM);
  for (int i = 0; i < n; ++i) {
    double x = v[i];
    if (integer) x = colour ? std::round(x * 2147483647.0) : std::round(x);
    params[i] = static_cast<T>(x);
  }
}

std::string gVendor, gRenderer, gVersion;

}  // namespace

extern "C" {

// ---- errors and strings ------------------------------------------------------------------------

GLenum gl11GetError(void) {
  if (!g.ready) return GL_NO_ERROR;
  if (g.inBegin) {
    SetError(GL_INVALID_OPERATION);
    return GL_NO_ERROR;
  }
  GLenum e = g.error;
  g.error = GL_NO_ERROR;
  // The GLES side's own errors (out of memory, above all) come through too.
  if (e == GL_NO_ERROR) e = glGetError();
  return e;
}

const GLubyte* gl11GetString(GLenum name) {
  if (!Outside()) return nullptr;
  switch (name) {
    case GL_VENDOR:
      gVendor = "glgui";
      return reinterpret_cast<const GLubyte*>(gVendor.c_str());
    case GL_RENDERER: {
      const auto* below = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
      gRenderer = std::string("OpenGL 1.1 subset on ") + (below ? below : "OpenGL ES 3.0");
      return reinterpret_cast<const GLubyte*>(gRenderer.c_str());
    }
    case GL_VERSION:
      gVersion = "1.1 glgui";
      return reinterpret_cast<const GLubyte*>(gVersion.c_str());
    case GL_EXTENSIONS:
      return reinterpret_cast<const GLubyte*>("");
    default:
      SetError(GL_INVALID_ENUM);
      return nullptr;
  }
}

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

// ---- matrices ----------------------------------------------------------------------------------

void gl11MatrixMode(GLenum mode) {
  if (Record([=] { gl11MatrixMode(mode); })) return;
  if (!Outside()) return;
  if (mode != kModelview && mode != kProjection && mode != kTexture) return SetError(GL_INVALID_ENUM);
  g.matrixMode = mode;
}

void gl11LoadIdentity(void) {
  if (Record([] { gl11LoadIdentity(); })) return;
  if (!Outside()) return;
  CurrentStack().back() = Mat4::Identity();
}

void gl11PushMatrix(void) {
  if (Record([] { gl11PushMatrix(); })) return;
  if (!Outside()) return;
  std::vector<Mat4>& stack = CurrentStack();
  if (stack.size() >= StackLimit()) return SetError(kStackOverflow);
  stack.push_back(stack.back());
}

void gl11PopMatrix(void) {
  if (Record([] { gl11PopMatrix(); })) return;
  if (!Outside()) return;
  std::vector<Mat4>& stack = CurrentStack();
  if (stack.size() <= 1) return SetError(kStackUnderflow);
  stack.pop_back();
}

void gl11Translated(GLdouble x, GLdouble y, GLdouble z) {
  gl11Translatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

void gl11Translatef(GLfloat x, GLfloat y, GLfloat z) {
  if (Record([=] { gl11Translatef(x, y, z); })) return;
  if (!Outside()) return;
  Mat4 t = Mat4::Identity();
  t.m[12] = x;
  t.m[13] = y;
  t.m[14] = z;
  MultiplyCurrent(t);
}

void gl11Rotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
  gl11Rotatef(static_cast<float>(angle), static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

void gl11Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  if (Record([=] { gl11Rotatef(angle, x, y, z); })) return;
  if (!Outside()) return;
  const double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
  if (len == 0.0) return;  // no axis: no rotation
  const double ux = x / len, uy = y / len, uz = z / len;
  const double a = angle * 3.14159265358979323846 / 180.0;
  const double c = std::cos(a), s = std::sin(a), t = 1.0 - c;
  // clang-format off
  const double r[16] = {t * ux * ux + c,      t * ux * uy + s * uz, t * ux * uz - s * uy, 0,
                        t * ux * uy - s * uz, t * uy * uy + c,      t * uy * uz + s * ux, 0,
                        t * ux * uz + s * uy, t * uy * uz - s * ux, t * uz * uz + c,      0,
                        0,                    0,                    0,                    1};
  // clang-format on
  MultiplyCurrent(FromDoubles(r));
}

void gl11Scaled(GLdouble x, GLdouble y, GLdouble z) {
  const auto fx = static_cast<float>(x), fy = static_cast<float>(y), fz = static_cast<float>(z);
  if (Record([=] { gl11Scaled(fx, fy, fz); })) return;
  if (!Outside()) return;
  Mat4 m = Mat4::Identity();
  m.m[0] = fx;
  m.m[5] = fy;
  m.m[10] = fz;
  MultiplyCurrent(m);
}

void gl11Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar) {
  if (Record([=] { gl11Ortho(left, right, bottom, top, zNear, zFar); })) return;
  if (!Outside()) return;
  if (left == right || bottom == top || zNear == zFar) return SetError(GL_INVALID_VALUE);
  const double m[16] = {2 / (right - left),
                        0,
                        0,
                        0,
                        0,
                        2 / (top - bottom),
                        0,
                        0,
                        0,
                        0,
                        -2 / (zFar - zNear),
                        0,
                        -(right + left) / (right - left),
                        -(top + bottom) / (top - bottom),
                        -(zFar + zNear) / (zFar - zNear),
                        1};
  MultiplyCurrent(FromDoubles(m));
}

void gl11Viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (Record([=] { gl11Viewport(x, y, width, height); })) return;
  if (!Outside()) return;
  if (width < 0 || height < 0) return SetError(GL_INVALID_VALUE);
  g.viewport[0] = x;
  g.viewport[1] = y;
  g.viewport[2] = width;
  g.viewport[3] = height;
}

// ---- attribute stacks --------------------------------------------------------------------------

void gl11PushAttrib(GLbitfield mask) {
  if (Record([=] { gl11PushAttrib(mask); })) return;
  if (!Outside()) return;
  if (g.attribStack.size() >= kAttribDepth) return SetError(kStackOverflow);
  AttribFrame f{};
  f.mask = mask;
  std::memcpy(f.colour, g.colour, sizeof f.colour);
  std::memcpy(f.texCoord, g.texCoord, sizeof f.texCoord);
  std::memcpy(f.normal, g.normal, sizeof f.normal);
  f.blend = g.blend;
  f.depthTest = g.depthTest;
  f.cull = g.cull;
  f.texture2D = g.texture2D;
  std::memcpy(f.clipEnabled, g.clipEnabled, sizeof f.clipEnabled);
  std::memcpy(f.clip, g.clip, sizeof f.clip);
  f.blendSrc = g.blendSrc;
  f.blendDst = g.blendDst;
  f.depthFunc = g.depthFunc;
  f.cullMode = g.cullMode;
  f.shadeModel = g.shadeModel;
  f.matrixMode = g.matrixMode;
  f.texEnvMode = g.texEnvMode;
  f.hint = g.hint;
  f.texture = g.boundTexture;
  f.listBase = g.listBase;
  std::memcpy(f.clearColour, g.clearColour, sizeof f.clearColour);
  f.clearDepth = g.clearDepth;
  std::memcpy(f.viewport, g.viewport, sizeof f.viewport);
  g.attribStack.push_back(f);
}

void gl11PopAttrib(void) {
  if (Record([] { gl11PopAttrib(); })) return;
  if (!Outside()) return;
  if (g.attribStack.empty()) return SetError(kStackUnderflow);
  const AttribFrame f = g.attribStack.back();
  g.attribStack.pop_back();
  const GLbitfield m = f.mask;
  if (m & kCurrentBit) {
    std::memcpy(g.colour, f.colour, sizeof f.colour);
    std::memcpy(g.texCoord, f.texCoord, sizeof f.texCoord);
    std::memcpy(g.normal, f.normal, sizeof f.normal);
  }
  if (m & kEnableBit) {
    g.blend = f.blend;
    g.depthTest = f.depthTest;
    g.cull = f.cull;
    g.texture2D = f.texture2D;
    std::memcpy(g.clipEnabled, f.clipEnabled, sizeof f.clipEnabled);
  }
  if (m & kColorBufferBit) {
    g.blend = f.blend;
    g.blendSrc = f.blendSrc;
    g.blendDst = f.blendDst;
    std::memcpy(g.clearColour, f.clearColour, sizeof f.clearColour);
  }
  if (m & kDepthBufferBit) {
    g.depthTest = f.depthTest;
    g.depthFunc = f.depthFunc;
    g.clearDepth = f.clearDepth;
  }
  if (m & kPolygonBit) {
    g.cull = f.cull;
    g.cullMode = f.cullMode;
  }
  if (m & kLightingBit) g.shadeModel = f.shadeModel;
  if (m & kTransformBit) {
    g.matrixMode = f.matrixMode;
    std::memcpy(g.clip, f.clip, sizeof f.clip);
    std::memcpy(g.clipEnabled, f.clipEnabled, sizeof f.clipEnabled);
  }
  if (m & kTextureBit) {
    g.boundTexture = f.texture;
    g.texEnvMode = f.texEnvMode;
  }
  if (m & kViewportBit) std::memcpy(g.viewport, f.viewport, sizeof f.viewport);
  if (m & kHintBit) g.hint = f.hint;
  if (m & kListBit) g.listBase = f.listBase;
}

void gl11PushClientAttrib(GLbitfield mask) {
  if (!Outside()) return;
  if (g.clientStack.size() >= kAttribDepth) return SetError(kStackOverflow);
  g.clientStack.push_back({mask, {g.unpack, g.pack}});
}

void gl11PopClientAttrib(void) {
  if (!Outside()) return;
  if (g.clientStack.empty()) return SetError(kStackUnderflow);
  const auto frame = g.clientStack.back();
  g.clientStack.pop_back();
  if (frame.first & kClientPixelStoreBit) {
    g.unpack = frame.second.first;
    g.pack = frame.second.second;
  }
}

void gl11PixelStorei(GLenum pname, GLint param) {
  if (!Outside()) return;
  GLint* field = nullptr;
  if (!StoreOf(pname, field)) return SetError(GL_INVALID_ENUM);
  if (pname == GL_UNPACK_ALIGNMENT || pname == GL_PACK_ALIGNMENT) {
    if (param != 1 && param != 2 && param != 4 && param != 8) return SetError(GL_INVALID_VALUE);
  } else if (param < 0) {
    return SetError(GL_INVALID_VALUE);
  }
  *field = param;
}

// ---- the frame buffer --------------------------------------------------------------------------

void gl11Clear(GLbitfield mask) {
  if (Record([=] { gl11Clear(mask); })) return;
  if (!Outside()) return;
  if (mask & ~static_cast<GLbitfield>(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | 0x200))
    return SetError(GL_INVALID_VALUE);
  Flush();
  glClearColor(g.clearColour[0], g.clearColour[1], g.clearColour[2], g.clearColour[3]);
  glClearDepthf(static_cast<float>(g.clearDepth));
  glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT));
}

void gl11ClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  if (Record([=] { gl11ClearColor(red, green, blue, alpha); })) return;
  if (!Outside()) return;
  const float v[4] = {red, green, blue, alpha};
  for (int i = 0; i < 4; ++i) g.clearColour[i] = v[i] < 0 ? 0 : v[i] > 1 ? 1 : v[i];
}

void gl11ClearDepth(GLclampd depth) {
  if (Record([=] { gl11ClearDepth(depth); })) return;
  if (!Outside()) return;
  g.clearDepth = depth < 0 ? 0 : depth > 1 ? 1 : depth;
}

void gl11ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels) {
  if (!Outside()) return;
  if (width < 0 || height < 0) return SetError(GL_INVALID_VALUE);
  if (format != GL_RGBA && format != GL_RGB) return SetError(GL_INVALID_ENUM);
  if (type != GL_UNSIGNED_BYTE) return SetError(GL_INVALID_ENUM);
  if (width == 0 || height == 0) return;
  Flush();
  // GLES reads RGBA bytes for certain; the program's format and packing are applied here.
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
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

void gl11Finish(void) {
  if (!Outside()) return;
  Flush();
  glFinish();
}

void gl11Flush(void) {
  if (!Outside()) return;
  Flush();
  glFlush();
}

// ---- queries -----------------------------------------------------------------------------------

void gl11GetIntegerv(GLenum pname, GLint* params) { Get(pname, params, true); }
void gl11GetFloatv(GLenum pname, GLfloat* params) { Get(pname, params, false); }
void gl11GetDoublev(GLenum pname, GLdouble* params) { Get(pname, params, false); }

}  // extern "C"
