// SDL backend: window classes and windows: registration, creation and destruction, showing,
// size, place, the window's own data, and the pointer's visibility. The message queue and the
// translation of SDL's events into messages are in SdlMessages.cpp, display modes in
// desktop/DesktopDisplayModes.cpp (web/WebDisplayModes.cpp in the browser), device contexts in
// SdlDeviceContexts.cpp, GL contexts in SdlWgl.cpp, the shared state in SdlWindowLayer.h.
//
// Handles are small numbers (never pointers into our tables), so a stale handle is simply not
// found. A window's SDL window is made when it is first needed: SetPixelFormat makes it an
// OpenGL window with the chosen format (X11 fixes the visual when the window is created), and
// ShowWindow makes a plain one for a window that never gets a pixel format.
#include "Presentation.h"
#include "SdlHooks.h"
#include "SdlText.h"
#include "SdlWindowLayer.h"
#include "Win32Api.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace sdl_layer {

// ---- the layer's state, SDL's video and the SDL windows ------------------------------------------

LayerState gLayer;

void ApplyCursor() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(gLayer.cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

bool EnsureVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  // No mouse capture: like a Win32 window without SetCapture, moves outside the client area are
  // not reported.
  SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    SDL_Log("SDL video: %s", SDL_GetError());
    return false;
  }
  gLayer.ownVideo = true;
  ApplyCursor();
  return true;
}

void MaybeReleaseVideo() {
  if (gLayer.ownVideo && gLayer.classes.empty() && gLayer.windows.empty() && gLayer.contexts.empty()) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    gLayer.ownVideo = false;
    gLayer.modeSwitched = false;
    gLayer.buttons = 0;
    gLayer.touching = false;
  }
}

Window* FindWindow(HWND hWnd) {
  const auto it = gLayer.windows.find(HandleId(hWnd, kWindowTag));
  return it == gLayer.windows.end() ? nullptr : it->second.get();
}

Window* FindWindowOfDc(HDC dc) {
  const auto it = gLayer.windows.find(HandleId(dc, kDcTag));
  return it == gLayer.windows.end() ? nullptr : it->second.get();
}

bool Materialize(Window& w, bool gl) {
  if (w.sdl && (w.gl || !gl)) return true;
  if (!EnsureVideo()) return false;
  if (w.sdl) {
    SDL_DestroyWindow(w.sdl);
    w.sdl = nullptr;
  }
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (gl) flags |= SDL_WINDOW_OPENGL;
  const bool popup = (w.style & WS_POPUP) != 0;
  if ((w.style & WS_CAPTION) != WS_CAPTION && !(w.style & WS_THICKFRAME)) flags |= SDL_WINDOW_BORDERLESS;
  if ((w.style & WS_THICKFRAME) && kPresentation.WindowManagerResizes()) flags |= SDL_WINDOW_RESIZABLE;
  if (w.exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  const bool switched = popup && gLayer.modeSwitched;
  if (switched) flags |= SDL_WINDOW_FULLSCREEN;
  const int x = w.positioned ? w.clientX : static_cast<int>(SDL_WINDOWPOS_UNDEFINED);
  const int y = w.positioned ? w.clientY : static_cast<int>(SDL_WINDOWPOS_UNDEFINED);
  w.sdl = SDL_CreateWindow(w.title.c_str(), x, y, std::max(1, w.clientW), std::max(1, w.clientH), flags);
  if (!w.sdl) {
    SDL_Log("SDL_CreateWindow: %s", SDL_GetError());
    return false;
  }
  if (switched) SDL_SetWindowDisplayMode(w.sdl, &gLayer.switchedMode);
  // A window that follows its surroundings takes their size now, before a GL context has a
  // drawing buffer in it to resize (in the browser a resize waits on the GPU process). The change
  // still reaches the program as WM_SIZE from the message pump.
  kPresentation.FollowSurroundings(w);
  w.gl = gl;
  if (w.visible) SDL_ShowWindow(w.sdl);
  return true;
}

}  // namespace sdl_layer

