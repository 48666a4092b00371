#include "GuiTestSupport.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace guitest {

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

PlaneVertex ToPlane(const testgl::FeedbackVertex& f) {
  return {f.x / 320.0 - 1.0, f.y / 240.0 - 1.0, f.r, f.g, f.b, f.a, f.s, f.t};
}

bool Same(const PlaneVertex& a, const PlaneVertex& b) {
  return std::fabs(a.x - b.x) < 1e-7 && std::fabs(a.y - b.y) < 1e-7;
}

}  // namespace

double Quad::MinX() const { return std::min({v[0].x, v[1].x, v[2].x, v[3].x}); }
double Quad::MaxX() const { return std::max({v[0].x, v[1].x, v[2].x, v[3].x}); }
double Quad::MinY() const { return std::min({v[0].y, v[1].y, v[2].y, v[3].y}); }
double Quad::MaxY() const { return std::max({v[0].y, v[1].y, v[2].y, v[3].y}); }

static const PlaneVertex& Nearest(const Quad& q, double x, double y) {
  int best = 0;
  double bestD = 1e30;
  for (int i = 0; i < 4; ++i) {
    const double d = std::hypot(q.v[i].x - x, q.v[i].y - y);
    if (d < bestD) bestD = d, best = i;
  }
  return q.v[best];
}
const PlaneVertex& Quad::TopLeft() const { return Nearest(*this, MinX(), MaxY()); }
const PlaneVertex& Quad::TopRight() const { return Nearest(*this, MaxX(), MaxY()); }
const PlaneVertex& Quad::BottomLeft() const { return Nearest(*this, MinX(), MinY()); }
const PlaneVertex& Quad::BottomRight() const { return Nearest(*this, MaxX(), MinY()); }

std::vector<Quad> QuadsOf(const std::vector<Item>& items) {
  std::vector<Quad> quads;
  std::vector<PlaneVertex> pending;
  for (const Item& it : items) {
    if (it.kind != Item::Polygon) continue;
    if (it.vertices.size() == 4 && pending.empty()) {
      Quad q;
      std::copy(it.vertices.begin(), it.vertices.end(), q.v);
      quads.push_back(q);
      continue;
    }
    if (it.vertices.size() != 3) {
      ADD_FAILURE() << "polygon with " << it.vertices.size() << " vertices";
      continue;
    }
    if (pending.empty()) {
      pending = it.vertices;
      continue;
    }
    for (const PlaneVertex& v : it.vertices)
      if (std::none_of(pending.begin(), pending.end(), [&](const PlaneVertex& p) { return Same(p, v); }))
        pending.push_back(v);
    if (pending.size() != 4) {
      ADD_FAILURE() << "triangles do not form a quad";
    } else {
      Quad q;
      std::copy(pending.begin(), pending.end(), q.v);
      quads.push_back(q);
    }
    pending.clear();
  }
  if (!pending.empty()) ADD_FAILURE() << "a lone triangle";
  return quads;
}

void GuiTest::SetUp() {
  gl = new testgl::HeadlessGL(640, 480);
  ASSERT_TRUE(gl->Ok()) << gl->Error();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1, 1, -1, 1, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

  ScreenWidth = 640;
  ScreenHeight = 480;
  MouseX = MouseY = 0;
  MouseLeft = MouseMiddle = MouseRight = 0;
  FrameTime = 0;
  WideScreen = false;
  ObjectCount = 0;
  PanelTexture = ButtonTexture = CursorTexture = CursorPressedTexture = 0;
  MouseVirtualX = MouseVirtualY = 0;
  CursorX = CursorY = 0;
  Dragging = false;
  DragOffsetX = DragOffsetY = DraggedID = 0;
  BuiltinFont = TGUIBFFont{};
}

void GuiTest::TearDown() {
  BuiltinFont = TGUIBFFont{};
  delete gl;
  gl = nullptr;
}

std::vector<Item> GuiTest::Capture(const std::function<void()>& draw) {
  std::vector<Item> out;
  for (const auto& p : testgl::CaptureFeedback(draw)) {
    Item it;
    switch (p.kind) {
      case testgl::FeedbackPrimitive::PassThrough:
        it.kind = Item::Marker;
        it.token = p.token;
        break;
      case testgl::FeedbackPrimitive::Polygon:
        it.kind = Item::Polygon;
        break;
      default:
        it.kind = Item::Point;
        break;
    }
    for (const auto& v : p.vertices) it.vertices.push_back(ToPlane(v));
    out.push_back(std::move(it));
  }
  return out;
}

std::vector<Quad> GuiTest::CaptureQuads(const std::function<void()>& draw) { return QuadsOf(Capture(draw)); }

GLuint GuiTest::SolidTexture(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  const uint8_t px[4 * 4 * 4] = {};
  std::vector<uint8_t> pixels(std::begin(px), std::end(px));
  for (size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = r;
    pixels[i + 1] = g;
    pixels[i + 2] = b;
    pixels[i + 3] = a;
  }
  GLuint tex = 0;
  glGenTextures(1, &tex);
  glBindTexture(GL_TEXTURE_2D, tex);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return tex;
}

void GuiTest::InstallBuiltinFont() {
  TGUIBFFont f;
  f.BaseChar = 32;
  f.CellsPerRow = 15;
  f.GlyphHeight = 17;
  f.CellWidth = 17;
  f.CellHeight = 17;
  f.CellTexHeight = 17.0 / 256;
  f.CellTexWidth = 17.0 / 256;
  f.Widths.assign(std::begin(kBuiltinWidths), std::end(kBuiltinWidths));
  f.Texture = SolidTexture(255, 255, 255, 255);
  BuiltinFont = f;
}

}  // namespace guitest
