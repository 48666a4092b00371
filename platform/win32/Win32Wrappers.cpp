// Win32 backend: the two wrappers of ours, message boxes from code page 1250 texts and the
// hookable tick count.
#include "WindowsWrappers.h"
#include "PlatformHooks.h"

#include <string>

// The real calls, not the wrappers.
#undef MessageBoxA
#undef GetTickCount

namespace {
MessageBoxHook gMessageBoxHook = nullptr;
TickSource gTickSource = nullptr;

std::wstring FromCp1250(const char* text) {
  const int length = MultiByteToWideChar(1250, 0, text, -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(1250, 0, text, -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { gMessageBoxHook = hook; }

int Cp1250MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  if (!text) text = "";
  if (!caption) caption = "Error";
  if (gMessageBoxHook) return gMessageBoxHook(text, caption, type);
  return MessageBoxW(owner, FromCp1250(text).c_str(), FromCp1250(caption).c_str(), type);
}

void SetTickSource(TickSource source) { gTickSource = source; }

DWORD HookableTickCount() { return gTickSource ? gTickSource() : ::GetTickCount(); }
