// The harness's context elsewhere than on Windows: Mesa through EGL without a display
// (surfaceless), drawing into a framebuffer object. Framebuffer objects are past OpenGL 1.1; libGL
// exports their entry points, which the build declares with GL_GLEXT_PROTOTYPES for this file.
#include "GLHarness.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <memory>

namespace testgl {

HeadlessGL::HeadlessGL(int width, int height) : width_(width), height_(height) {
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
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
  eglBindAPI(EGL_OPENGL_API);
  const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                  EGL_NONE};
  EGLConfig config;
  EGLint count = 0;
  if (!eglChooseConfig(dpy, configAttribs, &config, 1, &count) || count < 1) {
    error_ = "no EGL config for desktop OpenGL";
    return;
  }
  EGLContext ctx = eglCreateContext(dpy, config, EGL_NO_CONTEXT, nullptr);
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
  glDrawBuffer(GL_COLOR_ATTACHMENT0);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glViewport(0, 0, width, height);
  ok_ = true;
}

HeadlessGL::~HeadlessGL() {
  if (!display_) return;
  auto dpy = static_cast<EGLDisplay>(display_);
  if (context_) {
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

void* HeadlessGL::DeviceContext() const { return nullptr; }

bool HeadlessGL::SavePng(const std::string& path) const {
  // Written as a binary PPM piped through ImageMagick's convert, which the test set-up installs.
  const auto pixels = ReadPixels();
  const std::string command = "convert ppm:- '" + path + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "w"), pclose);
  if (!pipe) return false;
  std::fprintf(pipe.get(), "P6\n%d %d\n255\n", width_, height_);
  for (int y = height_ - 1; y >= 0; --y)
    for (int x = 0; x < width_; ++x) std::fwrite(&pixels[(static_cast<size_t>(y) * width_ + x) * 4], 1, 3, pipe.get());
  return true;
}

}  // namespace testgl
