// Object slots, screens, the clip rectangle, the cursor and InitGUI.
#include "GuiTestSupport.h"

#include <cmath>

using namespace guitest;

namespace {

// Marks each of its draws with a glPassThrough of its number.
struct Probe : TGUIobject {
  explicit Probe(float m) : marker(m) { Visible = true; }
  void Draw() override {
    ++draws;
    glPassThrough(marker);
  }
  void UpdatePosition() override {}
  float marker;
  int draws = 0;
};

using ScreenTest = GuiTest;
using CursorTest = GuiTest;
using InitGuiTest = GuiTest;

}  // namespace

TEST_F(ScreenTest, CreateTakesTheWindowSizeAndTheNextId) {
  ScreenWidth = 801;
  ScreenHeight = 601;
  ObjectCount = 7;
  TGUIscreen s;
  EXPECT_EQ(Geometry(s), (std::vector<int32_t>{0, 0, 801, 601, 801, 601, 400, 300}));
  EXPECT_EQ(s.Kind, 0);
  EXPECT_EQ(s.ID, 7);
  EXPECT_EQ(ObjectCount, 8);
  EXPECT_TRUE(s.Visible);
  EXPECT_TRUE(s.Children.empty());
  EXPECT_EQ(s.Red + s.Green + s.Blue + s.Alpha, 0.0);
}

TEST_F(ScreenTest, DrawsWhatTheSlotsHoldNowInOrder) {
  Probe p1(1), p2(2);
  Probe *v1 = &p1, *v2 = &p2, *empty = nullptr;
  screen->Add(TGUISlot(&v1));
  TGUIscreen** nullVariable = nullptr;
  screen->Add(TGUISlot(nullptr));
  screen->Add(TGUISlot(nullVariable));
  EXPECT_EQ(screen->Children.size(), 1u);  // null slots are not added; a slot to an empty variable is
  screen->Add(TGUISlot(&empty));
  screen->Add(TGUISlot(&v2));
  screen->Add(TGUISlot(&v1));
  const auto draw = [&] { screen->Draw(); };
  EXPECT_EQ(Markers(draw), (std::vector<float>{1, 2, 1}));
  EXPECT_EQ(p1.draws, 2);
  v2 = &p1;
  EXPECT_EQ(Markers(draw), (std::vector<float>{1, 1, 1}));
  v1 = v2 = nullptr;
  EXPECT_TRUE(Markers(draw).empty());
  v1 = &p1;
  screen->Visible = false;
  EXPECT_TRUE(Markers(draw).empty());
}

TEST_F(ScreenTest, SetsTheFourClipPlanesAndRestoresState) {
  struct Spy : TGUIobject {
    bool enabled[6] = {};
    void Draw() override {
      for (int i = 0; i < 6; ++i) enabled[i] = glIsEnabled(GL_CLIP_PLANE0 + i);
    }
    void UpdatePosition() override {}
  } spy;
  Spy* v = &spy;
  screen->Add(TGUISlot(&v));
  GLint depthBefore = 0, depthAfter = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
  screen->Draw();
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
  EXPECT_EQ(depthBefore, depthAfter);
  EXPECT_FALSE(spy.enabled[0]);
  EXPECT_FALSE(spy.enabled[5]);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_TRUE(spy.enabled[i]) << i;
    EXPECT_FALSE(glIsEnabled(GL_CLIP_PLANE0 + i)) << i;
    double eq[4];
    glGetClipPlane(GL_CLIP_PLANE0 + i, eq);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(eq[k], ClipPlanes[i - 1][k], 1e-7);  // GL keeps floats
  }
}

TEST_F(ScreenTest, ClipsToTheVisibleAreaInTheCallersTransformAlsoWhenWide) {
  struct Big : TGUIobject {
    void Draw() override { glRectd(-0.9, -0.9, 0.9, 0.9); }
    void UpdatePosition() override {}
  } big;
  Big* v = &big;
  screen->Add(TGUISlot(&v));
  for (bool wide : {false, true}) {
    WideScreen = wide;
    const testgl::Box b = testgl::Bounds(Capture([&] { screen->Draw(); }), view);
    testgl::ExpectNear({b.minX, b.maxX, b.minY, b.maxY}, {-0.552, 0.552, -0.414, 0.414}, kPlaneEps);
  }
  glTranslated(0.1, 0, 0);
  EXPECT_NEAR(testgl::Bounds(Capture([&] { screen->Draw(); }), view).maxX, 0.652, kPlaneEps);
}

