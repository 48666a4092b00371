// The main loop with real windows and contexts (SDL offscreen driver): frames, timing and FPS
// with an injected tick count, minimising, the fullscreen toggle, failures and quitting.
#include "AppHooks.h"
#include "GLHarness.h"
#include "GLWindow.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

using shelltest::App;

namespace {

DWORD gTick = 0;
DWORD FakeTicks() { return gTick; }

class LoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shelltest::ResetApp();
    gTick = 5000;
    SetTickSource(FakeTicks);
    FPS = FPSCount = 0;
    FPSLastTime = 0;
    FrameTime = 0;
    Fullscreen = 0;
  }
  void TearDown() override {
    SetTickSource(nullptr);
    shelltest::ResetApp();
    EXPECT_EQ(CountWindows(), 0);
    EXPECT_EQ(MainWindow, nullptr);
    ShowCursor(TRUE);  // RunWindowLoop hid the pointer for the run and leaves it so
  }
  int32_t Run(bool fullscreen = false) {
    return RunWindowLoop(640, 480, 32, "GUI  DEMO", fullscreen, false, GetModuleHandleA(nullptr));
  }
};

TEST_F(LoopTest, BuildsDrawsAndEndsOnQuitApp) {
  int builds = 0, frees = 0, frames = 0, keys = 0;
  PIXELFORMATDESCRIPTOR pfd{};
  bool gotFormat = false;
  GLint viewport[4] = {};
  GLint depthFunc = 0, blendSrc = 0, blendDst = 0;
  GLboolean depthTest = GL_FALSE, blend = GL_FALSE;
  RECT client{};
  App().build = [&] {
    ++builds;
    gotFormat = GetRequestedPixelFormat(MainWindow->DC, &pfd);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glGetIntegerv(GL_BLEND_SRC, &blendSrc);
    glGetIntegerv(GL_BLEND_DST, &blendDst);
    depthTest = glIsEnabled(GL_DEPTH_TEST);
    blend = glIsEnabled(GL_BLEND);
    GetClientRect(MainWindow->Handle, &client);
  };
  App().processKeys = [&] { ++keys; };
  App().draw = [&] {
    EXPECT_EQ(keys, frames + 1);  // ProcessKeys runs before DrawScene
    if (++frames == 3) QuitApp(*MainWindow);
  };
  App().free = [&] {
    ++frees;
    EXPECT_TRUE(IsWindow(MainWindow->Handle));  // FreeScene comes before the window goes
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(builds, 1);
  EXPECT_EQ(frees, 1);
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(Running, 0);
  ASSERT_TRUE(gotFormat);
  EXPECT_EQ(pfd.nSize, 40);
  EXPECT_EQ(pfd.nVersion, 1);
  EXPECT_EQ(pfd.dwFlags, 0x25u);
  EXPECT_EQ(pfd.cColorBits, 32);
  EXPECT_EQ(pfd.cDepthBits, 16);
  EXPECT_EQ(pfd.cStencilBits, 0);
  EXPECT_EQ(pfd.cAlphaBits, 0);
  EXPECT_EQ(pfd.cAccumBits, 0);
  EXPECT_EQ(viewport[2], 640);
  EXPECT_EQ(viewport[3], 480);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  EXPECT_EQ(depthFunc, GL_LEQUAL);
  EXPECT_EQ(blendSrc, GL_SRC_ALPHA);
  EXPECT_EQ(blendDst, GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_TRUE(depthTest);
  EXPECT_TRUE(blend);
}

// Ticks start at `start`; building the scene takes 250 ms and every frame 100 ms.
class FrameTimingTest : public LoopTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(FrameTimingTest, FrameTimeAndFpsUseWrappingDifferences) {
  gTick = GetParam();
  std::vector<uint32_t> frameTimes;
  std::vector<int32_t> fps;
  App().build = [&] { gTick += 250; };
  App().draw = [&] {
    frameTimes.push_back(FrameTime);
    fps.push_back(FPS);
    gTick += 100;
    if (frameTimes.size() == 25) QuitApp(*MainWindow);
  };
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(frameTimes.size(), 25u);
  EXPECT_EQ(frameTimes[0], 250u);  // the first frame spans the scene construction
  for (size_t i = 1; i < frameTimes.size(); ++i) EXPECT_EQ(frameTimes[i], 100u) << i;
  // The first frame closes an empty sampling window at once; the next closes 1000 ms later.
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(fps[i], 0) << i;
  for (size_t i = 10; i < 20; ++i) EXPECT_EQ(fps[i], 10) << i;
  EXPECT_EQ(fps[20], 10);
}

INSTANTIATE_TEST_SUITE_P(TickCounts, FrameTimingTest,
                         ::testing::Values(DWORD{5000}, DWORD{0x7FFFFC00}, DWORD{0xFFFFFC00}));

TEST_F(LoopTest, FpsCountersCarryOverAFullscreenToggle) {
  int frames = 0;
  App().draw = [&] {
    gTick += 100;
    ++frames;
    if (frames == 3) RequestFullscreenToggle(*MainWindow);
    if (frames == 6) QuitApp(*MainWindow);
  };
  testgl::MessageBoxRecorder boxes;
  EXPECT_EQ(Run(), 0);
  // Frames 1..6 all fell into the sampling window the first frame opened.
  EXPECT_EQ(FPSCount, 6);
  EXPECT_EQ(FPSLastTime, 5000u);
}

TEST_F(LoopTest, WhileMinimisedNoFrameIsDrawnAndTheLoopWaits) {
  std::atomic<bool> restorePushed{false};
  std::thread restorer;
  int frames = 0;
  GLint viewport[4] = {};
  App().draw = [&] {
    ++frames;
    if (frames == 2) {
      EXPECT_TRUE(PostMessageA(MainWindow->Handle, WM_SIZE, SIZE_MINIMIZED, 0));
      const Uint32 id = GetSdlWindowId(MainWindow->Handle);
      restorer = std::thread([id, &restorePushed] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        restorePushed = true;
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = id;
        e.window.event = SDL_WINDOWEVENT_RESTORED;
        SDL_PushEvent(&e);
      });
    }
    if (frames == 3) {
      EXPECT_TRUE(restorePushed);  // nothing was drawn between minimise and restore
      EXPECT_EQ(MainWindow->Active, 1);
      glGetIntegerv(GL_VIEWPORT, viewport);
      QuitApp(*MainWindow);
    }
  };
  EXPECT_EQ(Run(), 0);
  if (restorer.joinable()) restorer.join();
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(viewport[2], 640);
  EXPECT_EQ(viewport[3], 480);
}

TEST_F(LoopTest, FullscreenToggleRebuildsTheWindowInTheOtherMode) {
  int builds = 0, frees = 0, frames = 0;
  std::vector<HWND> handles;
  std::vector<uint8_t> runningAtFree, fullscreenAtFree, isFullscreenAtBuild;
  std::vector<RECT> clients;
  App().build = [&] {
    ++builds;
    frames = 0;
    handles.push_back(MainWindow->Handle);
    isFullscreenAtBuild.push_back(MainWindow->IsFullscreen);
    RECT r;
    GetClientRect(MainWindow->Handle, &r);
    clients.push_back(r);
  };
  App().draw = [&] {
    ++frames;
    if (builds == 1 && frames == 2) {
      RequestFullscreenToggle(*MainWindow);
      EXPECT_EQ(Fullscreen, 0);  // the request itself changes nothing
      MSG msg;
      ASSERT_TRUE(PeekMessageA(&msg, MainWindow->Handle, 0, 0, PM_NOREMOVE));
      EXPECT_EQ(msg.message, 1025u);
    }
    if (builds == 2 && frames == 1) QuitApp(*MainWindow);
  };
  App().free = [&] {
    ++frees;
    runningAtFree.push_back(Running);
    fullscreenAtFree.push_back(Fullscreen);
  };
  testgl::MessageBoxRecorder boxes;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(builds, 2);
  EXPECT_EQ(frees, 2);
  ASSERT_EQ(runningAtFree.size(), 2u);
  EXPECT_EQ(runningAtFree[0], 1);  // WM_QUIT was taken while Running stayed set
  EXPECT_EQ(fullscreenAtFree[0], 1);
  EXPECT_EQ(runningAtFree[1], 0);
  ASSERT_EQ(handles.size(), 2u);
  EXPECT_NE(handles[0], handles[1]);
  EXPECT_FALSE(IsWindow(handles[0]));
  // The offscreen display has no 640 x 480 mode: the switch fails and the window stays windowed,
  // its outer size 640 x 480 and its client area smaller.
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "Mode Switch Failed.\\nRunning In Windowed Mode.");
  EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
  EXPECT_EQ(boxes.Boxes()[0].type, MB_ICONEXCLAMATION);
  EXPECT_EQ(isFullscreenAtBuild[0], 0);
  EXPECT_EQ(isFullscreenAtBuild[1], 0);
  EXPECT_EQ(Fullscreen, 1);  // left as it was
  EXPECT_EQ(clients[0].right, 640);
  EXPECT_EQ(clients[0].bottom, 480);
  EXPECT_EQ(clients[1].right, 624);
  EXPECT_EQ(clients[1].bottom, 441);
}

