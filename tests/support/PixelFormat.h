// The pixel format the shell asks for its window, for tests that make GL windows of their own:
// RGBA, double-buffered, drawn to a window, 32-bit colour and a 16-bit depth buffer.
#pragma once

#include "Win32Api.h"

namespace testgl {

inline PIXELFORMATDESCRIPTOR WindowPixelFormat() {
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof(pfd);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 32;
  pfd.cDepthBits = 16;
  return pfd;
}

}  // namespace testgl
