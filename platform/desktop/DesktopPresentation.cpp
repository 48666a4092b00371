// Desktop: the desktop's side of sdl/Presentation.h for frames, windows, sound and message boxes:
// the buffer swap, windows sized by the window manager, audio devices opened with their players,
// and SDL's own message boxes, with standard error where none can show. The kind of GL context is
// in DesktopContexts.cpp (OpenGL), or for a program on the OpenGL 1.1 layer in
// sdl/SdlGl11Contexts.cpp (OpenGL ES 3).
#include "Presentation.h"

#include "DesktopAccess.h"
#include "SdlText.h"

#include <SDL.h>

#include <cstdio>

namespace sdl_layer {

void PresentFrame(SDL_Window* window) { SDL_GL_SwapWindow(window); }

void FollowSurroundings(Window&) {}

int PixelsPerInch(const Window&) { return 96; }

// Lists are compiled when asked for, as WGL does (with the disk cache, a font built before is quick).
bool ListsCanWait() { return false; }

void CompileOnFirstCall(unsigned, std::function<void()> build) { build(); }

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

}  // namespace sdl_layer
