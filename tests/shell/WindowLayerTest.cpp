// The Win32-style window layer: geometry, the message queue, SDL input turned into messages,
// the pointer counter and display modes. Runs on SDL's offscreen driver (no X).
#include "Win32Api.h"

#include <SDL.h>
#include <gtest/gtest.h>

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

class WindowLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gSeen.clear();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SpyProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Spy";
    ASSERT_NE(RegisterClassExA(&wc), 0);
  }
  void TearDown() override {
    for (HWND h : windows)
      if (IsWindow(h)) DestroyWindow(h);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_TRUE(UnregisterClassA("spy", GetModuleHandleA(nullptr)));
    EXPECT_EQ(CountWindows(), 0);
  }
  HWND Create(DWORD style, int w, int h, void* param = nullptr) {
    HWND hWnd = CreateWindowExA(0, "Spy", "spy", style, 0, 0, w, h, nullptr, nullptr, GetModuleHandleA(nullptr), param);
    windows.push_back(hWnd);
    return hWnd;
  }
  // A shown window with an SDL window behind it, and the queue emptied.
  HWND CreateShown() {
    HWND hWnd = Create(WS_OVERLAPPEDWINDOW, 656, 519);
    ShowWindow(hWnd, SW_SHOWNORMAL);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    gSeen.clear();
    return hWnd;
  }
  std::vector<MSG> Take(HWND hWnd) {
    std::vector<MSG> out;
    MSG msg;
    while (PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE)) out.push_back(msg);
    return out;
  }
  std::vector<HWND> windows;
};

TEST(WindowGeometry, AdjustWindowRectExAddsCaptionAndFrame) {
  RECT r{0, 0, 640, 480};
  ASSERT_TRUE(AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW));
  EXPECT_EQ(r.left, -8);
  EXPECT_EQ(r.top, -31);
  EXPECT_EQ(r.right, 648);
  EXPECT_EQ(r.bottom, 488);
  RECT p{0, 0, 640, 480};
  AdjustWindowRectEx(&p, WS_POPUP, FALSE, WS_EX_APPWINDOW | WS_EX_TOPMOST);
  EXPECT_EQ(p.left, 0);
  EXPECT_EQ(p.top, 0);
  EXPECT_EQ(p.right, 640);
  EXPECT_EQ(p.bottom, 480);
}

TEST_F(WindowLayerTest, CreationSendsItsMessagesInOrderWithTheParameter) {
  int tag = 0;
  HWND hWnd = Create(WS_OVERLAPPEDWINDOW, 656, 519, &tag);
  ASSERT_NE(hWnd, nullptr);
  ASSERT_GE(gSeen.size(), 4u);
  EXPECT_EQ(gSeen[0].message, WM_NCCREATE);
  EXPECT_EQ(gSeen[1].message, WM_CREATE);
  EXPECT_EQ(gSeen[2].message, WM_SIZE);
  EXPECT_EQ(gSeen[2].wParam, SIZE_RESTORED);
  EXPECT_EQ(LOWORD(gSeen[2].lParam), 640);
  EXPECT_EQ(HIWORD(gSeen[2].lParam), 480);
  EXPECT_EQ(gSeen[3].message, WM_MOVE);
  EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&tag));
  RECT client;
  GetClientRect(hWnd, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  // Without the adjustment the whole window, frame included, has the size; the client is smaller.
  HWND plain = Create(WS_OVERLAPPEDWINDOW, 640, 480);
  GetClientRect(plain, &client);
  EXPECT_EQ(client.right, 624);
  EXPECT_EQ(client.bottom, 441);
  HWND popup = Create(WS_POPUP, 640, 480);
  GetClientRect(popup, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
}

TEST_F(WindowLayerTest, QueueKeepsOrderFiltersByWindowAndForgetsDestroyedWindows) {
  HWND a = Create(WS_POPUP, 10, 10), b = Create(WS_POPUP, 10, 10);
  EXPECT_TRUE(PostMessageA(a, WM_USER + 1, 1, 0));
  EXPECT_TRUE(PostMessageA(b, WM_USER + 2, 2, 0));
  EXPECT_TRUE(PostMessageA(a, WM_QUIT, 0, 0));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 2u);
  const auto fromA = Take(a);
  ASSERT_EQ(fromA.size(), 2u);
  EXPECT_EQ(fromA[0].message, WM_USER + 1u);
  EXPECT_EQ(fromA[1].message, WM_QUIT);
  PostMessageA(b, WM_USER + 3, 0, 0);
  DestroyWindow(b);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PostMessageA(b, WM_USER, 0, 0));  // a stale handle
  PostMessageA(a, WM_USER + 4, 0, 0);
  ASSERT_TRUE(PeekMessageA(&msg, a, 0, 0, PM_REMOVE));
  gSeen.clear();
  EXPECT_EQ(DispatchMessageA(&msg), 0);
  ASSERT_EQ(gSeen.size(), 1u);
  EXPECT_EQ(gSeen[0].message, WM_USER + 4u);
  // With a message waiting, WaitMessage returns at once.
  PostMessageA(a, WM_USER, 0, 0);
  EXPECT_TRUE(WaitMessage());
}

