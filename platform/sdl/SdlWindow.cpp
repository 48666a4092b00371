// SDL backend: window classes, windows, the message queue and the translation of SDL's events
// (keys to virtual-key codes, the mouse, window events) into Win32 messages. Display modes are in
// SdlDisplayModes.cpp, device contexts in SdlDeviceContexts.cpp, GL contexts in SdlWgl.cpp, the shared
// state in SdlWindowLayer.h.
//
// Handles are small numbers (never pointers into our tables), so a stale handle is simply not
// found. A window's SDL window is made when it is first needed: SetPixelFormat makes it an
// OpenGL window with the chosen format (X11 fixes the visual when the window is created), and
// ShowWindow makes a plain one for a window that never gets a pixel format.
#include "SdlHooks.h"
#include "SdlText.h"
#include "SdlWindowLayer.h"
#include "Win32Api.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sdl_layer {

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

void ApplyGlAttributes(const PIXELFORMATDESCRIPTOR& pfd) {
  SDL_GL_ResetAttributes();
  int channel = 0;
  if (pfd.cColorBits >= 24)
    channel = 8;
  else if (pfd.cColorBits >= 15)
    channel = 5;
  else if (pfd.cColorBits > 0)
    channel = 1;
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, pfd.cRedBits ? pfd.cRedBits : channel);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, pfd.cGreenBits ? pfd.cGreenBits : channel);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, pfd.cBlueBits ? pfd.cBlueBits : channel);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, pfd.cAlphaBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, pfd.cDepthBits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, pfd.cStencilBits);
  const int accum = pfd.cAccumBits / 4;
  SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, pfd.cAccumRedBits ? pfd.cAccumRedBits : accum);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, pfd.cAccumGreenBits ? pfd.cAccumGreenBits : accum);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, pfd.cAccumBlueBits ? pfd.cAccumBlueBits : accum);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, pfd.cAccumAlphaBits);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (pfd.dwFlags & PFD_DOUBLEBUFFER) ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_STEREO, (pfd.dwFlags & PFD_STEREO) ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
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
  if (w.style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
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




Window* FindWindowBySdlId(Uint32 sdlId) {
  for (auto& entry : gLayer.windows)
    if (entry.second->sdl && SDL_GetWindowID(entry.second->sdl) == sdlId) return entry.second.get();
  return nullptr;
}
HWND HandleOf(const Window& w) { return MakeHandle<HWND>(w.id, kWindowTag); }

void FrameOf(DWORD style, BOOL menu, RECT* frame) {
  *frame = RECT{0, 0, 0, 0};
  AdjustWindowRectEx(frame, style, menu, 0);
}



void Enqueue(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  msg.hwnd = hWnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = GetTickCount();
  if (SDL_WasInit(SDL_INIT_VIDEO)) {
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    msg.pt = POINT{x, y};
  }
  gLayer.queue.push_back(msg);
}

int VirtualKey(const SDL_Keysym& key) {
  const SDL_Keycode sym = key.sym;
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
  if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
  const SDL_Scancode sc = key.scancode;
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return VK_NUMPAD0 + 1 + (sc - SDL_SCANCODE_KP_1);
  switch (sc) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_TAB: return VK_TAB;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return VK_SHIFT;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return VK_CONTROL;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return VK_MENU;
    case SDL_SCANCODE_LGUI: return VK_LWIN;
    case SDL_SCANCODE_RGUI: return VK_RWIN;
    case SDL_SCANCODE_APPLICATION: return VK_APPS;
    case SDL_SCANCODE_INSERT: return VK_INSERT;
    case SDL_SCANCODE_DELETE: return VK_DELETE;
    case SDL_SCANCODE_HOME: return VK_HOME;
    case SDL_SCANCODE_END: return VK_END;
    case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
    case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
    case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
    case SDL_SCANCODE_PAUSE: return VK_PAUSE;
    case SDL_SCANCODE_PRINTSCREEN: return VK_SNAPSHOT;
    case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDL_SCANCODE_SCROLLLOCK: return VK_SCROLL;
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PERIOD: return VK_DECIMAL;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
    case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
    case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
    case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH: return VK_OEM_2;
    case SDL_SCANCODE_GRAVE: return VK_OEM_3;
    case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
    case SDL_SCANCODE_BACKSLASH: return VK_OEM_5;
    case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
    case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
    default: return 0;
  }
}

bool IsExtendedKey(SDL_Scancode sc) {
  switch (sc) {
    case SDL_SCANCODE_RCTRL:
    case SDL_SCANCODE_RALT:
    case SDL_SCANCODE_KP_ENTER:
    case SDL_SCANCODE_KP_DIVIDE:
    case SDL_SCANCODE_INSERT:
    case SDL_SCANCODE_DELETE:
    case SDL_SCANCODE_HOME:
    case SDL_SCANCODE_END:
    case SDL_SCANCODE_PAGEUP:
    case SDL_SCANCODE_PAGEDOWN:
    case SDL_SCANCODE_LEFT:
    case SDL_SCANCODE_RIGHT:
    case SDL_SCANCODE_UP:
    case SDL_SCANCODE_DOWN: return true;
    default: return false;
  }
}

