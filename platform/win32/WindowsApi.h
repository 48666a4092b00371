// Win32 backend: the real Win32 API, as the program uses it: <windows.h> with OpenGL and GLU.
// Two calls go through thin wrappers of ours: message boxes, whose texts are Windows code page
// 1250 bytes (shown with MessageBoxW after converting from 1250, whatever the machine's ANSI code
// page), and the tick count, which tests may replace. Both keep Win32's names and signatures.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdint>

// <windows.h> maps these names to its A/W variants; the toolkit has its own DrawText.
#undef DrawText
#undef LoadImage

// ---- message boxes -----------------------------------------------------------------------------
// MessageBoxA with the text and caption read as code page 1250.
int Cp1250MessageBox(HWND owner, const char* text, const char* caption, UINT type);
#undef MessageBoxA
#define MessageBoxA Cp1250MessageBox

// ---- time --------------------------------------------------------------------------------------
// The system's tick count, unless a test has set a source.
DWORD HookableTickCount();
#define GetTickCount HookableTickCount
