// The stand-in's window layer on SDL: geometry, the message queue, SDL input turned into
// messages, the pointer counter, display modes, contexts, and a message box where no display can
// show one. Runs on SDL's offscreen driver (no X).
#include "PixelFormat.h"
#include "Win32Api.h"
#include "sdl/SdlHooks.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <tuple>
#include <utility>
#include <vector>

namespace {

std::vector<MSG> gSeen;  // what the spy procedure received, in order

LRESULT SpyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  gSeen.push_back(MSG{hWnd, message, wParam, lParam, 0, {0, 0}});
  if (message == WM_CREATE)
    SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams));
  if (message == WM_CLOSE) return 0;  // keep the window
  return DefWindowProcA(hWnd, message, wParam, lParam);
}

std::vector<UINT> Messages(const std::vector<MSG>& list) {
  std::vector<UINT> out;
  for (const MSG& m : list) out.push_back(m.message);
  return out;
}

std::vector<LONG> ClientSize(HWND hWnd) {
  RECT r{};
  GetClientRect(hWnd, &r);
  return {r.right, r.bottom};
}

class WindowLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gSeen.clear();
    const WNDCLASSEXA wc{sizeof(WNDCLASSEXA), 0, SpyProc, 0, 0, GetModuleHandleA(nullptr),
                         nullptr, nullptr, nullptr, nullptr, "Spy", nullptr};
    ASSERT_NE(RegisterClassExA(&wc), 0);
  }
  void TearDown() override {
    for (HWND h : windows)
      if (IsWindow(h)) DestroyWindow(h);
    Take(nullptr);
    EXPECT_TRUE(UnregisterClassA("spy", GetModuleHandleA(nullptr)));
    EXPECT_EQ(CountWindows(), 0);
  }
  HWND Create(DWORD style, int w, int h, void* param = nullptr) {
    windows.push_back(
        CreateWindowExA(0, "Spy", "spy", style, 0, 0, w, h, nullptr, nullptr, GetModuleHandleA(nullptr), param));
    return windows.back();
  }
  // A shown window with an SDL window behind it, and the queue and the spy's record emptied.
  HWND CreateShown() {
    HWND hWnd = Create(WS_OVERLAPPEDWINDOW, 656, 519);
    ShowWindow(hWnd, SW_SHOWNORMAL);
    Take(nullptr);
    gSeen.clear();
    return hWnd;
  }
  // Pushes an SDL event holding `value` in its member `kind` (key, motion, button, wheel...).
  template <class T>
  static void Push(T SDL_Event::*kind, const T& value) {
    SDL_Event e{};
    e.*kind = value;
    SDL_PushEvent(&e);
  }
  static std::vector<MSG> Take(HWND hWnd) {
    std::vector<MSG> out;
    MSG msg;
    while (PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE)) out.push_back(msg);
    return out;
  }
  std::vector<HWND> windows;
};

TEST(WindowGeometry, AdjustWindowRectExAddsCaptionAndFrame) {
  RECT r{0, 0, 640, 480}, p{0, 0, 640, 480};
  ASSERT_TRUE(AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW));
  AdjustWindowRectEx(&p, WS_POPUP, FALSE, WS_EX_APPWINDOW | WS_EX_TOPMOST);
  EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), std::vector<LONG>({-8, -31, 648, 488}));
  EXPECT_EQ(std::vector<LONG>({p.left, p.top, p.right, p.bottom}), std::vector<LONG>({0, 0, 640, 480}));
}

TEST_F(WindowLayerTest, CreationSendsItsMessagesInOrderWithTheParameter) {
  int tag = 0;
  HWND hWnd = Create(WS_OVERLAPPEDWINDOW, 656, 519, &tag);
  ASSERT_NE(hWnd, nullptr);
  // As on Win32, a window created hidden gets WM_SIZE and WM_MOVE at its first showing only.
  EXPECT_EQ(Messages(gSeen), (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  gSeen.clear();
  ShowWindow(hWnd, SW_SHOWNORMAL);
  ASSERT_GE(gSeen.size(), 2u);
  EXPECT_EQ(Messages({gSeen.begin(), gSeen.begin() + 2}), (std::vector<UINT>{WM_SIZE, WM_MOVE}));
  EXPECT_EQ(gSeen[0].wParam, SIZE_RESTORED);
  EXPECT_EQ(gSeen[0].lParam, MAKELPARAM(640, 480));
  gSeen.clear();
  ShowWindow(hWnd, SW_SHOWNORMAL);
  EXPECT_EQ(Messages(gSeen), std::vector<UINT>{});
  EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&tag));
  EXPECT_EQ(ClientSize(hWnd), std::vector<LONG>({640, 480}));
  // A popup's client area is the whole window (a framed one's is smaller: see the loop's tests).
  EXPECT_EQ(ClientSize(Create(WS_POPUP, 640, 480)), std::vector<LONG>({640, 480}));
}

