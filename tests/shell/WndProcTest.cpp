// The window procedure fed with synthetic messages: every row of its message table.
#include "AppHooks.h"
#include "GLHarness.h"
#include "GLWindow.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

class WndProcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shelltest::ResetApp();
    MouseX = MouseY = PrevMouseX = PrevMouseY = 0;
    MouseLeft = MouseMiddle = MouseRight = 0;
    MouseWheel = 0.0;
    Fullscreen = 0;
    Running = 1;
    app.Instance = GetModuleHandleA(nullptr);
    app.ClassName = "OpenGL";
    window.KeyTable = &keys;
    window.App = &app;
    window.WindowWidth = 640;
    window.WindowHeight = 480;
    ASSERT_TRUE(RegisterWindowClass(app));
    hWnd = CreateWindowExA(WS_EX_APPWINDOW, "OpenGL", "t", WS_OVERLAPPEDWINDOW, 0, 0, 656, 519, nullptr, nullptr,
                           app.Instance, &window);
    ASSERT_NE(hWnd, nullptr);
    window.Handle = hWnd;
    DrainQueue();
  }
  void TearDown() override {
    if (IsWindow(hWnd)) DestroyWindow(hWnd);
    UnregisterClassA("OpenGL", app.Instance);
    Running = 0;
  }
  static std::vector<MSG> DrainQueue() {
    std::vector<MSG> out;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) out.push_back(msg);
    return out;
  }

  TApplication app{};
  TWindow window{};
  TKeys keys{};
  HWND hWnd = nullptr;
};

TEST_F(WndProcTest, CreationStoresTheWindowRecordAndReportsTheClientSize) {
  EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
  // WM_SIZE came during creation with the client size (656 x 519 outer, frame 16 x 39).
  EXPECT_EQ(window.Active, 1);
  EXPECT_EQ(ScreenWidth, 640);
  EXPECT_EQ(ScreenHeight, 480);
}

TEST_F(WndProcTest, SizeRestoredAndMaximizedSetTheViewportAndProjection) {
  testgl::HeadlessGL gl(64, 64);
  ASSERT_TRUE(gl.Ok()) << gl.Error();
  for (WPARAM kind : {SIZE_RESTORED, SIZE_MAXIMIZED}) {
    window.Active = 0;
    EXPECT_EQ(WndProc(hWnd, WM_SIZE, kind, MAKELPARAM(320, 200)), 0);
    EXPECT_EQ(window.Active, 1);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 200);
    EXPECT_EQ(ScreenWidth, 320);
    EXPECT_EQ(ScreenHeight, 200);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    EXPECT_NEAR(projection[5], f, 1e-6);  // GL keeps the matrix in floats
    EXPECT_NEAR(projection[0], f / (320.0 / 200.0), 1e-6);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
  }
}

TEST_F(WndProcTest, ZeroClientHeightKeepsAFiniteProjection) {
  testgl::HeadlessGL gl(64, 64);
  ASSERT_TRUE(gl.Ok()) << gl.Error();
  WndProc(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 0));
  GLdouble projection[16];
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  for (double v : projection) EXPECT_TRUE(std::isfinite(v));
  EXPECT_NEAR(projection[0], 1.0 / std::tan(22.5 * M_PI / 180.0) / 640.0, 1e-8);
  EXPECT_EQ(ScreenHeight, 0);
}

TEST_F(WndProcTest, MinimiseClearsActiveAndLeavesTheViewport) {
  testgl::HeadlessGL gl(64, 64);
  ASSERT_TRUE(gl.Ok()) << gl.Error();
  WndProc(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 100));
  EXPECT_EQ(WndProc(hWnd, WM_SIZE, SIZE_MINIMIZED, 0), 0);
  EXPECT_EQ(window.Active, 0);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 300);
  EXPECT_EQ(ScreenWidth, 300);
  // Other kinds go to the default procedure and change nothing.
  WndProc(hWnd, WM_SIZE, SIZE_MAXSHOW, MAKELPARAM(50, 50));
  EXPECT_EQ(window.Active, 0);
  EXPECT_EQ(ScreenWidth, 300);
  // Restoring brings drawing and the restored size back.
  WndProc(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
  EXPECT_EQ(window.Active, 1);
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 640);
  EXPECT_EQ(viewport[3], 480);
}

