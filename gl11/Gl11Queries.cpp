// OpenGL 1.1 layer: errors, strings and glGet queries.
#include "Gl11Layer.h"

#include <cmath>
#include <string>

namespace gl11 {

void SetError(GLenum error) {
  if (g.error == GL_NO_ERROR) g.error = error;
}

bool Outside() {
  if (!g.ready) return false;
  if (g.inBegin) {
    SetError(GL_INVALID_OPERATION);
    return false;
  }
  return true;
}

}  // namespace gl11

using namespace gl11;

namespace {

void Matrix(double out[16], const Mat4& m) {
  for (int i = 0; i < 16; ++i) out[i] = m.m[i];
}

// The value of a state variable as doubles: how many there are, 0 for an unknown name. `colour`
// is set for values that convert to integers as colours do (linearly onto the integer range).
int Values(GLenum pname, double* v, bool& colour) {
  colour = false;
  GLint* field = nullptr;
  if (StoreOf(pname, field)) {
    v[0] = *field;
    return 1;
  }
  if (const GLboolean* flag = Capability(pname)) {
    v[0] = *flag ? 1 : 0;
    return 1;
  }
  switch (pname) {
    case GL_MATRIX_MODE:
      v[0] = g.fixed.matrixMode;
      return 1;
    case GL_VIEWPORT:
      for (int i = 0; i < 4; ++i) v[i] = g.fixed.ops.viewport[i];
      return 4;
    case GL_MAX_TEXTURE_SIZE: {
      GLint size = 0;
      gles.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
      v[0] = size;
      return 1;
    }
    case GL_TEXTURE_BINDING_2D:
      v[0] = g.fixed.boundTexture;
      return 1;
    case GL_LIST_BASE:
      v[0] = g.fixed.listBase;
      return 1;
    case GL_LIST_INDEX:
      v[0] = g.compiling;
      return 1;
    case GL_LIST_MODE:
      v[0] = g.compiling ? g.compileMode : 0;
      return 1;
    case GL_MODELVIEW_STACK_DEPTH:
      v[0] = static_cast<double>(g.modelview.size());
      return 1;
    case GL_PROJECTION_STACK_DEPTH:
      v[0] = static_cast<double>(g.projection.size());
      return 1;
    case GL_TEXTURE_STACK_DEPTH:
      v[0] = static_cast<double>(g.textureMatrix.size());
      return 1;
    case GL_ATTRIB_STACK_DEPTH:
      v[0] = static_cast<double>(g.attribStack.size());
      return 1;
    case GL_CLIENT_ATTRIB_STACK_DEPTH:
      v[0] = static_cast<double>(g.clientStack.size());
      return 1;
    case GL_MAX_MODELVIEW_STACK_DEPTH:
      v[0] = kModelviewDepth;
      return 1;
    case GL_MAX_PROJECTION_STACK_DEPTH:
      v[0] = kProjectionDepth;
      return 1;
    case GL_MAX_TEXTURE_STACK_DEPTH:
      v[0] = kTextureDepth;
      return 1;
    case GL_MAX_ATTRIB_STACK_DEPTH:
    case GL_MAX_CLIENT_ATTRIB_STACK_DEPTH:
      v[0] = kAttribDepth;
      return 1;
    case GL_MAX_LIST_NESTING:
      v[0] = kListNesting;
      return 1;
    case GL_MAX_CLIP_PLANES:
      v[0] = kClipPlanes;
      return 1;
    case GL_DEPTH_FUNC:
      v[0] = g.fixed.ops.depthFunc;
      return 1;
    case GL_BLEND_SRC:
      v[0] = g.fixed.ops.blendSrc;
      return 1;
    case GL_BLEND_DST:
      v[0] = g.fixed.ops.blendDst;
      return 1;
    case GL_CULL_FACE_MODE:
      v[0] = g.fixed.ops.cullMode;
      return 1;
    case GL_FRONT_FACE:  // always GL_CCW
      v[0] = GL_CCW;
      return 1;
    case GL_SHADE_MODEL:
      v[0] = g.fixed.shadeModel;
      return 1;
    case GL_PERSPECTIVE_CORRECTION_HINT:
      v[0] = g.fixed.hint;
      return 1;
    case GL_MODELVIEW_MATRIX:
      Matrix(v, g.modelview.back());
      return 16;
    case GL_PROJECTION_MATRIX:
      Matrix(v, g.projection.back());
      return 16;
    case GL_TEXTURE_MATRIX:
      Matrix(v, g.textureMatrix.back());
      return 16;
    case GL_CURRENT_COLOR:
      colour = true;
      for (int i = 0; i < 4; ++i) v[i] = g.fixed.colour[i];
      return 4;
    case GL_CURRENT_NORMAL:
      for (int i = 0; i < 3; ++i) v[i] = g.fixed.normal[i];
      return 3;
    case GL_CURRENT_TEXTURE_COORDS:
      v[0] = g.fixed.texCoord[0];
      v[1] = g.fixed.texCoord[1];
      v[2] = 0;
      v[3] = 1;
      return 4;
    case GL_COLOR_CLEAR_VALUE:
      colour = true;
      for (int i = 0; i < 4; ++i) v[i] = g.fixed.clearColour[i];
      return 4;
    case GL_DEPTH_CLEAR_VALUE:
      colour = true;
      v[0] = g.fixed.clearDepth;
      return 1;
    default:
      return 0;
  }
}

// Queries through Values: nothing is written for an unknown name (GL_INVALID_ENUM).
template <class T>
void Get(GLenum pname, T* params, bool integer) {
  if (!Outside()) return;
  double v[16];
  bool colour = false;
  const int n = Values(pname, v, colour);
  if (n == 0) return SetError(GL_INVALID_ENUM);
  for (int i = 0; i < n; ++i) {
    double x = v[i];
    if (integer) x = colour ? std::round(x * 2147483647.0) : std::round(x);
    params[i] = static_cast<T>(x);
  }
}

std::string gVendor, gRenderer, gVersion;

}  // namespace

