// Buttons: the press state machine, enter/leave, the cross-fade, the body quads and the caption.
#include "GuiTestSupport.h"

#include <cmath>

using namespace guitest;

namespace {

struct Calls {
  int click = 0, enter = 0, leave = 0;
  uint8_t stateAtClick = 255;
  bool armedAtClick = true;
} calls;

class ButtonTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    calls = Calls{};
  }
  // A white button whose handlers count their calls; put in `*added` and on the screen when given.
  TGUIButton* Make(int l, int t, int r, int b, TGUISlot parent, TGUIButton** added = nullptr) {
    TGUIButton* button = Own(new TGUIButton(l, t, r, b, 1, 1, 1, 1, parent));
    button->OnClick = [](TGUIButton* self) {
      ++calls.click;
      calls.stateAtClick = self->State;
      calls.armedAtClick = self->ClickArmed;
    };
    button->OnEnter = [](TGUIButton*) { ++calls.enter; };
    button->OnLeave = [](TGUIButton*) { ++calls.leave; };
    if (added) {
      *added = button;
      screen->Add(TGUISlot(added));
    }
    return button;
  }
  TGUIButton* onScreen = nullptr;
};

}  // namespace

TEST_F(ButtonTest, CreateDefaults) {
  InstallBuiltinFont();
  TGUIButton* b = Own(new TGUIButton(300, 230, 100, 200, 0.1, 0.2, 0.3, 0.4, TGUISlot(&screen)));
  EXPECT_EQ(b->Kind, 4);
  EXPECT_EQ(Geometry(*b), (std::vector<int32_t>{100, 200, 300, 230, 200, 30, 200, 215}));
  EXPECT_EQ(b->Caption, "button");
  EXPECT_EQ(b->Blend, 0.01);
  EXPECT_EQ(b->State, TGUIButton::Normal);
  for (ButtonHandler h : {b->OnClick, b->OnEnter, b->OnLeave}) EXPECT_EQ(h, &DoNothing);
  EXPECT_EQ(b->Font.Texture, BuiltinFont.Texture);
  EXPECT_EQ(b->Font.Widths, BuiltinFont.Widths);
  EXPECT_EQ(b->TextBlue, 0.5);
  EXPECT_FALSE(b->ClickArmed || b->EnterArmed || b->Inside);
}

TEST_F(ButtonTest, ClickOnceOnTheReleaseFrameAndStayReleased) {
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&screen), &onScreen);
  Frame(150, 115, false);
  EXPECT_EQ(b->State, TGUIButton::Hover);
  Frame(150, 115, true, 3);
  EXPECT_EQ(b->State, TGUIButton::Pressed);
  EXPECT_EQ(calls.click, 0);
  Frame(150, 115, false);
  EXPECT_EQ(calls.click, 1);
  EXPECT_EQ(calls.stateAtClick, TGUIButton::Released);
  EXPECT_FALSE(calls.armedAtClick);
  Frame(150, 115, false, 2);
  EXPECT_EQ(calls.click, 1);
  EXPECT_EQ(b->State, TGUIButton::Released);
  Frame(10, 10, false);
  EXPECT_EQ(b->State, TGUIButton::Normal);
}

TEST_F(ButtonTest, LeavingWhileHeldCancelsAndComingBackReArms) {
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&screen), &onScreen);
  Frame(150, 115, true);
  Frame(300, 115, true);
  EXPECT_EQ(b->State, TGUIButton::Normal);
  Frame(300, 115, false);
  EXPECT_EQ(calls.click, 0);
  // Held again elsewhere, moved onto the button and released there: level-triggered, one click.
  Frame(300, 115, true);
  Frame(150, 115, true);
  EXPECT_EQ(b->State, TGUIButton::Pressed);
  Frame(150, 115, false);
  EXPECT_EQ(calls.click, 1);
}

TEST_F(ButtonTest, APanelDroppedOnTheButtonDoesNotPressIt) {
  TGUIpanel* p = Own(new TGUIpanel(300, 300, 400, 400, 1, 1, 1, 1, TGUISlot(&screen)));
  screen->Add(TGUISlot(&p));
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&screen), &onScreen);
  Frame(350, 350, true);      // the panel is grabbed ...
  Frame(150, 115, true, 2);   // ... carried over the button ...
  EXPECT_EQ(b->State, TGUIButton::Normal);
  EXPECT_FALSE(b->ClickArmed);
  Frame(150, 115, false, 2);  // ... and dropped there
  EXPECT_EQ(calls.click, 0);
  EXPECT_FALSE(Dragging);
  // A press that starts over the button is the button's, although the panel beneath it is grabbed
  // too: also when the panel is drawn first, as the demo draws its panel page before the buttons.
  std::swap(screen->Children.front(), screen->Children.back());
  Frame(150, 115, true);
  EXPECT_EQ(b->State, TGUIButton::Pressed);
  Frame(150, 115, false);
  EXPECT_EQ(calls.click, 1);
}

