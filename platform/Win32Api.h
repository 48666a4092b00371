// The Win32 API as the program uses it: on Windows the real one (<windows.h> with OpenGL and
// GLU, as the system defines it), elsewhere the stand-in on SDL2, with Win32's names, numbers and
// encodings. The toolkit's own sources include Win32Calls.h instead.
#pragma once

#ifdef _WIN32
#include "win32/WindowsApi.h"
#else
#include "sdl/SdlApi.h"
#endif