using namespace sdl_layer;

namespace {

bool SameName(const std::string& a, const char* b) {
  if (!b || a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool IsAtom(const char* name) { return reinterpret_cast<uintptr_t>(name) < 0x10000; }

void FrameOf(DWORD style, BOOL menu, RECT* frame) {
  *frame = RECT{0, 0, 0, 0};
  AdjustWindowRectEx(frame, style, menu, 0);
}

}  // namespace

HINSTANCE GetModuleHandleA(LPCSTR moduleName) {
  static char module;
  return moduleName ? nullptr : reinterpret_cast<HINSTANCE>(&module);
}

// ---- classes -------------------------------------------------------------------------------------

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpfnWndProc || !wc->lpszClassName ||
      IsAtom(wc->lpszClassName) || !*wc->lpszClassName)
    return 0;
  for (const auto& c : gLayer.classes)
    if (c.instance == wc->hInstance && SameName(c.name, wc->lpszClassName)) return 0;
  gLayer.classes.push_back(WindowClass{wc->lpszClassName, wc->hInstance, wc->lpfnWndProc, wc->style});
  return static_cast<ATOM>(0xC000 + gLayer.classes.size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance) {
  if (!className || IsAtom(className)) return FALSE;
  for (auto it = gLayer.classes.begin(); it != gLayer.classes.end(); ++it) {
    if (it->instance != instance || !SameName(it->name, className)) continue;
    for (const auto& entry : gLayer.windows)
      if (entry.second->proc == it->proc) return FALSE;  // windows of the class still exist
    gLayer.classes.erase(it);
    MaybeReleaseVideo();
    return TRUE;
  }
  return FALSE;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  // Only the system arrow exists; it is what SDL shows anyway.
  if (instance == nullptr && name == IDC_ARROW) return MakeHandle<HCURSOR>(32512, kCursorTag);
  return nullptr;
}

// ---- windows -------------------------------------------------------------------------------------

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD) {
  if (!rect) return FALSE;
  int frame = 0;
  if (style & WS_THICKFRAME)
    frame = 8;
  else if ((style & WS_CAPTION) == WS_CAPTION || (style & WS_DLGFRAME))
    frame = 3;
  else if (style & WS_BORDER)
    frame = 1;
  int top = frame;
  if ((style & WS_CAPTION) == WS_CAPTION) top += 23;
  if (menu) top += 20;
  rect->left -= frame;
  rect->right += frame;
  rect->top -= top;
  rect->bottom += frame;
  return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  if (!className || IsAtom(className)) return nullptr;
  const WindowClass* cls = nullptr;
  for (const auto& c : gLayer.classes)
    if (SameName(c.name, className) && (!cls || c.instance == instance)) cls = &c;
  if (!cls) return nullptr;

  auto owned = std::make_unique<Window>();
  Window& w = *owned;
  w.id = gLayer.nextWindowId++;
  w.proc = cls->proc;
  w.style = style & ~WS_VISIBLE;
  w.exStyle = exStyle;
  w.title = Cp1250ToUtf8(windowName);
  RECT frame;
  FrameOf(w.style, menu != nullptr, &frame);
  w.positioned = x != CW_USEDEFAULT;
  if (!w.positioned) x = y = 0;
  if (width == CW_USEDEFAULT) width = 640 + (frame.right - frame.left), height = 480 + (frame.bottom - frame.top);
  w.clientX = x - frame.left;
  w.clientY = y - frame.top;
  w.clientW = std::max(0, width - (frame.right - frame.left));
  w.clientH = std::max(0, height - (frame.bottom - frame.top));
  const HWND hWnd = HandleOf(w);
  gLayer.windows.emplace(w.id, std::move(owned));

  CREATESTRUCTA cs{};
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.cx = width;
  cs.cy = height;
  cs.x = x;
  cs.y = y;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  const LPARAM create = reinterpret_cast<LPARAM>(&cs);
  if (!SendMessageA(hWnd, WM_NCCREATE, 0, create) || SendMessageA(hWnd, WM_CREATE, 0, create) == -1) {
    DestroyWindow(hWnd);
    return nullptr;
  }
  if (!FindWindow(hWnd)) return nullptr;  // the procedure destroyed it
  if (style & WS_VISIBLE) ShowWindow(hWnd, SW_SHOWNORMAL);
  return FindWindow(hWnd) ? hWnd : nullptr;
}

