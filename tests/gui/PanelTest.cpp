// Panels: construction, geometry, hit tests, raising and dragging, and the drawn frame.
#include "GuiTestSupport.h"

#include <cmath>

using namespace guitest;

namespace {

class PanelTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    screen = new TGUIscreen();
  }
  void TearDown() override {
    delete screen;
    GuiTest::TearDown();
  }
  void Mouse(int x, int y, bool left) {
    MouseVirtualX = x;
    MouseVirtualY = y;
    MouseLeft = left ? 1 : 0;
  }
  void Frame() { screen->Draw(); }

  TGUIscreen* screen = nullptr;
};

// The untextured body of a panel, found among drawn quads by its bounds.
int CountBodies(const std::vector<Quad>& quads, const TGUIpanel& p) {
  int n = 0;
  for (const auto& q : quads)
    if (std::fabs(q.MinX() - p.PlaneLeft) < 1e-5 && std::fabs(q.MaxX() - p.PlaneRight) < 1e-5 &&
        std::fabs(q.MaxY() - p.PlaneTop) < 1e-5 && std::fabs(q.MinY() - p.PlaneBottom) < 1e-5)
      ++n;
  return n;
}

}  // namespace

TEST_F(PanelTest, CreatePutsCornersInOrder) {
  TGUIpanel* p = new TGUIpanel(240, 500, 40, 300, 0.1, 0.2, 0.3, 0.4, TGUISlot(&screen));
  EXPECT_EQ(p->Kind, 1);
  EXPECT_EQ(p->ID, 1);
  EXPECT_EQ(ObjectCount, 2);
  EXPECT_EQ(p->Left, 40);
  EXPECT_EQ(p->Top, 300);
  EXPECT_EQ(p->Right, 240);
  EXPECT_EQ(p->Bottom, 500);
  EXPECT_EQ(p->Width, 200);
  EXPECT_EQ(p->Height, 200);
  EXPECT_EQ(p->CenterX, 140);
  EXPECT_EQ(p->CenterY, 400);
  EXPECT_TRUE(p->Visible);
  EXPECT_TRUE(p->Draggable);
  EXPECT_EQ(p->TextureRepeat, 1.0f);
  EXPECT_FALSE(p->HasHeader || p->HasFooter);
  EXPECT_EQ(p->Highlight, 0.0);
  TGUIpanel* child = new TGUIpanel(0, 0, 10, 10, 1, 1, 1, 1, TGUISlot(&p));
  EXPECT_FALSE(child->Draggable);
  delete child;
  delete p;
}

