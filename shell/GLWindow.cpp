// The application shell: window class, OpenGL window and context, main loop, window procedure.
#include "GLWindow.h"
#include "AccessWindow.h"
#include "Win32Calls.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

uint8_t Fullscreen = 0;
DEVMODEA SavedDisplayMode{};

namespace {
const char* const kClassName = "OpenGL";

void ClearKeys(TKeys& keys) { std::memset(keys.Down, 0, sizeof(keys.Down)); }

// Windows marks the mouse messages it makes of touch: MI_WP_SIGNATURE and the touch bit.
uint8_t FromTouch() { return (static_cast<uint32_t>(GetMessageExtraInfo()) & 0xFFFFFF80u) == 0xFF515780u ? 1 : 0; }

void ShowError(const char* text) { MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONEXCLAMATION); }

// Releases what OpenGLWindow obtained so far, newest first.
void ReleaseWindow(TWindow& window) {
  if (window.RC) {
    wglDeleteContext(window.RC);
    window.RC = nullptr;
  }
  if (window.DC) {
    ReleaseDC(window.Handle, window.DC);
    window.DC = nullptr;
  }
  if (window.Handle) {
    DestroyWindow(window.Handle);
    window.Handle = nullptr;
  }
  // A display mode switched for this window is put back, and the pointer shown one step again,
  // so that the desktop is not left in the program's mode when the program ends after the failure.
  if (window.IsFullscreen) {
    ChangeDisplaySettingsA(&SavedDisplayMode, 0);
    ShowCursor(TRUE);
  }
}
}  // namespace

int32_t RunApp(int32_t width, int32_t height, int32_t bits, const char* title, bool fullscreen, bool showCursor) {
  ScreenWidth = width;
  ScreenHeight = height;
  return RunWindowLoop(width, height, bits, title, fullscreen, showCursor, GetModuleHandleA(nullptr));
}

int32_t RunWindowLoop(int32_t width, int32_t height, int32_t bits, const char* title, bool fullscreen,
                      bool showCursor, HINSTANCE instance) {
  TApplication app{};
  TWindow window{};
  TKeys keys{};

  app.Instance = instance;
  app.ClassName = kClassName;

  window = TWindow{};
  window.KeyTable = &keys;
  window.App = &app;
  window.Title = title;
  window.WindowWidth = width;
  window.WindowHeight = height;
  window.Bits = bits;
  window.IsFullscreen = fullscreen ? 1 : 0;

  ShowCursor(showCursor ? TRUE : FALSE);
  ClearKeys(keys);

  if (!RegisterWindowClass(app)) {
    ShowError("Error Registering Window Class!");
    return -1;
  }

  Running = 1;
  Fullscreen = window.IsFullscreen;
  while (Running) {
    window.IsFullscreen = Fullscreen;
    if (!OpenGLWindow(window)) {
      ShowError("Error Creating OpenGL Window");
      Running = 0;
      continue;
    }
    if (SetupGL(window, keys)) {
      MSG msg;
      for (;;) {
        if (PeekMessageA(&msg, window.Handle, 0, 0, PM_REMOVE)) {
          if (msg.message == WM_QUIT) break;
          TranslateMessage(&msg);
          DispatchMessageA(&msg);
        } else if (!window.Active) {
          WaitMessage();
        } else {
          const DWORD now = GetTickCount();
          FrameTime = now - window.LastTick;
          if (GetTickCount() - FPSLastTime >= 1000) {
            FPSLastTime = GetTickCount();
            FPS = FPSCount;
            FPSCount = 0;
          }
          FPSCount = FPSCount + 1;
          ProcessKeys();
          DrawScene();
          window.LastTick = now;
          SwapBuffers(window.DC);
        }
      }
    } else {
      QuitApp(window);
    }
    FreeScene();
    CloseGLWindow(window);
  }

  UnregisterClassA(kClassName, instance);
  // The records die with this call; nothing may reach them through the globals afterwards.
  MainWindow = nullptr;
  Keys = nullptr;
  return 0;
}

