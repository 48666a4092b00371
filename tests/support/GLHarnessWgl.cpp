// The harness's context on Windows: a hidden window of its own class with a WGL context, drawing
// into a framebuffer object (framebuffer objects are past OpenGL 1.1, so their entry points come
// from wglGetProcAddress). Everything else of the harness is shared with the other platforms.
#include "GLHarness.h"

#include "Framebuffer.h"
#include "PixelFormat.h"
#include "Win32Api.h"

#include <GL/glext.h>

namespace testgl {

namespace {

const char kClass[] = "GLHarness";

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

void* WglProcAddress(const char* name) { return reinterpret_cast<void*>(wglGetProcAddress(name)); }

// The hidden window and its context, released and destroyed in that order.
struct WglWindow {
  HWND window = nullptr;
  HGLRC context = nullptr;

  WglWindow() = default;
  WglWindow(const WglWindow&) = delete;
  WglWindow& operator=(const WglWindow&) = delete;
  ~WglWindow() {
    if (!window) return;
    HDC dc = GetDC(window);
    if (context) {
      wglMakeCurrent(dc, nullptr);
      wglDeleteContext(context);
    }
    ReleaseDC(window, dc);
    DestroyWindow(window);
  }

  // Empty once the context is current, else what failed.
  std::string Create() {
    if (!RegisterHarnessClass()) return "RegisterClassExA failed";
    // Never shown: it only carries the pixel format and the context.
    window = CreateWindowExA(0, kClass, "GLHarness", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    if (!window) return "CreateWindowExA failed";
    HDC dc = GetDC(window);
    const PIXELFORMATDESCRIPTOR pfd = WindowPixelFormat();
    const int format = ChoosePixelFormat(dc, &pfd);
    if (format == 0 || !SetPixelFormat(dc, format, &pfd)) return "no pixel format";
    context = wglCreateContext(dc);
    if (!context) return "wglCreateContext failed";
    if (!wglMakeCurrent(dc, context)) return "wglMakeCurrent failed";
    return {};
  }
};

}  // namespace

struct HeadlessGL::Platform {
  WglWindow window;
  Framebuffer target;  // goes first, while the context is current
};

HeadlessGL::HeadlessGL(int width, int height)
    : width_(width), height_(height), platform_(std::make_unique<Platform>()) {
  error_ = platform_->window.Create();
  if (error_.empty()) error_ = platform_->target.Create(WglProcAddress, width, height);
  if (!error_.empty()) return;
  glDrawBuffer(GL_COLOR_ATTACHMENT0);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glViewport(0, 0, width, height);
  ok_ = true;
}

HeadlessGL::~HeadlessGL() = default;

bool HeadlessGL::SavePng(const std::string&) const { return false; }

void* HeadlessGL::DeviceContext() const {
  return platform_->window.window ? GetDC(platform_->window.window) : nullptr;
}

}  // namespace testgl
