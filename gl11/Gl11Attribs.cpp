// OpenGL 1.1 layer: the attribute stacks (glPushAttrib, glPushClientAttrib)
// and the pixel storage modes that the client stack keeps.
#include "Gl11Layer.h"

#include <cstring>

namespace gl11 {

PixelStore* StoreOf(GLenum pname, GLint*& field) {
  PixelStore* s = nullptr;
  GLenum base = 0;
  if (pname >= GL_UNPACK_SWAP_BYTES && pname <= GL_UNPACK_ALIGNMENT) {
    s = &g.unpack;
    base = GL_UNPACK_SWAP_BYTES;
  } else if (pname >= GL_PACK_SWAP_BYTES && pname <= GL_PACK_ALIGNMENT) {
    s = &g.pack;
    base = GL_PACK_SWAP_BYTES;
  } else {
    return nullptr;
  }
  GLint* fields[] = {&s->swapBytes, &s->lsbFirst, &s->rowLength, &s->skipRows, &s->skipPixels, &s->alignment};
  field = fields[pname - base];
  return s;
}

}  // namespace gl11

using namespace gl11;

extern "C" {

// ---- attribute stacks --------------------------------------------------------------------------

void glPushAttrib(GLbitfield mask) {
  if (Record([=] { glPushAttrib(mask); })) return;
  if (!Outside()) return;
  if (g.attribStack.size() >= kAttribDepth) return SetError(GL_STACK_OVERFLOW);
  AttribFrame f{mask, g.fixed, {}};
  TextureParameters(g.fixed.boundTexture, f.texParameters);
  g.attribStack.push_back(f);
}

// Each group takes back its part of the state saved whole.
void glPopAttrib(void) {
  if (Record([] { glPopAttrib(); })) return;
  if (!Outside()) return;
  if (g.attribStack.empty()) return SetError(GL_STACK_UNDERFLOW);
  const AttribFrame f = g.attribStack.back();
  g.attribStack.pop_back();
  const GLbitfield m = f.mask;
  const FixedState& saved = f.saved;
  FixedState& now = g.fixed;
  const auto take = [](auto& to, const auto& from) { std::memcpy(&to, &from, sizeof to); };
  if (m & GL_CURRENT_BIT) {
    take(now.colour, saved.colour);
    take(now.texCoord, saved.texCoord);
    take(now.normal, saved.normal);
  }
  if (m & GL_ENABLE_BIT) {
    now.ops.blend = saved.ops.blend;
    now.ops.depthTest = saved.ops.depthTest;
    now.ops.cull = saved.ops.cull;
    now.texture2D = saved.texture2D;
    take(now.clipEnabled, saved.clipEnabled);
  }
  if (m & GL_COLOR_BUFFER_BIT) {
    now.ops.blend = saved.ops.blend;
    now.ops.blendSrc = saved.ops.blendSrc;
    now.ops.blendDst = saved.ops.blendDst;
    take(now.clearColour, saved.clearColour);
  }
  if (m & GL_DEPTH_BUFFER_BIT) {
    now.ops.depthTest = saved.ops.depthTest;
    now.ops.depthFunc = saved.ops.depthFunc;
    now.clearDepth = saved.clearDepth;
  }
  if (m & GL_POLYGON_BIT) {
    now.ops.cull = saved.ops.cull;
    now.ops.cullMode = saved.ops.cullMode;
  }
  if (m & GL_LIGHTING_BIT) now.shadeModel = saved.shadeModel;
  if (m & GL_TRANSFORM_BIT) {
    now.matrixMode = saved.matrixMode;
    take(now.clip, saved.clip);
    take(now.clipEnabled, saved.clipEnabled);
  }
  if (m & GL_TEXTURE_BIT) {
    // The name bound at the push is bound again (as a new texture if it was deleted since) and
    // takes the parameters it had then.
    now.boundTexture = saved.boundTexture;
    RestoreTextureParameters(saved.boundTexture, f.texParameters);
    now.texEnvMode = saved.texEnvMode;
    now.texture2D = saved.texture2D;  // the enable belongs to both groups
  }
  if (m & GL_VIEWPORT_BIT) take(now.ops.viewport, saved.ops.viewport);
  if (m & GL_HINT_BIT) now.hint = saved.hint;
  if (m & GL_LIST_BIT) now.listBase = saved.listBase;
}

void glPushClientAttrib(GLbitfield mask) {
  if (!Outside()) return;
  if (g.clientStack.size() >= kAttribDepth) return SetError(GL_STACK_OVERFLOW);
  g.clientStack.push_back({mask, {g.unpack, g.pack}});
}

void glPopClientAttrib(void) {
  if (!Outside()) return;
  if (g.clientStack.empty()) return SetError(GL_STACK_UNDERFLOW);
  const auto frame = g.clientStack.back();
  g.clientStack.pop_back();
  if (frame.first & GL_CLIENT_PIXEL_STORE_BIT) {
    g.unpack = frame.second.first;
    g.pack = frame.second.second;
  }
}

void glPixelStorei(GLenum pname, GLint param) {
  if (!Outside()) return;
  GLint* field = nullptr;
  if (!StoreOf(pname, field)) return SetError(GL_INVALID_ENUM);
  if (pname == GL_UNPACK_ALIGNMENT || pname == GL_PACK_ALIGNMENT) {
    if (param != 1 && param != 2 && param != 4 && param != 8) return SetError(GL_INVALID_VALUE);
  } else if (param < 0) {
    return SetError(GL_INVALID_VALUE);
  }
  *field = param;
}

}  // extern "C"