TEST_F(PanelTest, PlaneGeometryIn4to3AndWideAndChildrenFollow) {
  TGUIpanel* outer = new TGUIpanel(100, 50, 300, 250, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIpanel* inner = new TGUIpanel(10, 20, 60, 80, 1, 1, 1, 1, TGUISlot(&outer));
  outer->AddChild(TGUISlot(&inner));
  EXPECT_DOUBLE_EQ(outer->PlaneLeft, (100.0 - 512) / 512 * 0.552);
  EXPECT_DOUBLE_EQ(outer->PlaneRight, (300.0 - 512) / 512 * 0.552);
  EXPECT_DOUBLE_EQ(outer->PlaneTop, (384.0 - 50) / 384 * 0.414);
  EXPECT_DOUBLE_EQ(outer->PlaneBottom, (384.0 - 250) / 384 * 0.414);
  EXPECT_DOUBLE_EQ(inner->PlaneLeft, (110.0 - 512) / 512 * 0.552);
  EXPECT_DOUBLE_EQ(inner->PlaneTop, (384.0 - 70) / 384 * 0.414);
  EXPECT_FLOAT_EQ(inner->PlaneX(5), static_cast<float>((115 - 512) * 0.001078125));
  EXPECT_FLOAT_EQ(inner->PlaneY(5), static_cast<float>((384 - 75) * 0.001078125));

  WideScreen = true;
  outer->Left = 200;
  outer->UpdatePosition();
  EXPECT_DOUBLE_EQ(outer->PlaneLeft, (200.0 - 512) / 512 * 0.736);
  EXPECT_DOUBLE_EQ(inner->PlaneLeft, (210.0 - 512) / 512 * 0.736);
  // PlaneX keeps the 4:3 factor in every mode.
  EXPECT_FLOAT_EQ(outer->PlaneX(0), static_cast<float>((200 - 512) * 0.001078125));
  delete inner;
  delete outer;
}

TEST_F(PanelTest, EdgePixelsAreOutside) {
  TGUIpanel* outer = new TGUIpanel(100, 100, 400, 400, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIpanel* p = new TGUIpanel(10, 20, 50, 60, 1, 1, 1, 1, TGUISlot(&outer));
  Mouse(110, 100, false);
  EXPECT_FALSE(p->MouseInside());
  Mouse(111, 121, false);
  EXPECT_TRUE(p->MouseInside());
  Mouse(111, 120, false);
  EXPECT_FALSE(p->MouseInside());
  Mouse(149, 159, false);
  EXPECT_TRUE(p->MouseInside());
  Mouse(150, 159, false);
  EXPECT_FALSE(p->MouseInside());
  Mouse(149, 160, false);
  EXPECT_FALSE(p->MouseInside());
  delete p;
  delete outer;
}

TEST_F(PanelTest, OnlyTheLaterOfOverlappingSiblingsIsHot) {
  TGUIpanel* a = new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIpanel* b = new TGUIpanel(200, 200, 400, 400, 1, 1, 1, 1, TGUISlot(&screen));
  screen->Add(TGUISlot(&a));
  screen->Add(TGUISlot(&b));
  TGUIscreen* other = new TGUIscreen();
  TGUIpanel* elsewhere = new TGUIpanel(0, 0, 1000, 700, 1, 1, 1, 1, TGUISlot(&other));
  other->Add(TGUISlot(&elsewhere));
  Mouse(250, 250, false);
  EXPECT_FALSE(a->IsHot());
  EXPECT_TRUE(b->IsHot());
  Mouse(150, 150, false);
  EXPECT_TRUE(a->IsHot());
  EXPECT_FALSE(b->IsHot());
  // Invisible panels still count for their siblings.
  b->Visible = false;
  Mouse(250, 250, false);
  EXPECT_FALSE(a->IsTopmostAtMouse());
  delete elsewhere;
  delete other;
  delete b;
  delete a;
}

TEST_F(PanelTest, PressRaisesAndDragsWithChildrenButNotGrandchildren) {
  TGUIpanel* a = new TGUIpanel(100, 100, 300, 300, 0.5, 0.5, 0.5, 1, TGUISlot(&screen));
  TGUIpanel* b = new TGUIpanel(200, 200, 400, 400, 0.5, 0.5, 0.5, 1, TGUISlot(&screen));
  TGUIpanel* child = new TGUIpanel(10, 10, 60, 60, 1, 1, 1, 1, TGUISlot(&a));
  TGUIpanel* grandchild = new TGUIpanel(5, 5, 20, 20, 1, 1, 1, 1, TGUISlot(&child));
  a->AddChild(TGUISlot(&child));
  child->AddChild(TGUISlot(&grandchild));
  screen->Add(TGUISlot(&a));
  screen->Add(TGUISlot(&b));
  const double childLeft0 = child->PlaneLeft, grandLeft0 = grandchild->PlaneLeft;

  // First frame of the press: a is raised (drawn twice this frame, b not at all) and the drag begins.
  Mouse(250, 150, true);
  const auto first = CaptureQuads([&] { Frame(); });
  EXPECT_EQ(CountBodies(first, *a), 2);
  EXPECT_EQ(CountBodies(first, *b), 0);
  EXPECT_EQ(screen->Children[1].Get(), a);
  EXPECT_TRUE(Dragging);
  EXPECT_EQ(DraggedID, a->ID);
  EXPECT_EQ(DragOffsetX, 150);
  EXPECT_EQ(DragOffsetY, 50);
  EXPECT_EQ(a->Left, 100);

  // Following frames: the panel follows at the grab offset; drawn once, above b.
  Mouse(270, 190, true);
  const auto second = CaptureQuads([&] { Frame(); });
  EXPECT_EQ(CountBodies(second, *a), 1);
  EXPECT_EQ(CountBodies(second, *b), 1);
  EXPECT_EQ(a->Left, 120);
  EXPECT_EQ(a->Top, 140);
  EXPECT_EQ(a->Right, 320);
  EXPECT_EQ(a->Bottom, 340);
  EXPECT_EQ(a->CenterX, 200);
  EXPECT_NEAR(child->PlaneLeft - childLeft0, 20 * 0.552 / 512, 1e-12);
  EXPECT_DOUBLE_EQ(grandchild->PlaneLeft, grandLeft0);

  Mouse(700, 500, true);
  Frame();
  EXPECT_EQ(a->Left, 550);
  EXPECT_EQ(a->Top, 450);

  // Release over the panel ends the drag.
  Mouse(700, 500, false);
  Frame();
  EXPECT_FALSE(Dragging);
  delete grandchild;
  delete child;
  delete b;
  delete a;
}

TEST_F(PanelTest, ReleasingOutsideEveryPanelEndsTheDragWithoutAJump) {
  TGUIpanel* a = new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, TGUISlot(&screen));
  screen->Add(TGUISlot(&a));
  Mouse(150, 150, true);
  Frame();
  // Move fast: the panel trails the mouse by a frame, so the release lands outside it.
  Mouse(900, 700, false);
  Frame();
  EXPECT_FALSE(Dragging);
  EXPECT_EQ(a->Left, 100);
  Mouse(800, 20, true);
  Frame();
  EXPECT_EQ(a->Left, 100);
  EXPECT_EQ(a->Top, 100);
  delete a;
}

TEST_F(PanelTest, PressOnEmptySpaceThenMovingOntoAPanelStartsADrag) {
  TGUIpanel* a = new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, TGUISlot(&screen));
  screen->Add(TGUISlot(&a));
  Mouse(50, 50, true);
  Frame();
  EXPECT_FALSE(Dragging);
  Mouse(120, 130, true);
  Frame();
  EXPECT_TRUE(Dragging);
  EXPECT_EQ(DragOffsetX, 20);
  EXPECT_EQ(DragOffsetY, 30);
  delete a;
}