TEST_F(WindowLayerTest, ShowCursorCountsLikeWin32) {
  const int start = ShowCursor(TRUE) - 1;
  EXPECT_EQ(ShowCursor(FALSE), start);
  EXPECT_EQ(ShowCursor(FALSE), start - 1);
  EXPECT_EQ(ShowCursor(FALSE), start - 2);
  EXPECT_EQ(ShowCursor(TRUE), start - 1);
  EXPECT_EQ(ShowCursor(TRUE), start);
}

TEST_F(WindowLayerTest, KeysBecomeVirtualKeyMessages) {
  HWND hWnd = CreateShown();
  const Uint32 id = GetSdlWindowId(hWnd);
  ASSERT_NE(id, 0u);
  auto key = [&](Uint32 type, SDL_Scancode sc, Uint16 mod = 0, Uint8 repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = id;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.scancode = sc;
    e.key.keysym.sym = SDL_GetKeyFromScancode(sc);
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
  };
  const struct {
    SDL_Scancode sc;
    int vk;
  } plain[] = {{SDL_SCANCODE_ESCAPE, VK_ESCAPE}, {SDL_SCANCODE_F1, VK_F1},     {SDL_SCANCODE_F12, VK_F12},
               {SDL_SCANCODE_A, 'A'},            {SDL_SCANCODE_Z, 'Z'},       {SDL_SCANCODE_0, '0'},
               {SDL_SCANCODE_9, '9'},            {SDL_SCANCODE_LEFT, VK_LEFT}, {SDL_SCANCODE_DOWN, VK_DOWN},
               {SDL_SCANCODE_LSHIFT, VK_SHIFT},  {SDL_SCANCODE_RCTRL, VK_CONTROL}, {SDL_SCANCODE_RETURN, VK_RETURN},
               {SDL_SCANCODE_SPACE, VK_SPACE},   {SDL_SCANCODE_TAB, VK_TAB},   {SDL_SCANCODE_BACKSPACE, VK_BACK}};
  for (const auto& row : plain) {
    key(SDL_KEYDOWN, row.sc);
    key(SDL_KEYDOWN, row.sc, 0, 1);
    key(SDL_KEYUP, row.sc);
    const auto got = Take(hWnd);
    ASSERT_EQ(got.size(), 3u) << row.vk;
    EXPECT_EQ(got[0].message, WM_KEYDOWN);
    EXPECT_EQ(got[0].wParam, static_cast<WPARAM>(row.vk));
    EXPECT_EQ(got[0].lParam & (1 << 30), 0);
    EXPECT_EQ(got[1].message, WM_KEYDOWN);  // auto-repeat: a further key-down
    EXPECT_NE(got[1].lParam & (1 << 30), 0);
    EXPECT_EQ(got[2].message, WM_KEYUP);
    EXPECT_EQ(got[2].wParam, static_cast<WPARAM>(row.vk));
  }
  key(SDL_KEYDOWN, SDL_SCANCODE_F10);
  key(SDL_KEYUP, SDL_SCANCODE_F10);
  key(SDL_KEYDOWN, SDL_SCANCODE_X, KMOD_LALT);
  auto got = Take(hWnd);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].message, WM_SYSKEYDOWN);
  EXPECT_EQ(got[0].wParam, static_cast<WPARAM>(VK_F10));
  EXPECT_EQ(got[1].message, WM_SYSKEYUP);
  EXPECT_EQ(got[2].message, WM_SYSKEYDOWN);
  EXPECT_EQ(got[2].wParam, static_cast<WPARAM>('X'));
  EXPECT_NE(got[2].lParam & (1 << 29), 0);

  // Alt+F4, dispatched to the default procedure, ends in WM_CLOSE.
  key(SDL_KEYDOWN, SDL_SCANCODE_F4, KMOD_LALT);
  got = Take(hWnd);
  ASSERT_EQ(got.size(), 1u);
  gSeen.clear();
  DispatchMessageA(&got[0]);
  ASSERT_EQ(gSeen.size(), 3u);
  EXPECT_EQ(gSeen[1].message, WM_SYSCOMMAND);
  EXPECT_EQ(gSeen[1].wParam, SC_CLOSE);
  EXPECT_EQ(gSeen[2].message, WM_CLOSE);
}

