// The demonstration's scene on a real headless Mesa context: what BuildScene builds, the
// handlers, the page-change transition, the frame's back plate and the GL state DrawScene
// leaves, key handling, and rebuilding the scene as a fullscreen toggle does.
#include "GLHarness.h"
#include "main.h"

#include <gtest/gtest.h>

#include <GL/glu.h>

#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

class DemoScene : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
    std::error_code moved;
    std::filesystem::current_path(GLGUI_SOURCE_DIR, moved);
    ASSERT_FALSE(moved) << moved.message();
    window_ = TWindow{};
    window_.DC = static_cast<HDC>(gl_.DeviceContext());
    window_.KeyTable = &keys_;
    window_.App = &app_;
    window_.Title = "GUI  DEMO";
    window_.WindowWidth = 640;
    window_.WindowHeight = 480;
    window_.Active = 1;
    std::memset(&keys_, 0, sizeof keys_);
    MainWindow = &window_;
    Keys = &keys_;
    ScreenWidth = 640;
    ScreenHeight = 480;
    FrameTime = 0;
    FPS = 0;
    Running = 1;
    ZoomDistance = 0;
    ZoomingOut = 0;
    testgl::UsePlaneCamera(gl_);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    BuildScene();
    boxes_.Clear();  // art that is missing in a bare checkout is reported while building
    MouseAt(320, 239);
  }
  void TearDown() override {
    FreeScene();
    ZoomDistance = 0;
    ZoomingOut = 0;
    MainWindow = nullptr;
    Keys = nullptr;
  }
  // Puts the mouse at a window pixel and lets a frame turn it into virtual pixels.
  void MouseAt(int x, int y) {
    MouseX = PrevMouseX = x;
    MouseY = PrevMouseY = y;
    MouseLeft = 0;
    FrameTime = 0;
    DrawScene();
  }

  testgl::MessageBoxRecorder boxes_;
  testgl::HeadlessGL gl_{640, 480};
  TWindow window_{};
  TKeys keys_{};
  TApplication app_{nullptr, "OpenGL"};
};

TEST_F(DemoScene, StartsWithOnlyTheMainScreenAndItsElementsInTableOrder) {
  ASSERT_NE(MainScreen, nullptr);
  EXPECT_TRUE(MainScreen->Visible);
  EXPECT_FALSE(ButtonScreen->Visible);
  EXPECT_FALSE(TextScreen->Visible);
  EXPECT_FALSE(PanelScreen->Visible);
  EXPECT_TRUE(TitlePanel->Visible);
  EXPECT_FALSE(TitlePanel->Draggable);

  ASSERT_EQ(MainScreen->Children.size(), 6u);
  EXPECT_EQ(MainScreen->Children[0].Get(), TitlePanel);
  EXPECT_EQ(MainScreen->Children[1].Get(), VersionLabel);
  EXPECT_EQ(MainScreen->Children[2].Get(), PanelDemoButton);
  EXPECT_EQ(MainScreen->Children[5].Get(), ExitButton);
  ASSERT_EQ(TitlePanel->Children.size(), 1u);
  EXPECT_EQ(TitlePanel->Children[0].Get(), WelcomeLabel);
  EXPECT_EQ(VersionLabel->Parent.Get(), TitlePanel);
  EXPECT_EQ(VersionLabel->Text, "version 0.15");
  EXPECT_DOUBLE_EQ(VersionLabel->Alpha, 0.6);

  EXPECT_EQ(ButtonScreen->Children.size(), 7u);
  EXPECT_EQ(TextScreen->Children.size(), 10u);
  EXPECT_EQ(PanelScreen->Children.size(), 7u);
  ASSERT_EQ(PanelC->Children.size(), 1u);
  EXPECT_EQ(PanelC->Children[0].Get(), PanelD);
  EXPECT_EQ(PanelD->Parent.Get(), PanelC);
  EXPECT_TRUE(PanelB->HasHeader);
  EXPECT_FALSE(PanelB->HasFooter);
  EXPECT_TRUE(PanelC->HasHeader && PanelC->HasFooter);

  // Creation order: button page, text page, panel page, main screen.
  EXPECT_LT(ButtonScreen->ID, Button4->ID);
  EXPECT_LT(Button4->ID, TextScreen->ID);
  EXPECT_LT(FontTextureLabel->ID, PanelScreen->ID);
  EXPECT_LT(PanelD->ID, MainScreen->ID);
  EXPECT_LT(MainScreen->ID, ExitButton->ID);
}

