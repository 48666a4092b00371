// SDL backend: what the desktop and the browser do differently under the one WGL (SdlWgl.cpp) and
// the one MessageBoxA (SdlMessageBox.cpp), as tables of functions that the shared code calls
// through, as SDL's video drivers and GLFW's platforms are each one table:
// - Presentation: how a frame is shown, how a font's display lists are made (now, or each on its
//   first call), who sizes a window that a person may resize, what else the message pump serves, when a
//   sound's device opens and how a box is shown. Each backend defines its own kPresentation: the
//   desktop's in desktop/DesktopPresentation.cpp, the browser's in web/WebPresentation.cpp, and
//   platform/CMakeLists.txt builds exactly one of those two folders.
// - ContextKind: the kind of GL context asked for, what follows a context's making current and
//   precedes its end. The backend's table names its own (the desktop's: SDL's OpenGL contexts; the
//   browser's: OpenGL ES 3 ones for the OpenGL 1.1 layer, kGl11Contexts). A desktop program on the
//   layer chooses kGl11Contexts instead as it starts (UseContextKind; desktop_gl11_contexts).
// Only the stand-in's own files (here, in desktop/ and in web/) include it.
#pragma once

#include "SdlFonts.h"
#include "SdlWindowLayer.h"

#include <functional>

namespace sdl_layer {

// ---- GL contexts -----------------------------------------------------------------------------------
struct ContextKind {
  // Sets SDL's context attributes beyond the pixel format's, wherever those are set: before the
  // GL window is made (when SDL picks its GL library for the kind of context) and before a
  // context is.
  void (*RequestContextKind)();
  // Runs each time a context has been made current, `first` the first time for that context, and
  // with `c` null when the current context was released.
  void (*ContextMadeCurrent)(const Context* c, bool first);
  // Runs before a context that has been current at least once is deleted; `current` when it is
  // the current context now.
  void (*ContextGoing)(const Context& c, bool current);
};

// SDL's OpenGL ES 3.0 contexts (WebGL 2 in the browser) handed to the OpenGL 1.1 layer
// (SdlGl11Contexts.cpp).
extern const ContextKind kGl11Contexts;

// The contexts' table in force: the one a program chose, or else its backend's own.
const ContextKind& Contexts();
// Chooses the contexts' table for the program's whole run, before any window is made (a static
// object's constructor does, in an object the program links).
void UseContextKind(const ContextKind& kind);

// ---- the backend's table ---------------------------------------------------------------------------
enum class BoxIcon { Information, Warning, Error };

// wglUseFontOutlinesA's two ways (SdlFonts.cpp), for the tables to choose from: the glyphs made
// now, from memory, the disk cache or anew (the desktop: WGL compiles lists when asked); or each
// glyph made when its list is first called, its metrics measured ahead (the browser, whose OpenGL
// 1.1 layer can leave a list's compiling until then). A program has only the way its table names
// (and what that way uses: the page has no disk cache).
BOOL UseFontOutlinesNow(HDC dc, DWORD first, DWORD count, DWORD listBase, float deviation, float extrusion, int format,
                        GLYPHMETRICSFLOAT* metrics);
BOOL UseFontOutlinesOnFirstCall(HDC dc, DWORD first, DWORD count, DWORD listBase, float deviation, float extrusion,
                                int format, GLYPHMETRICSFLOAT* metrics);

struct Presentation {
  // The kind of GL context unless the program chose another (UseContextKind).
  const ContextKind* contexts;

  // -- frames --
  // Shows what was drawn into the window's back buffer.
  void (*PresentFrame)(SDL_Window* window);
  // How wglUseFontOutlinesA makes a font's display lists: UseFontOutlinesNow or
  // UseFontOutlinesOnFirstCall.
  decltype(&wglUseFontOutlinesA) UseFontOutlines;
  // Leaves a list's compiling (glNewList ... glEndList in `build`) until the list is first called,
  // where the GL beneath can (the OpenGL 1.1 layer); elsewhere compiles it now.
  void (*CompileOnFirstCall)(unsigned list, std::function<void()> build);

  // -- windows --
  // Gives a window that a person may resize (WS_THICKFRAME) the size its surroundings give it
  // now; SDL then reports the change, which becomes WM_SIZE. On the desktop the window manager
  // resizes windows and SDL reports that itself: nothing to do. In the browser the page sizes the
  // screen. Runs before each look at SDL's events, for each window that has its SDL window.
  void (*FollowSurroundings)(Window& w);
  // Whether SDL's window for a window that a person may resize is made resizable to SDL, for the
  // window manager to resize. In the browser only FollowSurroundings sizes it: SDL's own answer to
  // the page's resizing, the canvas's drawing buffer set to its size in CSS pixels, would clear the
  // picture at each change, also while the program waits in a box and cannot draw it again.
  bool (*WindowManagerResizes)();
  // The window's pixels per logical inch (GetDeviceCaps' LOGPIXELSX): 96 on the desktop, where
  // SDL's windows are in the screen's pixels; in the browser 96 times the canvas's pixels per CSS
  // pixel.
  int (*PixelsPerInch)(const Window& w);

  // -- the message pump --
  // Serves what other libraries wait for on the program's thread (on the desktop, screen readers'
  // requests over AT-SPI); runs at each look at SDL's events. Returns how long, in milliseconds,
  // the pump may then wait for SDL's events before it serves them again; -1 for as long as it takes.
  int (*ServeOtherEvents)();

  // -- sound --
  // Whether a sound player opens its audio device when it first plays rather than when it is
  // made. In the browser the device is an AudioContext: making one holds the page for
  // milliseconds, and it cannot sound before the person has touched the page anyway. On the
  // desktop the device opens with the player, as MCI's open does.
  bool (*AudioOpensOnFirstPlay)();

  // -- message boxes --
  // Shows a modal box with the caption and the text (both code page 1250) and returns once it has
  // been dismissed.
  void (*ShowBox)(const char* text, const char* caption, BoxIcon icon);
};

// The backend's table (see the top of this file).
extern const Presentation kPresentation;

}  // namespace sdl_layer
