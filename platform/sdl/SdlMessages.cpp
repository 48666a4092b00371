// SDL backend: messages and keys: the message queue (PeekMessage, GetMessage, DispatchMessage,
// PostMessage, SendMessage; a window that goes takes its messages with it), the default window
// procedure, and the translation of SDL's events into Win32 messages: keys to virtual-key codes,
// the mouse, the wheel, touch as the mouse, and window events to WM_SIZE, WM_MOVE and the close
// command. Windows themselves are in SdlWindow.cpp.
#include "Presentation.h"
#include "SdlWindowLayer.h"
#include "Win32Api.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

using namespace sdl_layer;

namespace {

Window* FindWindowBySdlId(Uint32 sdlId) {
  for (auto& entry : gLayer.windows)
    if (entry.second->sdl && SDL_GetWindowID(entry.second->sdl) == sdlId) return entry.second.get();
  return nullptr;
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

// ---- keys ----------------------------------------------------------------------------------------

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

// ---- touch ---------------------------------------------------------------------------------------
// The first finger on a window acts as the left mouse button, as Windows turns touch into mouse
// messages: a tap is a move to the point, a press and a release, a drag a press, moves and a
// release. A program that reads the mouse once a frame has to see each of them in a frame of its
// own (a press that came with its move would land where the pointer was before, a release that
// came with its press would be no click at all), so they wait in a queue of their own and are
// handed out one at a time, each once the message queue has been found empty since the last: the
// program has drawn in between. Moves that pile up meanwhile merge into the latest.

void TouchStep(const Window& w, UINT message, float x, float y) {
  // Fingers that slide off the window stay on its edge: the release must reach the program. (A
  // window of no size gives SDL nothing to divide by: such a point counts as the corner.)
  const auto pixel = [](float at, int size) {
    const float inside = at >= 0.0f ? std::min(at, 1.0f) : 0.0f;
    return std::min(static_cast<int>(inside * static_cast<float>(size)), std::max(0, size - 1));
  };
  const int px = pixel(x, w.clientW), py = pixel(y, w.clientH);
  MSG msg{};
  msg.hwnd = HandleOf(w);
  msg.message = message;
  msg.wParam = MouseKeyFlags(gLayer.touching ? SDL_BUTTON_LMASK : 0, SDL_GetModState());
  msg.lParam = PointParam(px, py);
  msg.time = GetTickCount();
  msg.pt = POINT{w.clientX + px, w.clientY + py};
  auto& steps = gLayer.touchSteps;
  if (message == WM_MOUSEMOVE && !steps.empty() && steps.back().message == WM_MOUSEMOVE && steps.back().hwnd == msg.hwnd)
    steps.back() = msg;
  else
    steps.push_back(msg);
}

bool Touch(const SDL_TouchFingerEvent& f) {
  Window* w = FindWindowBySdlId(f.windowID);
  if (!w) {
    // Its window has gone (the program made a new one meanwhile): the finger is free again.
    if (f.type == SDL_FINGERUP && f.fingerId == gLayer.finger) gLayer.touching = false;
    return false;
  }
  if (f.type == SDL_FINGERDOWN) {
    if (gLayer.touching) return false;  // a second finger
    gLayer.finger = f.fingerId;
    TouchStep(*w, WM_MOUSEMOVE, f.x, f.y);
    gLayer.touching = true;
    TouchStep(*w, WM_LBUTTONDOWN, f.x, f.y);
    return true;
  }
  if (!gLayer.touching || f.fingerId != gLayer.finger) return false;
  if (f.type == SDL_FINGERMOTION) {
    TouchStep(*w, WM_MOUSEMOVE, f.x, f.y);
  } else {
    gLayer.touching = false;
    TouchStep(*w, WM_LBUTTONUP, f.x, f.y);
  }
  return true;
}

// Hands the next touch message to the queue when its turn has come.
void HandOutTouch() {
  if (!gLayer.touchTurn || gLayer.touchSteps.empty()) return;
  gLayer.queue.push_back(gLayer.touchSteps.front());
  gLayer.touchHanded = gLayer.touchSteps.front();
  gLayer.touchQueued = true;
  gLayer.touchSteps.pop_front();
  gLayer.touchTurn = false;
}

// ---- SDL events to messages ----------------------------------------------------------------------

bool InClient(const Window& w, int x, int y) { return x >= 0 && y >= 0 && x < w.clientW && y < w.clientH; }

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
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: return Touch(e.tfinger);
    // The mouse that SDL makes of touch is left out: touch has its own messages above.
    case SDL_MOUSEMOTION: {
      if (e.motion.which == SDL_TOUCH_MOUSEID) return false;
      Window* w = FindWindowBySdlId(e.motion.windowID);
      if (!w || !InClient(*w, e.motion.x, e.motion.y)) return false;
      gLayer.buttons = e.motion.state;
      Enqueue(HandleOf(*w), WM_MOUSEMOVE, MouseKeyFlags(gLayer.buttons, SDL_GetModState()),
              PointParam(e.motion.x, e.motion.y));
      return true;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (e.button.which == SDL_TOUCH_MOUSEID) return false;
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
  kPresentation.ServeOtherEvents();
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
  for (auto& entry : gLayer.windows)
    if (entry.second->sdl) kPresentation.FollowSurroundings(*entry.second);
  int produced = 0;
  SDL_Event e;
  while (SDL_PollEvent(&e))
    if (Translate(e)) ++produced;
  return produced;
}

// The mark Windows puts on the mouse messages it makes of touch (MI_WP_SIGNATURE, touch bit).
constexpr LPARAM kTouchExtraInfo = static_cast<LPARAM>(0xFF515780u);

bool IsHandedTouch(const MSG& m) {
  const MSG& t = gLayer.touchHanded;
  return gLayer.touchQueued && m.hwnd == t.hwnd && m.message == t.message && m.wParam == t.wParam &&
         m.lParam == t.lParam && m.time == t.time;
}

bool Matches(const MSG& msg, HWND hWnd, UINT filterMin, UINT filterMax) {
  // The quit that PostQuitMessage leaves is taken whatever the filter, the window's or the range's;
  // a WM_QUIT posted to a window is filtered like any other message.
  if (msg.message == WM_QUIT && !msg.hwnd) return true;
  if (hWnd == reinterpret_cast<HWND>(static_cast<intptr_t>(-1))) {
    if (msg.hwnd) return false;
  } else if (hWnd && msg.hwnd != hWnd) {
    return false;
  }
  if (filterMin == 0 && filterMax == 0) return true;
  return msg.message >= filterMin && msg.message <= filterMax;
}

}  // namespace

void sdl_layer::DropMessagesOf(HWND hWnd) {
  const auto ofWindow = [&](const MSG& m) { return m.hwnd == hWnd; };
  gLayer.queue.erase(std::remove_if(gLayer.queue.begin(), gLayer.queue.end(), ofWindow), gLayer.queue.end());
  gLayer.touchSteps.erase(std::remove_if(gLayer.touchSteps.begin(), gLayer.touchSteps.end(), ofWindow),
                          gLayer.touchSteps.end());
}

// ---- messages ------------------------------------------------------------------------------------

BOOL PeekMessageA(MSG* msg, HWND hWnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  Pump();
  HandOutTouch();
  for (auto it = gLayer.queue.begin(); it != gLayer.queue.end(); ++it) {
    if (!Matches(*it, hWnd, filterMin, filterMax)) continue;
    if (msg) *msg = *it;
    const bool touch = IsHandedTouch(*it);
    gLayer.extraInfo = touch ? kTouchExtraInfo : 0;
    if (removeFlags & PM_REMOVE) {
      if (touch) gLayer.touchQueued = false;
      gLayer.queue.erase(it);
    }
    return TRUE;
  }
  gLayer.touchTurn = true;
  return FALSE;
}

LPARAM GetMessageExtraInfo() { return gLayer.extraInfo; }

SHORT GetKeyState(int virtualKey) {
  const SDL_Keymod mods = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetModState() : KMOD_NONE;
  const int held = virtualKey == VK_SHIFT     ? mods & KMOD_SHIFT
                   : virtualKey == VK_CONTROL ? mods & KMOD_CTRL
                   : virtualKey == VK_MENU    ? mods & KMOD_ALT
                                              : 0;
  return static_cast<SHORT>(held ? 0x8000 : 0);
}

BOOL WaitMessage() {
  for (;;) {
    if (!gLayer.queue.empty() || !gLayer.touchSteps.empty()) return TRUE;
    if (Pump() > 0) return TRUE;
    // Nothing can ever arrive without SDL's video (no windows): do not block for good.
    if (!SDL_WasInit(SDL_INIT_VIDEO) || gLayer.windows.empty()) return FALSE;
    if (gLayer.waitHook) gLayer.waitHook();
    const int limit = kPresentation.ServeOtherEvents();
    if (limit < 0)
      SDL_WaitEvent(nullptr);
    else
      SDL_WaitEventTimeout(nullptr, limit);
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