TEST_F(PanelTest, PressOverAChildButtonOrChildPanelNeitherRaisesNorDragsNorHighlights) {
  TGUIpanel* a = new TGUIpanel(100, 100, 400, 400, 0.5, 0.5, 0.5, 1, TGUISlot(&screen));
  TGUIpanel* b = new TGUIpanel(350, 350, 500, 500, 0.5, 0.5, 0.5, 1, TGUISlot(&screen));
  TGUIpanel* inner = new TGUIpanel(10, 10, 60, 60, 0.5, 0.5, 0.5, 1, TGUISlot(&a));
  TGUIButton* button = new TGUIButton(100, 100, 200, 130, 1, 1, 1, 1, TGUISlot(&a));
  a->Highlight = 0.2;
  a->AddChild(TGUISlot(&inner));
  a->AddChild(TGUISlot(&button));
  screen->Add(TGUISlot(&a));
  screen->Add(TGUISlot(&b));
  for (auto [x, y] : {std::pair{130, 130}, std::pair{250, 215}}) {
    Mouse(x, y, false);
    EXPECT_FALSE(a->IsHot());
    Mouse(x, y, true);
    const auto quads = CaptureQuads([&] { Frame(); });
    EXPECT_FALSE(Dragging);
    EXPECT_EQ(screen->Children[0].Get(), a);
    ASSERT_FALSE(quads.empty());
    EXPECT_FLOAT_EQ(quads[0].v[0].r, 0.5f);
  }
  // Over its own empty surface it is hot, lighter, raised and dragged.
  Mouse(300, 300, true);
  const auto quads = CaptureQuads([&] { Frame(); });
  EXPECT_TRUE(Dragging);
  EXPECT_EQ(screen->Children[1].Get(), a);
  EXPECT_FLOAT_EQ(quads[0].v[0].r, 0.7f);
  EXPECT_FLOAT_EQ(quads[0].v[0].a, 1.0f);  // 1.2, clamped by GL
  delete button;
  delete inner;
  delete b;
  delete a;
}