WPARAM MouseKeyFlags(Uint32 buttons, Uint16 mods) {
  WPARAM flags = 0;
  if (buttons & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
  if (buttons & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
  if (buttons & SDL_BUTTON_MMASK) flags |= MK_MBUTTON;
  if (mods & KMOD_SHIFT) flags |= MK_SHIFT;
  if (mods & KMOD_CTRL) flags |= MK_CONTROL;
  return flags;
}

bool InClient(const Window& w, int x, int y) { return x >= 0 && y >= 0 && x < w.clientW && y < w.clientH; }

LPARAM PointParam(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)), static_cast<WORD>(static_cast<int16_t>(y)));
}

void SendSize(Window& w, WPARAM kind) {
  const HWND hWnd = HandleOf(w);
  const LPARAM size = kind == SIZE_MINIMIZED ? 0 : MAKELPARAM(static_cast<WORD>(w.clientW), static_cast<WORD>(w.clientH));
  SendMessageA(hWnd, WM_SIZE, kind, size);
}

// Turns one SDL event into messages. Returns true when it produced one (posted or sent).
bool Translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT: {
      Window* w = FindWindowBySdlId(e.window.windowID);
      if (!w) return false;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
          w->clientW = e.window.data1;
          w->clientH = e.window.data2;
          const Uint32 flags = SDL_GetWindowFlags(w->sdl);
          if (flags & SDL_WINDOW_MINIMIZED) return false;
          SendSize(*w, (flags & SDL_WINDOW_MAXIMIZED) ? SIZE_MAXIMIZED : SIZE_RESTORED);
          return true;
        }
        case SDL_WINDOWEVENT_MINIMIZED: SendSize(*w, SIZE_MINIMIZED); return true;
        case SDL_WINDOWEVENT_MAXIMIZED:
          SDL_GetWindowSize(w->sdl, &w->clientW, &w->clientH);
          SendSize(*w, SIZE_MAXIMIZED);
          return true;
        case SDL_WINDOWEVENT_RESTORED:
          SDL_GetWindowSize(w->sdl, &w->clientW, &w->clientH);
          SendSize(*w, SIZE_RESTORED);
          return true;
        case SDL_WINDOWEVENT_MOVED:
          w->clientX = e.window.data1;
          w->clientY = e.window.data2;
          SendMessageA(HandleOf(*w), WM_MOVE, 0, PointParam(w->clientX, w->clientY));
          return true;
        case SDL_WINDOWEVENT_CLOSE:
          // The close box: the system menu's Close command, which the default procedure turns into WM_CLOSE.
          SendMessageA(HandleOf(*w), WM_SYSCOMMAND, SC_CLOSE, 0);
          return true;
        default: return false;
      }
    }
    case SDL_QUIT: {
      // Ctrl+C, kill or the session ending: each shown window is asked to close, as its close
      // box would ask it.
      bool produced = false;
      for (auto& entry : gLayer.windows) {
        if (!entry.second->visible) continue;
        Enqueue(HandleOf(*entry.second), WM_CLOSE, 0, 0);
        produced = true;
      }
      return produced;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      Window* w = FindWindowBySdlId(e.key.windowID);
      if (!w) return false;
      const int vk = VirtualKey(e.key.keysym);
      if (vk == 0) return false;
      const bool down = e.type == SDL_KEYDOWN;
      const Uint16 mods = e.key.keysym.mod;
      const bool alt = (mods & KMOD_ALT) != 0 || vk == VK_MENU;
      const bool ctrl = (mods & KMOD_CTRL) != 0 && vk != VK_CONTROL;
      const bool system = vk == VK_F10 || (alt && !ctrl);
      DWORD info = 1;  // repeat count
      if (IsExtendedKey(e.key.keysym.scancode)) info |= 1u << 24;
      if (alt && !ctrl) info |= 1u << 29;
      if (!down || e.key.repeat) info |= 1u << 30;  // key was down before
      if (!down) info |= 1u << 31;
      const UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
      Enqueue(HandleOf(*w), message, static_cast<WPARAM>(vk), static_cast<LPARAM>(info));
      return true;
    }
    case SDL_MOUSEMOTION: {
      Window* w = FindWindowBySdlId(e.motion.windowID);
      if (!w || !InClient(*w, e.motion.x, e.motion.y)) return false;
      gLayer.buttons = e.motion.state;
      Enqueue(HandleOf(*w), WM_MOUSEMOVE, MouseKeyFlags(gLayer.buttons, SDL_GetModState()),
              PointParam(e.motion.x, e.motion.y));
      return true;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      Window* w = FindWindowBySdlId(e.button.windowID);
      if (!w || !InClient(*w, e.button.x, e.button.y)) return false;
      const bool down = e.type == SDL_MOUSEBUTTONDOWN;
      UINT message;
      switch (e.button.button) {
        case SDL_BUTTON_LEFT: message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
        case SDL_BUTTON_RIGHT: message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
        case SDL_BUTTON_MIDDLE: message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
        default: return false;
      }
      if (down)
        gLayer.buttons |= SDL_BUTTON(e.button.button);
      else
        gLayer.buttons &= ~SDL_BUTTON(e.button.button);
      Enqueue(HandleOf(*w), message, MouseKeyFlags(gLayer.buttons, SDL_GetModState()), PointParam(e.button.x, e.button.y));
      return true;
    }
    case SDL_MOUSEWHEEL: {
      Window* w = FindWindowBySdlId(e.wheel.windowID);
      if (!w) return false;
      double notches = e.wheel.preciseY != 0.0f ? e.wheel.preciseY : static_cast<double>(e.wheel.y);
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      const long distance = std::lround(std::clamp(notches * WHEEL_DELTA, -32768.0, 32767.0));
      if (distance == 0) return false;
      int x = 0, y = 0;
      SDL_GetGlobalMouseState(&x, &y);  // WM_MOUSEWHEEL carries screen coordinates
      const WPARAM wParam =
          MAKEWPARAM(static_cast<WORD>(MouseKeyFlags(gLayer.buttons, SDL_GetModState())), static_cast<WORD>(static_cast<int16_t>(distance)));
      Enqueue(HandleOf(*w), WM_MOUSEWHEEL, wParam, PointParam(x, y));
      return true;
    }
    default: return false;
  }
}

