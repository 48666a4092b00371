// What the loop tests need from the system beyond the Win32 calls both platforms share: events
// delivered to a window the way the platform delivers them (SDL events on the stand-in,
// SdlEventInjector.cpp; window messages on Windows, Win32EventInjector.cpp), a window creation
// that fails, and what the system made of a window.
#pragma once

#include "Win32Api.h"

#include <functional>
#include <memory>
#include <string>

namespace inject {

// The window restored after it was minimised. Made on the window's thread; the returned call
// delivers it and may run on any thread.
std::function<void()> RestoreEvent(HWND hWnd);

// Until it goes, a Delivery may still deliver its event.
class Delivery {
 public:
  virtual ~Delivery() = default;
};

// Delivers `event` (RestoreEvent's, say) once the window's loop has taken the messages posted so
// far and goes to wait for more. On the stand-in it comes as WaitMessage is about to block.
// Windows tells no one that (Wine does not call WH_FOREGROUNDIDLE hooks): there it comes from
// another thread as soon as the loop has taken the last message posted before this call, so it
// finds the loop waiting only when the loop gets there first (most often). Called on the
// window's thread.
std::unique_ptr<Delivery> DeliverWhenLoopWaits(HWND hWnd, std::function<void()> event);

// A click on the window's close box.
void ClickCloseBox(HWND hWnd);

// The program asked to end from outside: Ctrl+C or kill on Linux, taskkill on Windows.
void AskToEnd(HWND hWnd);

// From RefuseWindowCreation to AllowWindowCreation no window of this thread can be made ready for
// OpenGL: on the stand-in no video driver gives it a surface, on Windows its creation is refused.
void RefuseWindowCreation();
void AllowWindowCreation();

// How many windows exist that the shell could have made: on Windows this thread's windows of the
// shell's class ("OpenGL"), on the stand-in every window (the loop tests make no others).
int ShellWindowCount();

// The window's title as the system shows it.
std::string WindowTitle(HWND hWnd);

// The pixel format the device context got, as the system describes it: on the stand-in the
// descriptor SetPixelFormat was given, on Windows the format chosen for it, which has at least
// what was asked.
PIXELFORMATDESCRIPTOR GrantedPixelFormat(HDC dc);

// The descriptor SetPixelFormat was given, where the system keeps it (the stand-in); false
// where it does not (Windows).
bool RequestedPixelFormat(HDC dc, PIXELFORMATDESCRIPTOR* pfd);

}  // namespace inject
