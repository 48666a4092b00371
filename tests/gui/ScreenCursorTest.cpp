// Object slots, screens, the clip rectangle, InitGUI and the cursor.
#include "GuiTestSupport.h"

#include "Resources.h"

#include <cmath>

using namespace guitest;

namespace {

// A test element that counts its Draw calls and draws one quad at a fixed spot.
class Probe : public TGUIobject {
 public:
  explicit Probe(float marker) : marker_(marker) { Visible = true; }
  void Draw() override {
    ++draws;
    glPassThrough(marker_);
  }
  void UpdatePosition() override { ++updates; }
  int draws = 0, updates = 0;

 private:
  float marker_;
};

std::vector<float> Markers(const std::vector<Item>& items) {
  std::vector<float> out;
  for (const auto& it : items)
    if (it.kind == Item::Marker) out.push_back(it.token);
  return out;
}

}  // namespace

// ---- object slots ----------------------------------------------------------------------------------

TEST(GuiSlot, ReadsTheVariableAtEveryUse) {
  TGUIpanel* panelVar = nullptr;
  TGUISlot slot(&panelVar);
  EXPECT_FALSE(slot.IsNull());
  EXPECT_EQ(slot.Get(), nullptr);

  TGUIscreen* screenVar = nullptr;
  TGUISlot screenSlot(&screenVar);
  TGUIscreen a, b;
  screenVar = &a;
  EXPECT_EQ(screenSlot.Get(), &a);
  screenVar = &b;
  EXPECT_EQ(screenSlot.Get(), &b);
  EXPECT_EQ(screenSlot->ID, b.ID);

  TGUISlot none(nullptr);
  EXPECT_TRUE(none.IsNull());
  EXPECT_EQ(none.Get(), nullptr);
  TGUIscreen** nullVariable = nullptr;
  EXPECT_TRUE(TGUISlot(nullVariable).IsNull());
}

// ---- screens ---------------------------------------------------------------------------------------

class ScreenTest : public GuiTest {};

TEST_F(ScreenTest, CreateTakesTheWindowSizeAndTheNextId) {
  ScreenWidth = 801;
  ScreenHeight = 601;
  ObjectCount = 7;
  TGUIscreen s;
  EXPECT_EQ(s.Kind, 0);
  EXPECT_EQ(s.ID, 7);
  EXPECT_EQ(ObjectCount, 8);
  EXPECT_EQ(s.Right, 801);
  EXPECT_EQ(s.Width, 801);
  EXPECT_EQ(s.Bottom, 601);
  EXPECT_EQ(s.Height, 601);
  EXPECT_EQ(s.CenterX, 400);
  EXPECT_EQ(s.CenterY, 300);
  EXPECT_TRUE(s.Visible);
  EXPECT_TRUE(s.Children.empty());
  EXPECT_EQ(s.Red + s.Green + s.Blue + s.Alpha, 0.0);
}

TEST_F(ScreenTest, DrawsChildrenInOrderSkippingEmptySlotsAndTwiceWhenAddedTwice) {
  TGUIscreen s;
  Probe p1(1), p2(2);
  Probe* v1 = &p1;
  Probe* v2 = &p2;
  Probe* empty = nullptr;
  s.Add(TGUISlot(&v1));
  s.Add(TGUISlot(nullptr));
  EXPECT_EQ(s.Children.size(), 1u);
  s.Add(TGUISlot(&empty));
  s.Add(TGUISlot(&v2));
  s.Add(TGUISlot(&v1));
  const auto items = Capture([&] { s.Draw(); });
  EXPECT_EQ(Markers(items), (std::vector<float>{1, 2, 1}));
  EXPECT_EQ(p1.draws, 2);
}

TEST_F(ScreenTest, ReplacingTheElementInTheVariableDrawsTheNewOne) {
  TGUIscreen s;
  Probe a(10), b(20);
  Probe* var = &a;
  s.Add(TGUISlot(&var));
  EXPECT_EQ(Markers(Capture([&] { s.Draw(); })), std::vector<float>{10});
  var = &b;
  EXPECT_EQ(Markers(Capture([&] { s.Draw(); })), std::vector<float>{20});
  var = nullptr;
  EXPECT_TRUE(Markers(Capture([&] { s.Draw(); })).empty());
}

TEST_F(ScreenTest, InvisibleScreenDrawsNothing) {
  TGUIscreen s;
  Probe p(1);
  Probe* v = &p;
  s.Add(TGUISlot(&v));
  s.Visible = false;
  s.Draw();
  EXPECT_EQ(p.draws, 0);
}