// Takes every pending SDL event. Returns how many of them became messages.
int Pump() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
  int produced = 0;
  SDL_Event e;
  while (SDL_PollEvent(&e))
    if (Translate(e)) ++produced;
  return produced;
}

bool Matches(const MSG& msg, HWND hWnd, UINT filterMin, UINT filterMax) {
  if (hWnd == reinterpret_cast<HWND>(static_cast<intptr_t>(-1))) {
    if (msg.hwnd) return false;
  } else if (hWnd && msg.hwnd != hWnd) {
    return false;
  }
  if (filterMin == 0 && filterMax == 0) return true;
  if (msg.message == WM_QUIT) return true;
  return msg.message >= filterMin && msg.message <= filterMax;
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
  gLayer.queue.erase(std::remove_if(gLayer.queue.begin(), gLayer.queue.end(), [&](const MSG& m) { return m.hwnd == hWnd; }),
               gLayer.queue.end());
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

// ---- messages ------------------------------------------------------------------------------------

BOOL PeekMessageA(MSG* msg, HWND hWnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  Pump();
  for (auto it = gLayer.queue.begin(); it != gLayer.queue.end(); ++it) {
    if (!Matches(*it, hWnd, filterMin, filterMax)) continue;
    if (msg) *msg = *it;
    if (removeFlags & PM_REMOVE) gLayer.queue.erase(it);
    return TRUE;
  }
  return FALSE;
}

BOOL WaitMessage() {
  for (;;) {
    if (!gLayer.queue.empty()) return TRUE;
    if (Pump() > 0) return TRUE;
    // Nothing can ever arrive without SDL's video (no windows): do not block for good.
    if (!SDL_WasInit(SDL_INIT_VIDEO) || gLayer.windows.empty()) return FALSE;
    if (gLayer.waitHook) gLayer.waitHook();
    SDL_WaitEvent(nullptr);
  }
}

BOOL GetMessageA(MSG* msg, HWND hWnd, UINT filterMin, UINT filterMax) {
  while (!PeekMessageA(msg, hWnd, filterMin, filterMax, PM_REMOVE))
    if (!WaitMessage()) return -1;
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  // Character messages are not produced; report whether it was a key message, as Win32 does.
  if (!msg) return FALSE;
  return msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_SYSKEYDOWN ||
         msg->message == WM_SYSKEYUP;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg || !msg->hwnd) return 0;
  const Window* w = FindWindow(msg->hwnd);
  if (!w) return 0;
  return w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hWnd && !FindWindow(hWnd)) return FALSE;
  Enqueue(hWnd, message, wParam, lParam);
  return TRUE;
}

void PostQuitMessage(int exitCode) { Enqueue(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

LRESULT SendMessageA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const Window* w = FindWindow(hWnd);
  if (!w) return 0;
  return w->proc(hWnd, message, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = FindWindow(hWnd);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE: return lParam != 0;  // accepts a creation that comes with its CREATESTRUCT
    case WM_CLOSE: DestroyWindow(hWnd); return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessageA(hWnd, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE:
          if (w->sdl) SDL_MinimizeWindow(w->sdl);
          break;
        case SC_MAXIMIZE:
          if (w->sdl) SDL_MaximizeWindow(w->sdl);
          break;
        case SC_RESTORE:
          if (w->sdl) SDL_RestoreWindow(w->sdl);
          break;
        default: break;  // the screen saver and monitor power-down are left alone
      }
      return 0;
    case WM_SYSKEYDOWN:
      // Alt+F4 posts the close command (Win32 posts it; it is not sent).
      if (wParam == static_cast<WPARAM>(VK_F4) && (lParam & (1 << 29))) PostMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    default: return 0;
  }
}

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