TEST_F(CursorTest, MapsWindowPixelsToVirtualPixelsWithHalvesToEven) {
  const struct {
    int mx, my, vx, vy;
  } cases[] = {{0, 0, 0, 0}, {320, 240, 512, 384}, {639, 479, 1022, 766}};
  for (const auto& c : cases) {
    MouseX = c.mx;
    MouseY = c.my;
    DrawCursor();
    EXPECT_EQ(MouseVirtualX, c.vx);
    EXPECT_EQ(MouseVirtualY, c.vy);
  }
  ScreenWidth = 2048;
  for (const auto& [mx, vx] : {std::pair{5, 2}, std::pair{7, 4}, std::pair{9, 4}}) {
    MouseX = mx;
    DrawCursor();
    EXPECT_EQ(MouseVirtualX, vx) << mx;
  }
}

TEST_F(CursorTest, QuadHangsFromTheMouseWithTheWholeTextureInWhite) {
  glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
  for (const auto& [mx, my, cx, cy] : {std::tuple{0, 0, -0.551, 0.413}, std::tuple{320, 240, 0.0, 0.0}}) {
    MouseX = mx;
    MouseY = my;
    const auto quads = CaptureQuads([] { DrawCursor(); });
    ASSERT_EQ(quads.size(), 1u);
    testgl::ExpectNear({CursorX, CursorY}, {cx, cy}, 1e-12);
    ExpectRect(quads[0], cx, cy - 0.04, cx + 0.04, cy);
    const float st[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};  // by corner, counter-clockwise from bottom left
    for (int k = 0; k < 4; ++k) {
      EXPECT_FLOAT_EQ(quads[0].v[k].s, st[k][0]) << k;
      EXPECT_FLOAT_EQ(quads[0].v[k].t, st[k][1]) << k;
    }
    for (const auto& v : quads[0].v) EXPECT_FLOAT_EQ(v.r + v.g + v.b + v.a, 4.0f);
  }
}

TEST_F(CursorTest, PressedTextureWhileAnyButtonIsHeld) {
  CursorTexture = SolidTexture(1, 1, 1, 1);
  CursorPressedTexture = SolidTexture(2, 2, 2, 2);
  GLint bound = 0;
  DrawCursor();
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), CursorTexture);
  for (uint8_t* button : {&MouseLeft, &MouseMiddle, &MouseRight}) {
    *button = 1;
    DrawCursor();
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), CursorPressedTexture);
    *button = 0;
  }
}

TEST_F(CursorTest, ZeroWindowSizeKeepsThePreviousPosition) {
  MouseX = 320;
  MouseY = 240;
  DrawCursor();
  MouseX = 100;
  ScreenWidth = 0;
  DrawCursor();
  EXPECT_EQ(MouseVirtualX, 512);
  EXPECT_EQ(MouseVirtualY, 384);
  EXPECT_NEAR(CursorX, 0.0, 1e-12);
}

TEST_F(InitGuiTest, LoadsTheArtAndTheBuiltinFontClampsTheCursorsAndUnbinds) {
  ObjectCount = 12;
  InitGUI("default", 640, 480, nullptr, true);
  EXPECT_TRUE(WideScreen);
  EXPECT_EQ(ObjectCount, 0);
  const GLuint all[4] = {PanelTexture, ButtonTexture, CursorTexture, CursorPressedTexture};
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
  for (int i = 0; i < 4; ++i) {
    EXPECT_NE(all[i], 0u);
    for (int k = i + 1; k < 4; ++k) EXPECT_NE(all[i], all[k]);
    glBindTexture(GL_TEXTURE_2D, all[i]);
    GLint s = 0, t = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &s);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &t);
    EXPECT_EQ(s == 0x2900, i >= 2) << "only the cursors clamp; texture " << i;
    EXPECT_EQ(t == 0x2900, i >= 2) << i;
  }
  EXPECT_EQ(TGUIscreen().ID, 0);
  EXPECT_EQ((std::vector<int32_t>{BuiltinFont.BaseChar, BuiltinFont.CellsPerRow}), (std::vector<int32_t>{32, 15}));
  EXPECT_NE(BuiltinFont.Texture, 0u);
  ASSERT_EQ(BuiltinFont.Widths.size(), 256u);
  EXPECT_EQ(BuiltinFont.Widths['M'], 12);
  InitGUI("default", 640, 480, nullptr, false);
  EXPECT_FALSE(WideScreen);
}
