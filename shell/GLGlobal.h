// Shell globals: the input state, frame timing, the window and application records, and the two
// requests other parts make of the main loop.
#pragma once

#include "Win32Api.h"

#include <cstdint>

// 256 one-byte flags indexed by virtual-key code: 1 while the key is down.
struct TKeys {
  uint8_t Down[256];
};

struct TApplication {
  HINSTANCE Instance;
  const char* ClassName;  // always "OpenGL"
};

struct TWindow {
  TKeys* KeyTable;
  HWND Handle;
  HDC DC;
  HGLRC RC;
  TApplication* App;
  const char* Title;
  int32_t WindowWidth;
  int32_t WindowHeight;
  int32_t Bits;
  uint8_t IsFullscreen;
  uint8_t Active;
  DWORD LastTick;
};

// The private message that asks the window procedure to switch between windowed and fullscreen.
constexpr UINT WM_TOGGLEFULLSCREEN = 1025;  // WM_USER + 1

extern uint8_t Running;
extern uint32_t FrameTime;
extern int32_t FPS;
extern int32_t FPSCount;
extern DWORD FPSLastTime;
extern int32_t ScreenWidth;
extern int32_t ScreenHeight;

extern int32_t MouseX;
extern int32_t MouseY;
extern int32_t PrevMouseX;
extern int32_t PrevMouseY;
extern double MouseWheel;
extern uint8_t MouseLeft;
extern uint8_t MouseMiddle;
extern uint8_t MouseRight;
// 1 while the mouse's position and left button come from a finger: the system marks the mouse
// messages it makes of touch. The toolkit lets a tap that just misses a button press it.
extern uint8_t MouseTouch;
extern TKeys* Keys;
extern TWindow* MainWindow;

// Key presses in the order they came, for the toolkit's keyboard focus: Keys says only what is
// held when a frame looks, and a press shorter than a frame would be lost. The window procedure
// adds one for each WM_KEYDOWN (repeats included); a program with a loop of its own adds its
// key-down events. The toolkit takes them once a frame. A full queue drops the newest.
struct TKeyPress {
  uint8_t Key;    // the virtual-key code
  uint8_t Shift;  // 1 when Shift was held
};
void PushKeyPress(uint8_t key, bool shift);
// Takes the oldest press into `press`; false when there is none.
bool PopKeyPress(TKeyPress& press);

// Posts WM_QUIT to the window and clears Running: the program ends after the current message batch.
void QuitApp(TWindow& window);
// Posts WM_TOGGLEFULLSCREEN to the window; the window procedure does the toggling.
void RequestFullscreenToggle(TWindow& window);