TEST_F(DemoScene, ButtonsCarryTheirTagsCaptionsAndHandlers) {
  TGUIButton* nav[] = {PanelDemoButton, TextDemoButton, ButtonDemoButton, ExitButton};
  const char* navCaptions[] = {"panel demo", "text demo", "button demo", "exit"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(nav[i]->Tag, i);
    EXPECT_EQ(nav[i]->Caption, navCaptions[i]);
    EXPECT_EQ(nav[i]->OnClick, &SwitchDemoScreen);
    EXPECT_EQ(nav[i]->OnEnter, &PlayHoverSound);
  }
  EXPECT_EQ(PanelDemoButton->Width, 190);
  EXPECT_EQ(ExitButton->Width, 210);
  TGUIButton* page[] = {Button1, Button2, Button3, Button4};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(page[i]->Tag, i + 1);
    EXPECT_EQ(page[i]->Caption, "button " + std::to_string(i + 1));
    EXPECT_EQ(page[i]->OnClick, &ShowButtonMessage);
    EXPECT_EQ(page[i]->OnEnter, &PlayHoverSound);
    EXPECT_EQ(page[i]->OnLeave, &DoNothing);
    EXPECT_EQ(page[i]->Top, 130 + 40 * i);
  }
}

TEST_F(DemoScene, TextPageLabelsKeepTheirCodePage1250Bytes) {
  const std::string text = OutlineLabel->Text;
  ASSERT_EQ(text.size(), 32u);
  EXPECT_EQ(text.substr(0, 24), "Normal text (outline).  ");
  EXPECT_EQ(text.substr(24), "\xE9\xE1\xFB\xFA\xF5\xF3\xFC\xF6");
  // The first label is given the normal outline font; the Comic ones their filled font.
  EXPECT_EQ(DefaultSystemFont, OutlineFont);
  EXPECT_EQ(OutlineLabel->FontBase, OutlineFont);
  EXPECT_EQ(ComicLabel->FontBase, ComicFont);
  EXPECT_NE(OutlineFont, ComicFont);
  EXPECT_EQ(ScaledLabel->Text, "scaled ");
  EXPECT_DOUBLE_EQ(ScaledLabel->ScaleY, 0.15);
  EXPECT_EQ(FontTextureLabel->Texture, AltFontTexture);
}

TEST_F(DemoScene, ButtonMessageNamesTheButtonInTheProgramsCaption) {
  EXPECT_EQ(ButtonMessage(3), "A(z) 3. gomb lett lenyomva!");
  ShowButtonMessage(Button3);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, "A(z) 3. gomb lett lenyomva!");
  EXPECT_EQ(boxes_.Boxes()[0].caption, "GUI  DEMO");
  EXPECT_EQ(boxes_.Boxes()[0].type, MB_OK);
}

TEST_F(DemoScene, TransitionPullsBackExchangesThePageAtTheFarPointAndComesBack) {
  MouseAt(600, 50);
  SwitchDemoScreen(TextDemoButton);
  EXPECT_FALSE(TitlePanel->Visible);
  EXPECT_DOUBLE_EQ(ZoomDistance, 0.01);
  EXPECT_EQ(ZoomingOut, 1);
  EXPECT_EQ(TargetScreen, 1);
  EXPECT_EQ(ZoomMouseX, MouseVirtualX);
  EXPECT_EQ(ZoomMouseY, MouseVirtualY);

  SwitchDemoScreen(PanelDemoButton);  // ignored while the transition runs
  EXPECT_EQ(TargetScreen, 1);

  FrameTime = 100;  // 0.8 per frame
  int frames = 0;
  while (ZoomingOut && frames < 100) {
    EXPECT_FALSE(TextScreen->Visible);
    DrawScene();
    ++frames;
  }
  EXPECT_EQ(frames, 7);  // 0.01 + 7 x 0.8 = 5.61, held at the far point 5.0
  EXPECT_TRUE(TextScreen->Visible);
  EXPECT_FALSE(PanelScreen->Visible);
  EXPECT_EQ(ZoomDistance, 5.0);
  while (ZoomDistance != 0 && frames < 100) {
    DrawScene();
    ++frames;
  }
  EXPECT_EQ(frames, 14);  // 5.0 - 7 x 0.8 < 0: clamped to exactly 0
  EXPECT_EQ(ZoomDistance, 0.0);
  EXPECT_TRUE(TextScreen->Visible);
  EXPECT_EQ(Running, 1);

  FrameTime = 0;  // a frame without time leaves everything where it is
  DrawScene();
  EXPECT_EQ(ZoomDistance, 0.0);

  // From that page to another, in one long frame: the camera stops at the far point, the text
  // page goes and the button page comes.
  SwitchDemoScreen(ButtonDemoButton);
  FrameTime = 5000;
  DrawScene();
  EXPECT_EQ(ZoomDistance, 5.0);
  EXPECT_FALSE(TextScreen->Visible);
  EXPECT_TRUE(ButtonScreen->Visible);
}

TEST_F(DemoScene, ExitQuitsInTheFrameThatReachesTheFarPoint) {
  SwitchDemoScreen(ExitButton);
  FrameTime = 1000;
  DrawScene();
  EXPECT_EQ(Running, 0);
  EXPECT_FALSE(PanelScreen->Visible || TextScreen->Visible || ButtonScreen->Visible);
}

