// The keyboard's focus, the accessibility tree and the widened tap, as a program's frames meet them:
// key presses queued as the shell queues them, then the screen drawn and DrawCursor.
#include "GuiTestSupport.h"

#include <cmath>

using namespace guitest;

namespace {

int clicks = 0;
uint8_t stateAtClick = 255;

class AccessTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();  // the focus and the tree start afresh there
    for (TKeyPress k{}; PopKeyPress(k);) {
    }
    clicks = MouseTouch = 0;
  }
  void TearDown() override { MouseTouch = 0; }
  TGUIButton* AddButton(TGUIButton** slot, int l, int t, TGUISlot parent, const char* caption) {
    *slot = Own(new TGUIButton(l, t, l + 100, t + 30, 1, 1, 1, 1, parent));
    (*slot)->Caption = caption;
    (*slot)->OnClick = [](TGUIButton* b) {
      ++clicks;
      stateAtClick = b->State;
    };
    return *slot;
  }
  // One frame of a program: the screen, then the cursor, with the mouse at window pixel (x, y).
  void Tick(int x = 0, int y = 0, bool left = false) {
    MouseX = x;
    MouseY = y;
    MouseLeft = left ? 1 : 0;
    screen->Draw();
    DrawCursor();
  }
  void Keys(std::initializer_list<int> keys, bool shift = false) {
    for (int k : keys) PushKeyPress(static_cast<uint8_t>(k), shift);
  }
  const TAccessNode* Node(int32_t id) {
    for (const TAccessNode& n : AccessibilityTree().Nodes)
      if (n.ID == id) return &n;
    return nullptr;
  }
  TGUIpanel* panel = nullptr;
  TGUIButton *a = nullptr, *b = nullptr;
};

}  // namespace

TEST_F(AccessTest, TabWalksTheFocusablesInIdOrderAndWraps) {
  AddButton(&a, 100, 100, &screen, "a");
  panel = Own(new TGUIpanel(400, 300, 700, 500, 1, 1, 1, 1, &screen));  // made second, added last
  AddButton(&b, 100, 200, &screen, "b");
  screen->Add(&b);
  screen->Add(&a);
  screen->Add(&panel);
  screen->Add(&a);  // drawn twice, one stop of the focus
  screen->Add(&b);
  b->ID = 70000;  // a program may number its elements itself: still last, still one stop
  Tick();
  EXPECT_EQ(FocusedID, -1);
  EXPECT_FALSE(FocusVisible);
  std::vector<int32_t> seen;
  for (int i = 0; i < 4; ++i) {
    Keys({VK_TAB});
    Tick();
    seen.push_back(FocusedID);
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{a->ID, panel->ID, b->ID, a->ID}));
  EXPECT_TRUE(FocusVisible);
  Keys({VK_TAB}, true);
  Tick();
  EXPECT_EQ(FocusedID, b->ID);  // Shift+Tab from the first wraps to the last
  // A hidden element loses the focus, and the next Tab starts afresh.
  b->Visible = false;
  Tick();
  EXPECT_EQ(FocusedID, -1);
  EXPECT_FALSE(FocusVisible);
  Keys({VK_TAB}, true);
  Tick();
  EXPECT_EQ(FocusedID, panel->ID);
  gui_detail::ResetFocusAndTree();  // a new scene
  EXPECT_EQ(FocusedID, -1);
  EXPECT_FALSE(FocusVisible);
}

TEST_F(AccessTest, EnterPressesLikeAClickAndAPointerPressHidesTheRing) {
  AddButton(&a, 100, 100, &screen, "a");
  screen->Add(&a);
  Keys({VK_TAB, VK_RETURN, VK_RETURN});  // three presses within one frame: none is lost
  Tick();
  EXPECT_EQ(FocusedID, a->ID);
  Tick();
  EXPECT_EQ(a->State, TGUIButton::Pressed);
  EXPECT_EQ(Node(a->ID)->States & (AccessPressed | AccessFocused), AccessPressed | AccessFocused);
  EXPECT_EQ(clicks, 0);
  Tick();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(stateAtClick, TGUIButton::Released);
  Tick(2, 2);
  EXPECT_EQ(clicks, 1);  // the second Enter came while the first was pending
  Keys({VK_SPACE});
  Tick();
  Tick();
  Tick();
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(FocusVisible);
  Tick(2, 2, true);
  EXPECT_FALSE(FocusVisible);
  EXPECT_EQ(FocusedID, -1);  // pressed on nothing
  Tick(2, 2);
  Tick(90, 75);
  Tick(90, 75, true);  // pressed on the button: the focus goes there, unseen
  EXPECT_EQ(FocusedID, a->ID);
  EXPECT_FALSE(FocusVisible);
}

