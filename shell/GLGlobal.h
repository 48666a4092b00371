/// \file
/// Shell globals: the input state, frame timing, the window and application records, and the two
/// requests other parts make of the main loop. The shell (GLWindow.h) keeps them up to date; a
/// program with its own window and loop sets ScreenWidth, ScreenHeight, the mouse globals and
/// FrameTime itself and calls PushKeyPress (the guide's frame contract).
#pragma once

#include "Win32Api.h"

#include <cstdint>

/// 256 one-byte flags indexed by virtual-key code: 1 while the key is down.
struct TKeys {
  uint8_t Down[256];  ///< Down[vk] is 1 while the key with virtual-key code vk (VK_ESCAPE, 'A', ...) is held.
};

/// The shell's application record: what its window class is registered with.
struct TApplication {
  HINSTANCE Instance;     ///< The module the window class belongs to.
  const char* ClassName;  ///< The window class's name; always "OpenGL".
};

/// The shell's record of its window and GL context, made by RunWindowLoop; MainWindow points to it.
struct TWindow {
  TKeys* KeyTable;       ///< The key table the window procedure writes (the one Keys points to).
  HWND Handle;           ///< The window; null while there is none.
  HDC DC;                ///< The window's device context (what CreateSystemFont takes).
  HGLRC RC;              ///< The window's OpenGL context.
  TApplication* App;     ///< The application record the window class came from.
  const char* Title;     ///< The window's title, as given to RunApp.
  int32_t WindowWidth;   ///< The size asked for, in pixels: the client area's when windowed.
  int32_t WindowHeight;  ///< The height asked for, in pixels.
  int32_t Bits;          ///< Colour bits per pixel asked for (and the fullscreen mode's depth).
  uint8_t IsFullscreen;  ///< 1 while the window is fullscreen in a switched display mode.
  uint8_t Active;        ///< 1 unless minimised; while 0 the loop waits for messages and draws nothing.
  DWORD LastTick;        ///< GetTickCount() at the previous frame's start, from which FrameTime is taken.
};

/// The private message that asks the window procedure to switch between windowed and fullscreen.
constexpr UINT WM_TOGGLEFULLSCREEN = 1025;  // WM_USER + 1

/// 1 while the shell's main loop runs; QuitApp clears it.
extern uint8_t Running;
/// Milliseconds between the start of the previous frame and this one's; buttons fade by it.
extern uint32_t FrameTime;
/// Frames drawn in the last whole second (the shell counts them).
extern int32_t FPS;
/// Frames drawn so far in the current second; becomes FPS when the second is over.
extern int32_t FPSCount;
/// GetTickCount() when FPS was last taken.
extern DWORD FPSLastTime;
/// Width of the window's drawable area in pixels; set before InitGUI and after every resize, never 0.
extern int32_t ScreenWidth;
/// Height of the window's drawable area in pixels; set as ScreenWidth.
extern int32_t ScreenHeight;

/// The mouse's x in the window, in pixels from its left edge.
extern int32_t MouseX;
/// The mouse's y in the window, in pixels from its top edge.
extern int32_t MouseY;
/// MouseX before the last mouse move (the shell sets it).
extern int32_t PrevMouseX;
/// MouseY before the last mouse move (the shell sets it).
extern int32_t PrevMouseY;
/// Wheel notches turned since the program started: +1 for each away from the user, -1 toward.
extern double MouseWheel;
/// 1 while the left mouse button is held, else 0.
extern uint8_t MouseLeft;
/// 1 while the middle mouse button is held, else 0.
extern uint8_t MouseMiddle;
/// 1 while the right mouse button is held, else 0.
extern uint8_t MouseRight;
/// 1 while the mouse's position and left button come from a finger: the system marks the mouse
/// messages it makes of touch. The toolkit lets a tap that just misses a button press it.
extern uint8_t MouseTouch;
/// The key table of the shell's window (TKeys::Down); null outside RunApp.
extern TKeys* Keys;
/// The shell's window while RunApp runs (set before BuildScene); null outside it.
extern TWindow* MainWindow;

/// A key press as the toolkit's keyboard focus takes it. Keys says only what is held when a
/// frame looks, and a press shorter than a frame would be lost, so presses are queued in the
/// order they came: the window procedure adds one for each WM_KEYDOWN (repeats included), a
/// program with a loop of its own adds its key-down events, and the toolkit takes them once a frame.
struct TKeyPress {
  uint8_t Key;    ///< The virtual-key code (VK_TAB, VK_RETURN, ...).
  uint8_t Shift;  ///< 1 when Shift was held.
};
/// Queues a key press for the toolkit (TKeyPress); the queue holds 32, and a full queue drops the newest.
void PushKeyPress(uint8_t key, bool shift);
/// Takes the oldest queued press into `press`; false when there is none (DrawCursor calls it).
bool PopKeyPress(TKeyPress& press);

/// Posts WM_QUIT to the window and clears Running: the program ends after the current message batch.
void QuitApp(TWindow& window);
/// Posts WM_TOGGLEFULLSCREEN to the window; the window procedure does the toggling.
void RequestFullscreenToggle(TWindow& window);
