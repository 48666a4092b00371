// Compiled against the system's GL headers, whatever API the context has: the calls go through the
// looked-up pointers, and the enumerants are the same in OpenGL and OpenGL ES 3.
#include "Framebuffer.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace testgl {

struct Framebuffer::Calls {
  PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
  PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
  PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;

  // False when the context lacks any of them.
  bool Load(GLProcLookup lookup) {
    return Get(lookup, GenFramebuffers, "glGenFramebuffers") && Get(lookup, BindFramebuffer, "glBindFramebuffer") &&
           Get(lookup, DeleteFramebuffers, "glDeleteFramebuffers") &&
           Get(lookup, GenRenderbuffers, "glGenRenderbuffers") && Get(lookup, BindRenderbuffer, "glBindRenderbuffer") &&
           Get(lookup, DeleteRenderbuffers, "glDeleteRenderbuffers") &&
           Get(lookup, RenderbufferStorage, "glRenderbufferStorage") &&
           Get(lookup, FramebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           Get(lookup, CheckFramebufferStatus, "glCheckFramebufferStatus");
  }
  template <typename F>
  static bool Get(GLProcLookup lookup, F& f, const char* name) {
    f = reinterpret_cast<F>(lookup(name));
    return f != nullptr;
  }
};

Framebuffer::Framebuffer() = default;

Framebuffer::~Framebuffer() {
  if (!fbo_) return;
  calls_->DeleteFramebuffers(1, &fbo_);
  calls_->DeleteRenderbuffers(1, &colour_);
  calls_->DeleteRenderbuffers(1, &depth_);
}

std::string Framebuffer::Create(GLProcLookup lookup, int width, int height) {
  auto calls = std::make_unique<Calls>();
  if (!calls->Load(lookup)) return "no framebuffer objects";
  calls_ = std::move(calls);
  const Calls& gl = *calls_;
  gl.GenFramebuffers(1, &fbo_);
  gl.BindFramebuffer(GL_FRAMEBUFFER, fbo_);
  gl.GenRenderbuffers(1, &colour_);
  gl.BindRenderbuffer(GL_RENDERBUFFER, colour_);
  gl.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
  gl.GenRenderbuffers(1, &depth_);
  gl.BindRenderbuffer(GL_RENDERBUFFER, depth_);
  gl.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
  gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
  if (gl.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return "framebuffer incomplete";
  return {};
}

}  // namespace testgl
