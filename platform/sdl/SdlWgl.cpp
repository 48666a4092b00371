// SDL backend: device contexts, pixel formats and WGL contexts on SDL's OpenGL windows and contexts.
#include "SdlHooks.h"
#include "SdlWindowLayer.h"
#include "Win32Api.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>

using namespace sdl_layer;

HDC GetDC(HWND hWnd) {
  const Window* w = FindWindow(hWnd);
  return w ? MakeHandle<HDC>(w->id, kDcTag) : nullptr;
}

int ReleaseDC(HWND hWnd, HDC dc) {
  const Window* w = FindWindow(hWnd);
  return (w && FindWindowOfDc(dc) == w) ? 1 : 0;
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd) {
  if (!FindWindowOfDc(dc) || !pfd || pfd->nSize != sizeof(PIXELFORMATDESCRIPTOR) || pfd->nVersion != 1) return 0;
  if (!(pfd->dwFlags & PFD_SUPPORT_OPENGL) || !(pfd->dwFlags & PFD_DRAW_TO_WINDOW) || pfd->iPixelType != PFD_TYPE_RGBA)
    return 0;
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

HGLRC wglCreateContext(HDC dc) {
  Window* w = FindWindowOfDc(dc);
  if (!w || !w->sdl || !w->gl) return nullptr;
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previous = SDL_GL_GetCurrentContext();
  ApplyGlAttributes(w->pfd);
  SDL_GLContext context = SDL_GL_CreateContext(w->sdl);
  if (!context) {
    SDL_Log("SDL_GL_CreateContext: %s", SDL_GetError());
    return nullptr;
  }
  // SDL makes a new context current; a WGL context is not current until wglMakeCurrent.
  if (previous)
    SDL_GL_MakeCurrent(previousWindow, previous);
  else
    SDL_GL_MakeCurrent(w->sdl, nullptr);
  const uintptr_t id = gLayer.nextContextId++;
  gLayer.contexts.emplace(id, Context{context});
  return MakeHandle<HGLRC>(id, kRcTag);
}

BOOL wglMakeCurrent(HDC dc, HGLRC rc) {
  if (!rc) {
    if (gLayer.currentContext != 0) SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
    gLayer.currentContext = 0;
    return TRUE;
  }
  const uintptr_t id = HandleId(rc, kRcTag);
  const auto it = gLayer.contexts.find(id);
  Window* w = FindWindowOfDc(dc);
  if (it == gLayer.contexts.end() || !w || !w->sdl || !w->gl) return FALSE;
  if (SDL_GL_MakeCurrent(w->sdl, it->second.context) != 0) return FALSE;
  gLayer.currentContext = id;
  SDL_GL_SetSwapInterval(0);  // no vsync; a driver that cannot turn it off is no error
  return TRUE;
}

BOOL wglDeleteContext(HGLRC rc) {
  const uintptr_t id = HandleId(rc, kRcTag);
  const auto it = gLayer.contexts.find(id);
  if (it == gLayer.contexts.end()) return FALSE;
  if (gLayer.currentContext == id) wglMakeCurrent(nullptr, nullptr);
  SDL_GL_DeleteContext(it->second.context);
  gLayer.contexts.erase(it);
  MaybeReleaseVideo();
  return TRUE;
}

HGLRC wglGetCurrentContext() { return gLayer.currentContext ? MakeHandle<HGLRC>(gLayer.currentContext, kRcTag) : nullptr; }

BOOL SwapBuffers(HDC dc) {
  Window* w = FindWindowOfDc(dc);
  if (!w || !w->sdl || !w->gl) return FALSE;
  SDL_GL_SwapWindow(w->sdl);
  return TRUE;
}
