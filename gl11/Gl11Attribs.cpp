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
  AttribFrame f{};
  f.mask = mask;
  std::memcpy(f.colour, g.colour, sizeof f.colour);
  std::memcpy(f.texCoord, g.texCoord, sizeof f.texCoord);
  std::memcpy(f.normal, g.normal, sizeof f.normal);
  f.blend = g.blend;
  f.depthTest = g.depthTest;
  f.cull = g.cull;
  f.texture2D = g.texture2D;
  std::memcpy(f.clipEnabled, g.clipEnabled, sizeof f.clipEnabled);
  std::memcpy(f.clip, g.clip, sizeof f.clip);
  f.blendSrc = g.blendSrc;
  f.blendDst = g.blendDst;
  f.depthFunc = g.depthFunc;
  f.cullMode = g.cullMode;
  f.shadeModel = g.shadeModel;
  f.matrixMode = g.matrixMode;
  f.texEnvMode = g.texEnvMode;
  f.hint = g.hint;
  f.texture = g.boundTexture;
  TextureParameters(g.boundTexture, f.texParameters);
  f.listBase = g.listBase;
  std::memcpy(f.clearColour, g.clearColour, sizeof f.clearColour);
  f.clearDepth = g.clearDepth;
  std::memcpy(f.viewport, g.viewport, sizeof f.viewport);
  g.attribStack.push_back(f);
}

void glPopAttrib(void) {
  if (Record([] { glPopAttrib(); })) return;
  if (!Outside()) return;
  if (g.attribStack.empty()) return SetError(GL_STACK_UNDERFLOW);
  const AttribFrame f = g.attribStack.back();
  g.attribStack.pop_back();
  const GLbitfield m = f.mask;
  if (m & GL_CURRENT_BIT) {
    std::memcpy(g.colour, f.colour, sizeof f.colour);
    std::memcpy(g.texCoord, f.texCoord, sizeof f.texCoord);
    std::memcpy(g.normal, f.normal, sizeof f.normal);
  }
  if (m & GL_ENABLE_BIT) {
    g.blend = f.blend;
    g.depthTest = f.depthTest;
    g.cull = f.cull;
    g.texture2D = f.texture2D;
    std::memcpy(g.clipEnabled, f.clipEnabled, sizeof f.clipEnabled);
  }
  if (m & GL_COLOR_BUFFER_BIT) {
    g.blend = f.blend;
    g.blendSrc = f.blendSrc;
    g.blendDst = f.blendDst;
    std::memcpy(g.clearColour, f.clearColour, sizeof f.clearColour);
  }
  if (m & GL_DEPTH_BUFFER_BIT) {
    g.depthTest = f.depthTest;
    g.depthFunc = f.depthFunc;
    g.clearDepth = f.clearDepth;
  }
  if (m & GL_POLYGON_BIT) {
    g.cull = f.cull;
    g.cullMode = f.cullMode;
  }
  if (m & GL_LIGHTING_BIT) g.shadeModel = f.shadeModel;
  if (m & GL_TRANSFORM_BIT) {
    g.matrixMode = f.matrixMode;
    std::memcpy(g.clip, f.clip, sizeof f.clip);
    std::memcpy(g.clipEnabled, f.clipEnabled, sizeof f.clipEnabled);
  }
  if (m & GL_TEXTURE_BIT) {
    // The name bound at the push is bound again (as a new texture if it was deleted since) and
    // takes the parameters it had then.
    g.boundTexture = f.texture;
    RestoreTextureParameters(f.texture, f.texParameters);
    g.texEnvMode = f.texEnvMode;
    g.texture2D = f.texture2D;  // the enable belongs to both groups
  }
  if (m & GL_VIEWPORT_BIT) std::memcpy(g.viewport, f.viewport, sizeof f.viewport);
  if (m & GL_HINT_BIT) g.hint = f.hint;
  if (m & GL_LIST_BIT) g.listBase = f.listBase;
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
