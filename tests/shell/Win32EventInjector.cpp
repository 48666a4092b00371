// The loop tests' events on Windows: window messages posted as the system posts them, a CBT hook
// that refuses new windows, and what the system tells of a window.
#include "EventInjector.h"

#include <cstring>

namespace inject {

namespace {

HHOOK gRefuser = nullptr;

LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam) {
  // A non-zero answer to HCBT_CREATEWND makes CreateWindowEx fail.
  if (code == HCBT_CREATEWND) return 1;
  return CallNextHookEx(gRefuser, code, wParam, lParam);
}

BOOL CALLBACK CountShellWindow(HWND hWnd, LPARAM count) {
  char name[16] = {};
  if (GetClassNameA(hWnd, name, sizeof name) > 0 && std::strcmp(name, "OpenGL") == 0)
    ++*reinterpret_cast<int*>(count);
  return TRUE;
}

}  // namespace

std::function<void()> RestoreEvent(HWND hWnd) {
  // The restored window's client size comes with the message.
  RECT client{};
  GetClientRect(hWnd, &client);
  const LPARAM size = MAKELPARAM(client.right - client.left, client.bottom - client.top);
  return [hWnd, size] { PostMessageA(hWnd, WM_SIZE, SIZE_RESTORED, size); };
}

void ClickCloseBox(HWND hWnd) { PostMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); }

// What taskkill without /F does: it posts WM_CLOSE to the program's top-level windows.
void AskToEnd(HWND hWnd) { PostMessageA(hWnd, WM_CLOSE, 0, 0); }

void RefuseWindowCreation() { gRefuser = SetWindowsHookExA(WH_CBT, RefuseCreation, nullptr, GetCurrentThreadId()); }

void AllowWindowCreation() {
  if (gRefuser) UnhookWindowsHookEx(gRefuser);
  gRefuser = nullptr;
}

int ShellWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountShellWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

std::string WindowTitle(HWND hWnd) {
  char title[256] = {};
  GetWindowTextA(hWnd, title, sizeof title);
  return title;
}

PIXELFORMATDESCRIPTOR GrantedPixelFormat(HDC dc) {
  PIXELFORMATDESCRIPTOR pfd{};
  DescribePixelFormat(dc, GetPixelFormat(dc), sizeof pfd, &pfd);
  return pfd;
}

bool RequestedPixelFormat(HDC, PIXELFORMATDESCRIPTOR*) { return false; }

}  // namespace inject
