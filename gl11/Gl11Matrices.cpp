// OpenGL 1.1 layer: the matrices: the 4 x 4 arithmetic, the three matrix
// stacks and the calls that load, multiply, push and pop them, and the viewport.
#include "Gl11Layer.h"

#include <cmath>

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

std::vector<Mat4>& CurrentStack() {
  if (g.fixed.matrixMode == GL_PROJECTION) return g.projection;
  if (g.fixed.matrixMode == GL_TEXTURE) return g.textureMatrix;
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
  if (g.fixed.matrixMode == GL_PROJECTION) return kProjectionDepth;
  if (g.fixed.matrixMode == GL_TEXTURE) return kTextureDepth;
  return kModelviewDepth;
}

}  // namespace

extern "C" {

// ---- matrices ----------------------------------------------------------------------------------

void glMatrixMode(GLenum mode) {
  if (Record([=] { glMatrixMode(mode); })) return;
  if (!Outside()) return;
  if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE) return SetError(GL_INVALID_ENUM);
  g.fixed.matrixMode = mode;
}

void glLoadIdentity(void) {
  if (Record([] { glLoadIdentity(); })) return;
  if (!Outside()) return;
  CurrentStack().back() = Mat4::Identity();
}

void glPushMatrix(void) {
  if (Record([] { glPushMatrix(); })) return;
  if (!Outside()) return;
  std::vector<Mat4>& stack = CurrentStack();
  if (stack.size() >= StackLimit()) return SetError(GL_STACK_OVERFLOW);
  stack.push_back(stack.back());
}

void glPopMatrix(void) {
  if (Record([] { glPopMatrix(); })) return;
  if (!Outside()) return;
  std::vector<Mat4>& stack = CurrentStack();
  if (stack.size() <= 1) return SetError(GL_STACK_UNDERFLOW);
  stack.pop_back();
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
  glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  if (Record([=] { glTranslatef(x, y, z); })) return;
  if (!Outside()) return;
  Mat4 t = Mat4::Identity();
  t.m[12] = x;
  t.m[13] = y;
  t.m[14] = z;
  MultiplyCurrent(t);
}

void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
  glRotatef(static_cast<float>(angle), static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  if (Record([=] { glRotatef(angle, x, y, z); })) return;
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

void glScaled(GLdouble x, GLdouble y, GLdouble z) {
  const auto fx = static_cast<float>(x), fy = static_cast<float>(y), fz = static_cast<float>(z);
  if (Record([=] { glScaled(fx, fy, fz); })) return;
  if (!Outside()) return;
  Mat4 m = Mat4::Identity();
  m.m[0] = fx;
  m.m[5] = fy;
  m.m[10] = fz;
  MultiplyCurrent(m);
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar) {
  if (Record([=] { glOrtho(left, right, bottom, top, zNear, zFar); })) return;
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

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (Record([=] { glViewport(x, y, width, height); })) return;
  if (!Outside()) return;
  if (width < 0 || height < 0) return SetError(GL_INVALID_VALUE);
  g.fixed.ops.viewport[0] = x;
  g.fixed.ops.viewport[1] = y;
  // Clamped to the largest viewport, as the GL does.
  g.fixed.ops.viewport[2] = width < g.maxViewport[0] ? width : g.maxViewport[0];
  g.fixed.ops.viewport[3] = height < g.maxViewport[1] ? height : g.maxViewport[1];
}

}  // extern "C"
