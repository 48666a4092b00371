// The main loop with real windows and contexts (SDL's offscreen driver on Linux, the real API
// under Wine on Windows): frames, timing and FPS with an injected tick count, minimising, the
// fullscreen toggle, failures, and the ways a window closes. Events from outside come from the
// platform's injector (EventInjector.h).
#include "EventInjector.h"
#include "GLHarness.h"
#include "GLWindow.h"
#include "PlatformHooks.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The application operations the shell calls, routed to whatever the current test wants.
static std::function<void()> gBuild, gProcessKeys, gDraw, gFree;
void BuildScene() { if (gBuild) gBuild(); }
void ProcessKeys() { if (gProcessKeys) gProcessKeys(); }
void DrawScene() { if (gDraw) gDraw(); }
void FreeScene() { if (gFree) gFree(); }

namespace {

DWORD gTick = 0;
DWORD FakeTicks() { return gTick; }

GLint GetInteger(GLenum name, int index = 0) {
  GLint values[4] = {};
  glGetIntegerv(name, values);
  return values[index];
}

std::vector<LONG> ClientSize() {
  RECT r{};
  GetClientRect(MainWindow->Handle, &r);
  return {r.right, r.bottom};
}

std::vector<LONG> OuterSize() {
  RECT r{};
  GetWindowRect(MainWindow->Handle, &r);
  return {r.right - r.left, r.bottom - r.top};
}

class LoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gBuild = gProcessKeys = gDraw = gFree = nullptr;
    gTick = 5000;
    SetTickSource(FakeTicks);
    FPS = FPSCount = 0;
    FPSLastTime = FrameTime = 0;
    Fullscreen = 0;
  }
  void TearDown() override {
    SetTickSource(nullptr);
    gBuild = gProcessKeys = gDraw = gFree = nullptr;
    EXPECT_EQ(inject::ShellWindowCount(), 0);
    EXPECT_EQ(MainWindow, nullptr);
    ShowCursor(TRUE);  // RunWindowLoop hid the pointer for the run and leaves it so
  }
  int32_t Run() { return RunWindowLoop(640, 480, 32, "GUI  DEMO", false, false, GetModuleHandleA(nullptr)); }
  // Text, caption and type of each box shown.
  static std::vector<std::string> Shown(const testgl::MessageBoxRecorder& boxes) {
    std::vector<std::string> out;
    for (const auto& box : boxes.Boxes())
      out.push_back(box.text + " | " + box.caption + " | " + std::to_string(box.type));
    return out;
  }
  const std::string error = " | Error | " + std::to_string(MB_ICONEXCLAMATION);
};

