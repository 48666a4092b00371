// The harness's context on Windows: a hidden window of its own class with a WGL context, drawing
// into a framebuffer object (framebuffer objects are past OpenGL 1.1, so their entry points come
// from wglGetProcAddress). Everything else of the harness is shared with the other platforms.
#include "GLHarness.h"

#include "Win32Api.h"

#include <GL/glext.h>

namespace testgl {

namespace {

const char kClass[] = "GLHarness";

struct FramebufferCalls {
  PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
  PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
  PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;

  // Needs a current context; false when the driver lacks any of them.
  bool Load() {
    return Get(GenFramebuffers, "glGenFramebuffers") && Get(BindFramebuffer, "glBindFramebuffer") &&
           Get(DeleteFramebuffers, "glDeleteFramebuffers") && Get(GenRenderbuffers, "glGenRenderbuffers") &&
           Get(BindRenderbuffer, "glBindRenderbuffer") && Get(DeleteRenderbuffers, "glDeleteRenderbuffers") &&
           Get(RenderbufferStorage, "glRenderbufferStorage") &&
           Get(FramebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           Get(CheckFramebufferStatus, "glCheckFramebufferStatus");
  }
  template <typename F>
  static bool Get(F& f, const char* name) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(wglGetProcAddress(name)));
    return f != nullptr;
  }
};

FramebufferCalls gFbo;

bool RegisterHarnessClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  registered = RegisterClassExA(&wc) != 0;
  return registered;
}

}  // namespace

HeadlessGL::HeadlessGL(int width, int height) : width_(width), height_(height) {
  if (!RegisterHarnessClass()) {
    error_ = "RegisterClassExA failed";
    return;
  }
  // Never shown: it only carries the pixel format and the context.
  HWND hWnd = CreateWindowExA(0, kClass, "GLHarness", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  if (!hWnd) {
    error_ = "CreateWindowExA failed";
    return;
  }
  display_ = hWnd;
  HDC dc = GetDC(hWnd);
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof(pfd);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 32;
  pfd.cDepthBits = 16;
  const int format = ChoosePixelFormat(dc, &pfd);
  if (format == 0 || !SetPixelFormat(dc, format, &pfd)) {
    error_ = "no pixel format";
    return;
  }
  HGLRC rc = wglCreateContext(dc);
  if (!rc) {
    error_ = "wglCreateContext failed";
    return;
  }
  context_ = rc;
  if (!wglMakeCurrent(dc, rc)) {
    error_ = "wglMakeCurrent failed";
    return;
  }
  if (!gFbo.Load()) {
    error_ = "no framebuffer objects";
    return;
  }
  gFbo.GenFramebuffers(1, &fbo_);
  gFbo.BindFramebuffer(GL_FRAMEBUFFER, fbo_);
  gFbo.GenRenderbuffers(1, &colour_);
  gFbo.BindRenderbuffer(GL_RENDERBUFFER, colour_);
  gFbo.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  gFbo.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
  gFbo.GenRenderbuffers(1, &depth_);
  gFbo.BindRenderbuffer(GL_RENDERBUFFER, depth_);
  gFbo.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
  gFbo.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
  if (gFbo.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    error_ = "framebuffer incomplete";
    return;
  }
  glDrawBuffer(GL_COLOR_ATTACHMENT0);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glViewport(0, 0, width, height);
  ok_ = true;
}

HeadlessGL::~HeadlessGL() {
  HWND hWnd = static_cast<HWND>(display_);
  if (!hWnd) return;
  HDC dc = GetDC(hWnd);
  if (context_) {
    if (fbo_) {
      gFbo.DeleteFramebuffers(1, &fbo_);
      gFbo.DeleteRenderbuffers(1, &colour_);
      gFbo.DeleteRenderbuffers(1, &depth_);
    }
    wglMakeCurrent(dc, nullptr);
    wglDeleteContext(static_cast<HGLRC>(context_));
  }
  ReleaseDC(hWnd, dc);
  DestroyWindow(hWnd);
}

bool HeadlessGL::SavePng(const std::string&) const { return false; }

void* HeadlessGL::DeviceContext() const { return display_ ? GetDC(static_cast<HWND>(display_)) : nullptr; }

}  // namespace testgl
