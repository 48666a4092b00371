// Panels: construction, geometry, hit tests, raising and dragging, and the drawn frame.
#include "GuiTestSupport.h"

#include <cmath>
#include <string>

using namespace guitest;

namespace {

class PanelTest : public GuiTest {
 protected:
  TGUIpanel* Panel(int l, int t, int r, int b, TGUISlot parent, double shade = 1, double alpha = 1) {
    return Own(new TGUIpanel(l, t, r, b, shade, shade, shade, alpha, parent));
  }
  // How many times the untextured body of `p` is among `quads`.
  static int Bodies(const std::vector<Quad>& quads, const TGUIpanel& p) {
    int n = 0;
    for (const auto& q : quads)
      n += std::fabs(q.MinX() - p.PlaneLeft) < 1e-5 && std::fabs(q.MaxX() - p.PlaneRight) < 1e-5 &&
           std::fabs(q.MaxY() - p.PlaneTop) < 1e-5 && std::fabs(q.MinY() - p.PlaneBottom) < 1e-5;
    return n;
  }
  // Which of `panels` each quad is the untextured body of, in drawing order.
  static std::vector<int> BodyOrder(const std::vector<Quad>& quads, const std::vector<TGUIpanel*>& panels) {
    std::vector<int> order;
    for (const auto& q : quads)
      for (size_t i = 0; i < panels.size(); ++i)
        if (Bodies({q}, *panels[i])) order.push_back(static_cast<int>(i));
    return order;
  }
};
using HitTest = PanelTest;

}  // namespace

TEST_F(PanelTest, CreatePutsCornersInOrder) {
  TGUIpanel* p = Own(new TGUIpanel(240, 500, 40, 300, 0.1, 0.2, 0.3, 0.4, TGUISlot(&screen)));
  EXPECT_EQ(p->Kind, 1);
  EXPECT_EQ(p->ID, 1);
  EXPECT_EQ(ObjectCount, 2);
  EXPECT_EQ(Geometry(*p), (std::vector<int32_t>{40, 300, 240, 500, 200, 200, 140, 400}));
  EXPECT_TRUE(p->Visible);
  EXPECT_TRUE(p->Draggable);
  EXPECT_EQ(p->TextureRepeat, 1.0f);
  EXPECT_FALSE(p->HasHeader || p->HasFooter);
  EXPECT_EQ(p->Highlight, 0.0);
  EXPECT_FALSE(Panel(0, 0, 10, 10, TGUISlot(&p))->Draggable);
}

TEST_F(PanelTest, PlaneGeometryIn4to3AndWideAndChildrenFollow) {
  TGUIpanel* outer = Panel(100, 50, 300, 250, TGUISlot(&screen));
  TGUIpanel* inner = Panel(10, 20, 60, 80, TGUISlot(&outer));
  outer->AddChild(TGUISlot(&inner));
  testgl::ExpectNear({outer->PlaneLeft, outer->PlaneRight, outer->PlaneTop, outer->PlaneBottom, inner->PlaneLeft,
                      inner->PlaneTop, inner->PlaneX(5), inner->PlaneY(5)},
                     {(100.0 - 512) / 512 * 0.552, (300.0 - 512) / 512 * 0.552, (384.0 - 50) / 384 * 0.414,
                      (384.0 - 250) / 384 * 0.414, (110.0 - 512) / 512 * 0.552, (384.0 - 70) / 384 * 0.414,
                      static_cast<float>((115 - 512) * 0.001078125), static_cast<float>((384 - 75) * 0.001078125)},
                     1e-15);
  WideScreen = true;
  outer->Left = 200;
  outer->UpdatePosition();
  // PlaneX keeps the 4:3 factor in every mode.
  testgl::ExpectNear({outer->PlaneLeft, inner->PlaneLeft, outer->PlaneX(0)},
                     {(200.0 - 512) / 512 * 0.736, (210.0 - 512) / 512 * 0.736,
                      static_cast<float>((200 - 512) * 0.001078125)},
                     1e-15);
}

TEST_F(HitTest, EdgePixelsAreOutsidePanelsAndButtons) {
  TGUIpanel* outer = Panel(100, 100, 400, 400, TGUISlot(&screen));
  TGUIpanel* p = Panel(10, 20, 50, 60, TGUISlot(&outer));
  TGUIButton* b = Own(new TGUIButton(10, 20, 50, 60, 1, 1, 1, 1, TGUISlot(&outer)));
  const struct {
    int x, y;
    bool inside;
  } points[] = {{110, 100, false}, {111, 121, true}, {111, 120, false}, {110, 140, false}, {149, 159, true},
                {150, 159, false}, {149, 160, false}, {130, 121, true}};
  for (const auto& c : points) {
    Mouse(c.x, c.y, false);
    EXPECT_EQ(p->MouseInside(), c.inside) << c.x << "," << c.y;
    EXPECT_EQ(b->MouseInside(), c.inside) << c.x << "," << c.y;
  }
}

