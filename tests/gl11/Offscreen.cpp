// The context of Offscreen.h: EGL without a display (Mesa's surfaceless platform), with
// OpenGL ES 3 when built for the layer (GL11_ON_GLES) and OpenGL otherwise, drawing into a
// framebuffer object. Both APIs have the framebuffer calls under the same names.
#include "Offscreen.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#ifdef GL11_ON_GLES
#include <GLES3/gl3.h>

#include "Gl11Context.h"
#else
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#endif

Offscreen::Offscreen(int width, int height) : width_(width), height_(height) {
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
#ifdef GL11_ON_GLES
  eglBindAPI(EGL_OPENGL_ES_API);
  const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_ES3_BIT, EGL_NONE};
  const EGLint contextAttribs[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_NONE};
#else
  eglBindAPI(EGL_OPENGL_API);
  const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
  const EGLint* contextAttribs = nullptr;
#endif
  EGLConfig config;
  EGLint count = 0;
  if (!eglChooseConfig(dpy, configAttribs, &config, 1, &count) || count < 1) {
    error_ = "no EGL config";
    return;
  }
  EGLContext ctx = eglCreateContext(dpy, config, EGL_NO_CONTEXT, contextAttribs);
  if (ctx == EGL_NO_CONTEXT) {
    error_ = "eglCreateContext failed";
    return;
  }
  context_ = ctx;
  if (!eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, ctx)) {
    error_ = "eglMakeCurrent failed";
    return;
  }
  glGenFramebuffers(1, &fbo_);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  glGenRenderbuffers(1, &colour_);
  glBindRenderbuffer(GL_RENDERBUFFER, colour_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
  glGenRenderbuffers(1, &depth_);
  glBindRenderbuffer(GL_RENDERBUFFER, depth_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    error_ = "framebuffer incomplete";
    return;
  }
  glViewport(0, 0, width, height);
#ifdef GL11_ON_GLES
  gl11ContextCreated();
#endif
  ok_ = true;
}

Offscreen::~Offscreen() {
  if (!display_) return;
  auto dpy = static_cast<EGLDisplay>(display_);
  if (context_) {
#ifdef GL11_ON_GLES
    if (ok_) gl11ContextDestroyed();
#endif
    if (fbo_) {
      glDeleteFramebuffers(1, &fbo_);
      glDeleteRenderbuffers(1, &colour_);
      glDeleteRenderbuffers(1, &depth_);
    }
    eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(dpy, static_cast<EGLContext>(context_));
  }
  eglTerminate(dpy);
}

std::vector<uint8_t> Offscreen::Pixels() const {
  std::vector<uint8_t> pixels(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}
