// Web backend: message boxes drawn in the page (WebPage.cpp), modal: the program waits until the
// box is dismissed. Texts are converted from code page 1250.
#include "PlatformHooks.h"
#include "Win32Api.h"

#include "SdlText.h"
#include "WebPage.h"

namespace {
MessageBoxHook gMessageBoxHook = nullptr;
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { gMessageBoxHook = hook; }

int MessageBoxA(HWND, const char* text, const char* caption, UINT type) {
  if (!text) text = "";
  if (!caption) caption = "Error";
  if (gMessageBoxHook) return gMessageBoxHook(text, caption, type);
  const char* kind = "information";
  switch (type & 0xF0) {
    case MB_ICONHAND: kind = "error"; break;
    case MB_ICONEXCLAMATION: kind = "warning"; break;
    default: break;
  }
  web_page::ShowMessageBox(Cp1250ToUtf8(caption), Cp1250ToUtf8(text), kind);
  return IDOK;
}