BOOL DestroyWindow(HWND hWnd) {
  Window* w = FindWindow(hWnd);
  if (!w || w->destroying) return FALSE;
  w->destroying = true;
  SendMessageA(hWnd, WM_DESTROY, 0, 0);
  SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
  if (w->sdl) SDL_DestroyWindow(w->sdl);
  DropMessagesOf(hWnd);
  gLayer.windows.erase(w->id);
  if (gLayer.windows.empty()) gLayer.buttons = 0;
  MaybeReleaseVideo();
  return TRUE;
}

BOOL IsWindow(HWND hWnd) { return FindWindow(hWnd) != nullptr; }

BOOL ShowWindow(HWND hWnd, int command) {
  Window* w = FindWindow(hWnd);
  if (!w) return FALSE;
  const BOOL wasVisible = w->visible;
  if (command == SW_HIDE) {
    w->visible = false;
    if (w->sdl) SDL_HideWindow(w->sdl);
    return wasVisible;
  }
  if (!Materialize(*w, w->gl)) return wasVisible;
  w->visible = true;
  SDL_ShowWindow(w->sdl);
  switch (command) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE: SDL_MinimizeWindow(w->sdl); break;
    case SW_SHOWMAXIMIZED: SDL_MaximizeWindow(w->sdl); break;
    case SW_RESTORE: SDL_RestoreWindow(w->sdl); break;
    default: break;
  }
  // A window created hidden learns its size and place when it is first shown, as on Win32.
  if (w->needSize) {
    w->needSize = false;
    SendMessageA(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(w->clientW), static_cast<WORD>(w->clientH)));
    if ((w = FindWindow(hWnd)) != nullptr) SendMessageA(hWnd, WM_MOVE, 0, PointParam(w->clientX, w->clientY));
  }
  return wasVisible;
}

BOOL GetClientRect(HWND hWnd, RECT* rect) {
  const Window* w = FindWindow(hWnd);
  if (!w || !rect) return FALSE;
  *rect = RECT{0, 0, w->clientW, w->clientH};
  return TRUE;
}

BOOL GetWindowRect(HWND hWnd, RECT* rect) {
  const Window* w = FindWindow(hWnd);
  if (!w || !rect) return FALSE;
  *rect = RECT{w->clientX, w->clientY, w->clientX + w->clientW, w->clientY + w->clientH};
  AdjustWindowRectEx(rect, w->style, FALSE, w->exStyle);
  return TRUE;
}

LONG_PTR GetWindowLongPtrA(HWND hWnd, int index) {
  const Window* w = FindWindow(hWnd);
  if (!w) return 0;
  switch (index) {
    case GWLP_USERDATA: return w->userData;
    default: return 0;
  }
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int index, LONG_PTR value) {
  Window* w = FindWindow(hWnd);
  if (!w || index != GWLP_USERDATA) return 0;
  const LONG_PTR previous = w->userData;
  w->userData = value;
  return previous;
}

// ---- the pointer ---------------------------------------------------------------------------------

int ShowCursor(BOOL show) {
  gLayer.cursorCounter += show ? 1 : -1;
  ApplyCursor();
  return gLayer.cursorCounter;
}

// ---- test hooks ----------------------------------------------------------------------------------

int CountWindows() { return static_cast<int>(gLayer.windows.size()); }

void SetWaitHook(void (*hook)()) { gLayer.waitHook = hook; }

uint32_t GetSdlWindowId(HWND hWnd) {
  const Window* w = FindWindow(hWnd);
  return (w && w->sdl) ? SDL_GetWindowID(w->sdl) : 0;
}
