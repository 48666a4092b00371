// The harness's parts that every platform shares: read-back, feedback capture and its geometry,
// the plane camera, and the message-box recorder. The context itself is each platform's
// (GLHarnessEgl.cpp, GLHarnessWgl.cpp).
#include "GLHarness.h"

#include "Win32Api.h"
#include "PlatformHooks.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace testgl {

std::vector<uint8_t> HeadlessGL::ReadPixels() const {
  std::vector<uint8_t> pixels(static_cast<size_t>(width_) * height_ * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  return pixels;
}

std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw, size_t capacityFloats) {
  std::vector<GLfloat> buffer(capacityFloats);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint used = glRenderMode(GL_RENDER);
  std::vector<FeedbackPrimitive> out;
  if (used < 0) {
    ADD_FAILURE() << "feedback buffer overflow";
    return out;
  }
  auto vertex = [&](GLint& i) {
    FeedbackVertex v;
    float* f = &v.x;
    for (int k = 0; k < 11; ++k) f[k] = buffer[i + k];
    i += 11;
    return v;
  };
  for (GLint i = 0; i < used;) {
    const GLint token = static_cast<GLint>(buffer[i++]);
    FeedbackPrimitive p{};
    switch (token) {
      case GL_POINT_TOKEN:
      case GL_BITMAP_TOKEN:
      case GL_DRAW_PIXEL_TOKEN:
      case GL_COPY_PIXEL_TOKEN:
        p.kind = FeedbackPrimitive::Point;
        p.vertices.push_back(vertex(i));
        break;
      case GL_LINE_TOKEN:
      case GL_LINE_RESET_TOKEN:
        p.kind = FeedbackPrimitive::Line;
        p.vertices.push_back(vertex(i));
        p.vertices.push_back(vertex(i));
        break;
      case GL_POLYGON_TOKEN: {
        p.kind = FeedbackPrimitive::Polygon;
        const GLint n = static_cast<GLint>(buffer[i++]);
        for (GLint k = 0; k < n; ++k) p.vertices.push_back(vertex(i));
        break;
      }
      case GL_PASS_THROUGH_TOKEN:
        p.kind = FeedbackPrimitive::PassThrough;
        p.token = buffer[i++];
        break;
      default:
        ADD_FAILURE() << "unknown feedback token " << token;
        return out;
    }
    out.push_back(std::move(p));
  }
  return out;
}

std::vector<FeedbackPrimitive> Polygons(const std::vector<FeedbackPrimitive>& all) {
  std::vector<FeedbackPrimitive> out;
  for (const auto& p : all)
    if (p.kind == FeedbackPrimitive::Polygon) out.push_back(p);
  return out;
}

void UsePlaneCamera(const HeadlessGL& gl) {
  glViewport(0, 0, gl.Width(), gl.Height());
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(gl.Width()) / gl.Height(), 0.01, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(0, 0, 1, 0, 0, 0, 0, 1, 0);
}

void UseGuiState(const HeadlessGL& gl) {
  UsePlaneCamera(gl);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthFunc(GL_ALWAYS);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
}

WindowPoint ProjectToWindow(double x, double y, double z) {
  GLdouble model[16], proj[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, proj);
  glGetIntegerv(GL_VIEWPORT, viewport);
  WindowPoint p{};
  gluProject(x, y, z, model, proj, viewport, &p.x, &p.y, &p.z);
  return p;
}

OrthoView UseOrthoView(const HeadlessGL& gl, double left, double right, double bottom, double top, double zNear,
                       double zFar) {
  glViewport(0, 0, gl.Width(), gl.Height());
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(left, right, bottom, top, zNear, zFar);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  return {left, bottom, gl.Width() / (right - left), gl.Height() / (top - bottom)};
}

void Box::Add(double x, double y) {
  minX = std::min(minX, x);
  maxX = std::max(maxX, x);
  minY = std::min(minY, y);
  maxY = std::max(maxY, y);
}

Box Bounds(const std::vector<FeedbackPrimitive>& prims, const OrthoView& view) {
  Box b;
  for (const auto& p : prims)
    for (const auto& v : p.vertices) b.Add(view.X(v.x), view.Y(v.y));
  return b;
}

