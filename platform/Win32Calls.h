// The Win32 API as the toolkit's own sources call it: what Win32Api.h gives, and on Windows the
// wrappers that message boxes and the tick count go through there (win32/WindowsWrappers.h; the
// stand-in's own calls are already ours). Not installed: a program that includes the toolkit
// keeps <windows.h>'s MessageBoxA, GetTickCount and DrawText as the system defines them.
#pragma once

#include "Win32Api.h"

#ifdef _WIN32
#include "win32/WindowsWrappers.h"
#endif
