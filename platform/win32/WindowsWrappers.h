// Win32 backend, inside the toolkit's own sources only (not installed): two calls go through thin
// wrappers of ours, message boxes, whose texts are Windows code page 1250 bytes (shown with
// MessageBoxW after converting from 1250, whatever the machine's ANSI code page), and the tick
// count, which tests may replace. Both keep Win32's names and signatures.
#pragma once

#include "WindowsApi.h"

// <windows.h> maps DrawText to DrawTextA or DrawTextW; the toolkit's sources mean their own.
#undef DrawText

// ---- message boxes -----------------------------------------------------------------------------
// MessageBoxA with the text and caption read as code page 1250.
int Cp1250MessageBox(HWND owner, const char* text, const char* caption, UINT type);
#undef MessageBoxA
#define MessageBoxA Cp1250MessageBox

// ---- time --------------------------------------------------------------------------------------
// The system's tick count, unless a test has set a source.
DWORD HookableTickCount();
#undef GetTickCount
#define GetTickCount HookableTickCount
