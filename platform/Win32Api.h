/// \defgroup win32 The Win32 API
/// The Win32 names the installed headers declare (DWORD, HDC, MessageBoxA, VK_ESCAPE, ...). On
/// Windows they are the system's own, from `<windows.h>`; elsewhere a stand-in on SDL2 declares
/// them with Win32's names, numbers, encodings and behaviour. Microsoft's Win32 API reference
/// documents them; this reference only lists the stand-in's declarations.

/// \file
/// \ingroup win32
/// The Win32 API as the program uses it: on Windows the real one (`<windows.h>` with OpenGL and
/// GLU, as the system defines it), elsewhere the stand-in on SDL2, with Win32's names, numbers and
/// encodings. The toolkit's own sources include Win32Calls.h instead.
#pragma once

#ifdef _WIN32
#include "win32/WindowsApi.h"
#else
#include "sdl/SdlApi.h"
#endif
