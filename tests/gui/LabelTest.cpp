// System-font and bitmap-font labels: origins, visibility through the parent, the lists they call.
#include "GuiTestSupport.h"

using namespace guitest;

namespace {

class LabelTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    // 512 lists; list `fontBase + k` marks itself with k and draws a point at (0.1, 0.1).
    const GLuint first = glGenLists(512);
    for (int k = 0; k < 512; ++k) {
      glNewList(first + k, GL_COMPILE);
      glPassThrough(static_cast<float>(k - 256));
      glBegin(GL_POINTS);
      glVertex3f(0.1f, 0.1f, 0.5f);
      glEnd();
      glEndList();
    }
    fontBase = static_cast<int32_t>(first) + 256;
  }
  TGUISysLabel* Sys(int x, int y, double sx, double sy, const char* text, TGUISlot parent) {
    return Own(new TGUISysLabel(x, y, sx, sy, fontBase, text, 0.25, 0.5, 0.75, 1, parent));
  }
  TGUIBmpLabel* Bmp(int x, int y, uint8_t size, GLuint texture, const char* text, TGUISlot parent) {
    return Own(new TGUIBmpLabel(x, y, TGUIBMPFONT{fontBase, size}, texture, text, 1, 1, 1, 0.5, parent));
  }
  // The point the second primitive drew, in plane units (it follows the first list's marker).
  testgl::QuadVertex SecondPoint(const std::vector<testgl::FeedbackPrimitive>& prims) {
    EXPECT_TRUE(prims.size() >= 2 && prims[1].kind == testgl::FeedbackPrimitive::Point);
    if (prims.size() < 2 || prims[1].vertices.empty()) return {};
    const auto& v = prims[1].vertices[0];
    return {view.X(v.x), view.Y(v.y), v.r, v.g, v.b, v.a, v.s, v.t};
  }
  int32_t fontBase = 0;
};

}  // namespace

TEST_F(LabelTest, OriginsIn4to3) {
  TGUISysLabel* s1 = Sys(100, 120, 0.05, 0.05, "x", TGUISlot(&screen));
  TGUISysLabel* s2 = Sys(100, 120, 1.0, 1.0, "x", TGUISlot(&screen));
  TGUIBmpLabel* b1 = Bmp(30, 70, 10, 0, "x", TGUISlot(&screen));
  TGUIBmpLabel* b2 = Bmp(30, 30, 16, 0, "x", TGUISlot(&screen));
  EXPECT_EQ(s1->Kind, 2);
  EXPECT_EQ(b1->Kind, 3);
  testgl::ExpectNear({s1->OriginX, s1->OriginY, s2->OriginX, s2->OriginY, b1->OriginX, b1->OriginY, b2->OriginX,
                      b2->OriginY},
                     {-0.441514, 0.247985, -0.414371, -0.442219, -0.522990, 0.303381, -0.524619, 0.335689}, 1e-6);
  EXPECT_EQ(s2->Right + s2->Bottom + s2->Width + s2->Height + s2->Tag, 0);
}

TEST_F(LabelTest, WideModeSystemLabelIgnoresParentTopAndBitmapLabelIsNotPlaced) {
  WideScreen = true;
  TGUIpanel* p = Own(new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, TGUISlot(&screen)));
  TGUISysLabel* s = Sys(10, 20, 1, 1, "x", TGUISlot(&p));
  TGUIBmpLabel* b = Bmp(10, 20, 16, 0, "x", TGUISlot(&p));
  p->AddChild(TGUISlot(&s));
  p->AddChild(TGUISlot(&b));
  for (int left : {100, 200}) {
    p->Left = left;
    p->Top = left + 100;
    p->UpdatePosition();
    EXPECT_NEAR(s->OriginX, (left + 10 - 492) * (0.706 / 492), 1e-12);
    EXPECT_NEAR(s->OriginY, -0.313 - 20 * (0.4135 / 384), 1e-12);
    EXPECT_EQ(b->OriginX, 0.0);
    EXPECT_EQ(b->OriginY, 0.0);
  }
}