TEST_F(PanelTest, AlphaZeroDrawsNoBodyButStillReactsAndDrawsChildren) {
  TGUIpanel* a = new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 0, TGUISlot(&screen));
  TGUIpanel* child = new TGUIpanel(10, 10, 60, 60, 1, 1, 1, 1, TGUISlot(&a));
  a->AddChild(TGUISlot(&child));
  screen->Add(TGUISlot(&a));
  Mouse(250, 250, true);
  const auto quads = CaptureQuads([&] { Frame(); });
  EXPECT_EQ(CountBodies(quads, *a), 0);
  EXPECT_EQ(CountBodies(quads, *child), 1);
  EXPECT_TRUE(Dragging);
  delete child;
  delete a;
}

TEST_F(PanelTest, HiddenPanelNeitherDrawsNorReactsButCountsForItsParent) {
  TGUIpanel* a = new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIpanel* child = new TGUIpanel(10, 10, 60, 60, 1, 1, 1, 1, TGUISlot(&a));
  TGUIpanel* grand = new TGUIpanel(1, 1, 5, 5, 1, 1, 1, 1, TGUISlot(&child));
  a->AddChild(TGUISlot(&child));
  child->AddChild(TGUISlot(&grand));
  child->Draggable = true;
  child->Visible = false;
  screen->Add(TGUISlot(&a));
  Mouse(130, 130, true);
  const auto quads = CaptureQuads([&] { Frame(); });
  EXPECT_EQ(quads.size(), 1u);
  EXPECT_FALSE(a->NoChildAtMouse());
  EXPECT_FALSE(Dragging);
  delete grand;
  delete child;
  delete a;
}

TEST_F(PanelTest, NullChildEntriesAreSkippedEverywhere) {
  TGUIpanel* a = new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIpanel* empty = nullptr;
  a->AddChild(TGUISlot(nullptr));
  a->AddChild(TGUISlot(&empty));
  screen->Add(TGUISlot(&a));
  Mouse(150, 150, true);
  const auto quads = CaptureQuads([&] { Frame(); });
  EXPECT_EQ(quads.size(), 1u);
  EXPECT_TRUE(a->NoChildAtMouse());
  EXPECT_TRUE(a->NoChildPanelAtMouse());
  a->UpdatePosition();
  EXPECT_TRUE(Dragging);
  delete a;
}

