// The Win32 calls the shell makes, at the edges its callers meet: display modes, GL contexts and a
// window's state. The same cases run against the stand-in and, on Windows, against the real API.
#include "PixelFormat.h"
#include "Win32Api.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kSize = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;

bool Enum(DWORD index, DEVMODEA* mode, LPCSTR device = nullptr) {
  *mode = DEVMODEA{};
  mode->dmSize = sizeof(DEVMODEA);
  return EnumDisplaySettingsA(device, index, mode) != FALSE;
}

// Bits, width and height of a mode.
std::vector<DWORD> Shape(const DEVMODEA& m) { return {m.dmBitsPerPel, m.dmPelsWidth, m.dmPelsHeight}; }

LONG Change(DWORD fields, DWORD bits, DWORD width, DWORD height, DWORD flags, DWORD hertz = 0) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = fields;
  mode.dmBitsPerPel = bits;
  mode.dmPelsWidth = width;
  mode.dmPelsHeight = height;
  mode.dmDisplayFrequency = hertz;
  return ChangeDisplaySettingsA(&mode, flags);
}

TEST(DisplayModes, TheListEndsHoldsTheCurrentModeAndARequestMatchesOneOfItExactly) {
  DEVMODEA current, registry, m;
  ASSERT_TRUE(Enum(ENUM_CURRENT_SETTINGS, &current));
  ASSERT_TRUE(Enum(ENUM_REGISTRY_SETTINGS, &registry));
  EXPECT_EQ(current.dmFields & kSize, kSize);
  EXPECT_EQ(Shape(registry), Shape(current));
  EXPECT_TRUE(Enum(ENUM_CURRENT_SETTINGS, &m, "\\\\.\\DISPLAY1"));
  EXPECT_FALSE(Enum(ENUM_CURRENT_SETTINGS, &m, "\\\\.\\NOSUCH"));
  std::vector<DEVMODEA> listed;
  while (listed.size() < 1000 && Enum(static_cast<DWORD>(listed.size()), &m)) listed.push_back(m);
  ASSERT_LT(listed.size(), 1000u);
  ASSERT_FALSE(listed.empty());
  bool currentListed = false;
  for (const DEVMODEA& mode : listed) {
    currentListed = currentListed || Shape(mode) == Shape(current);
    EXPECT_EQ(Change(kSize, mode.dmBitsPerPel, mode.dmPelsWidth, mode.dmPelsHeight, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
  }
  EXPECT_TRUE(currentListed);
  for (DWORD past : {DWORD(listed.size()), DWORD(listed.size() + 1), DWORD{0x7FFFFFFF}, DWORD(-3)})
    EXPECT_FALSE(Enum(past, &m)) << past;

  const DWORD b = current.dmBitsPerPel, w = current.dmPelsWidth, h = current.dmPelsHeight;
  const DWORD hz = current.dmDisplayFrequency;
  const DWORD kHz = kSize | DM_DISPLAYFREQUENCY;
  struct Request {
    const char* what;
    DWORD fields, bits, width, height, hertz;
    LONG result;
  };
  for (const Request& r : std::initializer_list<Request>{
           {"the current mode", kSize, b, w, h, 0, DISP_CHANGE_SUCCESSFUL},
           {"one column more", kSize, b, w + 1, h, 0, DISP_CHANGE_BADMODE},
           {"100 rows fewer", kSize, b, w, h - 100, 0, DISP_CHANGE_BADMODE},
           {"24 bits", kSize, 24, w, h, 0, DISP_CHANGE_BADMODE},
           {"7 bits", kSize, 7, w, h, 0, DISP_CHANGE_BADMODE},
           {"0 bits: any", kSize, 0, w, h, 0, DISP_CHANGE_SUCCESSFUL},
           {"bits not flagged", DM_PELSWIDTH | DM_PELSHEIGHT, 7, w, h, 0, DISP_CHANGE_SUCCESSFUL},
           {"the width alone", DM_PELSWIDTH, b, w, h, 0, DISP_CHANGE_BADMODE},
           {"the bits alone", DM_BITSPERPEL, b, w, h, 0, DISP_CHANGE_BADMODE},
           {"no fields: the saved mode", 0, 7, 1, 1, 0, DISP_CHANGE_SUCCESSFUL},
           {"frequency 1: the default", kHz, b, w, h, 1, DISP_CHANGE_SUCCESSFUL},
           // A display that does not report its frequency takes any.
           {"another frequency", kHz, b, w, h, hz + 75, hz ? DISP_CHANGE_BADMODE : DISP_CHANGE_SUCCESSFUL},
           {"another frequency not flagged", kSize, b, w, h, hz + 75, DISP_CHANGE_SUCCESSFUL}})
    EXPECT_EQ(Change(r.fields, r.bits, r.width, r.height, CDS_TEST, r.hertz), r.result) << r.what;
  EXPECT_EQ(ChangeDisplaySettingsA(&current, CDS_TEST), DISP_CHANGE_SUCCESSFUL);  // as enumerated

  // A test changes nothing; a switch is the current mode until the saved one is restored.
  const DEVMODEA& last = listed.back();
  ASSERT_EQ(Change(kSize, last.dmBitsPerPel, last.dmPelsWidth, last.dmPelsHeight, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
  ASSERT_TRUE(Enum(ENUM_CURRENT_SETTINGS, &m));
  EXPECT_EQ(Shape(m), Shape(current));
  struct Restore {
    ~Restore() { ChangeDisplaySettingsA(nullptr, 0); }  // whatever fails below
  } restore;
  ASSERT_EQ(Change(kSize, last.dmBitsPerPel, last.dmPelsWidth, last.dmPelsHeight, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(Change(kSize, 7, w, h, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  ASSERT_TRUE(Enum(ENUM_CURRENT_SETTINGS, &m));
  EXPECT_EQ(Shape(m), Shape(last));
  ASSERT_TRUE(Enum(ENUM_REGISTRY_SETTINGS, &m));
  EXPECT_EQ(Shape(m), Shape(registry));
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  ASSERT_TRUE(Enum(ENUM_CURRENT_SETTINGS, &m));
  EXPECT_EQ(Shape(m), Shape(current));
}

LRESULT PlainProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hWnd, message, wParam, lParam);
}

// A window of a class of its own, destroyed (and the class unregistered) at the end of the test.
class PlainWindow {
 public:
  explicit PlainWindow(DWORD style, int width = 200, int height = 200) {
    const WNDCLASSEXA wc{sizeof(WNDCLASSEXA), 0, PlainProc, 0, 0, GetModuleHandleA(nullptr),
                         nullptr, nullptr, nullptr, nullptr, "Plain", nullptr};
    registered = RegisterClassExA(&wc) != 0;
    handle = CreateWindowExA(0, "Plain", "plain", style, 0, 0, width, height, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  }
  ~PlainWindow() {
    if (IsWindow(handle)) DestroyWindow(handle);
    if (registered) UnregisterClassA("Plain", GetModuleHandleA(nullptr));
  }
  PlainWindow(const PlainWindow&) = delete;
  PlainWindow& operator=(const PlainWindow&) = delete;
  bool registered = false;
  HWND handle = nullptr;
};

GLfloat ClearRed() {
  GLfloat colour[4] = {-1, -1, -1, -1};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
  return colour[0];
}

TEST(WglContexts, ANewContextLeavesTheCallersCurrentAndReleasingNeedsSomethingToRelease) {
  PlainWindow window(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(window.handle, nullptr);
  ShowWindow(window.handle, SW_SHOWNORMAL);
  HDC dc = GetDC(window.handle);
  const PIXELFORMATDESCRIPTOR pfd = testgl::WindowPixelFormat();
  const int format = ChoosePixelFormat(dc, &pfd);
  ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
  EXPECT_TRUE(SetPixelFormat(dc, format, &pfd));  // the same again
  EXPECT_EQ(wglCreateContext(nullptr), nullptr);
  EXPECT_FALSE(wglMakeCurrent(nullptr, nullptr));  // nothing current
  EXPECT_TRUE(wglMakeCurrent(dc, nullptr));

  HGLRC first = wglCreateContext(dc);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  ASSERT_TRUE(wglMakeCurrent(dc, first));
  glClearColor(0.25f, 0, 0, 1);
  HGLRC second = wglCreateContext(dc);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(wglGetCurrentContext(), first);
  EXPECT_EQ(ClearRed(), 0.25f) << "the caller's context is still the one GL draws with";
  ASSERT_TRUE(wglMakeCurrent(dc, second));
  EXPECT_EQ(ClearRed(), 0.0f);
  EXPECT_TRUE(wglMakeCurrent(dc, first));
  EXPECT_TRUE(wglMakeCurrent(dc, first));
  EXPECT_EQ(ClearRed(), 0.25f);

  // Deleting another context, or failing to make one current, keeps the current one.
  EXPECT_TRUE(wglDeleteContext(second));
  EXPECT_FALSE(wglMakeCurrent(dc, second));
  EXPECT_EQ(wglGetCurrentContext(), first);
  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_FALSE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_FALSE(wglMakeCurrent(nullptr, first));
  EXPECT_EQ(wglGetCurrentContext(), nullptr);

  // Deleting the current context leaves none current; a deleted one is gone for good.
  ASSERT_TRUE(wglMakeCurrent(dc, first));
  EXPECT_TRUE(wglDeleteContext(first));
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_FALSE(wglDeleteContext(first));
  EXPECT_FALSE(wglDeleteContext(nullptr));
  EXPECT_FALSE(wglMakeCurrent(dc, first));
  EXPECT_TRUE(SwapBuffers(dc));
  EXPECT_FALSE(SwapBuffers(nullptr));
  ReleaseDC(window.handle, dc);
}

TEST(WindowClasses, ASecondRegistrationFailsAndAClassGoesOnceNoWindowOfItIsLeft) {
  const HINSTANCE self = GetModuleHandleA(nullptr);
  const auto create = [self](const char* name) {
    return CreateWindowExA(0, name, "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, self, nullptr);
  };
  const WNDCLASSEXA wc{
      sizeof(WNDCLASSEXA), 0, PlainProc, 0, 0, self, nullptr, nullptr, nullptr, nullptr, "Twice", nullptr};
  ASSERT_NE(RegisterClassExA(&wc), 0);
  EXPECT_EQ(RegisterClassExA(&wc), 0);
  EXPECT_EQ(create("NoSuchClass"), nullptr);
  const HWND window = create("Twice");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(UnregisterClassA("Twice", self));  // a window of it is still there
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(UnregisterClassA("Twice", self));
  EXPECT_FALSE(UnregisterClassA("Twice", self));
  EXPECT_EQ(create("Twice"), nullptr);
  EXPECT_NE(RegisterClassExA(&wc), 0);  // and it can be registered again
  EXPECT_TRUE(UnregisterClassA("Twice", self));
}

// Requests with a field left out, as Windows takes them: a class needs its size and a name, while a
// pixel format request needs only to ask for RGBA. A window's format is set once.
TEST(Requests, AClassNeedsItsSizeAndNameAPixelFormatOnlyRgbaAndAWindowKeepsItsFormat) {
  const HINSTANCE self = GetModuleHandleA(nullptr);
  for (const auto& change : std::initializer_list<std::pair<const char*, void (*)(WNDCLASSEXA&)>>{
           {"no size", [](WNDCLASSEXA& c) { c.cbSize = 0; }},
           {"no name", [](WNDCLASSEXA& c) { c.lpszClassName = nullptr; }},
           {"an empty name", [](WNDCLASSEXA& c) { c.lpszClassName = ""; }}}) {
    WNDCLASSEXA wc{sizeof(WNDCLASSEXA), 0, PlainProc, 0, 0, self, nullptr, nullptr, nullptr, nullptr, "Part", nullptr};
    change.second(wc);
    EXPECT_EQ(RegisterClassExA(&wc), 0) << change.first;
  }

  PlainWindow window(WS_POPUP, 10, 10);
  HDC dc = GetDC(window.handle);
  const PIXELFORMATDESCRIPTOR pfd = testgl::WindowPixelFormat();
  for (const auto& change : std::initializer_list<std::pair<const char*, void (*)(PIXELFORMATDESCRIPTOR&)>>{
           {"no size", [](PIXELFORMATDESCRIPTOR& f) { f.nSize = 0; }},
           {"no version", [](PIXELFORMATDESCRIPTOR& f) { f.nVersion = 0; }},
           {"no OpenGL", [](PIXELFORMATDESCRIPTOR& f) { f.dwFlags &= ~PFD_SUPPORT_OPENGL; }},
           {"no window", [](PIXELFORMATDESCRIPTOR& f) { f.dwFlags &= ~PFD_DRAW_TO_WINDOW; }},
           {"colour index", [](PIXELFORMATDESCRIPTOR& f) { f.iPixelType = PFD_TYPE_COLORINDEX; }}}) {
    PIXELFORMATDESCRIPTOR f = pfd;
    change.second(f);
    EXPECT_EQ(ChoosePixelFormat(dc, &f) > 0, f.iPixelType == PFD_TYPE_RGBA) << change.first;
  }
  EXPECT_EQ(ChoosePixelFormat(nullptr, &pfd), 0);  // no device context
  PIXELFORMATDESCRIPTOR shallow = pfd;
  shallow.cColorBits = 16, shallow.cDepthBits = 0, shallow.dwFlags &= ~PFD_DOUBLEBUFFER;
  const int format = ChoosePixelFormat(dc, &pfd), another = ChoosePixelFormat(dc, &shallow);
  ASSERT_NE(another, format);
  ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
  EXPECT_FALSE(SetPixelFormat(dc, another, &shallow));
  ReleaseDC(window.handle, dc);
}

TEST(MessageQueue, PostQuitMessagesQuitPassesEveryFilterAndAPostedOneOnlyItsRange) {
  PlainWindow window(WS_POPUP, 10, 10);
  ASSERT_NE(window.handle, nullptr);
  const HWND h = window.handle, none = nullptr, thread = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
  }
  struct Case {
    bool posted;  // PostMessageA to the window rather than PostQuitMessage
    HWND filter;
    UINT first, last;
    bool taken;
  };
  for (const Case& c : std::initializer_list<Case>{{false, none, 0, 0, true},
                                                   {false, none, WM_USER, WM_USER, true},
                                                   {false, none, WM_QUIT + 1, 0xFFFF, true},
                                                   {false, none, 0, WM_QUIT - 1, true},
                                                   {false, h, WM_USER, WM_USER, true},
                                                   {false, thread, WM_USER, WM_USER, true},
                                                   {true, h, 0, 0, true},
                                                   {true, h, WM_QUIT, WM_QUIT, true},
                                                   {true, h, WM_USER, WM_USER, false},
                                                   {true, none, WM_QUIT + 1, 0xFFFF, false}}) {
    if (c.posted)
      ASSERT_TRUE(PostMessageA(h, WM_QUIT, 3, 0));
    else
      PostQuitMessage(3);
    m = MSG{};
    const bool taken = PeekMessageA(&m, c.filter, c.first, c.last, PM_REMOVE) != FALSE;
    EXPECT_EQ(std::make_pair(taken, m.message), std::make_pair(c.taken, c.taken ? UINT{WM_QUIT} : 0u))
        << c.posted << " " << c.filter << " " << c.first << "-" << c.last;
    EXPECT_EQ(m.wParam, taken ? 3u : 0u);
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
}

TEST(WindowState, CountsAndPreviousValuesStartWhereWin32Starts) {
  // Nothing in this process has touched the pointer counter: it starts at 0.
  std::vector<int> counts;
  for (BOOL show : {FALSE, TRUE, TRUE, FALSE}) counts.push_back(ShowCursor(show));
  EXPECT_EQ(counts, (std::vector<int>{-1, 0, 1, 0}));

  RECT frame{0, 0, 640, 480};
  ASSERT_TRUE(AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW));
  RECT withMenu{0, 0, 640, 480};
  AdjustWindowRectEx(&withMenu, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_APPWINDOW);
  EXPECT_LT(withMenu.top, frame.top);  // a menu bar adds to the top only
  EXPECT_EQ(std::vector<LONG>({withMenu.left, withMenu.right, withMenu.bottom}),
            std::vector<LONG>({frame.left, frame.right, frame.bottom}));
  for (DWORD style : {DWORD{WS_POPUP}, DWORD{WS_CHILD}}) {
    RECT r{10, 20, 110, 220};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_APPWINDOW | WS_EX_TOPMOST);
    EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), std::vector<LONG>({10, 20, 110, 220})) << style;
  }

  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  PlainWindow window(WS_OVERLAPPEDWINDOW, width, height);
  HWND hWnd = window.handle;
  ASSERT_NE(hWnd, nullptr);
  RECT r{};
  ASSERT_TRUE(GetWindowRect(hWnd, &r));
  EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), std::vector<LONG>({0, 0, width, height}));
  ASSERT_TRUE(GetClientRect(hWnd, &r));
  EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), std::vector<LONG>({0, 0, 640, 480}));
  EXPECT_EQ(SetWindowLongPtrA(hWnd, GWLP_USERDATA, 5), 0);
  EXPECT_EQ(SetWindowLongPtrA(hWnd, GWLP_USERDATA, 7), 5);
  EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), 7);
  // ShowWindow answers whether the window was visible before.
  std::vector<bool> wasVisible;
  for (int command : {SW_HIDE, SW_SHOWNORMAL, SW_SHOWNORMAL, SW_HIDE, SW_HIDE})
    wasVisible.push_back(ShowWindow(hWnd, command) != FALSE);
  EXPECT_EQ(wasVisible, (std::vector<bool>{false, false, true, true, false}));

  EXPECT_TRUE(DestroyWindow(hWnd));
  EXPECT_FALSE(DestroyWindow(hWnd));
  EXPECT_FALSE(IsWindow(hWnd));
  EXPECT_FALSE(ShowWindow(hWnd, SW_SHOWNORMAL));
  EXPECT_FALSE(GetClientRect(hWnd, &r));
  EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), 0);
}

}  // namespace
