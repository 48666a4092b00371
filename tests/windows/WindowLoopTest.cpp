// The shell on the real Win32 API with real windows and WGL contexts: the messages a window gets
// at creation, the pointer counter, display modes, and the main loop (frames, timing and FPS with
// an injected tick count, minimising, the close box, the fullscreen toggle).
#include "GLHarness.h"
#include "GLWindow.h"
#include "PlatformHooks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
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

std::vector<UINT> gSeen;  // what the spy procedure received, in order
LPARAM gSizeParam = 0;

LRESULT CALLBACK SpyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  gSeen.push_back(message);
  if (message == WM_SIZE) gSizeParam = lParam;
  return WndProc(hWnd, message, wParam, lParam);
}

// Only the messages the window procedure acts on at creation.
std::vector<UINT> ShellMessages(const std::vector<UINT>& all) {
  std::vector<UINT> out;
  for (UINT m : all)
    if (m == WM_NCCREATE || m == WM_CREATE || m == WM_SIZE || m == WM_MOVE) out.push_back(m);
  return out;
}

GLint GetInteger(GLenum name, int index = 0) {
  GLint values[4] = {};
  glGetIntegerv(name, values);
  return values[index];
}

std::vector<LONG> ClientSize(HWND hWnd) {
  RECT r{};
  GetClientRect(hWnd, &r);
  return {r.right, r.bottom};
}