TEST_F(WndProcTest, KeyTableFollowsKeyDownAndUpWithinRange) {
  WndProc(hWnd, WM_KEYDOWN, 'A', 0);
  WndProc(hWnd, WM_KEYDOWN, 'A', 1 << 30);  // auto-repeat
  EXPECT_EQ(keys.Down['A'], 1);
  WndProc(hWnd, WM_KEYUP, 'A', 0);
  EXPECT_EQ(keys.Down['A'], 0);
  WndProc(hWnd, WM_KEYDOWN, 255, 0);
  WndProc(hWnd, WM_KEYDOWN, 0, 0);
  EXPECT_EQ(keys.Down[255], 1);
  EXPECT_EQ(keys.Down[0], 1);

  const TKeys before = keys;
  for (WPARAM code : {WPARAM{256}, WPARAM{0x1001B}, ~WPARAM{0}}) {
    EXPECT_EQ(WndProc(hWnd, WM_KEYDOWN, code, 0), 0);
    EXPECT_EQ(WndProc(hWnd, WM_KEYUP, code, 0), 0);
  }
  EXPECT_EQ(std::memcmp(&before, &keys, sizeof keys), 0);
}

TEST_F(WndProcTest, SystemKeysLeaveTheKeyTableAlone) {
  WndProc(hWnd, WM_SYSKEYDOWN, VK_F10, 0);
  WndProc(hWnd, WM_SYSKEYDOWN, 'X', 1 << 29);
  WndProc(hWnd, WM_SYSKEYDOWN, VK_MENU, 1 << 29);
  EXPECT_EQ(keys.Down[VK_F10], 0);
  EXPECT_EQ(keys.Down['X'], 0);
  EXPECT_EQ(keys.Down[VK_MENU], 0);
  // Alt+F4 reaches the default procedure, which turns it into a close request.
  WndProc(hWnd, WM_SYSKEYDOWN, VK_F4, 1 << 29);
  EXPECT_EQ(keys.Down[VK_F4], 0);
  EXPECT_EQ(Running, 0);
  EXPECT_TRUE(IsWindow(hWnd));
}

TEST_F(WndProcTest, MouseMoveTakesEachButtonFromItsOwnBit) {
  WndProc(hWnd, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20));
  EXPECT_EQ(MouseLeft, 1);
  EXPECT_EQ(MouseMiddle, 0);
  EXPECT_EQ(MouseRight, 0);
  EXPECT_EQ(MouseX, 10);
  EXPECT_EQ(MouseY, 20);
  WndProc(hWnd, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, MAKELPARAM(11, 22));
  EXPECT_EQ(MouseLeft, 1);
  EXPECT_EQ(PrevMouseX, 10);
  EXPECT_EQ(PrevMouseY, 20);
  WndProc(hWnd, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT | MK_CONTROL | MK_RBUTTON | MK_MBUTTON, MAKELPARAM(12, 23));
  EXPECT_EQ(MouseLeft, 1);
  EXPECT_EQ(MouseMiddle, 1);
  EXPECT_EQ(MouseRight, 1);
  WndProc(hWnd, WM_MOUSEMOVE, MK_SHIFT | MK_CONTROL, MAKELPARAM(13, 24));
  EXPECT_EQ(MouseLeft, 0);
  EXPECT_EQ(MouseMiddle, 0);
  EXPECT_EQ(MouseRight, 0);
  EXPECT_EQ(PrevMouseX, 12);
  // Coordinates are unsigned 16-bit values.
  WndProc(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(0xFFFF, 0x8000));
  EXPECT_EQ(MouseX, 65535);
  EXPECT_EQ(MouseY, 32768);
}

