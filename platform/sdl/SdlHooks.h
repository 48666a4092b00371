// SDL backend: what the tests of the window layer look at beyond the API. Not installed.
#pragma once

#include "SdlApi.h"

#include <cstdint>

// The number of windows that exist.
int CountWindows();
// The SDL id of the window's SDL window (0 while it has none), for tests that feed SDL events.
uint32_t GetSdlWindowId(HWND hWnd);
// While set, WaitMessage calls the hook each time it is about to block with nothing to deliver
// (what the hook posts or pushes is then delivered at once).
void SetWaitHook(void (*hook)());
// The descriptor that SetPixelFormat was given for the window of `dc` (false when none).
bool GetRequestedPixelFormat(HDC dc, PIXELFORMATDESCRIPTOR* pfd);