TEST_F(WindowLayerTest, QueueKeepsOrderFiltersByWindowAndForgetsDestroyedWindows) {
  HWND a = Create(WS_POPUP, 10, 10), b = Create(WS_POPUP, 10, 10);
  EXPECT_TRUE(PostMessageA(a, WM_USER + 1, 1, 0));
  EXPECT_TRUE(PostMessageA(b, WM_USER + 2, 2, 0));
  EXPECT_TRUE(PostMessageA(a, WM_QUIT, 0, 0));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 2u);
  EXPECT_EQ(Messages(Take(a)), (std::vector<UINT>{WM_USER + 1, WM_QUIT}));
  PostMessageA(b, WM_USER + 3, 0, 0);
  DestroyWindow(b);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PostMessageA(b, WM_USER, 0, 0));  // a stale handle
  PostMessageA(a, WM_USER + 4, 0, 0);
  ASSERT_TRUE(PeekMessageA(&msg, a, 0, 0, PM_REMOVE));
  gSeen.clear();
  EXPECT_EQ(DispatchMessageA(&msg), 0);
  EXPECT_EQ(Messages(gSeen), std::vector<UINT>{WM_USER + 4});
  // With a message waiting, WaitMessage returns at once.
  PostMessageA(a, WM_USER, 0, 0);
  EXPECT_TRUE(WaitMessage());
}

TEST_F(WindowLayerTest, ShowCursorCountsLikeWin32) {
  CreateShown();  // the pointer over a window: shown from a count of 0 up
  const int start = ShowCursor(TRUE) - 1;
  std::vector<int> counts;
  for (BOOL show : {FALSE, FALSE, FALSE, TRUE, TRUE}) {
    counts.push_back(ShowCursor(show) - start);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), start + counts.back() >= 0 ? SDL_ENABLE : SDL_DISABLE) << counts.back();
  }
  EXPECT_EQ(counts, (std::vector<int>{0, -1, -2, -1, 0}));
}

TEST(TickCount, CountsMillisecondsFromSystemStart) {
  // As on Windows: the uptime, not the time since the program started.
  double uptime = 0;
  FILE* f = std::fopen("/proc/uptime", "r");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(std::fscanf(f, "%lf", &uptime), 1);
  std::fclose(f);
  const DWORD expected = static_cast<DWORD>(static_cast<uint64_t>(uptime * 1000));
  EXPECT_LT(static_cast<DWORD>(GetTickCount() - expected), 2000u);
}

