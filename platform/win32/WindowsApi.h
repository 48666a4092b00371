// Win32 backend: the real Win32 API, as the program uses it: <windows.h> with OpenGL and GLU,
// exactly as the system defines them. The toolkit's own sources add their redirections on top
// (WindowsWrappers.h); nothing here changes a name that <windows.h> defines.
#pragma once

#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>
