// SDL backend: message boxes: the test hook, the defaults and the icon; the box itself is shown
// the backend's way (its table, Presentation.h).
#include "Win32Api.h"
#include "PlatformHooks.h"

#include "Presentation.h"

using sdl_layer::BoxIcon;

namespace {
MessageBoxHook gMessageBoxHook = nullptr;
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { gMessageBoxHook = hook; }

int MessageBoxA(HWND, const char* text, const char* caption, UINT type) {
  if (!text) text = "";
  if (!caption) caption = "Error";
  if (gMessageBoxHook) return gMessageBoxHook(text, caption, type);

  BoxIcon icon = BoxIcon::Information;
  switch (type & 0xF0) {
    case MB_ICONHAND: icon = BoxIcon::Error; break;
    case MB_ICONEXCLAMATION: icon = BoxIcon::Warning; break;
    default: break;
  }
  sdl_layer::kPresentation.ShowBox(text, caption, icon);
  return IDOK;
}