TEST_F(LoopTest, BuildsDrawsAndEndsOnQuitApp) {
  int builds = 0, frees = 0, frames = 0, keys = 0;
  PIXELFORMATDESCRIPTOR granted{}, requested{};
  bool haveRequest = false;
  std::string title;
  std::vector<long> state;
  gBuild = [&] {
    ++builds;
    granted = inject::GrantedPixelFormat(MainWindow->DC);
    haveRequest = inject::RequestedPixelFormat(MainWindow->DC, &requested);
    title = inject::WindowTitle(MainWindow->Handle);
    state = {GetInteger(GL_VIEWPORT, 2), GetInteger(GL_VIEWPORT, 3), ClientSize()[0], ClientSize()[1],
             GetInteger(GL_DEPTH_FUNC), GetInteger(GL_BLEND_SRC), GetInteger(GL_BLEND_DST), glIsEnabled(GL_DEPTH_TEST),
             glIsEnabled(GL_BLEND)};
  };
  gProcessKeys = [&] { ++keys; };
  gDraw = [&] {
    EXPECT_EQ(keys, frames + 1);  // ProcessKeys runs before DrawScene
    if (++frames == 3) QuitApp(*MainWindow);
  };
  gFree = [&] {
    ++frees;
    EXPECT_TRUE(IsWindow(MainWindow->Handle));  // FreeScene comes before the window goes
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(std::vector<int>({builds, frees, frames, Running}), std::vector<int>({1, 1, 3, 0}));
  EXPECT_EQ(title, "GUI  DEMO");
  // The format granted: double-buffered OpenGL in a window (flags 0x25), 32 colour bits, a depth
  // buffer of at least the 16 bits asked for.
  EXPECT_EQ(granted.dwFlags & 0x25, 0x25u);
  EXPECT_EQ(granted.cColorBits, 32);
  EXPECT_GE(granted.cDepthBits, 16);
  // Where the system keeps the request, all of it: size, version, flags, colour, depth, stencil,
  // alpha, accumulation bits.
  if (haveRequest) {
    EXPECT_EQ(std::vector<long>({requested.nSize, requested.nVersion, long(requested.dwFlags), requested.cColorBits,
                                 requested.cDepthBits, requested.cStencilBits, requested.cAlphaBits,
                                 requested.cAccumBits}),
              std::vector<long>({40, 1, 0x25, 32, 16, 0, 0, 0}));
  }
  EXPECT_EQ(state, std::vector<long>({640, 480, 640, 480, GL_LEQUAL, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, 1, 1}));
}

// Ticks start at `start`; building the scene takes 250 ms and every frame 100 ms.
class FrameTimingTest : public LoopTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(FrameTimingTest, FrameTimeAndFpsUseWrappingDifferences) {
  gTick = GetParam();
  std::vector<uint32_t> frameTimes;
  std::vector<int32_t> fps;
  gBuild = [&] { gTick += 250; };
  gDraw = [&] {
    frameTimes.push_back(FrameTime);
    fps.push_back(FPS);
    gTick += 100;
    if (frameTimes.size() == 21) QuitApp(*MainWindow);
  };
  EXPECT_EQ(Run(), 0);
  // The first frame spans the scene construction. It closes an empty sampling window at once; the
  // next closes 1000 ms later.
  std::vector<uint32_t> expectedTimes(21, 100);
  expectedTimes[0] = 250;
  std::vector<int32_t> expectedFps(21, 10);
  std::fill(expectedFps.begin(), expectedFps.begin() + 10, 0);
  EXPECT_EQ(frameTimes, expectedTimes);
  EXPECT_EQ(fps, expectedFps);
}

INSTANTIATE_TEST_SUITE_P(TickCounts, FrameTimingTest,
                         ::testing::Values(DWORD{5000}, DWORD{0x7FFFFC00}, DWORD{0xFFFFFC00}));

TEST_F(LoopTest, WhileMinimisedNoFrameIsDrawnAndTheLoopWaits) {
  std::atomic<bool> restoreSent{false};
  std::unique_ptr<inject::Delivery> restorer;
  int frames = 0;
  std::vector<int> atRestore;
  gDraw = [&] {
    if (++frames == 2) {
      EXPECT_TRUE(PostMessageA(MainWindow->Handle, WM_SIZE, SIZE_MINIMIZED, 0));
      // The restore comes from outside once the loop waits; a loop that drew while minimised
      // would draw its third frame before it.
      restorer = inject::DeliverWhenLoopWaits(
          MainWindow->Handle, [&restoreSent, restore = inject::RestoreEvent(MainWindow->Handle)] {
            restoreSent = true;
            restore();
          });
    }
    if (frames == 3) {
      atRestore = {restoreSent, MainWindow->Active, GetInteger(GL_VIEWPORT, 2), GetInteger(GL_VIEWPORT, 3)};
      QuitApp(*MainWindow);
    }
  };
  EXPECT_EQ(Run(), 0);
  restorer.reset();
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(atRestore, std::vector<int>({1, 1, 640, 480}));
}

TEST_F(LoopTest, FullscreenToggleRebuildsTheWindowAndKeepsTheFpsCounters) {
  int frames = 0;
  std::vector<HWND> handles;
  std::vector<int> atBuild, atFree;  // IsFullscreen at each build; Running and Fullscreen at each free
  std::vector<std::vector<LONG>> outers, clients;
  gBuild = [&] {
    frames = 0;
    handles.push_back(MainWindow->Handle);
    atBuild.push_back(MainWindow->IsFullscreen);
    outers.push_back(OuterSize());
    std::vector<LONG> sizes = ClientSize();
    sizes.insert(sizes.end(), {ScreenWidth, ScreenHeight, GetInteger(GL_VIEWPORT, 2), GetInteger(GL_VIEWPORT, 3)});
    clients.push_back(sizes);
  };
  gDraw = [&] {
    gTick += 100;
    if (++frames == 2 && handles.size() == 1) {
      RequestFullscreenToggle(*MainWindow);
      EXPECT_EQ(Fullscreen, 0);  // the request itself changes nothing
      MSG msg;
      ASSERT_TRUE(PeekMessageA(&msg, MainWindow->Handle, 0, 0, PM_NOREMOVE));
      EXPECT_EQ(msg.message, 1025u);
    }
    if (handles.size() == 2) QuitApp(*MainWindow);
  };
  gFree = [&] { atFree.insert(atFree.end(), {Running, Fullscreen}); };
  testgl::MessageBoxRecorder boxes;
  EXPECT_EQ(Run(), 0);
  // WM_QUIT was taken while Running stayed set; then the scene was built again.
  EXPECT_EQ(atFree, std::vector<int>({1, 1, 0, 0}));
  ASSERT_EQ(handles.size(), 2u);
  EXPECT_NE(handles[0], handles[1]);
  EXPECT_FALSE(IsWindow(handles[0]));
  // The test display (SDL's offscreen one, or Xvfb's 1024 x 768 under Wine) has no 640 x 480
  // mode: the switch fails and the window stays windowed, its outer size 640 x 480 and its client
  // area smaller by the frame; the viewport and screen size follow the client area, and
  // Fullscreen says windowed, so that the next toggle tries fullscreen again.
  EXPECT_EQ(Shown(boxes), std::vector<std::string>{"Mode Switch Failed.\\nRunning In Windowed Mode." + error});
  EXPECT_EQ(atBuild, std::vector<int>({0, 0}));
  EXPECT_EQ(Fullscreen, 0);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW);
  const LONG width = 640 - (frame.right - frame.left), height = 480 - (frame.bottom - frame.top);
  ASSERT_EQ(outers.size(), 2u);
  EXPECT_EQ(outers[1], std::vector<LONG>({640, 480}));
  EXPECT_EQ(clients, (std::vector<std::vector<LONG>>{{640, 480, 640, 480, 640, 480},
                                                     {width, height, width, height, width, height}}));
  EXPECT_LT(width, 640);
  EXPECT_LT(height, 480);
  // The FPS counters carry over: all three frames fell into the sampling window the first opened.
  EXPECT_EQ(FPSCount, 3);
  EXPECT_EQ(FPSLastTime, 5000u);
}

