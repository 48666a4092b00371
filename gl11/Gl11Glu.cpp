// OpenGL 1.1 layer: the GLU calls the program uses, on the layer: the camera and
// projection matrices, gluProject, gluBuild2DMipmaps (GLES makes the smaller levels), the
// error and version strings. GLU's tessellator is GLU's own.
#include "Gl11Layer.h"
#include "Gl11Textures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

using namespace gl11;

namespace {

constexpr double kPi = 3.14159265358979323846;

void Multiply(const double m[16]) {
  if (!Outside()) return;
  MultiplyCurrent(FromDoubles(m));
}

// GLU rounds a side that is not a power of two to the nearest one, halfway cases up.
GLsizei NearestPowerOfTwo(GLsizei v) {
  GLsizei p = 1;
  while (p * 2 <= v) p *= 2;
  return (v - p) * 2 >= p ? p * 2 : p;
}

// One axis of a resampling: each destination sample as source indices and weights. Shrinking
// averages the source texels the destination texel covers (a box filter); enlarging
// interpolates linearly between the two nearest texel centres. Measured against GLU 9.0's
// gluScaleImage on noise: within one level everywhere but the outermost rows and columns of an
// enlarged side, where GLU blends in the texels of the opposite edge and this keeps to its own.
struct Tap {
  std::vector<std::pair<int, double>> weights;
};

std::vector<Tap> Taps(int from, int to) {
  std::vector<Tap> taps(static_cast<size_t>(to));
  const double scale = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    Tap& tap = taps[static_cast<size_t>(i)];
    if (to < from) {
      const double lo = i * scale, hi = (i + 1) * scale;
      for (int k = static_cast<int>(std::floor(lo)); k < hi && k < from; ++k) {
        const double w = std::min<double>(hi, k + 1) - std::max<double>(lo, k);
        if (w > 0) tap.weights.push_back({k, w / scale});
      }
    } else {
      double x = (i + 0.5) * scale - 0.5;
      x = std::max(0.0, std::min<double>(x, from - 1));
      const int k = static_cast<int>(std::floor(x));
      const double f = x - k;
      tap.weights.push_back({k, 1 - f});
      if (f > 0 && k + 1 < from) tap.weights.push_back({k + 1, f});
    }
  }
  return taps;
}

std::vector<uint8_t> Resample(const std::vector<uint8_t>& in, int w, int h, int nw, int nh) {
  const std::vector<Tap> tx = Taps(w, nw), ty = Taps(h, nh);
  // Across first, each sample summed where it is written: a whole image of doubles zero-filled
  // to add into took longer than the sums themselves. A width that stays is one tap of weight 1
  // per sample, so the pass is left out and the rows are the image's own.
  const bool across = nw != w;
  std::unique_ptr<double[]> rows;
  if (across) {
    rows.reset(new (std::nothrow) double[static_cast<size_t>(nw) * static_cast<size_t>(h) * 4]);
    if (!rows) return {};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < nw; ++x) {
        double sum[4] = {};
        for (const auto& [k, wt] : tx[static_cast<size_t>(x)].weights)
          for (int c = 0; c < 4; ++c) sum[c] += wt * in[(static_cast<size_t>(y) * w + k) * 4 + c];
        std::memcpy(&rows[(static_cast<size_t>(y) * nw + x) * 4], sum, sizeof sum);
      }
  }
  // Down, a row at a time: every sample of a row has the same taps, each added over the whole row
  // in turn (the same sums, in the same order, as sample by sample).
  const size_t row = static_cast<size_t>(nw) * 4;
  std::vector<double> sums(row);
  std::vector<uint8_t> out(row * static_cast<size_t>(nh));
  for (int y = 0; y < nh; ++y) {
    std::fill(sums.begin(), sums.end(), 0.0);
    for (const auto& [k, wt] : ty[static_cast<size_t>(y)].weights) {
      const size_t from = static_cast<size_t>(k) * row;
      if (across)
        for (size_t i = 0; i < row; ++i) sums[i] += wt * rows[from + i];
      else
        for (size_t i = 0; i < row; ++i) sums[i] += wt * in[from + i];
    }
    // Rounded half up, as lround does for the non-negative sums here, without its call.
    uint8_t* to = &out[static_cast<size_t>(y) * row];
    for (size_t i = 0; i < row; ++i) to[i] = static_cast<uint8_t>(std::min(255.0, sums[i]) + 0.5);
  }
  return out;
}

}  // namespace