std::vector<Quad> Quads(const std::vector<FeedbackPrimitive>& prims, const OrthoView& view) {
  std::vector<Quad> out;
  std::vector<QuadVertex> group;
  size_t triangles = 0;
  for (const auto& p : prims) {
    if (p.kind != FeedbackPrimitive::Polygon) continue;
    for (const auto& f : p.vertices) group.push_back({view.X(f.x), view.Y(f.y), f.r, f.g, f.b, f.a, f.s, f.t});
    if (p.vertices.size() == 3 && ++triangles < 2) continue;
    Box b;
    for (const auto& v : group) b.Add(v.x, v.y);
    Quad q{};
    bool filled[4] = {}, ok = group.size() == 4 || group.size() == 6;
    for (const auto& v : group) {
      const bool right = v.x > (b.minX + b.maxX) / 2, top = v.y > (b.minY + b.maxY) / 2;
      const int c = top ? (right ? Quad::TopRight : Quad::TopLeft) : (right ? Quad::BottomRight : Quad::BottomLeft);
      if (filled[c]) ok = ok && std::fabs(q.v[c].x - v.x) < 1e-6 && std::fabs(q.v[c].y - v.y) < 1e-6;
      q.v[c] = v;
      filled[c] = true;
    }
    if (ok && filled[0] && filled[1] && filled[2] && filled[3])
      out.push_back(q);
    else
      ADD_FAILURE() << "polygons that do not form a rectangle (" << group.size() << " vertices)";
    group.clear();
    triangles = 0;
  }
  if (!group.empty()) ADD_FAILURE() << "a lone triangle";
  return out;
}

void ExpectNear(const std::vector<double>& got, const std::vector<double>& want, double eps) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], eps) << "value " << i;
}

std::vector<double> ListGeometry(GLuint first, int count) {
  std::vector<double> row;
  for (int i = 0; i < count; ++i) {
    row.push_back(i);
    GLdouble m[16];
    glPushMatrix();
    const auto prims = CaptureFeedback(
        [&] {
          glCallList(first + static_cast<GLuint>(i));
          glGetDoublev(GL_MODELVIEW_MATRIX, m);
        },
        1 << 17);
    glPopMatrix();
    for (const auto& p : prims) {
      row.push_back(-1.0 - p.kind);
      for (const auto& v : p.vertices) row.insert(row.end(), &v.x, &v.x + 11);
    }
    row.insert(row.end(), {m[12], m[13], m[14]});
  }
  return row;
}

std::vector<float> PassThroughTokens(const std::vector<FeedbackPrimitive>& prims) {
  std::vector<float> out;
  for (const auto& p : prims)
    if (p.kind == FeedbackPrimitive::PassThrough) out.push_back(p.token);
  return out;
}

const uint8_t kBuiltinWidths[256] = {
    6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
    4, 5, 4, 8, 6, 9, 6, 2, 4, 4, 6, 7, 3, 4, 3, 5, 8, 6, 8, 8, 8, 8, 8, 8, 8, 8, 2, 3, 7, 7, 8, 7,
    8, 7, 7, 6, 7, 6, 6, 7, 7, 5, 6, 6, 6, 12, 7, 6, 7, 7, 7, 7, 5, 6, 7, 11, 7, 7, 7, 3, 5, 4, 7, 27,
    2, 7, 7, 7, 7, 6, 6, 7, 7, 5, 7, 7, 6, 11, 8, 6, 7, 6, 7, 6, 5, 6, 6, 9, 6, 7, 7, 5, 3, 5, 7, 6,
    8, 6, 2, 9, 4, 10, 6, 6, 5, 13, 6, 4, 10, 6, 6, 6, 6, 3, 3, 5, 5, 4, 8, 12, 5, 11, 6, 4, 10, 6, 6, 7,
    6, 5, 5, 8, 6, 7, 3, 7, 5, 9, 5, 6, 11, 6, 9, 4, 6, 7, 4, 4, 2, 7, 9, 3, 3, 4, 4, 6, 7, 7, 7, 7,
    7, 7, 7, 7, 7, 7, 10, 6, 6, 6, 6, 6, 5, 5, 6, 6, 7, 7, 6, 6, 6, 6, 6, 7, 6, 6, 6, 6, 6, 7, 9, 6,
    7, 7, 7, 7, 7, 7, 10, 7, 6, 6, 6, 6, 5, 5, 6, 6, 7, 8, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7, 9, 7,
};

namespace {
std::vector<RecordedBox> gBoxes;
int RecordBox(const char* text, const char* caption, UINT type) {
  gBoxes.push_back({text, caption, type});
  return IDOK;
}
}  // namespace

MessageBoxRecorder::MessageBoxRecorder() {
  gBoxes.clear();
  SetMessageBoxHook(RecordBox);
}
MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHook(nullptr); }
const std::vector<RecordedBox>& MessageBoxRecorder::Boxes() const { return gBoxes; }
void MessageBoxRecorder::Clear() { gBoxes.clear(); }

}  // namespace testgl