TEST_F(HitTest, OnlyTheLaterOfOverlappingSiblingsIsHot) {
  TGUIpanel* a = Panel(100, 100, 300, 300, TGUISlot(&screen));
  TGUIpanel* b = Panel(200, 200, 400, 400, TGUISlot(&screen));
  screen->Add(TGUISlot(&a));
  screen->Add(TGUISlot(&b));
  TGUIscreen* other = Own(new TGUIscreen());
  TGUIpanel* elsewhere = Panel(0, 0, 1000, 700, TGUISlot(&other));
  other->Add(TGUISlot(&elsewhere));
  Mouse(250, 250, false);
  EXPECT_FALSE(a->IsHot());
  EXPECT_TRUE(b->IsHot());
  Mouse(150, 150, false);
  EXPECT_TRUE(a->IsHot());
  EXPECT_FALSE(b->IsHot());
  // A hidden panel takes no input: it does not cover its siblings.
  b->Visible = false;
  Mouse(250, 250, false);
  EXPECT_TRUE(a->IsHot());
}

TEST_F(PanelTest, PressRaisesAndDragsWithChildrenButNotGrandchildren) {
  TGUIpanel* a = Panel(100, 120, 300, 320, TGUISlot(&screen), 0.5);
  TGUIpanel* b = Panel(200, 200, 400, 400, TGUISlot(&screen), 0.5);
  TGUIpanel* c = Panel(600, 600, 700, 700, TGUISlot(&screen), 0.5);
  TGUIpanel* child = Panel(10, 10, 60, 60, TGUISlot(&a));
  TGUIpanel* grandchild = Panel(5, 5, 20, 20, TGUISlot(&child));
  a->AddChild(TGUISlot(&child));
  child->AddChild(TGUISlot(&grandchild));
  screen->Add(TGUISlot(&a));
  screen->Add(TGUISlot(&b));
  screen->Add(TGUISlot(&c));
  const double childLeft0 = child->PlaneLeft, grandLeft0 = grandchild->PlaneLeft;
  // First frame of the press: a moves to the end of the list (the others keep their order), every
  // panel is drawn once, a still in its old place, and the drag begins.
  Mouse(250, 150, true);
  EXPECT_EQ(BodyOrder(ScreenQuads(), {a, b, c}), (std::vector<int>{0, 1, 2}));
  std::vector<TGUIobject*> order;
  for (const TGUISlot& slot : screen->Children) order.push_back(slot.Get());
  EXPECT_EQ(order, (std::vector<TGUIobject*>{b, c, a}));
  EXPECT_EQ(DragState(), (std::vector<int32_t>{true, a->ID, 150, 30}));
  EXPECT_EQ(a->Left, 100);
  // Following frames: the panel follows at the grab offset, drawn last.
  Mouse(270, 190, true);
  EXPECT_EQ(BodyOrder(ScreenQuads(), {a, b, c}), (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(Geometry(*a), (std::vector<int32_t>{120, 160, 320, 360, 200, 200, 200, 220}));
  EXPECT_NEAR(child->PlaneLeft - childLeft0, 20 * 0.552 / 512, 1e-12);
  EXPECT_DOUBLE_EQ(grandchild->PlaneLeft, grandLeft0);
  Frame(700, 500, true);
  EXPECT_EQ(a->Left, 550);
  EXPECT_EQ(a->Top, 470);
  Frame(700, 500, false);  // released over the panel
  EXPECT_FALSE(Dragging);
}

TEST_F(PanelTest, ADragStartsOnlyOverThePanelAndAnyReleaseEndsIt) {
  TGUIpanel* a = Panel(100, 100, 300, 300, TGUISlot(&screen));
  screen->Add(TGUISlot(&a));
  Frame(50, 50, true);  // pressed on empty space, then moved onto the panel
  EXPECT_FALSE(Dragging);
  Frame(120, 130, true);
  EXPECT_EQ(DragState(), (std::vector<int32_t>{true, a->ID, 20, 30}));
  // Moved fast: the panel trails the mouse by a frame, so the release lands outside it.
  Frame(900, 700, false);
  EXPECT_FALSE(Dragging);
  EXPECT_EQ(a->Left, 100);
  Frame(800, 20, true);
  EXPECT_EQ(a->Left, 100);
  EXPECT_EQ(a->Top, 100);
}

TEST_F(PanelTest, PressOverAChildButtonOrChildPanelNeitherRaisesNorDragsNorHighlights) {
  TGUIpanel* a = Panel(100, 100, 400, 400, TGUISlot(&screen), 0.5);
  TGUIpanel* b = Panel(350, 350, 500, 500, TGUISlot(&screen), 0.5);
  TGUIpanel* inner = Panel(10, 10, 60, 60, TGUISlot(&a), 0.5);
  TGUIButton* button = Own(new TGUIButton(100, 100, 200, 130, 1, 1, 1, 1, TGUISlot(&a)));
  a->Highlight = 0.2;
  a->AddChild(TGUISlot(&inner));
  a->AddChild(TGUISlot(&button));
  screen->Add(TGUISlot(&a));
  screen->Add(TGUISlot(&b));
  for (auto [x, y] : {std::pair{130, 130}, std::pair{250, 215}}) {
    Mouse(x, y, false);
    EXPECT_FALSE(a->IsHot());
    Mouse(x, y, true);
    const auto quads = ScreenQuads();
    EXPECT_FALSE(Dragging);
    EXPECT_EQ(screen->Children[0].Get(), a);
    ASSERT_FALSE(quads.empty());
    EXPECT_FLOAT_EQ(quads[0].v[0].r, 0.5f);
  }
  // Over its own empty surface it is hot, lighter, raised and dragged.
  Mouse(300, 300, true);
  const auto quads = ScreenQuads();
  EXPECT_TRUE(Dragging);
  EXPECT_EQ(screen->Children[1].Get(), a);
  EXPECT_FLOAT_EQ(quads[0].v[0].r, 0.7f);
  EXPECT_FLOAT_EQ(quads[0].v[0].a, 1.0f);  // 1.2, clamped by GL
}

TEST_F(PanelTest, AlphaZeroDrawsNoBodyButStillReactsAndDrawsChildren) {
  TGUIpanel* a = Panel(100, 100, 300, 300, TGUISlot(&screen), 1, 0);
  TGUIpanel* child = Panel(10, 10, 60, 60, TGUISlot(&a));
  a->AddChild(TGUISlot(&child));
  screen->Add(TGUISlot(&a));
  Mouse(250, 250, true);
  const auto quads = ScreenQuads();
  EXPECT_EQ(Bodies(quads, *a), 0);
  EXPECT_EQ(Bodies(quads, *child), 1);
  EXPECT_TRUE(Dragging);
}

TEST_F(PanelTest, HiddenPanelNeitherDrawsNorReactsNorShieldsItsParent) {
  TGUIpanel* a = Panel(100, 100, 300, 300, TGUISlot(&screen));
  TGUIpanel* child = Panel(10, 10, 60, 60, TGUISlot(&a));
  TGUIpanel* grand = Panel(1, 1, 5, 5, TGUISlot(&child));
  a->AddChild(TGUISlot(&child));
  child->AddChild(TGUISlot(&grand));
  child->Draggable = true;
  child->Visible = false;
  screen->Add(TGUISlot(&a));
  Mouse(130, 130, true);
  EXPECT_EQ(ScreenQuads().size(), 1u);
  // The press over the hidden child grabs the parent.
  EXPECT_TRUE(a->NoChildAtMouse());
  EXPECT_EQ(DragState(), (std::vector<int32_t>{true, a->ID, 30, 30}));
}

TEST_F(PanelTest, NullChildEntriesAreSkippedEverywhere) {
  TGUIpanel* a = Panel(100, 100, 300, 300, TGUISlot(&screen));
  TGUIpanel* empty = nullptr;
  a->AddChild(TGUISlot(nullptr));
  a->AddChild(TGUISlot(&empty));
  screen->Add(TGUISlot(&a));
  Mouse(150, 150, true);
  EXPECT_EQ(ScreenQuads().size(), 1u);
  EXPECT_TRUE(a->NoChildAtMouse());
  EXPECT_TRUE(a->NoChildPanelAtMouse());
  a->UpdatePosition();
  EXPECT_TRUE(Dragging);
}

TEST_F(PanelTest, NestedPanelMadeDraggableIsRaisedAmongItsSiblingsAndMovesRelativeToItsParent) {
  TGUIpanel* a = Panel(100, 100, 500, 500, TGUISlot(&screen));
  TGUIpanel* c1 = Panel(10, 10, 100, 100, TGUISlot(&a));
  TGUIpanel* c2 = Panel(200, 200, 300, 300, TGUISlot(&a));
  a->AddChild(TGUISlot(&c1));
  a->AddChild(TGUISlot(&c2));
  screen->Add(TGUISlot(&a));
  c1->Draggable = true;
  Frame(150, 150, true);  // 50, 50 inside a: inside c1
  EXPECT_EQ(a->Children[1].Get(), c1);
  EXPECT_EQ(DragState(), (std::vector<int32_t>{true, c1->ID, 150 - 10, 150 - 10}));
  Frame(160, 150, true);
  EXPECT_EQ(c1->Left, 20);
  EXPECT_EQ(a->Left, 100);
}

TEST_F(PanelTest, HighlightIsAddedOnlyWhileHotAndTheBodyFollowsThePlaneFieldsWhenWide) {
  TGUIpanel* a = Own(new TGUIpanel(100, 100, 300, 300, 0.5, 0.4, 0.3, 0.6, TGUISlot(&screen)));
  screen->Add(TGUISlot(&a));
  a->Highlight = 0.2;
  Mouse(20, 20, false);
  auto q = ScreenQuads();
  ASSERT_EQ(q.size(), 1u);
  testgl::ExpectNear({q[0].v[0].r, q[0].v[0].g, q[0].v[0].b, q[0].v[0].a}, {0.5, 0.4, 0.3, 0.6}, 1e-7);
  Mouse(200, 200, false);
  q = ScreenQuads();
  ASSERT_EQ(q.size(), 1u);
  testgl::ExpectNear({q[0].v[0].r, q[0].v[0].g, q[0].v[0].b, q[0].v[0].a}, {0.7, 0.6, 0.5, 0.8}, 1e-7);
  WideScreen = true;
  a->Left = 300;
  a->Right = 700;
  a->UpdatePosition();
  q = ScreenQuads();
  ASSERT_EQ(q.size(), 1u);
  ExpectRect(q[0], a->PlaneLeft, (384.0 - 300) / 384 * 0.414, (700.0 - 512) / 512 * 0.736, (384.0 - 100) / 384 * 0.414);
  EXPECT_DOUBLE_EQ(a->PlaneLeft, (300.0 - 512) / 512 * 0.736);
}

// ---- the textured frame --------------------------------------------------------------------------

namespace {

// A piece as offsets from the panel's corner and the texture coordinates at its top-left and
// bottom-right corners.
struct Piece {
  int x0, x1, y0, y1;
  float s0, s1, t0, t1;
};

void ExpectPiece(const Quad& q, const Piece& e, int absLeft, int absTop) {
  ExpectRect(q, VX(absLeft + e.x0), VY(absTop + e.y1), VX(absLeft + e.x1), VY(absTop + e.y0));
  testgl::ExpectNear(Corners(q), {e.s0, e.t0, e.s1, e.t1}, 1e-7);
}

}  // namespace

TEST_F(PanelTest, FramePiecesForEachHeaderFooterCombinationInsideAParent) {
  PanelTexture = SolidTexture(200, 200, 200, 255);
  const int W = 200, H = 150;
  TGUIpanel* outer = Panel(60, 70, 600, 600, TGUISlot(&screen));
  for (int combo = 0; combo < 4; ++combo) {
    const bool header = combo & 1, footer = combo & 2;
    SCOPED_TRACE(combo);
    TGUIpanel* p = Panel(40, 50, 40 + W, 50 + H, TGUISlot(&outer));
    p->HasHeader = header;
    p->HasFooter = footer;
    std::vector<Piece> e;
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
    const Piece fill = {9, W - 9, 27, H - 27, 0.2890625f, 0.296875f, 0.3203125f, 0.3125f};
    e.push_back(fill);
    if (header && footer) e.back() = {7, W - 7, 26, H - 26, fill.s0, fill.s1, fill.t0, fill.t1};
    if (footer && !header) e.back().y1 = H - 26;
    const auto quads = CaptureQuads([&] { p->Draw(); });
    ASSERT_EQ(quads.size(), e.size());
    for (size_t i = 0; i < e.size(); ++i) {
      SCOPED_TRACE(std::to_string(i));
      ExpectPiece(quads[i], e[i], 100, 120);
    }
  }
}

TEST_F(PanelTest, OwnTextureFillsTheInnerAreaWithRepeat) {
  PanelTexture = SolidTexture(200, 200, 200, 255);
  const GLuint own = SolidTexture(10, 20, 30, 255);
  const int W = 200, H = 150;
  const struct {
    bool header, footer;
    Piece inner;
  } cases[] = {
      {true, true, {6, W - 6, 25, H - 25, 0, 3, 3, 0}},
      {false, false, {5, W - 5, 5, H - 5, 0, 3, 3, 0}},
      {false, true, {5, W - 5, 5, H - 26, 0, 3, 3, 0}},
      {true, false, {5, W - 5, 26, H - 5, 0, 3, 3, 0}},
  };
  for (const auto& c : cases) {
    TGUIpanel* p = Panel(50, 60, 50 + W, 60 + H, TGUISlot(&screen));
    p->HasHeader = c.header;
    p->HasFooter = c.footer;
    p->Texture = own;
    p->TextureRepeat = 3.0f;
    const auto quads = CaptureQuads([&] { p->Draw(); });
    ASSERT_FALSE(quads.empty());
    ExpectPiece(quads.back(), c.inner, 50, 60);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), own);
  }
}
