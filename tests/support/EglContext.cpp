// Compiled against the real EGL headers only: no GL call here.
#include "EglContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace testgl {

namespace {

// eglTerminate takes every context of the display with it, and the surfaceless platform has one
// display for all: it goes with the last context that uses it.
int gDisplayUsers = 0;

}  // namespace

EglContext::EglContext(GLApi api) {
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!getPlatformDisplay) {
    error_ = "eglGetPlatformDisplayEXT is missing";
    return;
  }
  EGLDisplay dpy = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (dpy == EGL_NO_DISPLAY || !eglInitialize(dpy, nullptr, nullptr)) {
    error_ = "no surfaceless EGL display";
    return;
  }
  display_ = dpy;
  ++gDisplayUsers;
  const bool es = api == GLApi::OpenGLES3;
  eglBindAPI(es ? EGL_OPENGL_ES_API : EGL_OPENGL_API);
  const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                  es ? EGL_OPENGL_ES3_BIT : EGL_OPENGL_BIT, EGL_NONE};
  const EGLint es3Attribs[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_NONE};
  EGLConfig config;
  EGLint count = 0;
  if (!eglChooseConfig(dpy, configAttribs, &config, 1, &count) || count < 1) {
    error_ = es ? "no EGL config for OpenGL ES 3" : "no EGL config for desktop OpenGL";
    return;
  }
  EGLContext ctx = eglCreateContext(dpy, config, EGL_NO_CONTEXT, es ? es3Attribs : nullptr);
  if (ctx == EGL_NO_CONTEXT) {
    error_ = "eglCreateContext failed";
    return;
  }
  context_ = ctx;
  if (!eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, ctx)) {
    error_ = "eglMakeCurrent failed";
    return;
  }
  ok_ = true;
}

EglContext::~EglContext() {
  if (!display_) return;
  auto dpy = static_cast<EGLDisplay>(display_);
  if (context_) {
    eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(dpy, static_cast<EGLContext>(context_));
  }
  if (--gDisplayUsers == 0) eglTerminate(dpy);
}

bool EglContext::MakeCurrent() {
  return ok_ && eglMakeCurrent(static_cast<EGLDisplay>(display_), EGL_NO_SURFACE, EGL_NO_SURFACE,
                               static_cast<EGLContext>(context_));
}

void* EglProcAddress(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

}  // namespace testgl