TEST_F(WindowLayerTest, KeysBecomeVirtualKeyMessages) {
  HWND hWnd = CreateShown();
  const Uint32 id = GetSdlWindowId(hWnd);
  ASSERT_NE(id, 0u);
  auto key = [&](Uint32 type, SDL_Scancode sc, Uint16 mod = 0, Uint8 repeat = 0) {
    const Uint8 state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    Push(&SDL_Event::key, {type, 0, id, state, repeat, 0, 0, {sc, SDL_GetKeyFromScancode(sc), mod, 0}});
  };
  // Message, virtual key, and lParam bits 30 (repeat) and 29 (Alt) of what came.
  auto take = [&] {
    std::vector<std::tuple<UINT, WPARAM, int>> out;
    for (const MSG& m : Take(hWnd)) out.emplace_back(m.message, m.wParam, (m.lParam >> 29) & 3);
    return out;
  };
  using Keys = std::vector<std::tuple<UINT, WPARAM, int>>;
  for (auto [sc, vk] : {std::pair<SDL_Scancode, WPARAM>{SDL_SCANCODE_ESCAPE, VK_ESCAPE}, {SDL_SCANCODE_F1, VK_F1},
                        {SDL_SCANCODE_F12, VK_F12}, {SDL_SCANCODE_A, 'A'}, {SDL_SCANCODE_Z, 'Z'}, {SDL_SCANCODE_0, '0'},
                        {SDL_SCANCODE_9, '9'}, {SDL_SCANCODE_LEFT, VK_LEFT}, {SDL_SCANCODE_DOWN, VK_DOWN},
                        {SDL_SCANCODE_LSHIFT, VK_SHIFT}, {SDL_SCANCODE_RCTRL, VK_CONTROL}, {SDL_SCANCODE_TAB, VK_TAB},
                        {SDL_SCANCODE_RETURN, VK_RETURN}, {SDL_SCANCODE_SPACE, VK_SPACE},
                        {SDL_SCANCODE_BACKSPACE, VK_BACK}}) {
    key(SDL_KEYDOWN, sc);
    key(SDL_KEYDOWN, sc, 0, 1);  // auto-repeat: a further key-down, "was down" (bit 30) set as on key-up
    key(SDL_KEYUP, sc);
    EXPECT_EQ(take(), (Keys{{WM_KEYDOWN, vk, 0}, {WM_KEYDOWN, vk, 2}, {WM_KEYUP, vk, 2}})) << vk;
  }
  // F10 and Alt combinations are system keys.
  key(SDL_KEYDOWN, SDL_SCANCODE_F10);
  key(SDL_KEYUP, SDL_SCANCODE_F10);
  key(SDL_KEYDOWN, SDL_SCANCODE_X, KMOD_LALT);
  EXPECT_EQ(take(), (Keys{{WM_SYSKEYDOWN, VK_F10, 0}, {WM_SYSKEYUP, VK_F10, 2}, {WM_SYSKEYDOWN, 'X', 1}}));
}

TEST_F(WindowLayerTest, MouseBecomesClientPositionMessages) {
  HWND hWnd = CreateShown();
  const Uint32 id = GetSdlWindowId(hWnd);
  for (int x : {600, 700})  // 700 is outside the client area: not reported
    Push(&SDL_Event::motion, {SDL_MOUSEMOTION, 0, id, 0, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK, x, 7, 0, 0});
  for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
    Push(&SDL_Event::button, {type, 0, id, 0, SDL_BUTTON_MIDDLE, 0, 1, 0, 3, 4});
  for (int y : {-1, 2}) Push(&SDL_Event::wheel, {SDL_MOUSEWHEEL, 0, id, 0, 0, y, 0, 0.0f, float(y), 0, 0});
  const auto got = Take(hWnd);
  ASSERT_EQ(Messages(got),
            (std::vector<UINT>{WM_MOUSEMOVE, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEWHEEL, WM_MOUSEWHEEL}));
  EXPECT_EQ(got[0].wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON), WPARAM(MK_LBUTTON | MK_RBUTTON));
  EXPECT_EQ(got[0].lParam, MAKELPARAM(600, 7));
  EXPECT_NE(got[1].wParam & MK_MBUTTON, 0u);
  EXPECT_EQ(LOWORD(got[1].lParam), 3);
  EXPECT_EQ(got[2].wParam & MK_MBUTTON, 0u);
  EXPECT_EQ(static_cast<int16_t>(HIWORD(got[3].wParam)), -120);
  EXPECT_EQ(static_cast<int16_t>(HIWORD(got[4].wParam)), 240);
}

TEST_F(WindowLayerTest, TouchsMouseMessagesCarryWindowsMarkAndTheMouseOnesDoNot) {
  HWND hWnd = CreateShown();
  const Uint32 id = GetSdlWindowId(hWnd);
  Push(&SDL_Event::tfinger, {SDL_FINGERDOWN, 0, 1, 5, 0.5f, 0.5f, 0, 0, 1, id});
  Push(&SDL_Event::motion, {SDL_MOUSEMOTION, 0, id, 0, 0, 10, 7, 0, 0});
  std::vector<std::pair<UINT, LPARAM>> got;  // a step a turn: the queue is found empty between
  MSG m;
  for (int turn = 0; turn < 4; ++turn)
    while (PeekMessageA(&m, hWnd, 0, 0, PM_REMOVE)) got.emplace_back(m.message, GetMessageExtraInfo());
  const LPARAM mark = static_cast<LPARAM>(0xFF515780u);
  EXPECT_EQ(got,
            (std::vector<std::pair<UINT, LPARAM>>{{WM_MOUSEMOVE, 0}, {WM_MOUSEMOVE, mark}, {WM_LBUTTONDOWN, mark}}));
  HDC dc = GetDC(hWnd);
  EXPECT_EQ((std::vector<int>{GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY), GetDeviceCaps(dc, 8),
                              GetDeviceCaps(nullptr, LOGPIXELSX)}),
            (std::vector<int>{96, 96, 0, 0}));
  ReleaseDC(hWnd, dc);
}

