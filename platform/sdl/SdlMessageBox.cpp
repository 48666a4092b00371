// SDL backend: message boxes through SDL's own (texts converted from code page 1250).
#include "Win32Api.h"
#include "PlatformHooks.h"

#include "SdlText.h"

#include <SDL.h>

#include <cstdio>

namespace {
MessageBoxHook gMessageBoxHook = nullptr;
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { gMessageBoxHook = hook; }

int MessageBoxA(HWND, const char* text, const char* caption, UINT type) {
  if (!text) text = "";
  if (!caption) caption = "Error";
  if (gMessageBoxHook) return gMessageBoxHook(text, caption, type);

  Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
  switch (type & 0xF0) {
    case MB_ICONHAND: flags = SDL_MESSAGEBOX_ERROR; break;
    case MB_ICONEXCLAMATION: flags = SDL_MESSAGEBOX_WARNING; break;
    default: break;
  }
  // SDL needs its video subsystem for a box; it may not be up yet (a failure before any window).
  const bool startedVideo = SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  const int shown = SDL_ShowSimpleMessageBox(flags, Cp1250ToUtf8(caption).c_str(), Cp1250ToUtf8(text).c_str(), nullptr);
  if (startedVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (shown != 0) std::fprintf(stderr, "%s: %s\n", caption, text);
  return IDOK;
}