std::vector<LONG> OuterSize(HWND hWnd) {
  RECT r{};
  GetWindowRect(hWnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

TEST(RealWindows, CreationAndFirstShowingSendTheirMessagesWithTheParameterAndAnExactClientArea) {
  const WNDCLASSEXA wc{sizeof(WNDCLASSEXA), 0, SpyProc, 0, 0, GetModuleHandleA(nullptr),
                       nullptr, nullptr, nullptr, nullptr, "Spy", nullptr};
  ASSERT_NE(RegisterClassExA(&wc), 0);
  RECT rect{0, 0, 640, 480};
  AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW);
  TKeys keys{};
  TWindow window{};
  window.KeyTable = &keys;
  gSeen.clear();
  HWND hWnd = CreateWindowExA(WS_EX_APPWINDOW, "Spy", "spy", WS_OVERLAPPEDWINDOW, 0, 0, rect.right - rect.left,
                              rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleA(nullptr), &window);
  ASSERT_NE(hWnd, nullptr);
  // A window created hidden gets its size and place when it is first shown.
  EXPECT_EQ(ShellMessages(gSeen), (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  gSeen.clear();
  ShowWindow(hWnd, SW_SHOWNORMAL);
  EXPECT_EQ(ShellMessages(gSeen), (std::vector<UINT>{WM_SIZE, WM_MOVE}));
  EXPECT_EQ(gSizeParam, MAKELPARAM(640, 480));
  EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
  EXPECT_EQ(ClientSize(hWnd), std::vector<LONG>({640, 480}));
  DestroyWindow(hWnd);
  EXPECT_TRUE(UnregisterClassA("spy", GetModuleHandleA(nullptr)));
}

TEST(RealWindows, ShowCursorCountsAndDisplayModesTheScreenLacksAreRefused) {
  const int start = ShowCursor(TRUE) - 1;
  std::vector<int> counts;
  for (BOOL show : {FALSE, FALSE, TRUE, TRUE, TRUE, FALSE}) counts.push_back(ShowCursor(show) - start);
  EXPECT_EQ(counts, (std::vector<int>{0, -1, 0, 1, 2, 1}));
  ShowCursor(FALSE);
  // The test display is 1024 x 768 and offers no other mode.
  DEVMODEA current{};
  current.dmSize = sizeof(DEVMODEA);
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
  ASSERT_EQ(std::vector<DWORD>({current.dmPelsWidth, current.dmPelsHeight}), std::vector<DWORD>({1024, 768}));
  ScreenWidth = ScreenHeight = 0;
  EXPECT_FALSE(SetDisplayMode(640, 480, 32));
  EXPECT_EQ(ScreenWidth * 1000 + ScreenHeight, 640480);
  DEVMODEA mode{};
  mode.dmSize = sizeof(DEVMODEA);
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmBitsPerPel = 32;
  mode.dmPelsWidth = 640;
  mode.dmPelsHeight = 480;
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
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
    EXPECT_EQ(MainWindow, nullptr);
    ShowCursor(TRUE);  // RunWindowLoop hid the pointer for the run and leaves it so
  }
  int32_t Run() { return RunWindowLoop(640, 480, 32, "GUI  DEMO", false, false, GetModuleHandleA(nullptr)); }
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
  PIXELFORMATDESCRIPTOR pfd{};
  std::vector<long> state;
  char title[32] = {};
  gBuild = [&] {
    ++builds;
    DescribePixelFormat(MainWindow->DC, GetPixelFormat(MainWindow->DC), sizeof(pfd), &pfd);
    GetWindowTextA(MainWindow->Handle, title, sizeof(title));
    state = {GetInteger(GL_VIEWPORT, 2), GetInteger(GL_VIEWPORT, 3), ClientSize(MainWindow->Handle)[0],
             ClientSize(MainWindow->Handle)[1], GetInteger(GL_DEPTH_FUNC), GetInteger(GL_BLEND_SRC),
             GetInteger(GL_BLEND_DST), glIsEnabled(GL_DEPTH_TEST), glIsEnabled(GL_BLEND)};
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
  EXPECT_STREQ(title, "GUI  DEMO");
  // The format the system chose: double-buffered OpenGL in a window, 32 colour bits, a depth buffer
  // of at least the 16 bits asked for.
  EXPECT_EQ(pfd.dwFlags & 0x25, 0x25u);
  EXPECT_EQ(pfd.cColorBits, 32);
  EXPECT_GE(pfd.cDepthBits, 16);
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
  std::vector<uint32_t> expectedTimes(21, 100);
  expectedTimes[0] = 250;
  std::vector<int32_t> expectedFps(21, 10);
  std::fill(expectedFps.begin(), expectedFps.begin() + 10, 0);
  EXPECT_EQ(frameTimes, expectedTimes);
  EXPECT_EQ(fps, expectedFps);
}

INSTANTIATE_TEST_SUITE_P(TickCounts, FrameTimingTest, ::testing::Values(DWORD{5000}, DWORD{0xFFFFFC00}));

TEST_F(LoopTest, WhileMinimisedNoFrameIsDrawnUntilTheRestore) {
  std::thread restorer;
  int frames = 0;
  bool restorePosted = false;
  std::vector<int> atRestore;
  gDraw = [&] {
    if (++frames == 2) {
      EXPECT_TRUE(PostMessageA(MainWindow->Handle, WM_SIZE, SIZE_MINIMIZED, 0));
      restorer = std::thread([&restorePosted, hWnd = MainWindow->Handle] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        restorePosted = true;
        PostMessageA(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
      });
    }
    if (frames == 3) {
      atRestore = {restorePosted, MainWindow->Active, GetInteger(GL_VIEWPORT, 2), GetInteger(GL_VIEWPORT, 3)};
      QuitApp(*MainWindow);
    }
  };
  EXPECT_EQ(Run(), 0);
  if (restorer.joinable()) restorer.join();
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(atRestore, std::vector<int>({1, 1, 640, 480}));
}

TEST_F(LoopTest, CloseBoxEndsTheLoopThroughTheDefaultProcedure) {
  int frames = 0;
  // The close box: WM_SYSCOMMAND SC_CLOSE, which the default procedure turns into WM_CLOSE.
  gDraw = [&] {
    if (++frames == 1) PostMessageA(MainWindow->Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
  };
  EXPECT_EQ(RunApp(640, 480, 32, "GUI  DEMO", false, false), 0);
  EXPECT_EQ(Running, 0);
  EXPECT_GE(frames, 1);
}

TEST_F(LoopTest, FullscreenToggleOnAScreenWithoutTheModeRebuildsAWindowOfThatOuterSize) {
  int frames = 0;
  std::vector<HWND> handles;
  std::vector<int> atBuild, atFree;
  std::vector<std::vector<LONG>> outers, clients;
  gBuild = [&] {
    frames = 0;
    handles.push_back(MainWindow->Handle);
    atBuild.push_back(MainWindow->IsFullscreen);
    outers.push_back(OuterSize(MainWindow->Handle));
    std::vector<LONG> sizes = ClientSize(MainWindow->Handle);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    sizes.insert(sizes.end(), {ScreenWidth, ScreenHeight, viewport[2], viewport[3]});
    clients.push_back(sizes);
  };
  gDraw = [&] {
    gTick += 100;
    if (++frames == 2 && handles.size() == 1) RequestFullscreenToggle(*MainWindow);
    if (handles.size() == 2) QuitApp(*MainWindow);
  };
  gFree = [&] { atFree.insert(atFree.end(), {Running, Fullscreen}); };
  testgl::MessageBoxRecorder boxes;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(atFree, std::vector<int>({1, 1, 0, 0}));
  ASSERT_EQ(handles.size(), 2u);
  EXPECT_FALSE(IsWindow(handles[0]));
  EXPECT_EQ(Shown(boxes), std::vector<std::string>{"Mode Switch Failed.\\nRunning In Windowed Mode." + error});
  EXPECT_EQ(atBuild, std::vector<int>({0, 0}));
  // Windowed now, so that the next toggle tries fullscreen again.
  EXPECT_EQ(Fullscreen, 0);
  // The second window measures 640 x 480 with its frame; its client area is smaller, and the
  // screen size and viewport follow the client area.
  EXPECT_EQ(outers[1], std::vector<LONG>({640, 480}));
  EXPECT_EQ(clients[0], std::vector<LONG>({640, 480, 640, 480, 640, 480}));
  EXPECT_LT(clients[1][0], 640);
  EXPECT_LT(clients[1][1], 480);
  EXPECT_EQ(clients[1], std::vector<LONG>({clients[1][0], clients[1][1], clients[1][0], clients[1][1], clients[1][0],
                                           clients[1][1]}));
  RecordProperty("client_after_failed_switch", std::to_string(clients[1][0]) + "x" + std::to_string(clients[1][1]));
  EXPECT_EQ(FPSCount, 3);
  EXPECT_EQ(FPSLastTime, 5000u);
}

}  // namespace
