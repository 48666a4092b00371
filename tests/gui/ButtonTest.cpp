// Buttons: the press state machine, enter/leave, the cross-fade, the body quads and the caption.
#include "GuiTestSupport.h"

#include <cmath>

using namespace guitest;

namespace {

struct Calls {
  int click = 0, enter = 0, leave = 0;
  uint8_t stateAtClick = 255;
  bool armedAtClick = true;
};
Calls calls;

void CountClick(TGUIButton* b) {
  ++calls.click;
  calls.stateAtClick = b->State;
  calls.armedAtClick = b->ClickArmed;
}
void CountEnter(TGUIButton*) { ++calls.enter; }
void CountLeave(TGUIButton*) { ++calls.leave; }

class ButtonTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    calls = Calls{};
    screen = new TGUIscreen();
  }
  void TearDown() override {
    delete screen;
    GuiTest::TearDown();
  }
  TGUIButton* Make(int l, int t, int r, int b, TGUISlot parent) {
    TGUIButton* button = new TGUIButton(l, t, r, b, 1, 1, 1, 1, parent);
    button->OnClick = CountClick;
    button->OnEnter = CountEnter;
    button->OnLeave = CountLeave;
    return button;
  }
  void Mouse(int x, int y, bool left) {
    MouseVirtualX = x;
    MouseVirtualY = y;
    MouseLeft = left ? 1 : 0;
  }
  TGUIscreen* screen = nullptr;
};

}  // namespace

TEST_F(ButtonTest, CreateDefaults) {
  InstallBuiltinFont();
  TGUIButton* b = new TGUIButton(300, 230, 100, 200, 0.1, 0.2, 0.3, 0.4, TGUISlot(&screen));
  EXPECT_EQ(b->Kind, 4);
  EXPECT_EQ(b->Left, 100);
  EXPECT_EQ(b->Right, 300);
  EXPECT_EQ(b->Top, 200);
  EXPECT_EQ(b->Bottom, 230);
  EXPECT_EQ(b->Width, 200);
  EXPECT_EQ(b->CenterY, 215);
  EXPECT_EQ(b->Caption, "button");
  EXPECT_EQ(b->Blend, 0.01);
  EXPECT_EQ(b->State, TGUIButton::Normal);
  EXPECT_EQ(b->OnClick, &DoNothing);
  EXPECT_EQ(b->OnEnter, &DoNothing);
  EXPECT_EQ(b->OnLeave, &DoNothing);
  EXPECT_EQ(b->Font.Texture, BuiltinFont.Texture);
  EXPECT_EQ(b->Font.Widths, BuiltinFont.Widths);
  EXPECT_EQ(b->TextBlue, 0.5);
  EXPECT_FALSE(b->ClickArmed || b->EnterArmed || b->Inside);
  delete b;
}

TEST_F(ButtonTest, ClickOnceOnTheReleaseFrameAndStayReleased) {
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&screen));
  screen->Add(TGUISlot(&b));
  Mouse(150, 115, false);
  screen->Draw();
  EXPECT_EQ(b->State, TGUIButton::Hover);
  Mouse(150, 115, true);
  for (int i = 0; i < 3; ++i) screen->Draw();
  EXPECT_EQ(b->State, TGUIButton::Pressed);
  EXPECT_EQ(calls.click, 0);
  Mouse(150, 115, false);
  screen->Draw();
  EXPECT_EQ(calls.click, 1);
  EXPECT_EQ(calls.stateAtClick, TGUIButton::Released);
  EXPECT_FALSE(calls.armedAtClick);
  screen->Draw();
  screen->Draw();
  EXPECT_EQ(calls.click, 1);
  EXPECT_EQ(b->State, TGUIButton::Released);
  Mouse(10, 10, false);
  screen->Draw();
  EXPECT_EQ(b->State, TGUIButton::Normal);
  delete b;
}

TEST_F(ButtonTest, LeavingWhileHeldCancelsAndComingBackReArms) {
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&screen));
  screen->Add(TGUISlot(&b));
  Mouse(150, 115, true);
  screen->Draw();
  Mouse(300, 115, true);
  screen->Draw();
  EXPECT_EQ(b->State, TGUIButton::Normal);
  Mouse(300, 115, false);
  screen->Draw();
  EXPECT_EQ(calls.click, 0);
  // Held again elsewhere, moved onto the button and released there: level-triggered, one click.
  Mouse(300, 115, true);
  screen->Draw();
  Mouse(150, 115, true);
  screen->Draw();
  EXPECT_EQ(b->State, TGUIButton::Pressed);
  Mouse(150, 115, false);
  screen->Draw();
  EXPECT_EQ(calls.click, 1);
  delete b;
}

