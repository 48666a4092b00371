// Web backend: WGL contexts on SDL's WebGL 2 contexts, with the OpenGL 1.1 layer told when one is
// new and before one goes, and the buffer swap, which flushes the layer's batch and waits for the
// browser's next frame (the page shows what was drawn once the program yields to the browser).
#include "SdlWindowLayer.h"
#include "Win32Api.h"
#include "WebPage.h"
#include "webgl/Gl11Context.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdint>

using namespace sdl_layer;

namespace {
bool WindowAlive(SDL_Window* sdl) {
  for (const auto& entry : gLayer.windows)
    if (entry.second->sdl == sdl) return sdl != nullptr;
  return false;
}

// WebGL 2 is OpenGL ES 3.0.
void RequestWebGl2() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
}
}  // namespace

HGLRC wglCreateContext(HDC dc) {
  Window* w = FindWindowOfDc(dc);
  if (!w || !w->sdl || !w->gl) return nullptr;
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previous = SDL_GL_GetCurrentContext();
  ApplyGlAttributes(w->pfd);
  RequestWebGl2();
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
  if (!it->second.everCurrent) {
    it->second.everCurrent = true;
    gl11ContextCreated();
  }
  return TRUE;
}

BOOL wglDeleteContext(HGLRC rc) {
  const uintptr_t id = HandleId(rc, kRcTag);
  const auto it = gLayer.contexts.find(id);
  if (it == gLayer.contexts.end()) return FALSE;
  // The layer releases what it made in the context, so the context must be current meanwhile;
  // after a window that went first, there is nothing to make it current with, and the context
  // goes with what it holds.
  const Context& c = it->second;
  if (c.everCurrent && WindowAlive(c.window)) {
    if (gLayer.currentContext == id) {
      gl11ContextDestroyed();
    } else {
      SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
      SDL_GLContext previous = SDL_GL_GetCurrentContext();
      if (SDL_GL_MakeCurrent(c.window, c.context) == 0) {
        gl11ContextDestroyed();
        SDL_GL_MakeCurrent(previous ? previousWindow : c.window, previous);
      }
    }
  }
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
  glFlush();  // the layer's batch holds the frame's last primitives until then
  web_page::WaitForNextFrame();
  return TRUE;
}
