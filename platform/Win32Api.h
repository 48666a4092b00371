// The Win32 API as the program uses it: on Windows the real one (<windows.h> with OpenGL and
// GLU, and two thin wrappers of ours), elsewhere the stand-in on SDL2, with Win32's names,
// numbers and encodings.
#pragma once

#ifdef _WIN32
#include "win32/WindowsApi.h"
#else
#include "sdl/SdlApi.h"
#endif