extern "C" {

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  if (Record([=] { gluPerspective(fovy, aspect, zNear, zFar); })) return;
  const double half = fovy / 2 * kPi / 180;
  const double depth = zFar - zNear, s = std::sin(half);
  if (depth == 0 || s == 0 || aspect == 0) return;  // as GLU: nothing for a degenerate frustum
  const double f = std::cos(half) / s;
  const double m[16] = {
      f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, -(zFar + zNear) / depth, -1, 0, 0, -2 * zNear * zFar / depth, 0};
  Multiply(m);
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ,
               GLdouble upX, GLdouble upY, GLdouble upZ) {
  if (Record([=] { gluLookAt(eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ); })) return;
  auto normalise = [](double v[3]) {
    const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len != 0) v[0] /= len, v[1] /= len, v[2] /= len;
  };
  auto cross = [](const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
  };
  double f[3] = {centerX - eyeX, centerY - eyeY, centerZ - eyeZ};
  const double up[3] = {upX, upY, upZ};
  normalise(f);
  double s[3], u[3];
  cross(f, up, s);
  normalise(s);
  cross(s, f, u);
  const double m[16] = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0, s[2], u[2], -f[2], 0, 0, 0, 0, 1};
  Multiply(m);
  const double t[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -eyeX, -eyeY, -eyeZ, 1};
  Multiply(t);
}

void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) {
  glOrtho(left, right, bottom, top, -1, 1);
}

GLint gluProject(GLdouble objX, GLdouble objY, GLdouble objZ, const GLdouble* model, const GLdouble* proj,
                 const GLint* view, GLdouble* winX, GLdouble* winY, GLdouble* winZ) {
  double eye[4], clip[4];
  const double in[4] = {objX, objY, objZ, 1};
  for (int r = 0; r < 4; ++r) eye[r] = model[r] * in[0] + model[4 + r] * in[1] + model[8 + r] * in[2] + model[12 + r];
  for (int r = 0; r < 4; ++r)
    clip[r] = proj[r] * eye[0] + proj[4 + r] * eye[1] + proj[8 + r] * eye[2] + proj[12 + r] * eye[3];
  if (clip[3] == 0) return GL_FALSE;
  const double x = clip[0] / clip[3], y = clip[1] / clip[3], z = clip[2] / clip[3];
  *winX = view[0] + view[2] * (x * 0.5 + 0.5);
  *winY = view[1] + view[3] * (y * 0.5 + 0.5);
  *winZ = z * 0.5 + 0.5;
  return GL_TRUE;
}

GLint gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum type,
                        const void* data) {
  if (!Outside()) return GLU_INVALID_OPERATION;
  if (width < 1 || height < 1) return GLU_INVALID_VALUE;
  if (target != GL_TEXTURE_2D || type != GL_UNSIGNED_BYTE) return GLU_INVALID_ENUM;
  std::vector<uint8_t> rgba;
  uint32_t base = 0;
  if (UnpackImage(width, height, internalFormat, format, data, rgba, base) != GL_NO_ERROR)
    return GLU_INVALID_ENUM;  // GLU reports its own code, not a GL error
  // Like GLU, the image is scaled to power-of-two sides that the GL takes.
  GLint maxSize = 0;
  gles.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  GLsizei w = NearestPowerOfTwo(width), h = NearestPowerOfTwo(height);
  while ((w > maxSize || h > maxSize) && (w > 1 || h > 1)) {
    w = w > 1 ? w / 2 : 1;
    h = h > 1 ? h / 2 : 1;
  }
  if (w != width || h != height) rgba = Resample(rgba, width, height, w, h);
  if (rgba.empty()) return GLU_OUT_OF_MEMORY;
  SpecifyImage(0, internalFormat, base, w, h, rgba, true);
  return 0;
}

const GLubyte* gluErrorString(GLenum error) {
  const char* text;
  switch (error) {
    case GL_NO_ERROR:
      text = "no error";
      break;
    case GL_INVALID_ENUM:
      text = "invalid enumerant";
      break;
    case GL_INVALID_VALUE:
      text = "invalid value";
      break;
    case GL_INVALID_OPERATION:
      text = "invalid operation";
      break;
    case GL_STACK_OVERFLOW:
      text = "stack overflow";
      break;
    case GL_STACK_UNDERFLOW:
      text = "stack underflow";
      break;
    case GL_OUT_OF_MEMORY:
      text = "out of memory";
      break;
    case GLU_INVALID_ENUM:
      text = "invalid enumerant";
      break;
    case GLU_INVALID_VALUE:
      text = "invalid value";
      break;
    case GLU_OUT_OF_MEMORY:
      text = "out of memory";
      break;
    case GLU_INVALID_OPERATION:
      text = "invalid operation";
      break;
    default:
      return nullptr;
  }
  return reinterpret_cast<const GLubyte*>(text);
}

const GLubyte* gluGetString(GLenum name) {
  if (name == GLU_VERSION) return reinterpret_cast<const GLubyte*>("1.3");
  if (name == GLU_EXTENSIONS) return reinterpret_cast<const GLubyte*>("");
  return nullptr;
}

}  // extern "C"
