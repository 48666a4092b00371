// SDL backend: what the window layer's files share (windows, messages, display modes, GL
// contexts): the records of classes, windows and contexts, the handle encoding, the layer's state
// in one place, and the helpers they call across. Only this folder includes it.
#pragma once

#include "Win32Api.h"

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sdl_layer {

struct WindowClass {
  std::string name;  // as registered
  HINSTANCE instance;
  WNDPROC proc;
  UINT style;
};

struct Window {
  uintptr_t id = 0;
  WNDPROC proc = nullptr;
  DWORD style = 0, exStyle = 0;
  std::string title;  // UTF-8
  int clientX = 0, clientY = 0, clientW = 0, clientH = 0;
  bool positioned = true;  // false for CW_USEDEFAULT
  LONG_PTR userData = 0;
  SDL_Window* sdl = nullptr;
  bool gl = false;  // the SDL window was made for OpenGL
  bool visible = false;
  bool needSize = true;  // WM_SIZE and WM_MOVE not yet sent: Win32 sends them at the first showing
  bool destroying = false;
  int pixelFormat = 0;
  PIXELFORMATDESCRIPTOR pfd{};
};

struct Context {
  SDL_GLContext context;
  SDL_Window* window = nullptr;  // the window it was made for
  bool everCurrent = false;      // made current at least once
};

// Handle encodings: distinct low bits per kind so that one kind is never taken for another.
constexpr uintptr_t kWindowTag = 1, kDcTag = 2, kRcTag = 3, kCursorTag = 4;
template <typename H>
H MakeHandle(uintptr_t id, uintptr_t tag) {
  return reinterpret_cast<H>((id << 3) | tag);
}
template <typename H>
uintptr_t HandleId(H handle, uintptr_t tag) {
  const auto v = reinterpret_cast<uintptr_t>(handle);
  return (v & 7) == tag ? v >> 3 : 0;
}

// Everything the layer keeps, in one place.
struct LayerState {
  std::vector<WindowClass> classes;
  std::map<uintptr_t, std::unique_ptr<Window>> windows;
  std::map<uintptr_t, Context> contexts;
  std::deque<MSG> queue;
  std::vector<PIXELFORMATDESCRIPTOR> formats;  // pixel format n is formats[n - 1]
  uintptr_t nextWindowId = 1, nextContextId = 1;
  uintptr_t currentContext = 0;
  int cursorCounter = 0;
  bool ownVideo = false;
  bool modeSwitched = false;  // a WS_POPUP window created now gets switchedMode
  SDL_DisplayMode switchedMode{};
  Uint32 buttons = 0;  // SDL button mask as the posted messages have reported it
  // Touch acting as the mouse (SdlMessages.cpp): the finger that drives it, and the messages it
  // made, waiting to be handed out one per turn of the queue.
  bool touching = false;
  SDL_FingerID finger = 0;
  std::deque<MSG> touchSteps;
  bool touchTurn = true;  // the queue has been found empty since the last step was handed out
  MSG touchHanded{};      // the step handed out last, while it waits in the queue
  bool touchQueued = false;
  LPARAM extraInfo = 0;          // GetMessageExtraInfo's
  void (*waitHook)() = nullptr;  // SetWaitHook's
};
extern LayerState gLayer;

// Starts SDL's video on first need; false when it cannot.
bool EnsureVideo();
// Shuts SDL's video down once nothing of the layer needs it any more.
void MaybeReleaseVideo();
Window* FindWindow(HWND hWnd);
Window* FindWindowOfDc(HDC dc);
inline HWND HandleOf(const Window& w) { return MakeHandle<HWND>(w.id, kWindowTag); }
// A client point as WM_MOVE and the mouse messages carry it: signed 16-bit x and y.
inline LPARAM PointParam(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)), static_cast<WORD>(static_cast<int16_t>(y)));
}
// SDL's OpenGL attributes for a pixel format descriptor, set before a GL window or context is made.
void ApplyGlAttributes(const PIXELFORMATDESCRIPTOR& pfd);
// Gives the window its SDL window (an OpenGL one when `gl`), replacing a plain one.
bool Materialize(Window& w, bool gl);
// Drops the messages waiting for the window, in the queue and among the touch steps (a window
// that goes; SdlMessages.cpp).
void DropMessagesOf(HWND hWnd);

}  // namespace sdl_layer
