// System-font and bitmap-font labels: origins, visibility through the parent, the lists they call.
#include "GuiTestSupport.h"

using namespace guitest;

namespace {

class LabelTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    screen = new TGUIscreen();
    // 512 lists; list `fontBase + k` marks itself with k and draws a point at (0.1, 0.1).
    first = glGenLists(512);
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
  void TearDown() override {
    delete screen;
    GuiTest::TearDown();
  }
  std::vector<float> Markers(const std::vector<Item>& items) {
    std::vector<float> out;
    for (const auto& it : items)
      if (it.kind == Item::Marker) out.push_back(it.token);
    return out;
  }

  TGUIscreen* screen = nullptr;
  GLuint first = 0;
  int32_t fontBase = 0;
};

}  // namespace

TEST_F(LabelTest, SystemLabelOriginsIn4to3) {
  TGUISysLabel* a = new TGUISysLabel(100, 120, 0.05, 0.05, fontBase, "x", 1, 1, 1, 1, TGUISlot(&screen));
  EXPECT_EQ(a->Kind, 2);
  EXPECT_NEAR(a->OriginX, -0.441514, 1e-6);
  EXPECT_NEAR(a->OriginY, 0.247985, 1e-6);
  TGUISysLabel* b = new TGUISysLabel(100, 120, 1.0, 1.0, fontBase, "x", 1, 1, 1, 1, TGUISlot(&screen));
  EXPECT_NEAR(b->OriginX, -0.414371, 1e-6);
  EXPECT_NEAR(b->OriginY, -0.442219, 1e-6);
  EXPECT_EQ(b->Right + b->Bottom + b->Width + b->Height + b->Tag, 0);
  delete b;
  delete a;
}

TEST_F(LabelTest, BitmapLabelOriginsIn4to3) {
  TGUIBMPFONT f10{fontBase, 10}, f16{fontBase, 16};
  TGUIBmpLabel* a = new TGUIBmpLabel(30, 70, f10, 0, "x", 1, 1, 1, 1, TGUISlot(&screen));
  EXPECT_EQ(a->Kind, 3);
  EXPECT_NEAR(a->OriginX, -0.522990, 1e-6);
  EXPECT_NEAR(a->OriginY, 0.303381, 1e-6);
  TGUIBmpLabel* b = new TGUIBmpLabel(30, 30, f16, 0, "x", 1, 1, 1, 1, TGUISlot(&screen));
  EXPECT_NEAR(b->OriginX, -0.524619, 1e-6);
  EXPECT_NEAR(b->OriginY, 0.335689, 1e-6);
  delete b;
  delete a;
}

TEST_F(LabelTest, WideModeSystemLabelIgnoresParentTopAndBitmapLabelIsNotPlaced) {
  WideScreen = true;
  TGUIpanel* p = new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, TGUISlot(&screen));
  TGUISysLabel* s = new TGUISysLabel(10, 20, 1, 1, fontBase, "x", 1, 1, 1, 1, TGUISlot(&p));
  TGUIBmpLabel* b = new TGUIBmpLabel(10, 20, TGUIBMPFONT{fontBase, 16}, 0, "x", 1, 1, 1, 1, TGUISlot(&p));
  p->AddChild(TGUISlot(&s));
  p->AddChild(TGUISlot(&b));
  EXPECT_NEAR(s->OriginX, (110 - 492) * (0.706 / 492), 1e-12);
  EXPECT_NEAR(s->OriginY, -0.313 - 20 * (0.4135 / 384), 1e-12);
  EXPECT_EQ(b->OriginX, 0.0);
  EXPECT_EQ(b->OriginY, 0.0);
  const double y0 = s->OriginY;
  p->Top = 300;
  p->Left = 200;
  p->UpdatePosition();
  EXPECT_DOUBLE_EQ(s->OriginY, y0);
  EXPECT_NEAR(s->OriginX, (210 - 492) * (0.706 / 492), 1e-12);
  EXPECT_EQ(b->OriginX, 0.0);
  delete b;
  delete s;
  delete p;
}