TEST_F(AccessTest, ArrowsMoveAFocusedDraggablePanelAndRaiseIt) {
  panel = Own(new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, &screen));
  TGUIpanel* other = Own(new TGUIpanel(200, 200, 400, 400, 1, 1, 1, 1, &screen));
  TGUIpanel* inner = Own(new TGUIpanel(10, 10, 50, 50, 1, 1, 1, 1, &panel));  // not draggable
  screen->Add(&panel);
  screen->Add(&other);
  panel->AddChild(&inner);
  Keys({VK_TAB, VK_RIGHT, VK_DOWN});
  Tick();
  EXPECT_EQ(Geometry(*panel), (std::vector<int32_t>{108, 108, 308, 308, 200, 200, 200, 200}));
  EXPECT_EQ(screen->Children.back().Get(), panel);
  Keys({VK_LEFT}, true);
  Keys({VK_TAB, VK_TAB, VK_UP});  // past the inner panel: back to this one, which does not move
  Tick();
  EXPECT_EQ(panel->Left, 107);
  EXPECT_EQ(FocusedID, panel->ID);
  EXPECT_EQ(other->Top, 200);
}

TEST_F(AccessTest, TheTreeSaysWhatTheFrameShowsWhereItShowsIt) {
  panel = Own(new TGUIpanel(100, 100, 300, 300, 1, 1, 1, 1, &screen));
  panel->Name = "settings";
  screen->Add(&panel);
  AddButton(&a, 20, 40, &panel, "\xE9l\xFB");  // "élű" in code page 1250
  panel->AddChild(&a);
  TGUIBmpLabel* label = Own(new TGUIBmpLabel(10, 10, TGUIBMPFONT{1, 10}, 0, "text", 1, 1, 1, 1, &panel));
  panel->AddChild(&label);
  // Placed by the panel but listed by the screen: shown, and read, only while the panel is.
  TGUIBmpLabel* placed = Own(new TGUIBmpLabel(10, 60, TGUIBMPFONT{1, 10}, 0, "placed", 1, 1, 1, 1, &panel));
  screen->Add(&placed);
  Tick();
  const auto& nodes = AccessibilityTree().Nodes;
  ASSERT_EQ(nodes.size(), 5u);
  EXPECT_EQ(nodes[0].Role, AccessRoleScreen);
  EXPECT_EQ((std::vector<int>{nodes[1].Role, nodes[1].Parent, nodes[2].Role, nodes[2].Parent, nodes[3].Role}),
            (std::vector<int>{AccessRoleGroup, 0, AccessRoleButton, 1, AccessRoleText}));
  EXPECT_EQ(nodes[1].Name, "settings");
  EXPECT_EQ(nodes[2].Name, "\xC3\xA9l\xC5\xB1");
  EXPECT_EQ(nodes[3].Name, "text");
  EXPECT_EQ(nodes[2].Actions, AccessActionPress | AccessActionFocus);
  // In the test's view the plane's -1..1 fills the 640 x 480 window.
  const double x0 = (VX(120) + 1) * 320, y0 = (1 - VY(140)) * 240, x1 = (VX(220) + 1) * 320, y1 = (1 - VY(170)) * 240;
  EXPECT_EQ((std::vector<double>{nodes[2].Left, nodes[2].Top, nodes[2].Right, nodes[2].Bottom}),
            (std::vector<double>{std::floor(x0), std::floor(y0), std::ceil(x1), std::ceil(y1)}));
  // The same frame again is no change, also where the program left its size out (the viewport's
  // is taken); the mouse over the button is.
  const uint32_t version = AccessibilityTree().Version;
  ScreenHeight = 0;
  Tick();
  ScreenHeight = 480;
  EXPECT_EQ(AccessibilityTree().Version, version);
  Tick(170 * 640 / 1024, 155 * 480 / 768);
  Tick(170 * 640 / 1024, 155 * 480 / 768);  // the elements see the mouse a frame late
  EXPECT_NE(AccessibilityTree().Version, version);
  EXPECT_TRUE(Node(a->ID)->States & AccessHovered);
  // Hidden with its panel, the label and the button leave the tree.
  panel->Visible = false;
  Tick();
  EXPECT_EQ(AccessibilityTree().Nodes.size(), 1u);
}

TEST_F(AccessTest, AnElementMovedToAnotherContainerIsAChangeOfTheTree) {
  panel = Own(new TGUIpanel(0, 0, 1024, 768, 1, 1, 1, 0, &screen));  // adds nothing to a child's place
  screen->Add(&panel);
  AddButton(&a, 100, 100, &screen, "a");
  screen->Add(&a);
  Tick();
  const uint32_t version = AccessibilityTree().Version;
  screen->Children.pop_back();
  panel->AddChild(&a);
  a->Parent = &panel;
  Tick();
  EXPECT_EQ(AccessibilityTree().Nodes[2].Parent, 1);
  EXPECT_NE(AccessibilityTree().Version, version);
}