TEST_F(ButtonTest, EdgesAreOutside) {
  TGUIpanel* p = new TGUIpanel(50, 40, 600, 500, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&p));
  Mouse(200, 140, false);
  EXPECT_FALSE(b->MouseInside());
  Mouse(200, 141, false);
  EXPECT_TRUE(b->MouseInside());
  Mouse(200, 169, false);
  EXPECT_TRUE(b->MouseInside());
  Mouse(200, 170, false);
  EXPECT_FALSE(b->MouseInside());
  Mouse(150, 150, false);
  EXPECT_FALSE(b->MouseInside());
  Mouse(151, 150, false);
  EXPECT_TRUE(b->MouseInside());
  Mouse(249, 150, false);
  EXPECT_TRUE(b->MouseInside());
  Mouse(250, 150, false);
  EXPECT_FALSE(b->MouseInside());
  delete b;
  delete p;
}

TEST_F(ButtonTest, EnterAndLeaveOnAScreen) {
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&screen));
  screen->Add(TGUISlot(&b));
  // Over the button in its first frame: no enter (never seen outside), but a leave at the end.
  Mouse(150, 115, false);
  screen->Draw();
  EXPECT_EQ(calls.enter, 0);
  Mouse(10, 10, false);
  screen->Draw();
  screen->Draw();
  EXPECT_EQ(calls.leave, 1);
  Mouse(150, 115, false);
  screen->Draw();
  screen->Draw();
  EXPECT_EQ(calls.enter, 1);
  Mouse(10, 10, false);
  screen->Draw();
  EXPECT_EQ(calls.leave, 2);
  delete b;
}

TEST_F(ButtonTest, OnAPanelNoEnterOrLeaveAndOnlyWhereThePanelIsHot) {
  TGUIpanel* p = new TGUIpanel(0, 0, 400, 400, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIpanel* cover = new TGUIpanel(300, 300, 600, 600, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIButton* b = Make(200, 200, 350, 350, TGUISlot(&p));
  p->AddChild(TGUISlot(&b));
  screen->Add(TGUISlot(&p));
  screen->Add(TGUISlot(&cover));
  Mouse(250, 250, false);
  screen->Draw();
  EXPECT_EQ(b->State, TGUIButton::Hover);
  Mouse(320, 320, false);  // inside the button, but under the later sibling panel
  screen->Draw();
  EXPECT_EQ(b->State, TGUIButton::Normal);
  Mouse(600, 700, false);
  screen->Draw();
  Mouse(250, 250, false);
  screen->Draw();
  Mouse(250, 250, true);
  screen->Draw();
  Mouse(250, 250, false);
  screen->Draw();
  EXPECT_EQ(calls.click, 1);
  EXPECT_EQ(calls.enter + calls.leave, 0);
  EXPECT_FALSE(Dragging);
  delete b;
  delete cover;
  delete p;
}

TEST_F(ButtonTest, AScreenButtonReactsUnderAPanelDrawnOverIt) {
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&screen));
  TGUIpanel* p = new TGUIpanel(0, 0, 400, 400, 1, 1, 1, 1, TGUISlot(&screen));
  screen->Add(TGUISlot(&b));
  screen->Add(TGUISlot(&p));
  Mouse(150, 115, false);
  screen->Draw();
  EXPECT_EQ(b->State, TGUIButton::Hover);
  delete p;
  delete b;
}

TEST_F(ButtonTest, BlendRatesPerStateUnclamped) {
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&screen));
  screen->Add(TGUISlot(&b));
  FrameTime = 10;
  Mouse(10, 10, false);
  screen->Draw();  // Normal: +0.04
  EXPECT_NEAR(b->Blend, 0.05, 1e-12);
  FrameTime = 1000;
  screen->Draw();  // takes it far past 1, where it stays
  EXPECT_NEAR(b->Blend, 4.05, 1e-12);
  screen->Draw();
  EXPECT_NEAR(b->Blend, 4.05, 1e-12);
  b->Blend = 0.5;
  FrameTime = 10;
  Mouse(150, 115, false);
  screen->Draw();  // Hover: -0.08
  EXPECT_NEAR(b->Blend, 0.42, 1e-12);
  Mouse(150, 115, true);
  screen->Draw();  // Pressed: +0.06
  EXPECT_NEAR(b->Blend, 0.48, 1e-12);
  Mouse(150, 115, false);
  screen->Draw();  // Released: -0.04
  EXPECT_NEAR(b->Blend, 0.44, 1e-12);
  b->Blend = -0.001;
  screen->Draw();
  EXPECT_EQ(b->Blend, -0.001);
  delete b;
}

TEST_F(ButtonTest, AlphaZeroFreezesEverythingAndDrawsNothing) {
  InstallBuiltinFont();
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&screen));
  screen->Add(TGUISlot(&b));
  b->Alpha = 0;
  FrameTime = 10;
  Mouse(150, 115, true);
  EXPECT_TRUE(Capture([&] { screen->Draw(); }).empty());
  Mouse(150, 115, false);
  screen->Draw();
  EXPECT_EQ(b->State, TGUIButton::Normal);
  EXPECT_EQ(b->Blend, 0.01);
  EXPECT_EQ(calls.click + calls.enter + calls.leave, 0);
  b->Alpha = 0.001;
  EXPECT_EQ(QuadsOf(Capture([&] { screen->Draw(); })).size(), 6u + 6u);
  delete b;
}