TEST_F(DemoScene, FrameFillsTheViewWithTheBackPlateAndRestoresTheGLState) {
  DrawScene();
  std::vector<uint8_t> pixels = gl_.ReadPixels();
  // Left and right edges, mid-height: nothing but the front face of the plate (0.3 grey).
  for (int x : {2, 637}) {
    const uint8_t* p = &pixels[(240 * 640 + x) * 4];
    EXPECT_NEAR(p[0], 77, 2) << x;
    EXPECT_NEAR(p[1], 77, 2) << x;
    EXPECT_NEAR(p[2], 77, 2) << x;
  }
  // The GUI is drawn without the depth test, and the labels leave it so.
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
  GLint value = 0;
  glGetIntegerv(GL_DEPTH_FUNC, &value);
  EXPECT_EQ(value, GL_ALWAYS);
  glGetIntegerv(GL_CULL_FACE_MODE, &value);
  EXPECT_EQ(value, GL_BACK);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0 : 0.0) << i;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(DemoScene, BackPlateIsTheFirstThingDrawnWithItsSixFacesInOrder) {
  auto polygons = testgl::Polygons(testgl::CaptureFeedback([] { DrawScene(); }));
  // The front face first: it covers the whole 640 x 480 view, in 0.3 grey.
  ASSERT_GE(polygons.size(), 2u);
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (int i = 0; i < 2; ++i)
    for (const auto& v : polygons[i].vertices) {
      minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
      minY = std::min(minY, v.y), maxY = std::max(maxY, v.y);
      EXPECT_NEAR(v.r, 0.3f, 0.01f);
    }
  // The mouse rests on the lean's centre, virtual (512, 382): the view looks straight at the
  // plate, whose face (+-0.552, +-0.414 at distance 1) then lies a fraction of a pixel inside the
  // view on each side, symmetrically.
  const double halfHeight = 240 * 0.414 / std::tan(22.5 * M_PI / 180);
  const double halfWidth = 320 * 0.552 / (std::tan(22.5 * M_PI / 180) * 4 / 3);
  testgl::ExpectNear({minX, maxX, minY, maxY},
                     {320 - halfWidth, 320 + halfWidth, 240 - halfHeight, 240 + halfHeight}, 0.005);
}

TEST_F(DemoScene, EscapeQuitsAndF1AsksForTheToggle) {
  MSG msg;
  ProcessKeys();
  EXPECT_EQ(Running, 1);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TOGGLEFULLSCREEN, WM_TOGGLEFULLSCREEN, PM_REMOVE));
  keys_.Down[VK_F1] = 1;
  ProcessKeys();
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_TOGGLEFULLSCREEN, WM_TOGGLEFULLSCREEN, PM_REMOVE));
  EXPECT_EQ(Running, 1);
  keys_.Down[VK_F1] = 0;
  keys_.Down[VK_ESCAPE] = 1;
  ProcessKeys();
  EXPECT_EQ(Running, 0);
}

TEST_F(DemoScene, RebuildingReplacesEveryElementAndStartsOver) {
  SwitchDemoScreen(PanelDemoButton);
  for (int round = 0; round < 5; ++round) {
    FreeScene();
    EXPECT_EQ(MainScreen, nullptr);
    EXPECT_EQ(PanelD, nullptr);
    BuildScene();
    ASSERT_NE(MainScreen, nullptr);
    EXPECT_TRUE(TitlePanel->Visible);
    EXPECT_FALSE(PanelScreen->Visible);
    EXPECT_EQ(MainScreen->Children[0].Get(), TitlePanel);
    DrawScene();
  }
  // A second BuildScene without FreeScene releases the first scene too.
  BuildScene();
  DrawScene();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(DemoScene, GLErrorsAreSaidEveryThirtiethFrameAndWhenTheSceneIsFreedOnly) {
  const auto said = [](auto run) {
    testing::internal::CaptureStderr();
    run();
    return testing::internal::GetCapturedStderr();
  };
  const auto times = [](const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  };
  const std::string invalidEnum = "GUI  DEMO: OpenGL error 0x0500 (invalid enumerant)\n";
  glEnable(0x7FFF);
  EXPECT_EQ(times(said([] {
                    for (int frame = 0; frame < 30; ++frame) DrawScene();  // one check in any 30
                  }),
                  invalidEnum),
            1u);
  glEnable(0x7FFF);
  EXPECT_EQ(said([] { FreeScene(); }), invalidEnum);
  // With no scene there is nothing to report for: the GL is not asked, and its error stays flagged.
  glEnable(0x7FFF);
  EXPECT_EQ(said([] { FreeScene(); }), "");
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_ENUM));
}

}  // namespace