bool RegisterWindowClass(TApplication& app) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(WNDCLASSEXA);
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  wc.lpfnWndProc = WndProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = app.Instance;
  wc.hIcon = nullptr;
  wc.hIconSm = nullptr;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(12));
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = app.ClassName;
  if (!RegisterClassExA(&wc)) {
    MessageBoxA(nullptr, "RegisterClassEx Failed!", "Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  return true;
}

bool SetDisplayMode(int32_t width, int32_t height, int32_t bits) {
  DEVMODEA mode{};
  mode.dmSize = sizeof(DEVMODEA);  // 156
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmBitsPerPel = static_cast<DWORD>(bits);
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  const LONG result = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
  ScreenWidth = width;
  ScreenHeight = height;
  return result == DISP_CHANGE_SUCCESSFUL;
}

bool OpenGLWindow(TWindow& window) {
  // OpenGL and GLU are linked into the program; there is nothing to load by name.
  DWORD exStyle = WS_EX_APPWINDOW;
  DWORD style = WS_OVERLAPPEDWINDOW;
  RECT rect{0, 0, window.WindowWidth, window.WindowHeight};

  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);  // 40
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = static_cast<BYTE>(window.Bits & 0xFF);
  pfd.cDepthBits = 16;
  pfd.cStencilBits = 0;
  pfd.cAuxBuffers = 0;
  pfd.iLayerType = PFD_MAIN_PLANE;

  if (window.IsFullscreen) {
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &SavedDisplayMode);
    if (SetDisplayMode(window.WindowWidth, window.WindowHeight, window.Bits)) {
      ShowCursor(FALSE);
      style = WS_POPUP;
      exStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
    } else {
      // The "\n" is meant to stand in the text as its two characters.
      MessageBoxA(nullptr, "Mode Switch Failed.\\nRunning In Windowed Mode.", "Error", MB_OK | MB_ICONEXCLAMATION);
      window.IsFullscreen = 0;
      // The program runs windowed now: the next toggle asks for fullscreen again.
      Fullscreen = 0;
    }
  } else {
    AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW);
  }

  window.Handle = CreateWindowExA(exStyle, kClassName, window.Title, style, 0, 0, rect.right - rect.left,
                                  rect.bottom - rect.top, nullptr, nullptr, window.App->Instance, &window);
  if (!window.Handle) {
    ReleaseWindow(window);
    return false;
  }

  window.DC = GetDC(window.Handle);
  if (!window.DC) {
    ReleaseWindow(window);
    return false;
  }

  const int format = ChoosePixelFormat(window.DC, &pfd);
  if (format == 0 || !SetPixelFormat(window.DC, format, &pfd)) {
    ReleaseWindow(window);
    return false;
  }

  window.RC = wglCreateContext(window.DC);
  if (!window.RC || !wglMakeCurrent(window.DC, window.RC)) {
    ReleaseWindow(window);
    return false;
  }

  ShowWindow(window.Handle, SW_SHOWNORMAL);
  SetAccessWindow(window.Handle);
  window.Active = 1;
  // The client area: the requested size, except after a failed mode switch, where the frame is
  // that size and the client area smaller.
  RECT client{0, 0, window.WindowWidth, window.WindowHeight};
  if (!GetClientRect(window.Handle, &client)) client = RECT{0, 0, window.WindowWidth, window.WindowHeight};
  ResizeViewport(client.right - client.left, client.bottom - client.top);
  ClearKeys(*window.KeyTable);
  window.LastTick = GetTickCount();
  return true;
}

bool CloseGLWindow(TWindow& window) {
  if (window.Handle) {
    SetAccessWindow(nullptr);
    if (window.DC) {
      wglMakeCurrent(window.DC, nullptr);
      if (window.RC) {
        wglDeleteContext(window.RC);
        window.RC = nullptr;
      }
      ReleaseDC(window.Handle, window.DC);
      window.DC = nullptr;
    }
    DestroyWindow(window.Handle);
    window.Handle = nullptr;
  }
  if (window.IsFullscreen) {
    ChangeDisplaySettingsA(&SavedDisplayMode, 0);
    ShowCursor(TRUE);
  }
  return true;
}

bool SetupGL(TWindow& window, TKeys& keys) {
  MainWindow = &window;
  Keys = &keys;
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  BuildScene();
  return true;
}

void ResizeViewport(int32_t width, int32_t height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // A window with no client width or height (a minimised or collapsed frame) keeps a finite,
  // non-zero aspect ratio.
  const int32_t dividend = width == 0 ? 1 : width;
  const int32_t divisor = height == 0 ? 1 : height;
  gluPerspective(45.0, static_cast<double>(dividend) / static_cast<double>(divisor), 0.01, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  ScreenWidth = width;
  ScreenHeight = height;
}

LRESULT WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TWindow* window = reinterpret_cast<TWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      return 0;
    }
    case WM_SIZE:
      if (!window) break;
      if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
        window->Active = 1;
        ResizeViewport(LOWORD(static_cast<uintptr_t>(lParam)), HIWORD(static_cast<uintptr_t>(lParam)));
        return 0;
      }
      if (wParam == SIZE_MINIMIZED) {
        window->Active = 0;
        return 0;
      }
      break;
    case WM_CLOSE:
      if (!window) break;
      QuitApp(*window);
      return 0;
    case WM_KEYDOWN:
      if (window && wParam <= 255) {
        window->KeyTable->Down[wParam] = 1;
        // Shift as the system has it: a window that lost the focus while Shift was held never saw
        // it go up.
        PushKeyPress(static_cast<uint8_t>(wParam), GetKeyState(VK_SHIFT) < 0);
      }
      return 0;
    case WM_KEYUP:
      if (window && wParam <= 255) window->KeyTable->Down[wParam] = 0;
      return 0;
    case WM_SYSCOMMAND:
      if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
      break;
    case WM_MOUSEMOVE:
      MouseLeft = (wParam & MK_LBUTTON) ? 1 : 0;
      MouseMiddle = (wParam & MK_MBUTTON) ? 1 : 0;
      MouseRight = (wParam & MK_RBUTTON) ? 1 : 0;
      PrevMouseX = MouseX;
      PrevMouseY = MouseY;
      MouseX = LOWORD(static_cast<uintptr_t>(lParam));
      MouseY = HIWORD(static_cast<uintptr_t>(lParam));
      MouseTouch = FromTouch();
      return 0;
    case WM_LBUTTONDOWN:
      MouseLeft = 1;
      MouseTouch = FromTouch();
      return 0;
    case WM_LBUTTONUP:
      MouseLeft = 0;
      MouseTouch = FromTouch();
      return 0;
    case WM_MBUTTONDOWN: MouseMiddle = 1; return 0;
    case WM_MBUTTONUP: MouseMiddle = 0; return 0;
    case WM_RBUTTONDOWN: MouseRight = 1; return 0;
    case WM_RBUTTONUP: MouseRight = 0; return 0;
    case WM_MOUSEWHEEL:
      if (static_cast<int16_t>(HIWORD(wParam)) > 0)
        MouseWheel = MouseWheel + 1.0;
      else
        MouseWheel = MouseWheel - 1.0;
      return 0;
    case WM_TOGGLEFULLSCREEN:
      Fullscreen = Fullscreen ? 0 : 1;
      PostMessageA(hWnd, WM_QUIT, 0, 0);
      return 0;
    default: break;
  }
  return DefWindowProcA(hWnd, message, wParam, lParam);
}