TEST_F(WindowLayerTest, KeypadDigitsAndExtendedKeysAreTheOnesWindowsReports) {
  HWND hWnd = CreateShown();
  const Uint32 id = GetSdlWindowId(hWnd);
  // The virtual key and lParam bit 24 (extended) of the key-down and the key-up.
  using Pressed = std::vector<std::pair<WPARAM, bool>>;
  auto press = [&](SDL_Scancode sc) {
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP})
      Push(&SDL_Event::key, {type, 0, id, Uint8(type == SDL_KEYDOWN), 0, 0, 0, {sc, SDL_GetKeyFromScancode(sc), 0, 0}});
    Pressed out;
    for (const MSG& m : Take(hWnd)) out.emplace_back(m.wParam, ((m.lParam >> 24) & 1) != 0);
    return out;
  };
  for (int digit = 0; digit <= 9; ++digit) {
    const WPARAM vk = VK_NUMPAD0 + digit;
    EXPECT_EQ(press(digit ? SDL_Scancode(SDL_SCANCODE_KP_1 + digit - 1) : SDL_SCANCODE_KP_0),
              (Pressed{{vk, false}, {vk, false}}))
        << digit;
  }
  const std::vector<SDL_Scancode> extended{
      SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT,  SDL_SCANCODE_UP,       SDL_SCANCODE_DOWN,  SDL_SCANCODE_INSERT,
      SDL_SCANCODE_DELETE, SDL_SCANCODE_HOME, SDL_SCANCODE_END,      SDL_SCANCODE_PAGEUP, SDL_SCANCODE_PAGEDOWN,
      SDL_SCANCODE_RCTRL, SDL_SCANCODE_RALT,  SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_KP_DIVIDE};
  const std::vector<SDL_Scancode> plain{
      SDL_SCANCODE_LCTRL,       SDL_SCANCODE_LALT,     SDL_SCANCODE_RSHIFT,    SDL_SCANCODE_RETURN, SDL_SCANCODE_SLASH,
      SDL_SCANCODE_KP_MULTIPLY, SDL_SCANCODE_KP_MINUS, SDL_SCANCODE_KP_PERIOD, SDL_SCANCODE_A,      SDL_SCANCODE_F1};
  for (bool bit : {true, false})
    for (SDL_Scancode sc : bit ? extended : plain) {
      const Pressed got = press(sc);
      ASSERT_EQ(got.size(), 2u) << SDL_GetScancodeName(sc);
      EXPECT_EQ(got, (Pressed{{got[0].first, bit}, {got[0].first, bit}})) << SDL_GetScancodeName(sc);
    }
}

