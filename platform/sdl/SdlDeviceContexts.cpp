// SDL backend: device contexts and pixel formats on SDL's OpenGL windows, and the SDL attributes
// a pixel format asks for (the GL contexts are in SdlWgl.cpp).
#include "Presentation.h"
#include "SdlHooks.h"
#include "SdlWindowLayer.h"
#include "Win32Api.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>

namespace sdl_layer {

void ApplyGlAttributes(const PIXELFORMATDESCRIPTOR& pfd) {
  SDL_GL_ResetAttributes();
  int channel = 0;
  if (pfd.cColorBits >= 24)
    channel = 8;
  else if (pfd.cColorBits >= 15)
    channel = 5;
  else if (pfd.cColorBits > 0)
    channel = 1;
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, pfd.cRedBits ? pfd.cRedBits : channel);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, pfd.cGreenBits ? pfd.cGreenBits : channel);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, pfd.cBlueBits ? pfd.cBlueBits : channel);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, pfd.cAlphaBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, pfd.cDepthBits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, pfd.cStencilBits);
  const int accum = pfd.cAccumBits / 4;
  SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, pfd.cAccumRedBits ? pfd.cAccumRedBits : accum);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, pfd.cAccumGreenBits ? pfd.cAccumGreenBits : accum);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, pfd.cAccumBlueBits ? pfd.cAccumBlueBits : accum);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, pfd.cAccumAlphaBits);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (pfd.dwFlags & PFD_DOUBLEBUFFER) ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_STEREO, (pfd.dwFlags & PFD_STEREO) ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  Contexts().RequestContextKind();
}

}  // namespace sdl_layer

using namespace sdl_layer;

HDC GetDC(HWND hWnd) {
  const Window* w = FindWindow(hWnd);
  return w ? MakeHandle<HDC>(w->id, kDcTag) : nullptr;
}

int ReleaseDC(HWND hWnd, HDC dc) {
  const Window* w = FindWindow(hWnd);
  return (w && FindWindowOfDc(dc) == w) ? 1 : 0;
}

int GetDeviceCaps(HDC dc, int index) {
  const Window* w = FindWindowOfDc(dc);
  if (!w || (index != LOGPIXELSX && index != LOGPIXELSY)) return 0;
  return kPresentation.PixelsPerInch(*w);
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd) {
  // Like Windows, which answers with its nearest format, every format being an OpenGL one drawn to a
  // window: the request's size, version and those two flags are not looked at.
  if (!FindWindowOfDc(dc) || !pfd || pfd->iPixelType != PFD_TYPE_RGBA) return 0;
  for (size_t i = 0; i < gLayer.formats.size(); ++i)
    if (std::memcmp(&gLayer.formats[i], pfd, sizeof(*pfd)) == 0) return static_cast<int>(i + 1);
  gLayer.formats.push_back(*pfd);
  return static_cast<int>(gLayer.formats.size());
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
  Window* w = FindWindowOfDc(dc);
  if (!w || format < 1 || static_cast<size_t>(format) > gLayer.formats.size()) return FALSE;
  if (w->pixelFormat != 0) return w->pixelFormat == format;
  if (!EnsureVideo()) return FALSE;
  ApplyGlAttributes(gLayer.formats[format - 1]);
  if (!Materialize(*w, true)) return FALSE;
  w->pixelFormat = format;
  w->pfd = gLayer.formats[format - 1];
  return TRUE;
}

bool GetRequestedPixelFormat(HDC dc, PIXELFORMATDESCRIPTOR* pfd) {
  const Window* w = FindWindowOfDc(dc);
  if (!w || w->pixelFormat == 0 || !pfd) return false;
  *pfd = w->pfd;
  return true;
}