TEST_F(LabelTest, LabelsInAPanelFollowItsDrag) {
  TGUIpanel* p = new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIBmpLabel* b = new TGUIBmpLabel(10, 20, TGUIBMPFONT{fontBase, 16}, 0, "x", 1, 1, 1, 1, TGUISlot(&p));
  p->AddChild(TGUISlot(&b));
  screen->Add(TGUISlot(&p));
  MouseVirtualX = MouseVirtualY = 150;
  MouseLeft = 1;
  screen->Draw();
  MouseVirtualX = 250;
  screen->Draw();
  EXPECT_NEAR(b->OriginX, (0.552 + 0.000288 * 16) * (200 + 10 - 522) / 522, 1e-12);
  delete b;
  delete p;
}

TEST_F(LabelTest, SystemLabelCallsUnsignedListsScaledAtItsOrigin) {
  TGUISysLabel* s = new TGUISysLabel(100, 120, 0.05, 0.1, fontBase, "A\xC8", 0.25, 0.5, 0.75, 1, TGUISlot(&screen));
  glBindTexture(GL_TEXTURE_2D, SolidTexture(1, 2, 3, 4));
  GLint depth0 = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth0);
  const auto items = Capture([&] { s->Draw(); });
  EXPECT_EQ(Markers(items), (std::vector<float>{65, 200}));
  ASSERT_GE(items.size(), 2u);
  ASSERT_EQ(items[1].kind, Item::Point);
  EXPECT_NEAR(items[1].vertices[0].x, s->OriginX + 0.005, kPlaneEps);
  EXPECT_NEAR(items[1].vertices[0].y, s->OriginY + 0.01, kPlaneEps);
  EXPECT_FLOAT_EQ(items[1].vertices[0].g, 0.5f);
  GLint bound = -1, depth1 = 0, listBase = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth1);
  glGetIntegerv(GL_LIST_BASE, &listBase);
  EXPECT_EQ(bound, 0);
  EXPECT_EQ(depth0, depth1);
  EXPECT_EQ(listBase, 0);
  delete s;
}

TEST_F(LabelTest, BitmapLabelCallsSignedListsAndLeavesDepthTestOn) {
  const GLuint tex = SolidTexture(9, 9, 9, 9);
  TGUIBmpLabel* b = new TGUIBmpLabel(30, 70, TGUIBMPFONT{fontBase, 10}, tex, " A\xC8", 1, 1, 1, 0.5,
                                     TGUISlot(&screen));
  glDisable(GL_DEPTH_TEST);
  const auto items = Capture([&] { b->Draw(); });
  EXPECT_EQ(Markers(items), (std::vector<float>{0, 33, -88}));
  ASSERT_GE(items.size(), 2u);
  ASSERT_EQ(items[1].kind, Item::Point);
  EXPECT_NEAR(items[1].vertices[0].x, b->OriginX + 0.1, kPlaneEps);
  EXPECT_NEAR(items[1].vertices[0].y, b->OriginY + 0.1, kPlaneEps);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  GLint bound = 0, listBase = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_LIST_BASE, &listBase);
  EXPECT_EQ(static_cast<GLuint>(bound), tex);
  EXPECT_EQ(listBase, 0);
  delete b;
}

TEST_F(LabelTest, EmptyTextHiddenLabelOrHiddenParentDrawsNothing) {
  TGUIpanel* p = new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, TGUISlot(&screen));
  TGUISysLabel* s = new TGUISysLabel(1, 1, 1, 1, fontBase, "abc", 1, 1, 1, 1, TGUISlot(&p));
  TGUIBmpLabel* b = new TGUIBmpLabel(1, 1, TGUIBMPFONT{fontBase, 16}, 0, "abc", 1, 1, 1, 1, TGUISlot(&p));
  // The screen draws the labels, but their parent panel is hidden.
  screen->Add(TGUISlot(&s));
  screen->Add(TGUISlot(&b));
  p->Visible = false;
  EXPECT_TRUE(Capture([&] { screen->Draw(); }).empty());
  p->Visible = true;
  EXPECT_EQ(Markers(Capture([&] { screen->Draw(); })).size(), 6u);
  s->Text.clear();
  b->Visible = false;
  EXPECT_TRUE(Capture([&] { screen->Draw(); }).empty());
  delete b;
  delete s;
  delete p;
}