TEST_F(ButtonTest, EnterAndLeaveOnAScreenAlsoUnderAPanelDrawnOverIt) {
  Make(100, 100, 200, 130, TGUISlot(&screen), &onScreen);
  TGUIpanel* cover = Own(new TGUIpanel(0, 0, 400, 400, 1, 1, 1, 1, TGUISlot(&screen)));
  screen->Add(TGUISlot(&cover));  // drawn later, over the button: it does not shield a screen button
  // Over the button in its first frame: no enter (never seen outside), but a leave at the end.
  Frame(150, 115, false);
  EXPECT_EQ(calls.enter, 0);
  EXPECT_EQ(onScreen->State, TGUIButton::Hover);
  Frame(10, 10, false, 2);
  EXPECT_EQ(calls.leave, 1);
  Frame(150, 115, false, 2);
  EXPECT_EQ(calls.enter, 1);
  Frame(10, 10, false);
  EXPECT_EQ(calls.leave, 2);
}

TEST_F(ButtonTest, OnAPanelNoEnterOrLeaveAndOnlyWhereThePanelIsHot) {
  TGUIpanel* p = Own(new TGUIpanel(0, 0, 400, 400, 1, 1, 1, 1, TGUISlot(&screen)));
  TGUIpanel* cover = Own(new TGUIpanel(300, 300, 600, 600, 1, 1, 1, 1, TGUISlot(&screen)));
  TGUIButton* b = Make(200, 200, 350, 350, TGUISlot(&p));
  p->AddChild(TGUISlot(&b));
  screen->Add(TGUISlot(&p));
  screen->Add(TGUISlot(&cover));
  Frame(250, 250, false);
  EXPECT_EQ(b->State, TGUIButton::Hover);
  Frame(320, 320, false);  // inside the button, but under the later sibling panel
  EXPECT_EQ(b->State, TGUIButton::Normal);
  Frame(600, 700, false);
  Frame(250, 250, false);
  Frame(250, 250, true);
  Frame(250, 250, false);
  EXPECT_EQ(calls.click, 1);
  EXPECT_EQ(calls.enter + calls.leave, 0);
  EXPECT_FALSE(Dragging);
}

TEST_F(ButtonTest, BlendRatesPerStateKeptWithinZeroAndOne) {
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&screen), &onScreen);
  const struct {
    int x, frameTime;
    bool left;
    double before, after;  // before: NAN carries on from the last frame
  } steps[] = {{10, 10, false, NAN, 0.05},    // Normal: +0.004 per ms
               {10, 1000, false, NAN, 1.0},   // a long frame stops at 1 ...
               {150, 10, false, NAN, 0.92},   // ... so the hover look comes at once (-0.008)
               {150, 5000, false, NAN, 0.0},  // and stops at 0
               {150, 10, false, 0.5, 0.42},   // Hover: -0.008
               {150, 10, true, NAN, 0.48},    // Pressed: +0.006
               {150, 10, false, NAN, 0.44},   // Released: -0.004
               {150, 10, false, -0.001, 0.0}};
  for (const auto& s : steps) {
    FrameTime = s.frameTime;
    if (!std::isnan(s.before)) b->Blend = s.before;
    Frame(s.x, 115, s.left);
    EXPECT_NEAR(b->Blend, s.after, 1e-12);
  }
}

TEST_F(ButtonTest, AlphaZeroFreezesEverythingAndDrawsNothing) {
  InstallBuiltinFont();
  TGUIButton* b = Make(100, 100, 200, 130, TGUISlot(&screen), &onScreen);
  b->Alpha = 0;
  FrameTime = 10;
  Mouse(150, 115, true);
  EXPECT_TRUE(Capture([&] { screen->Draw(); }).empty());
  Frame(150, 115, false);
  EXPECT_EQ(b->State, TGUIButton::Normal);
  EXPECT_EQ(b->Blend, 0.01);
  EXPECT_EQ(calls.click + calls.enter + calls.leave, 0);
  b->Alpha = 0.001;
  EXPECT_EQ(ScreenQuads().size(), 6u + 6u);
}

