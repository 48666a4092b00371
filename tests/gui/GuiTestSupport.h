// Shared pieces of the GUI tests: a fresh 640 x 480 context looking straight at the GUI plane
// (window x = (plane x + 1) * 320, window y = (plane y + 1) * 240), the input and GUI globals
// reset, a screen to hang elements on, and what was drawn read back in plane units.
#pragma once

#include "GLGUI.h"
#include "GLGlobal.h"
#include "GLHarness.h"
#include "GUIShared.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace guitest {

using testgl::Quad;

// Tolerance for positions read back through feedback (window floats at 640 x 480).
constexpr double kPlaneEps = 2e-6;

// Plane x and y of an absolute virtual pixel by the common 4:3 rule.
inline double VX(int v) { return (v - 512) * 0.001078125; }
inline double VY(int v) { return (384 - v) * 0.001078125; }

// Left, Top, Right, Bottom, Width, Height, CenterX, CenterY.
inline std::vector<int32_t> Geometry(const TGUIobject& o) {
  return {o.Left, o.Top, o.Right, o.Bottom, o.Width, o.Height, o.CenterX, o.CenterY};
}

inline void ExpectRect(const Quad& q, double minX, double minY, double maxX, double maxY) {
  testgl::ExpectNear({q.MinX(), q.MinY(), q.MaxX(), q.MaxY()}, {minX, minY, maxX, maxY}, kPlaneEps);
}
// Top-left and bottom-right texture coordinates of a quad.
inline std::vector<double> Corners(const Quad& q) {
  return {q.v[Quad::TopLeft].s, q.v[Quad::TopLeft].t, q.v[Quad::BottomRight].s, q.v[Quad::BottomRight].t};
}
// The drag: whether one runs, the dragged panel and the grab offset.
inline std::vector<int32_t> DragState() { return {Dragging, DraggedID, DragOffsetX, DragOffsetY}; }

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gl = std::make_unique<testgl::HeadlessGL>(640, 480);
    ASSERT_TRUE(gl->Ok()) << gl->Error();
    view = testgl::UseOrthoView(*gl, -1, 1, -1, 1);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    ScreenWidth = 640;
    ScreenHeight = 480;
    MouseX = MouseY = MouseVirtualX = MouseVirtualY = 0;
    MouseLeft = MouseMiddle = MouseRight = 0;
    FrameTime = 0;
    WideScreen = Dragging = false;
    ObjectCount = DragOffsetX = DragOffsetY = DraggedID = 0;
    PanelTexture = ButtonTexture = CursorTexture = CursorPressedTexture = 0;
    CursorX = CursorY = 0;
    BuiltinFont = TGUIBFFont{};
    gui_detail::ResetFocusAndTree();  // no screen of an earlier test is left in the frame
    screen = Own(new TGUIscreen());
  }
  void TearDown() override { BuiltinFont = TGUIBFFont{}; }

  // The element lives until the test ends.
  template <class T>
  T* Own(T* element) {
    owned_.emplace_back(element);
    return element;
  }
  void Mouse(int x, int y, bool left) {
    MouseVirtualX = x;
    MouseVirtualY = y;
    MouseLeft = left ? 1 : 0;
  }
  // Sets the mouse, then draws the screen `frames` times.
  void Frame(int x, int y, bool left, int frames = 1) {
    Mouse(x, y, left);
    for (int i = 0; i < frames; ++i) screen->Draw();
  }
  std::vector<testgl::FeedbackPrimitive> Capture(const std::function<void()>& draw) {
    return testgl::CaptureFeedback(draw);
  }
  std::vector<Quad> CaptureQuads(const std::function<void()>& draw) { return testgl::Quads(Capture(draw), view); }
  std::vector<Quad> ScreenQuads() { return CaptureQuads([&] { screen->Draw(); }); }
  std::vector<float> Markers(const std::function<void()>& draw) {
    return testgl::PassThroughTokens(Capture(draw));
  }

  // A 4 x 4 texture of one colour.
  GLuint SolidTexture(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    const uint8_t rgba[4] = {r, g, b, a};
    std::vector<uint8_t> px(64);
    for (size_t i = 0; i < px.size(); ++i) px[i] = rgba[i % 4];
    GLuint tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return tex;
  }
  // BuiltinFont as the built-in blob describes it, over a white texture.
  void InstallBuiltinFont() {
    BuiltinFont.BaseChar = 32;
    BuiltinFont.CellsPerRow = 15;
    BuiltinFont.GlyphHeight = BuiltinFont.CellWidth = BuiltinFont.CellHeight = 17;
    BuiltinFont.CellTexHeight = BuiltinFont.CellTexWidth = 17.0 / 256;
    BuiltinFont.Widths.assign(std::begin(testgl::kBuiltinWidths), std::end(testgl::kBuiltinWidths));
    BuiltinFont.Texture = SolidTexture(255, 255, 255, 255);
  }

  std::unique_ptr<testgl::HeadlessGL> gl;
  testgl::OrthoView view{};
  TGUIscreen* screen = nullptr;

 private:
  std::vector<std::unique_ptr<TGUIobject>> owned_;
};

}  // namespace guitest
