// The harness's context elsewhere than on Windows: Mesa's OpenGL through EGL without a display
// (surfaceless), drawing into a framebuffer object.
#include "GLHarness.h"

#include "EglContext.h"
#include "Framebuffer.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <memory>

namespace testgl {

struct HeadlessGL::Platform {
  EglContext context{GLApi::OpenGL};
  Framebuffer target;  // goes first, while the context is current
};

HeadlessGL::HeadlessGL(int width, int height)
    : width_(width), height_(height), platform_(std::make_unique<Platform>()) {
  if (!platform_->context.Ok()) {
    error_ = platform_->context.Error();
    return;
  }
  error_ = platform_->target.Create(EglProcAddress, width, height);
  if (!error_.empty()) return;
  glDrawBuffer(GL_COLOR_ATTACHMENT0);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glViewport(0, 0, width, height);
  ok_ = true;
}

HeadlessGL::~HeadlessGL() = default;

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