TEST_F(ButtonTest, BodyQuadsTwoPassesWithTheirRowsAndOpacities) {
  TGUIpanel* p = Own(new TGUIpanel(40, 30, 600, 500, 1, 1, 1, 1, TGUISlot(&screen)));
  TGUIButton* b = Make(100, 100, 300, 140, TGUISlot(&p));
  b->Red = 0.25;
  b->Blend = 0.3;
  const float third = 1.0f / 3.0f, twoThirds = 2.0f / 3.0f;
  for (const bool pressed : {false, true}) {
    b->State = pressed ? TGUIButton::Pressed : TGUIButton::Normal;
    Mouse(pressed ? 200 : 0, pressed ? 150 : 0, pressed);  // pressed inside the button: stays Pressed
    const auto quads = CaptureQuads([&] { b->Draw(); });
    ASSERT_EQ(quads.size(), 6u);
    const int xs[4] = {0, 20, 180, 200};
    const float ss[4] = {0, 0.33203125f, 0.6640625f, 1};
    for (int pass = 0; pass < 2; ++pass)
      for (int i = 0; i < 3; ++i) {
        const Quad& q = quads[pass * 3 + i];
        SCOPED_TRACE(pass * 3 + i);
        ExpectRect(q, VX(140 + xs[i]), VY(170), VX(140 + xs[i + 1]), VY(130));
        testgl::ExpectNear(Corners(q), {ss[i], pass == 1 ? twoThirds : pressed ? third : 1.0f, ss[i + 1],
                                        pass == 1 ? third : pressed ? 0.0f : twoThirds}, 1e-7);
        EXPECT_FLOAT_EQ(q.v[0].r, 0.25f);
        EXPECT_NEAR(q.v[0].a, pass == 0 ? b->Blend : 1 - b->Blend, 1e-6);
      }
  }
}

TEST_F(ButtonTest, CaptionQuadsOfButtonWithTheBuiltinWidths) {
  InstallBuiltinFont();
  TGUIpanel* p = Own(new TGUIpanel(20, 10, 600, 500, 1, 1, 1, 1, TGUISlot(&screen)));
  TGUIButton* b = Make(100, 100, 300, 140, TGUISlot(&p));
  b->TextGreen = 0.75;
  const auto quads = CaptureQuads([&] { b->DrawCaption(); });
  ASSERT_EQ(quads.size(), 6u);
  const double ox = (20 + 100 + 30 - 522) * 0.552 / 522, oy = (350 - (10 + 100)) * 0.385 / 353;
  int pen = 0;
  for (int k = 0; k < 6; ++k) {
    SCOPED_TRACE(k);
    const int c = static_cast<unsigned char>("button"[k]), row = (c - 32) / 15, col = (c - 32) % 15;
    ExpectRect(quads[k], ox + pen / 500.0, oy, ox + (pen + 17) / 500.0, oy + 17 / 500.0);
    testgl::ExpectNear(Corners(quads[k]), {col * 17.0 / 256, row * 17.0 / 256, (col + 1) * 17.0 / 256,
                                           (row + 1) * 17.0 / 256}, 1e-6);
    testgl::ExpectNear({quads[k].v[0].g, quads[k].v[0].b}, {0.75, 0.5}, 1e-7);
    pen += testgl::kBuiltinWidths[c];
  }
  EXPECT_EQ(pen, 7 + 6 + 5 + 5 + 6 + 8);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), BuiltinFont.Texture);
}

TEST_F(ButtonTest, NoCaptionWithoutFontTextureOrText) {
  TGUIButton* early = Make(100, 100, 300, 140, TGUISlot(&screen));  // before the font exists
  InstallBuiltinFont();
  TGUIButton* b = Make(100, 100, 300, 140, TGUISlot(&screen));
  b->Caption.clear();
  EXPECT_TRUE(Capture([&] { early->DrawCaption(); }).empty());
  EXPECT_TRUE(Capture([&] { b->DrawCaption(); }).empty());
  b->Caption = "\x01z";  // below the base character: drawn, nothing crashes
  EXPECT_EQ(CaptureQuads([&] { b->DrawCaption(); }).size(), 2u);
}