TEST_F(WndProcTest, ButtonMessagesSetFlagsButNotThePosition) {
  WndProc(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
  const struct {
    UINT down, up;
    uint8_t* flag;
  } rows[] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, &MouseLeft},
              {WM_MBUTTONDOWN, WM_MBUTTONUP, &MouseMiddle},
              {WM_RBUTTONDOWN, WM_RBUTTONUP, &MouseRight}};
  for (const auto& row : rows) {
    EXPECT_EQ(WndProc(hWnd, row.down, 0, MAKELPARAM(100, 200)), 0);
    EXPECT_EQ(*row.flag, 1);
    EXPECT_EQ(WndProc(hWnd, row.up, 0, MAKELPARAM(100, 200)), 0);
    EXPECT_EQ(*row.flag, 0);
  }
  EXPECT_EQ(MouseX, 5);
  EXPECT_EQ(MouseY, 6);
}

TEST_F(WndProcTest, WheelStepsByOnePerMessageWhateverTheDistance) {
  auto wheel = [&](int distance) {
    WndProc(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<int16_t>(distance))), 0);
  };
  wheel(240);
  EXPECT_EQ(MouseWheel, 1.0);
  wheel(40);
  EXPECT_EQ(MouseWheel, 2.0);
  wheel(-120);
  EXPECT_EQ(MouseWheel, 1.0);
  wheel(0);  // not positive: a step down
  EXPECT_EQ(MouseWheel, 0.0);
}

TEST_F(WndProcTest, CloseQuitsWithoutDestroyingTheWindow) {
  EXPECT_EQ(WndProc(hWnd, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(Running, 0);
  EXPECT_TRUE(IsWindow(hWnd));
  const auto queued = DrainQueue();
  ASSERT_EQ(queued.size(), 1u);
  EXPECT_EQ(queued[0].message, WM_QUIT);
  EXPECT_EQ(queued[0].hwnd, hWnd);
  EXPECT_EQ(queued[0].wParam, 0u);
}

TEST_F(WndProcTest, CloseCommandFromTheSystemMenuBecomesAQuit) {
  EXPECT_EQ(WndProc(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
  EXPECT_EQ(Running, 0);
  EXPECT_TRUE(IsWindow(hWnd));
}

TEST_F(WndProcTest, ScreenSaverAndMonitorPowerAreSwallowed) {
  EXPECT_EQ(WndProc(hWnd, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
  EXPECT_EQ(WndProc(hWnd, WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);
  EXPECT_EQ(Running, 1);
  EXPECT_TRUE(DrainQueue().empty());
}

TEST_F(WndProcTest, ToggleFlipsFullscreenAndPostsAQuitButKeepsRunning) {
  EXPECT_EQ(WndProc(hWnd, WM_TOGGLEFULLSCREEN, 0, 0), 0);
  EXPECT_EQ(Fullscreen, 1);
  EXPECT_EQ(Running, 1);
  auto queued = DrainQueue();
  ASSERT_EQ(queued.size(), 1u);
  EXPECT_EQ(queued[0].message, WM_QUIT);
  EXPECT_EQ(queued[0].hwnd, hWnd);
  WndProc(hWnd, WM_TOGGLEFULLSCREEN, 0, 0);
  EXPECT_EQ(Fullscreen, 0);
  EXPECT_EQ(DrainQueue().size(), 1u);
}

TEST_F(WndProcTest, OtherMessagesGoToTheDefaultProcedure) {
  // WM_NCCREATE's default answer is TRUE; the procedure has no case of its own for it.
  EXPECT_EQ(WndProc(hWnd, WM_NCCREATE, 0, 0), TRUE);
  EXPECT_EQ(WndProc(hWnd, WM_CHAR, 'a', 0), 0);
  // The default procedure destroys a window on WM_CLOSE; the shell's procedure never gets there.
  EXPECT_EQ(DefWindowProcA(hWnd, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(IsWindow(hWnd));
}

}  // namespace
