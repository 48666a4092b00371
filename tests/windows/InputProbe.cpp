// A window that prints the input messages it gets, one line each, for the end-to-end check of
// real X input under Wine: "name wParam lParam" in hexadecimal. Escape ends it.
#include "Win32Api.h"

#include <cstdio>

namespace {

const char* Name(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return "WM_MBUTTONUP";
    case WM_MOUSEWHEEL: return "WM_MOUSEWHEEL";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return "WM_SYSKEYUP";
    default: return nullptr;
  }
}

LRESULT CALLBACK ProbeProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const char* name = Name(message)) {
    std::printf("%s %llx %llx\n", name, static_cast<unsigned long long>(wParam),
                static_cast<unsigned long long>(static_cast<DWORD>(lParam)));
    std::fflush(stdout);
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) PostQuitMessage(0);
    return 0;  // system keys too: no menu loop
  }
  return DefWindowProcA(hWnd, message, wParam, lParam);
}

}  // namespace

int main() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ProbeProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = "InputProbe";
  if (!RegisterClassExA(&wc)) return 1;
  RECT rect{0, 0, 640, 480};
  AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW);
  HWND hWnd = CreateWindowExA(WS_EX_APPWINDOW, "InputProbe", "INPUT PROBE", WS_OVERLAPPEDWINDOW, 0, 0,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, wc.hInstance, nullptr);
  if (!hWnd) return 1;
  ShowWindow(hWnd, SW_SHOWNORMAL);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