TEST_F(WindowLayerTest, MouseBecomesClientPositionMessages) {
  HWND hWnd = CreateShown();
  const Uint32 id = GetSdlWindowId(hWnd);
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = id;
  e.motion.state = SDL_BUTTON_LMASK | SDL_BUTTON_RMASK;
  e.motion.x = 600;
  e.motion.y = 7;
  SDL_PushEvent(&e);
  e.motion.x = 700;  // outside the client area: not reported
  SDL_PushEvent(&e);
  SDL_Event b{};
  b.type = SDL_MOUSEBUTTONDOWN;
  b.button.windowID = id;
  b.button.button = SDL_BUTTON_MIDDLE;
  b.button.x = 3;
  b.button.y = 4;
  SDL_PushEvent(&b);
  b.type = SDL_MOUSEBUTTONUP;
  SDL_PushEvent(&b);
  SDL_Event w{};
  w.type = SDL_MOUSEWHEEL;
  w.wheel.windowID = id;
  w.wheel.y = -1;
  w.wheel.preciseY = -1.0f;
  SDL_PushEvent(&w);
  w.wheel.y = 2;
  w.wheel.preciseY = 2.0f;
  SDL_PushEvent(&w);

  const auto got = Take(hWnd);
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(got[0].message, WM_MOUSEMOVE);
  EXPECT_EQ(got[0].wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON), MK_LBUTTON | MK_RBUTTON);
  EXPECT_EQ(LOWORD(got[0].lParam), 600);
  EXPECT_EQ(HIWORD(got[0].lParam), 7);
  EXPECT_EQ(got[1].message, WM_MBUTTONDOWN);
  EXPECT_NE(got[1].wParam & MK_MBUTTON, 0u);
  EXPECT_EQ(LOWORD(got[1].lParam), 3);
  EXPECT_EQ(got[2].message, WM_MBUTTONUP);
  EXPECT_EQ(got[2].wParam & MK_MBUTTON, 0u);
  EXPECT_EQ(got[3].message, WM_MOUSEWHEEL);
  EXPECT_EQ(static_cast<int16_t>(HIWORD(got[3].wParam)), -120);
  EXPECT_EQ(static_cast<int16_t>(HIWORD(got[4].wParam)), 240);
}

TEST_F(WindowLayerTest, WindowEventsAreSentToTheProcedure) {
  HWND hWnd = CreateShown();
  const Uint32 id = GetSdlWindowId(hWnd);
  auto push = [&](Uint8 event, int d1 = 0, int d2 = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id;
    e.window.event = event;
    e.window.data1 = d1;
    e.window.data2 = d2;
    SDL_PushEvent(&e);
  };
  push(SDL_WINDOWEVENT_MINIMIZED);
  push(SDL_WINDOWEVENT_RESTORED);
  push(SDL_WINDOWEVENT_CLOSE);
  EXPECT_TRUE(Take(hWnd).empty());  // nothing is queued: all of it was sent
  std::vector<UINT> messages;
  for (const auto& m : gSeen)
    if (m.message != WM_MOVE) messages.push_back(m.message);
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[0], WM_SIZE);
  EXPECT_EQ(gSeen[0].wParam, SIZE_MINIMIZED);
  EXPECT_EQ(messages[1], WM_SIZE);
  EXPECT_EQ(messages[2], WM_SYSCOMMAND);
  EXPECT_EQ(messages[3], WM_CLOSE);
  EXPECT_TRUE(IsWindow(hWnd));  // the spy keeps its window on WM_CLOSE
}

TEST_F(WindowLayerTest, ModesThatTheDisplayLacksAreRefused) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmBitsPerPel = 32;
  mode.dmPelsWidth = 641;
  mode.dmPelsHeight = 479;
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  DEVMODEA current{};
  if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current)) {
    // The mode in force is always available.
    EXPECT_EQ(current.dmSize, sizeof(DEVMODEA));
    EXPECT_EQ(ChangeDisplaySettingsA(&current, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(ChangeDisplaySettingsA(&current, 0), DISP_CHANGE_SUCCESSFUL);
  }
}

TEST_F(WindowLayerTest, ContextsFollowWglRules) {
  HWND hWnd = Create(WS_OVERLAPPEDWINDOW, 200, 200);
  HDC dc = GetDC(hWnd);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(wglCreateContext(dc), nullptr);  // no pixel format yet
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.cColorBits = 32;
  pfd.cDepthBits = 16;
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
  pfd.dwFlags = PFD_DRAW_TO_WINDOW;  // no OpenGL
  EXPECT_EQ(ChoosePixelFormat(dc, &pfd), 0);
}

}  // namespace