TEST_F(AccessTest, ANamedScreenComingIntoViewIsAnnouncedOnce) {
  TGUIscreen* page = Own(new TGUIscreen());
  page->Name = "page";
  const auto frame = [&] {
    screen->Draw();
    page->Draw();
    DrawCursor();
  };
  frame();
  EXPECT_EQ(AccessibilityTree().Announcement, "");  // shown from the start: no news
  page->Visible = false;
  frame();
  page->Visible = true;
  frame();
  EXPECT_EQ(AccessibilityTree().Announcement, "page");
  const uint32_t serial = AccessibilityTree().AnnouncementSerial;
  frame();
  EXPECT_EQ(AccessibilityTree().Announcement, "");
  EXPECT_EQ(AccessibilityTree().AnnouncementSerial, serial);
}

TEST_F(AccessTest, ActionsFromOutsideRunAsTheKeyboardWould) {
  AddButton(&a, 100, 100, &screen, "a");
  screen->Add(&a);
  TGUIBmpLabel* label = Own(new TGUIBmpLabel(10, 10, TGUIBMPFONT{1, 10}, 0, "text", 1, 1, 1, 1, &screen));
  screen->Add(&label);
  EXPECT_FALSE(RunAccessAction(a->ID, AccessActionPress));  // no frame yet: nothing to act on
  Tick();
  EXPECT_FALSE(RunAccessAction(label->ID, AccessActionPress));
  EXPECT_FALSE(RunAccessAction(999, AccessActionFocus));
  EXPECT_FALSE(RunAccessAction(a->ID, 4));
  EXPECT_TRUE(RunAccessAction(a->ID, AccessActionFocus));
  Tick();
  EXPECT_EQ(FocusedID, a->ID);
  EXPECT_TRUE(FocusVisible);
  Tick(2, 2, true);
  EXPECT_TRUE(RunAccessAction(a->ID, AccessActionPress));
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(FocusedID, a->ID);
  EXPECT_TRUE(FocusVisible);
}

TEST_F(AccessTest, AButtonHeldAsTheSceneStartsIsAPressOnIt) {
  AddButton(&a, 100, 100, &screen, "a");
  screen->Add(&a);
  Mouse(144, 120, true);  // over a, as the elements see it
  MouseX = 90;
  MouseY = 75;
  screen->Draw();
  DrawCursor();
  EXPECT_EQ(FocusedID, a->ID);
}

TEST_F(AccessTest, ATapThatJustMissesOneButtonPressesIt) {
  // Window pixels in 640 x 480: a (100..200, 100..130 virtual) spans y 62.5..81.25.
  AddButton(&a, 100, 100, &screen, "a");
  AddButton(&b, 100, 158, &screen, "b");  // y 98.75..117.5
  screen->Add(&a);
  screen->Add(&b);
  panel = Own(new TGUIpanel(205, 90, 400, 300, 1, 1, 1, 1, &screen));
  screen->Add(&panel);
  const auto tap = [&](int x, int y) {
    MouseTouch = 1;
    Tick(x, y);
    Tick(x, y, true);
    Tick(x, y);
    Tick(0, 0);
    MouseTouch = 0;
    Tick(0, 0);
  };
  tap(90, 52);  // 10.5 pixels above a
  EXPECT_EQ(clicks, 1);
  tap(90, 90);   // 8.75 pixels from both a and b: neither
  tap(90, 40);   // beyond the reach
  tap(132, 70);  // 7 pixels right of a, but on the panel
  EXPECT_EQ(clicks, 1);
  // In the test's view a is drawn at x 178..213, y 166..175, far from where it is hit: a tap
  // beside what is drawn counts too.
  panel->Visible = false;
  tap(172, 170);
  EXPECT_EQ(clicks, 2);
  MouseLeft = 0;
  Tick(90, 52, true);  // the mouse is exact
  Tick(90, 52);
  EXPECT_EQ(clicks, 2);
}

TEST(KeyPressQueue, KeepsOrderAndDropsTheNewestWhenFull) {
  for (TKeyPress k{}; PopKeyPress(k);) {
  }
  for (int i = 0; i < 40; ++i) PushKeyPress(static_cast<uint8_t>(i), i == 1);
  std::vector<int> keys;
  for (TKeyPress k{}; PopKeyPress(k);) keys.push_back(k.Key + 100 * k.Shift);
  ASSERT_EQ(keys.size(), 32u);
  EXPECT_EQ(keys[0], 0);
  EXPECT_EQ(keys[1], 101);
  EXPECT_EQ(keys.back(), 31);
}