TEST_F(LoopTest, SetDisplayModeRecordsTheSizeEvenWhenTheSwitchFails) {
  ScreenWidth = ScreenHeight = 0;
  EXPECT_FALSE(SetDisplayMode(640, 480, 32));
  EXPECT_EQ(ScreenWidth * 1000 + ScreenHeight, 640480);
}

TEST_F(LoopTest, RegistrationFailureShowsBothMessagesAndReturnsMinusOne) {
  // The shell's class name already taken.
  const WNDCLASSEXA taken{sizeof(WNDCLASSEXA), 0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr),
                          nullptr, nullptr, nullptr, nullptr, "OpenGL", nullptr};
  ASSERT_NE(RegisterClassExA(&taken), 0);
  int builds = 0;
  gBuild = [&] { ++builds; };
  testgl::MessageBoxRecorder boxes;
  EXPECT_EQ(Run(), -1);
  EXPECT_TRUE(UnregisterClassA("OpenGL", GetModuleHandleA(nullptr)));
  EXPECT_EQ(builds, 0);
  EXPECT_EQ(Shown(boxes),
            std::vector<std::string>({"RegisterClassEx Failed!" + error, "Error Registering Window Class!" + error}));
  MainWindow = nullptr;
}

TEST_F(LoopTest, WindowCreationFailureEndsTheProgramWithItsMessage) {
  int calls = 0;
  gBuild = gFree = [&] { ++calls; };
  testgl::MessageBoxRecorder boxes;
  inject::RefuseWindowCreation();
  EXPECT_EQ(Run(), 0);
  inject::AllowWindowCreation();
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(Running, 0);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text + " | " + boxes.Boxes()[0].caption, "Error Creating OpenGL Window | Error");
}

TEST_F(LoopTest, RunAppRecordsTheSizeAndReturnsWhenTheWindowCloses) {
  ScreenWidth = ScreenHeight = 0;
  int32_t widthAtBuild = 0;
  int frames = 0;
  gBuild = [&] {
    widthAtBuild = ScreenWidth;
    frames = 0;
  };
  // The close box: WM_SYSCOMMAND/SC_CLOSE, which the default procedure turns into WM_CLOSE and the
  // window procedure into QuitApp.
  gDraw = [&] {
    if (++frames == 1) inject::ClickCloseBox(MainWindow->Handle);
  };
  EXPECT_EQ(RunApp(640, 480, 32, "GUI  DEMO", false, false), 0);
  EXPECT_EQ(widthAtBuild, 640);
  EXPECT_EQ(Running, 0);
  EXPECT_GE(frames, 1);
  // Asked to end from outside: the window gets WM_CLOSE.
  gDraw = [&] {
    if (++frames == 1) inject::AskToEnd(MainWindow->Handle);
  };
  EXPECT_EQ(RunApp(640, 480, 32, "GUI  DEMO", false, false), 0);
  EXPECT_EQ(Running, 0);
  EXPECT_GE(frames, 1);
}

}  // namespace
