// The window procedure fed with synthetic messages: every row of its message table.
#include "GLHarness.h"
#include "GLWindow.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

namespace {

// Left, middle and right button, position, previous position.
std::vector<int> Mouse() { return {MouseLeft, MouseMiddle, MouseRight, MouseX, MouseY, PrevMouseX, PrevMouseY}; }

class WndProcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MouseX = MouseY = PrevMouseX = PrevMouseY = 0;
    MouseLeft = MouseMiddle = MouseRight = Fullscreen = 0;
    MouseWheel = 0.0;
    Running = 1;
    app = {GetModuleHandleA(nullptr), "OpenGL"};
    window.KeyTable = &keys;
    window.App = &app;
    ASSERT_TRUE(RegisterWindowClass(app));
    RECT outer{0, 0, 640, 480};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW);
    hWnd = CreateWindowExA(WS_EX_APPWINDOW, "OpenGL", "t", WS_OVERLAPPEDWINDOW, 0, 0, outer.right - outer.left,
                           outer.bottom - outer.top, nullptr, nullptr, app.Instance, &window);
    ASSERT_NE(hWnd, nullptr);
    window.Handle = hWnd;
    // The first showing sends WM_SIZE with the client size. Hidden again, the window has nothing
    // to paint, so the queue holds only what the tests post.
    ShowWindow(hWnd, SW_SHOWNORMAL);
    ShowWindow(hWnd, SW_HIDE);
    Queued();
  }
  void TearDown() override {
    if (IsWindow(hWnd)) DestroyWindow(hWnd);
    UnregisterClassA("OpenGL", app.Instance);
    Running = 0;
  }
  // The messages waiting in the queue (taken out): window, message, wParam.
  using Posted = std::vector<std::tuple<HWND, UINT, WPARAM>>;
  Posted Queued() {
    Posted out;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) out.emplace_back(msg.hwnd, msg.message, msg.wParam);
    return out;
  }
  // Active, the recorded screen size and the viewport's size.
  std::vector<int> View() const {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return {window.Active, ScreenWidth, ScreenHeight, viewport[2], viewport[3]};
  }

  TApplication app{};
  TWindow window{};
  TKeys keys{};
  HWND hWnd = nullptr;
};

TEST_F(WndProcTest, SizeMessagesSetViewportAndProjectionOrPauseDrawing) {
  // Creation stored the window record, and showing it sent WM_SIZE with the client size.
  EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
  EXPECT_EQ(std::vector<int>({window.Active, ScreenWidth, ScreenHeight}), std::vector<int>({1, 640, 480}));
  testgl::HeadlessGL gl(64, 64);
  ASSERT_TRUE(gl.Ok()) << gl.Error();
  const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
  for (WPARAM kind : {SIZE_RESTORED, SIZE_MAXIMIZED}) {
    window.Active = 0;
    EXPECT_EQ(WndProc(hWnd, WM_SIZE, kind, MAKELPARAM(320, 200)), 0);
    EXPECT_EQ(View(), (std::vector<int>{1, 320, 200, 320, 200}));
    GLdouble projection[16];
    GLint mode;
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_NEAR(projection[5], f, 1e-6);  // GL keeps the matrix in floats
    EXPECT_NEAR(projection[0], f / (320.0 / 200.0), 1e-6);
    EXPECT_EQ(mode, GL_MODELVIEW);
  }
  // A zero client height keeps the projection finite.
  WndProc(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 0));
  GLdouble projection[16];
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  for (double v : projection) EXPECT_TRUE(std::isfinite(v));
  EXPECT_NEAR(projection[0], f / 640.0, 1e-8);
  EXPECT_EQ(ScreenHeight, 0);
  // Minimising clears Active and leaves the viewport; other kinds go to the default procedure and
  // change nothing; restoring brings drawing and the restored size back.
  WndProc(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 100));
  EXPECT_EQ(WndProc(hWnd, WM_SIZE, SIZE_MINIMIZED, 0), 0);
  EXPECT_EQ(View(), (std::vector<int>{0, 300, 100, 300, 100}));
  WndProc(hWnd, WM_SIZE, SIZE_MAXSHOW, MAKELPARAM(50, 50));
  EXPECT_EQ(View(), (std::vector<int>{0, 300, 100, 300, 100}));
  WndProc(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
  EXPECT_EQ(View(), (std::vector<int>{1, 640, 480, 640, 480}));
}

TEST_F(WndProcTest, KeyTableFollowsKeyDownAndUpWithinRangeButNotSystemKeys) {
  for (TKeyPress k{}; PopKeyPress(k);) {
  }
  WndProc(hWnd, WM_KEYDOWN, 'A', 0);
  WndProc(hWnd, WM_KEYDOWN, 'A', 1 << 30);  // auto-repeat
  EXPECT_EQ(keys.Down['A'], 1);
  WndProc(hWnd, WM_KEYUP, 'A', 0);
  EXPECT_EQ(keys.Down['A'], 0);
  WndProc(hWnd, WM_KEYDOWN, 255, 0);
  WndProc(hWnd, WM_KEYDOWN, 0, 0);
  EXPECT_EQ(keys.Down[255] + keys.Down[0], 2);
  const TKeys before = keys;
  for (WPARAM code : {WPARAM{256}, WPARAM{0x1001B}, ~WPARAM{0}}) {
    EXPECT_EQ(WndProc(hWnd, WM_KEYDOWN, code, 0), 0);
    EXPECT_EQ(WndProc(hWnd, WM_KEYUP, code, 0), 0);
  }
  for (auto [code, flags] : {std::pair<WPARAM, LPARAM>{VK_F10, 0}, {'X', 1 << 29}, {VK_MENU, 1 << 29}})
    WndProc(hWnd, WM_SYSKEYDOWN, code, flags);
  EXPECT_EQ(std::memcmp(&before, &keys, sizeof keys), 0);
  // Each key-down in range is queued for the toolkit's focus, repeats too; nothing else is.
  std::vector<int> pressed;
  for (TKeyPress k{}; PopKeyPress(k);) pressed.push_back(k.Key);
  EXPECT_EQ(pressed, (std::vector<int>{'A', 'A', 255, 0}));
  // Alt+F4 reaches the default procedure, which posts the close command; dispatched, it quits.
  WndProc(hWnd, WM_SYSKEYDOWN, VK_F4, 1 << 29);
  EXPECT_EQ(keys.Down[VK_F4], 0);
  EXPECT_EQ(Running, 1);
  MSG msg;
  while (PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) DispatchMessageA(&msg);
  EXPECT_EQ(Running, 0);
  EXPECT_TRUE(IsWindow(hWnd));
}