TEST_F(PanelTest, NestedPanelMadeDraggableIsRaisedAmongItsSiblingsAndMovesRelativeToItsParent) {
  TGUIpanel* a = new TGUIpanel(100, 100, 500, 500, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIpanel* c1 = new TGUIpanel(10, 10, 100, 100, 1, 1, 1, 1, TGUISlot(&a));
  TGUIpanel* c2 = new TGUIpanel(200, 200, 300, 300, 1, 1, 1, 1, TGUISlot(&a));
  a->AddChild(TGUISlot(&c1));
  a->AddChild(TGUISlot(&c2));
  screen->Add(TGUISlot(&a));
  c1->Draggable = true;
  Mouse(150, 150, true);  // 50, 50 inside a: inside c1
  Frame();
  EXPECT_EQ(a->Children[1].Get(), c1);
  EXPECT_TRUE(Dragging);
  EXPECT_EQ(DraggedID, c1->ID);
  EXPECT_EQ(DragOffsetX, 150 - 10);
  Mouse(160, 150, true);
  Frame();
  EXPECT_EQ(c1->Left, 20);
  EXPECT_EQ(a->Left, 100);
  delete c2;
  delete c1;
  delete a;
}

TEST_F(PanelTest, HighlightIsAddedOnlyWhileHot) {
  TGUIpanel* a = new TGUIpanel(100, 100, 300, 300, 0.5, 0.4, 0.3, 0.6, TGUISlot(&screen));
  screen->Add(TGUISlot(&a));
  a->Highlight = 0.2;
  Mouse(20, 20, false);
  auto q = CaptureQuads([&] { Frame(); });
  ASSERT_EQ(q.size(), 1u);
  EXPECT_FLOAT_EQ(q[0].v[0].r, 0.5f);
  EXPECT_FLOAT_EQ(q[0].v[0].a, 0.6f);
  Mouse(200, 200, false);
  q = CaptureQuads([&] { Frame(); });
  ASSERT_EQ(q.size(), 1u);
  EXPECT_FLOAT_EQ(q[0].v[0].r, 0.7f);
  EXPECT_FLOAT_EQ(q[0].v[0].g, 0.6f);
  EXPECT_FLOAT_EQ(q[0].v[0].b, 0.5f);
  EXPECT_FLOAT_EQ(q[0].v[0].a, 0.8f);
  delete a;
}

TEST_F(PanelTest, UntexturedBodyUsesThePlaneFieldsAlsoWhenWide) {
  WideScreen = true;
  TGUIpanel* a = new TGUIpanel(300, 100, 700, 300, 1, 1, 1, 1, TGUISlot(&screen));
  screen->Add(TGUISlot(&a));
  const auto q = CaptureQuads([&] { Frame(); });
  ASSERT_EQ(q.size(), 1u);
  EXPECT_NEAR(q[0].MinX(), (300.0 - 512) / 512 * 0.736, kPlaneEps);
  EXPECT_NEAR(q[0].MaxX(), (700.0 - 512) / 512 * 0.736, kPlaneEps);
  EXPECT_NEAR(q[0].MaxY(), (384.0 - 100) / 384 * 0.414, kPlaneEps);
  delete a;
}

// ---- the textured frame --------------------------------------------------------------------------------

namespace {

struct ExpectedPiece {
  int x0, x1, y0, y1;
  float s0, s1, t0, t1;
};

void ExpectPiece(const Quad& q, const ExpectedPiece& e, int absLeft, int absTop, const char* what) {
  SCOPED_TRACE(what);
  EXPECT_NEAR(q.MinX(), VX(absLeft + e.x0), kPlaneEps);
  EXPECT_NEAR(q.MaxX(), VX(absLeft + e.x1), kPlaneEps);
  EXPECT_NEAR(q.MaxY(), VY(absTop + e.y0), kPlaneEps);
  EXPECT_NEAR(q.MinY(), VY(absTop + e.y1), kPlaneEps);
  EXPECT_FLOAT_EQ(q.TopLeft().s, e.s0);
  EXPECT_FLOAT_EQ(q.TopLeft().t, e.t0);
  EXPECT_FLOAT_EQ(q.BottomRight().s, e.s1);
  EXPECT_FLOAT_EQ(q.BottomRight().t, e.t1);
}

}  // namespace

TEST_F(PanelTest, FramePiecesForEachHeaderFooterCombination) {
  PanelTexture = SolidTexture(200, 200, 200, 255);
  const int W = 200, H = 150;
  for (int combo = 0; combo < 4; ++combo) {
    const bool header = combo & 1, footer = combo & 2;
    SCOPED_TRACE(combo);
    TGUIpanel* p = new TGUIpanel(100, 120, 100 + W, 120 + H, 1, 1, 1, 1, TGUISlot(&screen));
    p->HasHeader = header;
    p->HasFooter = footer;
    std::vector<ExpectedPiece> e;
    if (header) {
      e.push_back({0, 63, 0, 27, 0, 0.5f, 1, 0.7890625f});
      e.push_back({63, W - 32, 0, 27, 0.5f, 0.75f, 1, 0.7890625f});
      e.push_back({W - 32, W, 0, 27, 0.75f, 1, 1, 0.7890625f});
    } else {
      e.push_back({0, 20, 0, 27, 0.21875f, 0.375f, 0.4609375f, 0.2421875f});
      e.push_back({20, W - 20, 0, 27, 0.171875f, 0.203125f, 0.4609375f, 0.2421875f});
      e.push_back({W - 20, W, 0, 27, 0.4140625f, 0.5703125f, 0.4609375f, 0.2421875f});
    }
    if (header && footer) {
      e.push_back({0, 7, 27, H - 27, 0, 0.0546875f, 0.7890625f, 0.2109375f});
      e.push_back({W - 7, W, 27, H - 27, 0.9453125f, 1, 0.7890625f, 0.2109375f});
    } else {
      e.push_back({0, 9, 27, H - 27, 0.078125f, 0.1484375f, 0.453125f, 0.390625f});
      e.push_back({W - 9, W, 27, H - 27, 0.1484375f, 0.078125f, 0.453125f, 0.390625f});
    }
    if (footer) {
      e.push_back({0, 63, H - 27, H, 0, 0.5f, 0.2109375f, 0});
      e.push_back({63, W - 32, H - 27, H, 0.5f, 0.75f, 0.2109375f, 0});
      e.push_back({W - 32, W, H - 27, H, 0.75f, 1, 0.2109375f, 0});
    } else {
      e.push_back({0, 20, H - 27, H, 0.578125f, 0.734375f, 0.453125f, 0.234375f});
      e.push_back({20, W - 20, H - 27, H, 0.203125f, 0.171875f, 0.2421875f, 0.4609375f});
      e.push_back({W - 20, W, H - 27, H, 0.7734375f, 0.9296875f, 0.453125f, 0.234375f});
    }
    if (header) e.push_back({W - 22, W - 6, 8, 24, 0.8125f, 0.9375f, 0.75f, 0.625f});
    // The fill texel over the inner area.
    const float fs0 = 0.2890625f, fs1 = 0.296875f, ft0 = 0.3203125f, ft1 = 0.3125f;
    if (header && footer) e.push_back({7, W - 7, 26, H - 26, fs0, fs1, ft0, ft1});
    else if (footer) e.push_back({9, W - 9, 27, H - 26, fs0, fs1, ft0, ft1});
    else e.push_back({9, W - 9, 27, H - 27, fs0, fs1, ft0, ft1});

    const auto quads = CaptureQuads([&] { p->Draw(); });
    ASSERT_EQ(quads.size(), e.size());
    for (size_t i = 0; i < e.size(); ++i) ExpectPiece(quads[i], e[i], 100, 120, std::to_string(i).c_str());
    delete p;
  }
}

TEST_F(PanelTest, OwnTextureFillsTheInnerAreaWithRepeat) {
  PanelTexture = SolidTexture(200, 200, 200, 255);
  const GLuint own = SolidTexture(10, 20, 30, 255);
  const int W = 200, H = 150;
  struct Case {
    bool header, footer;
    ExpectedPiece inner;
  } cases[] = {
      {true, true, {6, W - 6, 25, H - 25, 0, 3, 3, 0}},
      {false, false, {5, W - 5, 5, H - 5, 0, 3, 3, 0}},
      {false, true, {5, W - 5, 5, H - 26, 0, 3, 3, 0}},
      {true, false, {5, W - 5, 26, H - 5, 0, 3, 3, 0}},
  };
  for (const auto& c : cases) {
    TGUIpanel* p = new TGUIpanel(50, 60, 50 + W, 60 + H, 1, 1, 1, 1, TGUISlot(&screen));
    p->HasHeader = c.header;
    p->HasFooter = c.footer;
    p->Texture = own;
    p->TextureRepeat = 3.0f;
    const auto quads = CaptureQuads([&] { p->Draw(); });
    ASSERT_FALSE(quads.empty());
    ExpectPiece(quads.back(), c.inner, 50, 60, "inner");
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), own);
    delete p;
  }
}

TEST_F(PanelTest, TexturedFrameMovesWithTheParentOffset) {
  PanelTexture = SolidTexture(200, 200, 200, 255);
  TGUIpanel* outer = new TGUIpanel(100, 100, 600, 600, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIpanel* inner = new TGUIpanel(10, 20, 110, 120, 1, 1, 1, 1, TGUISlot(&outer));
  const auto quads = CaptureQuads([&] { inner->Draw(); });
  ASSERT_FALSE(quads.empty());
  EXPECT_NEAR(quads[0].MinX(), VX(110), kPlaneEps);
  EXPECT_NEAR(quads[0].MaxY(), VY(120), kPlaneEps);
  delete inner;
  delete outer;
}