TEST_F(LoopTest, SetDisplayModeRecordsTheSizeEvenWhenTheSwitchFails) {
  ScreenWidth = ScreenHeight = 0;
  EXPECT_FALSE(SetDisplayMode(640, 480, 32));
  EXPECT_EQ(ScreenWidth, 640);
  EXPECT_EQ(ScreenHeight, 480);
}

TEST_F(LoopTest, RegistrationFailureShowsBothMessagesAndReturnsMinusOne) {
  WNDCLASSEXA taken{};
  taken.cbSize = sizeof taken;
  taken.lpfnWndProc = DefWindowProcA;
  taken.hInstance = GetModuleHandleA(nullptr);
  taken.lpszClassName = "OpenGL";
  ASSERT_NE(RegisterClassExA(&taken), 0);
  int builds = 0;
  App().build = [&] { ++builds; };
  testgl::MessageBoxRecorder boxes;
  EXPECT_EQ(Run(), -1);
  EXPECT_TRUE(UnregisterClassA("OpenGL", GetModuleHandleA(nullptr)));
  EXPECT_EQ(builds, 0);
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(boxes.Boxes()[0].text, "RegisterClassEx Failed!");
  EXPECT_EQ(boxes.Boxes()[1].text, "Error Registering Window Class!");
  for (const auto& box : boxes.Boxes()) {
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.type, MB_ICONEXCLAMATION);
  }
  MainWindow = nullptr;
}