TEST_F(LabelTest, LabelsInAPanelFollowItsDrag) {
  TGUIpanel* p = Own(new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, TGUISlot(&screen)));
  TGUIBmpLabel* b = Bmp(10, 20, 16, 0, "x", TGUISlot(&p));
  p->AddChild(TGUISlot(&b));
  screen->Add(TGUISlot(&p));
  Frame(150, 150, true);
  Frame(250, 150, true);
  EXPECT_NEAR(b->OriginX, (0.552 + 0.000288 * 16) * (200 + 10 - 522) / 522, 1e-12);
}

TEST_F(LabelTest, SystemLabelCallsUnsignedListsScaledAtItsOriginAndRestoresState) {
  TGUISysLabel* s = Sys(100, 120, 0.05, 0.1, "A\xC8", TGUISlot(&screen));
  glBindTexture(GL_TEXTURE_2D, SolidTexture(1, 2, 3, 4));
  GLint depth0 = 0, depth1 = 0, bound = -1, listBase = -1;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth0);
  const auto prims = Capture([&] { s->Draw(); });
  EXPECT_EQ(testgl::PassThroughTokens(prims), (std::vector<float>{65, 200}));
  const auto point = SecondPoint(prims);
  EXPECT_NEAR(point.x, s->OriginX + 0.005, kPlaneEps);
  EXPECT_NEAR(point.y, s->OriginY + 0.01, kPlaneEps);
  EXPECT_FLOAT_EQ(point.g, 0.5f);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth1);
  glGetIntegerv(GL_LIST_BASE, &listBase);
  EXPECT_EQ(bound, 0);
  EXPECT_EQ(depth0, depth1);
  EXPECT_EQ(listBase, 0);
}

TEST_F(LabelTest, BitmapLabelCallsOnlyItsOwnListsAndRestoresTheDepthTest) {
  const GLuint tex = SolidTexture(9, 9, 9, 9);
  // Codes 32 .. 255 call cells 0 .. 223; a code below 32 calls nothing.
  TGUIBmpLabel* b = Bmp(30, 70, 10, tex, " A\x05\xC8\xFF", TGUISlot(&screen));
  glDisable(GL_DEPTH_TEST);
  const auto prims = Capture([&] { b->Draw(); });
  EXPECT_EQ(testgl::PassThroughTokens(prims), (std::vector<float>{0, 33, 168, 223}));
  const auto point = SecondPoint(prims);
  EXPECT_NEAR(point.x, b->OriginX + 0.1, kPlaneEps);
  EXPECT_NEAR(point.y, b->OriginY + 0.1, kPlaneEps);
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  glEnable(GL_DEPTH_TEST);
  b->Draw();
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  // A font that got no lists draws nothing at all.
  b->Font.ListBase = 0;
  EXPECT_TRUE(Capture([&] { b->Draw(); }).empty());
  GLint bound = 0, listBase = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_LIST_BASE, &listBase);
  EXPECT_EQ(static_cast<GLuint>(bound), tex);
  EXPECT_EQ(listBase, 0);
}

TEST_F(LabelTest, EmptyTextHiddenLabelOrHiddenParentDrawsNothing) {
  TGUIpanel* p = Own(new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, TGUISlot(&screen)));
  TGUISysLabel* s = Sys(1, 1, 1, 1, "abc", TGUISlot(&p));
  TGUIBmpLabel* b = Bmp(1, 1, 16, 0, "abc", TGUISlot(&p));
  // The screen draws the labels, but their parent panel is hidden.
  screen->Add(TGUISlot(&s));
  screen->Add(TGUISlot(&b));
  const auto draw = [&] { screen->Draw(); };
  p->Visible = false;
  EXPECT_TRUE(Capture(draw).empty());
  p->Visible = true;
  EXPECT_EQ(Markers(draw).size(), 6u);
  s->Text.clear();
  b->Visible = false;
  EXPECT_TRUE(Capture(draw).empty());
}
