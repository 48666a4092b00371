// SDL backend: WGL contexts on SDL's OpenGL contexts, and the buffer swap (device contexts and
// pixel formats are in SdlDeviceContexts.cpp). What the desktop and the browser do differently
// around them is in their tables (Presentation.h): the kind of context chosen is kept here.
#include "Presentation.h"
#include "SdlWindowLayer.h"
#include "Win32Api.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdint>

namespace sdl_layer {

namespace {
// The table a program chose, kept outside gLayer: the choice is made by a static constructor,
// which may run before gLayer's own, while this pointer is null before any constructor runs.
const ContextKind* gChosenContexts = nullptr;
}  // namespace

const ContextKind& Contexts() { return gChosenContexts ? *gChosenContexts : *kPresentation.contexts; }

void UseContextKind(const ContextKind& kind) { gChosenContexts = &kind; }

}  // namespace sdl_layer

using namespace sdl_layer;

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
  gLayer.contexts.emplace(id, Context{context, w->sdl});
  return MakeHandle<HGLRC>(id, kRcTag);
}

BOOL wglMakeCurrent(HDC dc, HGLRC rc) {
  if (!rc) {
    // Without a device context there must be a current context to release.
    if (!dc && gLayer.currentContext == 0) return FALSE;
    if (gLayer.currentContext != 0) {
      SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
      Contexts().ContextMadeCurrent(nullptr, false);
    }
    gLayer.currentContext = 0;
    return TRUE;
  }
  const uintptr_t id = HandleId(rc, kRcTag);
  const auto it = gLayer.contexts.find(id);
  Window* w = FindWindowOfDc(dc);
  if (it == gLayer.contexts.end() || !w || !w->sdl || !w->gl) return FALSE;
  if (SDL_GL_MakeCurrent(w->sdl, it->second.context) != 0) return FALSE;
  gLayer.currentContext = id;
  const bool first = !it->second.everCurrent;
  it->second.everCurrent = true;
  Contexts().ContextMadeCurrent(&it->second, first);
  return TRUE;
}

BOOL wglDeleteContext(HGLRC rc) {
  const uintptr_t id = HandleId(rc, kRcTag);
  const auto it = gLayer.contexts.find(id);
  if (it == gLayer.contexts.end()) return FALSE;
  if (it->second.everCurrent) Contexts().ContextGoing(it->second, gLayer.currentContext == id);
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
  // What was drawn is finished first, as Win32's swap does; the OpenGL 1.1 layer's batch holds the
  // frame's last primitives until then.
  glFlush();
  kPresentation.PresentFrame(w->sdl);
  return TRUE;
}