TEST_F(LoopTest, WindowCreationFailureEndsTheProgramWithItsMessage) {
  // No video driver of that name: the window cannot get an OpenGL surface.
  const char* previous = std::getenv("SDL_VIDEODRIVER");
  const std::string saved = previous ? previous : "";
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  int builds = 0, frees = 0;
  App().build = [&] { ++builds; };
  App().free = [&] { ++frees; };
  testgl::MessageBoxRecorder boxes;
  EXPECT_EQ(Run(), 0);
  if (previous)
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
  else
    unsetenv("SDL_VIDEODRIVER");
  EXPECT_EQ(builds, 0);
  EXPECT_EQ(frees, 0);
  EXPECT_EQ(Running, 0);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "Error Creating OpenGL Window");
  EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
}

TEST_F(LoopTest, RunAppRecordsTheSizeAndReturnsWhenTheWindowCloses) {
  ScreenWidth = ScreenHeight = 0;
  int32_t widthAtBuild = 0;
  App().build = [&] { widthAtBuild = ScreenWidth; };
  App().draw = [&] {
    // The close box: SDL's close event becomes WM_SYSCOMMAND/SC_CLOSE, then WM_CLOSE and QuitApp.
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = GetSdlWindowId(MainWindow->Handle);
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&e);
  };
  EXPECT_EQ(RunApp(640, 480, 32, "GUI  DEMO", false, false), 0);
  EXPECT_EQ(widthAtBuild, 640);
  EXPECT_EQ(Running, 0);
}

}  // namespace