TEST_F(ScreenTest, SetsTheFourClipPlanesAndRestoresState) {
  TGUIscreen s;
  bool enabledDuring[6] = {};
  struct Spy : TGUIobject {
    bool* out;
    void Draw() override {
      for (int i = 0; i < 6; ++i) out[i] = glIsEnabled(GL_CLIP_PLANE0 + i);
    }
    void UpdatePosition() override {}
  } spy;
  spy.out = enabledDuring;
  Spy* v = &spy;
  s.Add(TGUISlot(&v));
  GLint depthBefore = 0, depthAfter = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
  s.Draw();
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
  EXPECT_EQ(depthBefore, depthAfter);
  EXPECT_FALSE(enabledDuring[0]);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_TRUE(enabledDuring[i]) << i;
    EXPECT_FALSE(glIsEnabled(GL_CLIP_PLANE0 + i)) << i;
    double eq[4];
    glGetClipPlane(GL_CLIP_PLANE0 + i, eq);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(eq[k], ClipPlanes[i - 1][k], 1e-7);  // GL keeps floats
  }
  EXPECT_FALSE(enabledDuring[5]);
}

TEST_F(ScreenTest, ClipsGeometryOutsideTheVisibleAreaAlsoWhenWide) {
  for (bool wide : {false, true}) {
    WideScreen = wide;
    TGUIscreen s;
    struct Big : TGUIobject {
      void Draw() override {
        glBegin(GL_QUADS);
        glVertex2d(-0.9, -0.9);
        glVertex2d(0.9, -0.9);
        glVertex2d(0.9, 0.9);
        glVertex2d(-0.9, 0.9);
        glEnd();
      }
      void UpdatePosition() override {}
    } big;
    Big* v = &big;
    s.Add(TGUISlot(&v));
    double minX = 9, maxX = -9, minY = 9, maxY = -9;
    for (const auto& it : Capture([&] { s.Draw(); }))
      for (const auto& p : it.vertices) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
      }
    EXPECT_NEAR(minX, -0.552, kPlaneEps);
    EXPECT_NEAR(maxX, 0.552, kPlaneEps);
    EXPECT_NEAR(minY, -0.414, kPlaneEps);
    EXPECT_NEAR(maxY, 0.414, kPlaneEps);
  }
}

TEST_F(ScreenTest, ClipRectangleFollowsTheCallersTransform) {
  TGUIscreen s;
  struct Big : TGUIobject {
    void Draw() override {
      glBegin(GL_QUADS);
      glVertex2d(-0.9, -0.9);
      glVertex2d(0.9, -0.9);
      glVertex2d(0.9, 0.9);
      glVertex2d(-0.9, 0.9);
      glEnd();
    }
    void UpdatePosition() override {}
  } big;
  Big* v = &big;
  s.Add(TGUISlot(&v));
  glTranslated(0.1, 0, 0);
  double maxX = -9;
  for (const auto& it : Capture([&] { s.Draw(); }))
    for (const auto& p : it.vertices) maxX = std::max(maxX, p.x);
  EXPECT_NEAR(maxX, 0.652, kPlaneEps);
}

// ---- cursor ----------------------------------------------------------------------------------------

class CursorTest : public GuiTest {
 protected:
  Quad DrawOnce() {
    const auto quads = CaptureQuads([] { DrawCursor(); });
    EXPECT_EQ(quads.size(), 1u);
    return quads.empty() ? Quad{} : quads[0];
  }
};

TEST_F(CursorTest, MapsWindowPixelsTo640x480Examples) {
  struct Case {
    int mx, my, vx, vy;
    double cx, cy;
  } cases[] = {{0, 0, 0, 0, -0.551, 0.413}, {320, 240, 512, 384, 0.0, 0.0}, {639, 479, 1022, 766, 0, 0}};
  for (const auto& c : cases) {
    MouseX = c.mx;
    MouseY = c.my;
    const Quad q = DrawOnce();
    EXPECT_EQ(MouseVirtualX, c.vx);
    EXPECT_EQ(MouseVirtualY, c.vy);
    if (c.mx != 639) {
      EXPECT_NEAR(CursorX, c.cx, 1e-12);
      EXPECT_NEAR(CursorY, c.cy, 1e-12);
      EXPECT_NEAR(q.MinX(), c.cx, kPlaneEps);
      EXPECT_NEAR(q.MaxY(), c.cy, kPlaneEps);
    }
  }
}