TEST_F(ButtonTest, BodyQuadsTwoPassesWithTheirRowsAndOpacities) {
  TGUIpanel* p = new TGUIpanel(40, 30, 600, 500, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIButton* b = Make(100, 100, 300, 140, TGUISlot(&p));
  b->Red = 0.25;
  b->Blend = 0.3;
  const float third = 1.0f / 3.0f, twoThirds = 2.0f / 3.0f;
  struct Case {
    bool pressed;
    float stateT0, stateT1;
  } cases[] = {{false, 1.0f, twoThirds}, {true, third, 0.0f}};
  for (const auto& c : cases) {
    b->State = c.pressed ? TGUIButton::Pressed : TGUIButton::Normal;
    Mouse(0, 0, false);
    if (c.pressed) {
      p->HasHeader = false;
      Mouse(200, 150, true);  // inside the button: stays Pressed
    }
    const auto quads = QuadsOf(Capture([&] { b->Draw(); }));
    ASSERT_EQ(quads.size(), 6u);
    const double blend = b->Blend;
    const int xs[4] = {0, 20, 180, 200};
    const float ss[4] = {0, 0.33203125f, 0.6640625f, 1};
    for (int pass = 0; pass < 2; ++pass)
      for (int i = 0; i < 3; ++i) {
        const Quad& q = quads[pass * 3 + i];
        SCOPED_TRACE(pass * 3 + i);
        EXPECT_NEAR(q.MinX(), VX(140 + xs[i]), kPlaneEps);
        EXPECT_NEAR(q.MaxX(), VX(140 + xs[i + 1]), kPlaneEps);
        EXPECT_NEAR(q.MaxY(), VY(130), kPlaneEps);
        EXPECT_NEAR(q.MinY(), VY(170), kPlaneEps);
        EXPECT_FLOAT_EQ(q.TopLeft().s, ss[i]);
        EXPECT_FLOAT_EQ(q.BottomRight().s, ss[i + 1]);
        EXPECT_FLOAT_EQ(q.TopLeft().t, pass == 0 ? c.stateT0 : twoThirds);
        EXPECT_FLOAT_EQ(q.BottomRight().t, pass == 0 ? c.stateT1 : third);
        EXPECT_FLOAT_EQ(q.v[0].r, 0.25f);
        EXPECT_NEAR(q.v[0].a, pass == 0 ? blend : 1 - blend, 1e-6);
      }
  }
  delete b;
  delete p;
}

TEST_F(ButtonTest, CaptionQuadsOfButtonWithTheBuiltinWidths) {
  InstallBuiltinFont();
  TGUIpanel* p = new TGUIpanel(20, 10, 600, 500, 1, 1, 1, 1, TGUISlot(&screen));
  TGUIButton* b = Make(100, 100, 300, 140, TGUISlot(&p));
  b->TextGreen = 0.75;
  const auto quads = QuadsOf(Capture([&] { b->DrawCaption(); }));
  ASSERT_EQ(quads.size(), 6u);
  const double ox = (20 + 100 + 30 - 522) * 0.552 / 522;
  const double oy = (350 - (10 + 100)) * 0.385 / 353;
  const char* text = "button";
  int pen = 0;
  for (int k = 0; k < 6; ++k) {
    SCOPED_TRACE(k);
    const int c = static_cast<unsigned char>(text[k]);
    const int i = c - 32, row = i / 15, col = i % 15;
    const Quad& q = quads[k];
    EXPECT_NEAR(q.MinX(), ox + pen / 500.0, kPlaneEps);
    EXPECT_NEAR(q.MaxX() - q.MinX(), 17 / 500.0, kPlaneEps);
    EXPECT_NEAR(q.MinY(), oy, kPlaneEps);
    EXPECT_NEAR(q.MaxY(), oy + 17 / 500.0, kPlaneEps);
    EXPECT_NEAR(q.TopLeft().s, col * 17.0 / 256, 1e-6);
    EXPECT_NEAR(q.TopLeft().t, row * 17.0 / 256, 1e-6);
    EXPECT_NEAR(q.BottomRight().t, (row + 1) * 17.0 / 256, 1e-6);
    EXPECT_FLOAT_EQ(q.v[0].g, 0.75f);
    EXPECT_FLOAT_EQ(q.v[0].b, 0.5f);
    pen += kBuiltinWidths[c];
  }
  EXPECT_EQ(pen, 7 + 6 + 5 + 5 + 6 + 8);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), BuiltinFont.Texture);
  delete b;
  delete p;
}

TEST_F(ButtonTest, NoCaptionWithoutFontTextureOrText) {
  TGUIButton* early = Make(100, 100, 300, 140, TGUISlot(&screen));  // before the font exists
  InstallBuiltinFont();
  TGUIButton* b = Make(100, 100, 300, 140, TGUISlot(&screen));
  b->Caption.clear();
  EXPECT_TRUE(Capture([&] { early->DrawCaption(); }).empty());
  EXPECT_TRUE(Capture([&] { b->DrawCaption(); }).empty());
  b->Caption = "\x01z";  // below the base character: drawn, nothing crashes
  EXPECT_EQ(QuadsOf(Capture([&] { b->DrawCaption(); })).size(), 2u);
  delete b;
  delete early;
}