TEST_F(WindowLayerTest, WheelDistanceFollowsTheWheelWhicheverWayItTurns) {
  HWND hWnd = CreateShown();
  const Uint32 id = GetSdlWindowId(hWnd);
  struct Turn {
    Sint32 notches;
    float precise;  // 0 where SDL gives whole notches alone
    Uint32 direction;
    int distance;
  };
  for (const Turn& t : std::initializer_list<Turn>{{1, 1.0f, SDL_MOUSEWHEEL_NORMAL, 120},
                                                   {-1, -1.0f, SDL_MOUSEWHEEL_NORMAL, -120},
                                                   {1, 0.0f, SDL_MOUSEWHEEL_NORMAL, 120},
                                                   {-2, 0.0f, SDL_MOUSEWHEEL_NORMAL, -240},
                                                   {0, 0.5f, SDL_MOUSEWHEEL_NORMAL, 60},
                                                   // Natural scrolling: SDL flips the numbers, not the wheel.
                                                   {-1, -1.0f, SDL_MOUSEWHEEL_FLIPPED, 120},
                                                   {1, 1.0f, SDL_MOUSEWHEEL_FLIPPED, -120},
                                                   {-1, 0.0f, SDL_MOUSEWHEEL_FLIPPED, 120}}) {
    Push(&SDL_Event::wheel, {SDL_MOUSEWHEEL, 0, id, 0, 0, t.notches, t.direction, 0.0f, t.precise, 0, 0});
    const auto got = Take(hWnd);
    ASSERT_EQ(Messages(got), std::vector<UINT>{WM_MOUSEWHEEL}) << t.notches << " " << t.precise;
    EXPECT_EQ(static_cast<int16_t>(HIWORD(got[0].wParam)), t.distance) << t.notches << " " << t.precise;
  }
}

// What the window procedure sees of touch, one frame at a time: a frame takes the queue until it
// is found empty, as the shell's loop does before it draws.
using Step = std::tuple<UINT, int, int, bool>;  // message, client x and y, left button held
std::vector<std::vector<Step>> Frames(HWND hWnd, int count) {
  std::vector<std::vector<Step>> frames(count);
  MSG m;
  for (auto& frame : frames)
    while (PeekMessageA(&m, hWnd, 0, 0, PM_REMOVE))
      frame.emplace_back(m.message, static_cast<int16_t>(LOWORD(m.lParam)), static_cast<int16_t>(HIWORD(m.lParam)),
                         (m.wParam & MK_LBUTTON) != 0);
  return frames;
}

TEST_F(WindowLayerTest, ATapIsAMoveAPressAndAReleaseEachInAFrameAtItsClientPixel) {
  HWND hWnd = CreateShown();  // a client area of 640 x 480
  const Uint32 id = GetSdlWindowId(hWnd);
  struct Tap {
    float x, y;
    int px, py;
  };
  // Corners, edges, the middle, and a finger that has slid off the window.
  for (const Tap& t : std::initializer_list<Tap>{{0.0f, 0.0f, 0, 0},
                                                 {1.0f, 0.0f, 639, 0},
                                                 {0.0f, 1.0f, 0, 479},
                                                 {1.0f, 1.0f, 639, 479},
                                                 {0.5f, 0.25f, 320, 120},
                                                 {0.25f, 0.5f, 160, 240},
                                                 {0.999f, 0.999f, 639, 479},
                                                 {1.5f, -0.5f, 639, 0},
                                                 {-0.5f, 1.5f, 0, 479}}) {
    for (Uint32 type : {SDL_FINGERDOWN, SDL_FINGERUP})
      Push(&SDL_Event::tfinger, {type, 0, 1, 5, t.x, t.y, 0, 0, 1, id});
    using F = std::vector<Step>;
    EXPECT_EQ(Frames(hWnd, 4),
              (std::vector<F>{F{{WM_MOUSEMOVE, t.px, t.py, false}}, F{{WM_LBUTTONDOWN, t.px, t.py, true}},
                              F{{WM_LBUTTONUP, t.px, t.py, false}}, F{}}))
        << t.x << ", " << t.y;
  }
}

TEST_F(WindowLayerTest, ASecondFingerLeavesThePointerToTheFirst) {
  HWND hWnd = CreateShown();
  const Uint32 id = GetSdlWindowId(hWnd);
  auto finger = [&](Uint32 type, SDL_FingerID which, float x, float y) {
    Push(&SDL_Event::tfinger, {type, 0, 1, which, x, y, 0, 0, 1, id});
  };
  finger(SDL_FINGERDOWN, 5, 0.5f, 0.5f);
  finger(SDL_FINGERDOWN, 6, 0.25f, 0.25f);
  finger(SDL_FINGERMOTION, 6, 0.75f, 0.75f);
  finger(SDL_FINGERUP, 6, 0.75f, 0.75f);
  finger(SDL_FINGERMOTION, 5, 0.25f, 0.5f);
  finger(SDL_FINGERDOWN, 6, 0.75f, 0.25f);  // again, while the first still holds
  finger(SDL_FINGERUP, 5, 0.25f, 0.5f);
  finger(SDL_FINGERMOTION, 6, 0.5f, 0.75f);  // alone now, yet it came down as a second finger
  using F = std::vector<Step>;
  EXPECT_EQ(Frames(hWnd, 6),
            (std::vector<F>{F{{WM_MOUSEMOVE, 320, 240, false}}, F{{WM_LBUTTONDOWN, 320, 240, true}},
                            F{{WM_MOUSEMOVE, 160, 240, true}}, F{{WM_LBUTTONUP, 160, 240, false}}, F{}, F{}}));
}

