// OpenGL 1.1 layer: the batch. Primitives join it with the draw state they were given under,
// their vertices transformed by the modelview on the CPU as they are appended, so a matrix change
// between primitives does not end it; a primitive under another state, a state change that the
// entry points flush for, or a read draws it, with one call to OpenGL ES.
#include "Gl11Programs.h"

#include <cstring>

namespace gl11 {

namespace {

GLenum GlesTopology(Topology t) {
  switch (t) {
    case Topology::Lines:
      return GL_LINES;
    case Topology::Points:
      return GL_POINTS;
    default:
      return GL_TRIANGLES;
  }
}

// A colour component clamped to [0, 1] as the GL clamps it, as a byte (NaN as 0).
uint8_t ColourByte(float c) {
  if (!(c > 0.0f)) return 0;
  if (c >= 1.0f) return 255;
  return static_cast<uint8_t>(c * 255.0f + 0.5f);
}

void PackColour(const float* c, uint8_t out[4]) {
  for (int i = 0; i < 4; ++i) out[i] = ColourByte(c[i]);
}

bool IsIdentity(const Mat4& m) {
  static const Mat4 identity = Mat4::Identity();
  return std::memcmp(&m, &identity, sizeof m) == 0;
}

// Where a texture's GL_CLAMP takes a share of the border: where its filter samples level 0 linearly.
BorderWhere BorderWhereOf(const Texture& t) {
  const bool magLinear = t.magFilter == GL_LINEAR, minLinear = t.minFilter == GL_LINEAR;
  if (magLinear && minLinear) return kBorderEverywhere;
  if (minLinear) return kBorderMinified;
  if (t.minFilter == GL_LINEAR_MIPMAP_NEAREST) return magLinear ? kBorderMagnifiedHalf : kBorderMinifiedHalf;
  return magLinear ? kBorderMagnified : kBorderNowhere;
}

}  // namespace

DrawState CurrentDrawState(Topology topology) {
  DrawState s{};                                     // no padding: every byte is a field's
  s.modelview = s.textureMatrix = Mat4::Identity();  // unless the GPU applies them
  s.topology = topology;
  ProgramKey key = 0;
  const Texture* t = g.fixed.texture2D ? FindTexture(g.fixed.boundTexture) : nullptr;
  if (t && t->Complete()) {
    const ProgramKey mode = g.fixed.texEnvMode == GL_REPLACE ? 2 : g.fixed.texEnvMode == GL_DECAL ? 3 : 1;
    key |= mode << kKeyTexModeShift | t->base << kKeyTexBaseShift;
    s.texture = g.fixed.boundTexture;
    const ProgramKey border = (t->wrapS == GL_CLAMP ? 1u : 0u) | (t->wrapT == GL_CLAMP ? 2u : 0u);
    const BorderWhere where = BorderWhereOf(*t);
    if (border && where != kBorderNowhere) {
      key |= border << kKeyBorderShift | static_cast<ProgramKey>(where) << kKeyBorderWhereShift;
      s.texSize[0] = t->width, s.texSize[1] = t->height;
    }
    if (!IsIdentity(g.textureMatrix.back())) {
      key |= kKeyTextureMatrix;
      s.textureMatrix = g.textureMatrix.back();
    }
  }
  s.ops = g.fixed.ops;
  for (int i = 0; i < kClipPlanes; ++i) {
    if (!g.fixed.clipEnabled[i]) continue;
    key |= 1u << i;
    for (int j = 0; j < 4; ++j) s.clip[i][j] = static_cast<float>(g.fixed.clip[i][j]);
  }
  // A modelview with a projective part is left to the GPU, in the state.
  const Mat4& mv = g.modelview.back();
  if (mv.m[3] != 0.0f || mv.m[7] != 0.0f || mv.m[11] != 0.0f || mv.m[15] != 1.0f) {
    key |= kKeyGpuModelview;
    s.modelview = mv;
  }
  s.projection = g.projection.back();
  s.program = key;
  return s;
}

void AddToBatch(Topology topology, const Vertex* vertices, size_t count, uint8_t attribs) {
  if (!g.ready || count == 0) return;
  const DrawState s = CurrentDrawState(topology);
  if (g.batchVertices && std::memcmp(&s, &g.batchState, sizeof s) != 0) Flush();
  if (!g.batchVertices) g.batchState = s;

  const bool textured = TexMode(s.program) != 0;
  const size_t stride = textured ? sizeof(StreamVertex) : kUntexturedStride;
  const size_t at = g.batch.size();
  g.batch.resize(at + count * stride);
  uint8_t* out = g.batch.data() + at;
  g.batchVertices += count;

  const bool ownColour = attribs & kAttrColour, ownTexCoord = attribs & kAttrTexCoord;
  StreamVertex sv{};
  if (!ownColour) PackColour(g.fixed.colour, sv.rgba);
  if (!ownTexCoord) sv.s = g.fixed.texCoord[0], sv.t = g.fixed.texCoord[1];
  const float* m = g.modelview.back().m;
  const bool transform = !(s.program & kKeyGpuModelview);
  for (size_t i = 0; i < count; ++i, out += stride) {
    const Vertex& v = vertices[i];
    if (transform) {
      sv.x = m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12];
      sv.y = m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13];
      sv.z = m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14];
    } else {
      sv.x = v.x, sv.y = v.y, sv.z = v.z;
    }
    if (ownColour) PackColour(&v.r, sv.rgba);
    if (ownTexCoord) sv.s = v.s, sv.t = v.t;
    std::memcpy(out, &sv, stride);
  }
}

void Flush() {
  if (!g.batchVertices) return;
  if (g.ready && Apply(g.batchState)) {
    const auto bytes = static_cast<GLsizeiptr>(g.batch.size());
    // A fresh store each time: the GPU may still be reading the last one.
    gles.glBufferData(GL_ARRAY_BUFFER, bytes, g.batch.data(), GL_STREAM_DRAW);
    gles.glDrawArrays(GlesTopology(g.batchState.topology), 0, static_cast<GLsizei>(g.batchVertices));
    ++g.stats.draws;
    g.stats.streamedBytes += static_cast<unsigned long long>(bytes);
  }
  g.batch.clear();
  g.batchVertices = 0;
}

}  // namespace gl11