TEST_F(WndProcTest, MouseMessagesSetButtonsPositionAndWheel) {
  // Mouse moves take each button from its own bit and keep the previous position; coordinates are
  // unsigned 16-bit values. Columns: left, middle, right, x, y, previous x, previous y.
  using Move = std::tuple<WPARAM, LPARAM, std::vector<int>>;
  for (const auto& [buttons, position, mouse] :
       {Move{MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20), {1, 0, 0, 10, 20, 0, 0}},
        {MK_LBUTTON | MK_CONTROL, MAKELPARAM(11, 22), {1, 0, 0, 11, 22, 10, 20}},
        {MK_LBUTTON | MK_SHIFT | MK_CONTROL | MK_RBUTTON | MK_MBUTTON, MAKELPARAM(12, 23), {1, 1, 1, 12, 23, 11, 22}},
        {MK_SHIFT | MK_CONTROL, MAKELPARAM(13, 24), {0, 0, 0, 13, 24, 12, 23}},
        {MK_MBUTTON, MAKELPARAM(14, 25), {0, 1, 0, 14, 25, 13, 24}},
        {MK_RBUTTON, MAKELPARAM(13, 24), {0, 0, 1, 13, 24, 14, 25}},
        {0, MAKELPARAM(0xFFFF, 0x8000), {0, 0, 0, 65535, 32768, 13, 24}}}) {
    WndProc(hWnd, WM_MOUSEMOVE, buttons, position);
    EXPECT_EQ(Mouse(), mouse);
  }
  // Button messages set their flag but not the position.
  for (auto [down, up, flag] : {std::tuple{WM_LBUTTONDOWN, WM_LBUTTONUP, &MouseLeft},
                                 {WM_MBUTTONDOWN, WM_MBUTTONUP, &MouseMiddle},
                                 {WM_RBUTTONDOWN, WM_RBUTTONUP, &MouseRight}}) {
    EXPECT_EQ(WndProc(hWnd, down, 0, MAKELPARAM(100, 200)), 0);
    EXPECT_EQ(*flag, 1);
    EXPECT_EQ(WndProc(hWnd, up, 0, MAKELPARAM(100, 200)), 0);
    EXPECT_EQ(*flag, 0);
  }
  EXPECT_EQ(Mouse(), (std::vector<int>{0, 0, 0, 65535, 32768, 13, 24}));
  // The wheel steps by one a message whatever the distance; zero is not positive: a step down.
  for (auto [distance, wheel] : {std::pair{240, 1.0}, {40, 2.0}, {-120, 1.0}, {0, 0.0}}) {
    WndProc(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<int16_t>(distance))), 0);
    EXPECT_EQ(MouseWheel, wheel) << distance;
  }
}

TEST_F(WndProcTest, CloseQuitsWithoutDestroyingTheWindowAndScreenSaverIsSwallowed) {
  // WM_CLOSE, and SC_CLOSE through the default procedure, quit; the window stays.
  for (auto [message, command] : {std::pair<UINT, WPARAM>{WM_CLOSE, 0}, {WM_SYSCOMMAND, SC_CLOSE}}) {
    Running = 1;
    EXPECT_EQ(WndProc(hWnd, message, command, 0), 0);
    EXPECT_EQ(Running, 0);
    EXPECT_EQ(Queued(), (Posted{{hWnd, WM_QUIT, 0}}));
  }
  EXPECT_TRUE(IsWindow(hWnd));
  // The screen saver and monitor power-down are swallowed.
  Running = 1;
  EXPECT_EQ(WndProc(hWnd, WM_SYSCOMMAND, SC_SCREENSAVE, 0) + WndProc(hWnd, WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);
  EXPECT_EQ(Running, 1);
  EXPECT_TRUE(Queued().empty());
}

TEST_F(WndProcTest, OtherMessagesGoToTheDefaultProcedure) {
  // WM_NCCREATE's default answer is TRUE for a creation with its CREATESTRUCT; the procedure has
  // no case of its own for it.
  CREATESTRUCTA create{};
  create.lpszName = "t";
  create.lpszClass = "OpenGL";
  create.style = static_cast<LONG>(WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(WndProc(hWnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)), TRUE);
  EXPECT_EQ(WndProc(hWnd, WM_CHAR, 'a', 0), 0);
  // The default procedure destroys a window on WM_CLOSE; the shell's procedure never gets there.
  EXPECT_EQ(DefWindowProcA(hWnd, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(IsWindow(hWnd));
}

}  // namespace
