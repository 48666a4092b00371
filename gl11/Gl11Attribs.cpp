// OpenGL 1.1 layer: the attribute stacks (glPushAttrib, glPushClientAttrib)
// and the pixel storage modes that the client stack keeps.
#include "Gl11Layer.h"

#include <cstring>

namespace gl11 {

PixelStore* StoreOf(GLenum pname, GLint*& field) {
  PixelStore* s = nullptr;
  GLenum base = 0;
  if (pname >= kUnpackSwapBytes && pname <= GL_UNPACK_ALIGNMENT) {
    s = &g.unpack;
    base = kUnpackSwapBytes;
  } else if (pname >= kPackSwapBytes && pname <= GL_PACK_ALIGNMENT) {
    s = &g.pack;
    base = kPackSwapBytes;
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

void gl11PushAttrib(GLbitfield mask) {
  if (Record([=] { gl11PushAttrib(mask); })) return;
  if (!Outside()) return;
  if (g.attribStack.size() >= kAttribDepth) return SetError(kStackOverflow);
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
  f.listBase = g.listBase;
  std::memcpy(f.clearColour, g.clearColour, sizeof f.clearColour);
  f.clearDepth = g.clearDepth;
  std::memcpy(f.viewport, g.viewport, sizeof f.viewport);
  g.attribStack.push_back(f);
}

void gl11PopAttrib(void) {
  if (Record([] { gl11PopAttrib(); })) return;
  if (!Outside()) return;
  if (g.attribStack.empty()) return SetError(kStackUnderflow);
  const AttribFrame f = g.attribStack.back();
  g.attribStack.pop_back();
  const GLbitfield m = f.mask;
  if (m & kCurrentBit) {
    std::memcpy(g.colour, f.colour, sizeof f.colour);
    std::memcpy(g.texCoord, f.texCoord, sizeof f.texCoord);
    std::memcpy(g.normal, f.normal, sizeof f.normal);
  }
  if (m & kEnableBit) {
    g.blend = f.blend;
    g.depthTest = f.depthTest;
    g.cull = f.cull;
    g.texture2D = f.texture2D;
    std::memcpy(g.clipEnabled, f.clipEnabled, sizeof f.clipEnabled);
  }
  if (m & kColorBufferBit) {
    g.blend = f.blend;
    g.blendSrc = f.blendSrc;
    g.blendDst = f.blendDst;
    std::memcpy(g.clearColour, f.clearColour, sizeof f.clearColour);
  }
  if (m & kDepthBufferBit) {
    g.depthTest = f.depthTest;
    g.depthFunc = f.depthFunc;
    g.clearDepth = f.clearDepth;
  }
  if (m & kPolygonBit) {
    g.cull = f.cull;
    g.cullMode = f.cullMode;
  }
  if (m & kLightingBit) g.shadeModel = f.shadeModel;
  if (m & kTransformBit) {
    g.matrixMode = f.matrixMode;
    std::memcpy(g.clip, f.clip, sizeof f.clip);
    std::memcpy(g.clipEnabled, f.clipEnabled, sizeof f.clipEnabled);
  }
  if (m & kTextureBit) {
    g.boundTexture = f.texture;
    g.texEnvMode = f.texEnvMode;
  }
  if (m & kViewportBit) std::memcpy(g.viewport, f.viewport, sizeof f.viewport);
  if (m & kHintBit) g.hint = f.hint;
  if (m & kListBit) g.listBase = f.listBase;
}

void gl11PushClientAttrib(GLbitfield mask) {
  if (!Outside()) return;
  if (g.clientStack.size() >= kAttribDepth) return SetError(kStackOverflow);
  g.clientStack.push_back({mask, {g.unpack, g.pack}});
}

void gl11PopClientAttrib(void) {
  if (!Outside()) return;
  if (g.clientStack.empty()) return SetError(kStackUnderflow);
  const auto frame = g.clientStack.back();
  g.clientStack.pop_back();
  if (frame.first & kClientPixelStoreBit) {
    g.unpack = frame.second.first;
    g.pack = frame.second.second;
  }
}

void gl11PixelStorei(GLenum pname, GLint param) {
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