extern "C" {

// ---- errors and strings ------------------------------------------------------------------------

GLenum glGetError(void) {
  if (!g.ready) return GL_NO_ERROR;
  if (g.inBegin) {
    SetError(GL_INVALID_OPERATION);
    return GL_NO_ERROR;
  }
  GLenum e = g.error;
  g.error = GL_NO_ERROR;
  // The GLES side's own errors (out of memory, above all) come through too.
  if (e == GL_NO_ERROR) e = gles.glGetError();
  return e;
}

const GLubyte* glGetString(GLenum name) {
  if (!Outside()) return nullptr;
  switch (name) {
    case GL_VENDOR:
      gVendor = "glgui";
      return reinterpret_cast<const GLubyte*>(gVendor.c_str());
    case GL_RENDERER: {
      const auto* below = reinterpret_cast<const char*>(gles.glGetString(GL_RENDERER));
      gRenderer = std::string("OpenGL 1.1 subset on ") + (below ? below : "OpenGL ES 3.0");
      return reinterpret_cast<const GLubyte*>(gRenderer.c_str());
    }
    case GL_VERSION:
      gVersion = "1.1 glgui";
      return reinterpret_cast<const GLubyte*>(gVersion.c_str());
    case GL_EXTENSIONS:
      return reinterpret_cast<const GLubyte*>("");
    default:
      SetError(GL_INVALID_ENUM);
      return nullptr;
  }
}

// ---- queries -----------------------------------------------------------------------------------

void glGetIntegerv(GLenum pname, GLint* params) { Get(pname, params, true); }
void glGetFloatv(GLenum pname, GLfloat* params) { Get(pname, params, false); }
void glGetDoublev(GLenum pname, GLdouble* params) { Get(pname, params, false); }

}  // extern "C"