TEST_F(CursorTest, HalvesRoundToTheEvenNeighbour) {
  ScreenWidth = 2048;
  MouseX = 5;
  DrawCursor();
  EXPECT_EQ(MouseVirtualX, 2);
  MouseX = 7;
  DrawCursor();
  EXPECT_EQ(MouseVirtualX, 4);
  MouseX = 9;
  DrawCursor();
  EXPECT_EQ(MouseVirtualX, 4);
}

TEST_F(CursorTest, QuadVerticesTextureAndColour) {
  MouseX = 320;
  MouseY = 240;
  glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
  const Quad q = DrawOnce();
  EXPECT_NEAR(q.MinX(), 0.0, kPlaneEps);
  EXPECT_NEAR(q.MaxX(), 0.04, kPlaneEps);
  EXPECT_NEAR(q.MinY(), -0.04, kPlaneEps);
  EXPECT_NEAR(q.MaxY(), 0.0, kPlaneEps);
  EXPECT_FLOAT_EQ(q.BottomLeft().s, 0);
  EXPECT_FLOAT_EQ(q.BottomLeft().t, 0);
  EXPECT_FLOAT_EQ(q.TopRight().s, 1);
  EXPECT_FLOAT_EQ(q.TopRight().t, 1);
  EXPECT_FLOAT_EQ(q.TopLeft().t, 1);
  EXPECT_FLOAT_EQ(q.TopLeft().s, 0);
  for (const auto& v : q.v) EXPECT_FLOAT_EQ(v.r + v.g + v.b + v.a, 4.0f);
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
  EXPECT_TRUE(std::isfinite(CursorX));
  EXPECT_NEAR(CursorX, 0.0, 1e-12);
}

// ---- InitGUI ---------------------------------------------------------------------------------------

namespace {

// A 2 x 2, 32-bit run-length-encoded TGA of one colour (B, G, R, A in the file).
std::vector<uint8_t> TinyTga() {
  std::vector<uint8_t> f = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 8};
  f.push_back(0x80 | 3);  // one run of four pixels
  for (uint8_t b : {0x40, 0x80, 0xC0, 0xFF}) f.push_back(b);
  return f;
}

}  // namespace

class InitGuiTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    const auto tga = TinyTga();
    for (const char* name : {"PANEL", "BUTTON", "CURSOR_NORMAL", "CURSOR2_NORMAL"})
      RegisterProgramResource("TGA", name, tga.data(), tga.size());
  }
};

TEST_F(InitGuiTest, LoadsTheArtClampsTheCursorsAndUnbinds) {
  ObjectCount = 12;
  InitGUI("default", 640, 480, nullptr, true);
  EXPECT_TRUE(WideScreen);
  EXPECT_EQ(ObjectCount, 0);
  const GLuint all[4] = {PanelTexture, ButtonTexture, CursorTexture, CursorPressedTexture};
  for (GLuint t : all) EXPECT_NE(t, 0u);
  for (int i = 0; i < 4; ++i)
    for (int k = i + 1; k < 4; ++k) EXPECT_NE(all[i], all[k]);
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
  for (GLuint t : {CursorTexture, CursorPressedTexture}) {
    glBindTexture(GL_TEXTURE_2D, t);
    GLint s = 0, tt = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &s);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &tt);
    EXPECT_EQ(s, 0x2900);
    EXPECT_EQ(tt, 0x2900);
  }
  glBindTexture(GL_TEXTURE_2D, PanelTexture);
  GLint s = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &s);
  EXPECT_NE(s, 0x2900);
  TGUIscreen first;
  EXPECT_EQ(first.ID, 0);
}

TEST_F(InitGuiTest, LoadsTheBuiltinFontFromTheProgramResource) {
  InitGUI("default", 640, 480, nullptr, false);
  EXPECT_FALSE(WideScreen);
  ResourceBlob blob{};
  if (!FindProgramResource("BFF", "BUILTINFONT", &blob)) GTEST_SKIP() << "no built-in font resource in this build";
  EXPECT_EQ(BuiltinFont.BaseChar, 32);
  EXPECT_EQ(BuiltinFont.CellsPerRow, 15);
  EXPECT_NE(BuiltinFont.Texture, 0u);
  ASSERT_EQ(BuiltinFont.Widths.size(), 256u);
  EXPECT_EQ(BuiltinFont.Widths['M'], 12);
}