TEST_F(WindowLayerTest, SizeMessagesTellMinimisedFromRestoredAndMaximised) {
  HWND hWnd = CreateShown();
  const Uint32 id = GetSdlWindowId(hWnd);
  for (auto [event, kind, size] : {std::tuple<Uint8, WPARAM, LPARAM>{SDL_WINDOWEVENT_MINIMIZED, SIZE_MINIMIZED, 0},
                                   {SDL_WINDOWEVENT_RESTORED, SIZE_RESTORED, MAKELPARAM(640, 480)},
                                   {SDL_WINDOWEVENT_MINIMIZED, SIZE_MINIMIZED, 0},
                                   {SDL_WINDOWEVENT_MAXIMIZED, SIZE_MAXIMIZED, MAKELPARAM(640, 480)}}) {
    Push(&SDL_Event::window, {SDL_WINDOWEVENT, 0, id, event, 0, 0, 0, 0, 0});
    gSeen.clear();
    Take(hWnd);
    ASSERT_EQ(Messages(gSeen), std::vector<UINT>{WM_SIZE}) << int(event);
    EXPECT_EQ(std::make_pair(gSeen[0].wParam, gSeen[0].lParam), std::make_pair(kind, size)) << int(event);
  }
}

TEST_F(WindowLayerTest, ModesThatTheDisplayLacksAreRefusedAndTheCurrentOneIsKept) {
  DEVMODEA mode{}, current{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmBitsPerPel = 32;
  mode.dmPelsWidth = 641;
  mode.dmPelsHeight = 479;
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);  // back to the saved mode
  if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current)) return;
  EXPECT_EQ(current.dmSize, sizeof(DEVMODEA));
  EXPECT_EQ(ChangeDisplaySettingsA(&current, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
  // The display's width or height alone is not its mode.
  mode.dmPelsWidth = current.dmPelsWidth;
  mode.dmPelsHeight = current.dmPelsHeight - 100;
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  mode.dmPelsWidth = current.dmPelsWidth - 100;
  mode.dmPelsHeight = current.dmPelsHeight;
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
}

TEST_F(WindowLayerTest, ContextsFollowWglRules) {
  HWND hWnd = Create(WS_OVERLAPPEDWINDOW, 200, 200);
  HDC dc = GetDC(hWnd);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(wglCreateContext(dc), nullptr);  // no pixel format yet
  PIXELFORMATDESCRIPTOR pfd = testgl::WindowPixelFormat();
  const int format = ChoosePixelFormat(dc, &pfd);
  ASSERT_GT(format, 0);
  ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
  HGLRC rc = wglCreateContext(dc);
  ASSERT_NE(rc, nullptr);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  ASSERT_TRUE(wglMakeCurrent(dc, rc));
  EXPECT_EQ(wglGetCurrentContext(), rc);
  EXPECT_TRUE(SwapBuffers(dc));
  EXPECT_TRUE(wglDeleteContext(rc));
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_FALSE(wglDeleteContext(rc));
  EXPECT_FALSE(wglMakeCurrent(dc, rc));
  EXPECT_EQ(ReleaseDC(hWnd, dc), 1);
  pfd.iPixelType = PFD_TYPE_COLORINDEX;  // no such format
  EXPECT_EQ(ChoosePixelFormat(dc, &pfd), 0);
}

// Without a display for SDL's box, the caption and the text go to standard error, and SDL's video,
// started for the box, is shut down again.
TEST(MessageBox, WithoutADisplayGoesToStandardError) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  ASSERT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  testing::internal::CaptureStderr();
  const int result = MessageBoxA(nullptr, "No file \x9a", "Demo", MB_OK | MB_ICONHAND);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Demo: No file \x9a\n");
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

}  // namespace
