// Desktop: the desktop's table of sdl/Presentation.h: SDL's default OpenGL contexts without vsync
// (a program on the OpenGL 1.1 layer chooses sdl/SdlGl11Contexts.cpp's OpenGL ES 3 ones instead,
// Gl11ContextChoice.cpp), the buffer swap, windows sized by the window manager, screen readers
// served from the message pump (the accessibility files), audio devices opened with their players,
// and SDL's own message boxes, with standard error where none can show.
#include "Presentation.h"

#include "DesktopAccess.h"
#include "SdlText.h"

#include <SDL.h>

#include <cstdio>

namespace sdl_layer {

namespace {

// ---- GL contexts -----------------------------------------------------------------------------------

void RequestContextKind() {}

void ContextMadeCurrent(const Context* c, bool) {
  if (c) SDL_GL_SetSwapInterval(0);  // no vsync; a driver that cannot turn it off is no error
}

void ContextGoing(const Context&, bool) {}

const ContextKind kOpenGlContexts = {RequestContextKind, ContextMadeCurrent, ContextGoing};

// ---- frames, windows, sound and boxes --------------------------------------------------------------

void PresentFrame(SDL_Window* window) { SDL_GL_SwapWindow(window); }

void CompileOnFirstCall(unsigned, std::function<void()> build) { build(); }

void FollowSurroundings(Window&) {}

bool WindowManagerResizes() { return true; }

int PixelsPerInch(const Window&) { return 96; }

bool AudioOpensOnFirstPlay() { return false; }

void ShowBox(const char* text, const char* caption, BoxIcon icon) {
  const Uint32 flags = icon == BoxIcon::Error     ? SDL_MESSAGEBOX_ERROR
                       : icon == BoxIcon::Warning ? SDL_MESSAGEBOX_WARNING
                                                  : SDL_MESSAGEBOX_INFORMATION;
  // SDL needs its video subsystem for a box; it may not be up yet (a failure before any window).
  const bool startedVideo = SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  const std::string captionUtf8 = Cp1250ToUtf8(caption), textUtf8 = Cp1250ToUtf8(text);
  int shown;
  {
    const ScreenReaderBox reader(captionUtf8, textUtf8);
    shown = SDL_ShowSimpleMessageBox(flags, captionUtf8.c_str(), textUtf8.c_str(), nullptr);
  }
  if (startedVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (shown != 0) std::fprintf(stderr, "%s: %s\n", caption, text);
}

}  // namespace

const Presentation kPresentation = {
    &kOpenGlContexts,
    // frames
    PresentFrame,
    // Lists are compiled when asked for, as WGL does (with the disk cache, a font built before is
    // quick).
    UseFontOutlinesNow,
    CompileOnFirstCall,
    // windows
    FollowSurroundings,
    WindowManagerResizes,
    PixelsPerInch,
    // the message pump, sound and message boxes
    ServeScreenReaders,
    AudioOpensOnFirstPlay,
    ShowBox,
};

}  // namespace sdl_layer
