// Inside the platform layer and its tests: hooks that replace what the system would do, so that
// tests can drive the program without a person at the screen. Not installed.
#pragma once

#include "Win32Calls.h"

// While set, message boxes call the hook instead of showing anything and return its result.
using MessageBoxHook = int (*)(const char* text, const char* caption, UINT type);
void SetMessageBoxHook(MessageBoxHook hook);

// While set, GetTickCount returns what the hook returns.
using TickSource = DWORD (*)();
void SetTickSource(TickSource source);
