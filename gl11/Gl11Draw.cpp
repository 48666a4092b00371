// OpenGL 1.1 layer: drawing on OpenGL ES 3.0: the shader program that does
// what the fixed-function pipeline does for our subset (transform, clip planes, texture
// environment), the batch of immediate-mode vertices and its flush, draws from the static
// buffers of display lists, and the context's lifetime.
#include "Gl11Context.h"
#include "Gl11Layer.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace gl11 {

Layer g;

namespace {

// GLSL ES 3.00, so the same text runs on WebGL 2. The position goes through the product of the
// projection and modelview matrices, as Mesa's fixed-function pipeline takes it; the eye position
// is for the clip planes. Clip planes are eye-space planes tested per fragment: a plane's distance
// is linear over a primitive, so the interpolated distance is exact, and a fragment with a
// negative one is discarded as the GL's clipping would have cut it away. Disabled planes are
// (0, 0, 0, 1). Colours are clamped as the GL clamps vertex colours.
const char* const kVertexShader = R"(#version 300 es
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColour;
layout(location = 2) in vec2 aTexCoord;
uniform mat4 uModelview;
uniform mat4 uModelviewProjection;
uniform mat4 uTextureMatrix;
uniform vec4 uClip[6];
out vec4 vColour;
out vec4 vTexCoord;
out vec3 vClipA;
out vec3 vClipB;
void main() {
  vec4 eye = uModelview * vec4(aPosition, 1.0);
  gl_Position = uModelviewProjection * vec4(aPosition, 1.0);
  vColour = clamp(aColour, 0.0, 1.0);
  vTexCoord = uTextureMatrix * vec4(aTexCoord, 0.0, 1.0);
  vClipA = vec3(dot(uClip[0], eye), dot(uClip[1], eye), dot(uClip[2], eye));
  vClipB = vec3(dot(uClip[3], eye), dot(uClip[4], eye), dot(uClip[5], eye));
  gl_PointSize = 1.0;
}
)";

// uTexMode: 0 no texturing, 1 GL_MODULATE, 2 GL_REPLACE, 3 GL_DECAL. uTexBase: bit 0 the base
// format has colour, bit 1 alpha (a GL_ALPHA texture leaves the colour alone, an RGB one the alpha).
// uBorder (x: bit 0 s, bit 1 t wrap with GL_CLAMP; y: linear filtering): GLES has no texture
// border, so the texture clamps to its edge texels. GL_CLAMP clamps the coordinates to [0, 1], so
// a nearest texel is never the border, but a linear filter there takes up to half of its texel
// from the border colour, transparent black: that share is taken away here.
const char* const kFragmentShader = R"(#version 300 es
precision highp float;
in vec4 vColour;
in vec4 vTexCoord;
in vec3 vClipA;
in vec3 vClipB;
uniform sampler2D uSampler;
uniform int uTexMode;
uniform int uTexBase;
uniform ivec2 uBorder;
uniform vec2 uTexSize;
out vec4 fragColour;
void main() {
  if (any(lessThan(vClipA, vec3(0.0))) || any(lessThan(vClipB, vec3(0.0)))) discard;
  vec4 c = vColour;
  if (uTexMode != 0) {
    vec4 t = textureProj(uSampler, vTexCoord);
    if (uBorder.x != 0 && uBorder.y != 0) {
      vec2 st = clamp(vTexCoord.xy / vTexCoord.w, 0.0, 1.0);
      vec2 inside = clamp(min(st * uTexSize + 0.5, (1.0 - st) * uTexSize + 0.5), 0.0, 1.0);
      if ((uBorder.x & 1) != 0) t *= inside.x;
      if ((uBorder.x & 2) != 0) t *= inside.y;
    }
    bool hasColour = (uTexBase & 1) != 0;
    bool hasAlpha = (uTexBase & 2) != 0;
    if (uTexMode == 1) {
      if (hasColour) c.rgb *= t.rgb;
      if (hasAlpha) c.a *= t.a;
    } else if (uTexMode == 2) {
      if (hasColour) c.rgb = t.rgb;
      if (hasAlpha) c.a = t.a;
    } else {
      c.rgb = mix(c.rgb, t.rgb, hasAlpha ? t.a : 1.0);
    }
  }
  fragColour = c;
}
)";

GLuint CompileShader(GLenum kind, const char* source) {
  const GLuint shader = gles.glCreateShader(kind);
  gles.glShaderSource(shader, 1, &source, nullptr);
  gles.glCompileShader(shader);
  GLint ok = GL_FALSE;
  gles.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    gles.glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "OpenGL 1.1 layer: shader does not compile: %s\n", log);
    gles.glDeleteShader(shader);
    return 0;
  }
  return shader;
}

GLuint LinkProgram() {
  const GLuint vs = CompileShader(GL_VERTEX_SHADER, kVertexShader);
  const GLuint fs = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader);
  GLuint program = 0;
  if (vs && fs) {
    program = gles.glCreateProgram();
    gles.glAttachShader(program, vs);
    gles.glAttachShader(program, fs);
    gles.glLinkProgram(program);
    GLint ok = GL_FALSE;
    gles.glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
      char log[1024] = {};
      gles.glGetProgramInfoLog(program, sizeof log, nullptr, log);
      std::fprintf(stderr, "OpenGL 1.1 layer: program does not link: %s\n", log);
      gles.glDeleteProgram(program);
      program = 0;
    }
  }
  if (vs) gles.glDeleteShader(vs);
  if (fs) gles.glDeleteShader(fs);
  return program;
}

void SetCapability(GLenum cap, bool on) {
  if (on)
    gles.glEnable(cap);
  else
    gles.glDisable(cap);
}

GLint TexMode(const DrawState& s) {
  if (!s.textured) return 0;
  if (s.texEnvMode == GL_REPLACE) return 2;
  if (s.texEnvMode == GL_DECAL) return 3;
  return 1;
}

// Gives the GLES side what `s` asks for, skipping what it has already.
void Apply(const DrawState& s) {
  const DrawState& a = g.applied;
  const bool all = !g.appliedValid;
  if (all || s.blend != a.blend) SetCapability(GL_BLEND, s.blend);
  if (all || s.blendSrc != a.blendSrc || s.blendDst != a.blendDst) gles.glBlendFunc(s.blendSrc, s.blendDst);
  if (all || s.depthTest != a.depthTest) SetCapability(GL_DEPTH_TEST, s.depthTest);
  if (all || s.depthFunc != a.depthFunc) gles.glDepthFunc(s.depthFunc);
  if (all || s.cull != a.cull) SetCapability(GL_CULL_FACE, s.cull);
  if (all || s.cullMode != a.cullMode) gles.glCullFace(s.cullMode);
  if (all || std::memcmp(s.viewport, a.viewport, sizeof s.viewport) != 0)
    gles.glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
  if (all || std::memcmp(&s.modelview, &a.modelview, sizeof s.modelview) != 0)
    gles.glUniformMatrix4fv(g.uModelview, 1, GL_FALSE, s.modelview.m);
  if (all || std::memcmp(&s.projection, &a.projection, sizeof s.projection) != 0 ||
      std::memcmp(&s.modelview, &a.modelview, sizeof s.modelview) != 0) {
    const Mat4 mvp = s.projection * s.modelview;
    gles.glUniformMatrix4fv(g.uModelviewProjection, 1, GL_FALSE, mvp.m);
  }
  if (all || std::memcmp(&s.textureMatrix, &a.textureMatrix, sizeof s.textureMatrix) != 0)
    gles.glUniformMatrix4fv(g.uTextureMatrix, 1, GL_FALSE, s.textureMatrix.m);
  if (all || std::memcmp(s.clip, a.clip, sizeof s.clip) != 0) gles.glUniform4fv(g.uClip, kClipPlanes, &s.clip[0][0]);
  const GLint mode = TexMode(s);
  if (all || mode != TexMode(a)) gles.glUniform1i(g.uTexMode, mode);
  if (mode != 0) {
    const bool was = a.textured && !all;
    if (!was || s.texBase != a.texBase) gles.glUniform1i(g.uTexBase, static_cast<GLint>(s.texBase));
    if (!was || s.texBorder != a.texBorder)
      gles.glUniform2i(g.uBorder, static_cast<GLint>(s.texBorder & 3), static_cast<GLint>(s.texBorder >> 2));
    if (!was || s.texSize[0] != a.texSize[0] || s.texSize[1] != a.texSize[1])
      gles.glUniform2f(g.uTexSize, static_cast<float>(s.texSize[0]), static_cast<float>(s.texSize[1]));
    // Texture objects can be re-specified between draws: bind each time texturing is on.
    gles.glBindTexture(GL_TEXTURE_2D, TextureObject(s.texture));
  }
  g.applied = s;
  g.appliedValid = true;
}

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

void PointAttributes(GLintptr base) {
  const GLsizei stride = sizeof(Vertex);
  gles.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                             reinterpret_cast<const void*>(base + offsetof(Vertex, x)));
  gles.glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride,
                             reinterpret_cast<const void*>(base + offsetof(Vertex, r)));
  gles.glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                             reinterpret_cast<const void*>(base + offsetof(Vertex, s)));
}

void ResetState() {
  Layer fresh;
  // Keep the GLES objects' fields; everything else goes back to OpenGL 1.1's defaults.
  fresh.ready = g.ready;
  fresh.program = g.program;
  fresh.streamBuffer = g.streamBuffer;
  fresh.vertexArray = g.vertexArray;
  fresh.uModelview = g.uModelview;
  fresh.uModelviewProjection = g.uModelviewProjection;
  fresh.uTextureMatrix = g.uTextureMatrix;
  fresh.uClip = g.uClip;
  fresh.uTexMode = g.uTexMode;
  fresh.uTexBase = g.uTexBase;
  fresh.uBorder = g.uBorder;
  fresh.uTexSize = g.uTexSize;
  fresh.uSampler = g.uSampler;
  g = std::move(fresh);
  g.modelview.assign(1, Mat4::Identity());
  g.projection.assign(1, Mat4::Identity());
  g.textureMatrix.assign(1, Mat4::Identity());
}

}  // namespace

DrawState CurrentDrawState(Topology topology) {
  DrawState s;
  std::memset(&s, 0, sizeof s);
  s.topology = topology;
  const Texture* t = g.texture2D ? FindTexture(g.boundTexture) : nullptr;
  if (t && t->Complete()) {
    s.textured = 1;
    s.texture = g.boundTexture;
    s.texBase = t->base;
    s.texEnvMode = g.texEnvMode;
    if (t->wrapS == GL_CLAMP) s.texBorder |= 1;
    if (t->wrapT == GL_CLAMP) s.texBorder |= 2;
    if (t->magFilter == GL_LINEAR) s.texBorder |= 4;
    s.texSize[0] = t->width;
    s.texSize[1] = t->height;
  }
  s.blend = g.blend;
  s.blendSrc = g.blendSrc;
  s.blendDst = g.blendDst;
  s.depthTest = g.depthTest;
  s.depthFunc = g.depthFunc;
  s.cull = g.cull;
  s.cullMode = g.cullMode;
  std::memcpy(s.viewport, g.viewport, sizeof s.viewport);
  for (int i = 0; i < kClipPlanes; ++i) {
    if (g.clipEnabled[i]) {
      s.clipMask |= 1u << i;
      for (int j = 0; j < 4; ++j) s.clip[i][j] = static_cast<float>(g.clip[i][j]);
    } else {
      s.clip[i][3] = 1.0f;
    }
  }
  s.modelview = g.modelview.back();
  s.projection = g.projection.back();
  s.textureMatrix = g.textureMatrix.back();
  return s;
}

void AddToBatch(Topology topology, const Vertex* vertices, size_t count) {
  if (!g.ready || count == 0) return;
  const DrawState s = CurrentDrawState(topology);
  if (!g.batch.empty() && std::memcmp(&s, &g.batchState, sizeof s) != 0) Flush();
  if (g.batch.empty()) g.batchState = s;
  g.batch.insert(g.batch.end(), vertices, vertices + count);
}

void Flush() {
  if (g.batch.empty()) return;
  if (g.ready) {
    Apply(g.batchState);
    gles.glBindBuffer(GL_ARRAY_BUFFER, g.streamBuffer);
    const auto bytes = static_cast<GLsizeiptr>(g.batch.size() * sizeof(Vertex));
    // A fresh store each time: the GPU may still be reading the last one.
    gles.glBufferData(GL_ARRAY_BUFFER, bytes, g.batch.data(), GL_STREAM_DRAW);
    PointAttributes(0);
    gles.glDrawArrays(GlesTopology(g.batchState.topology), 0, static_cast<GLsizei>(g.batch.size()));
    ++g.stats.draws;
    g.stats.streamedBytes += static_cast<unsigned long long>(bytes);
  }
  g.batch.clear();
}

void DrawStatic(const StaticDraw& d) {
  if (!g.ready || d.chunk < 0 || static_cast<size_t>(d.chunk) >= g.chunks.size()) return;
  Flush();
  Apply(CurrentDrawState(d.topology));
  gles.glBindBuffer(GL_ARRAY_BUFFER, g.chunks[d.chunk].buffer);
  PointAttributes(0);
  // Attributes the list did not set are the current ones, as constant attributes.
  if (!(d.attribs & kAttrColour)) {
    gles.glDisableVertexAttribArray(1);
    gles.glVertexAttrib4fv(1, g.colour);
  }
  if (!(d.attribs & kAttrTexCoord)) {
    gles.glDisableVertexAttribArray(2);
    gles.glVertexAttrib4f(2, g.texCoord[0], g.texCoord[1], 0.0f, 1.0f);
  }
  gles.glDrawArrays(GlesTopology(d.topology), d.first, d.count);
  ++g.stats.draws;
  gles.glEnableVertexAttribArray(1);
  gles.glEnableVertexAttribArray(2);
}

}  // namespace gl11

using namespace gl11;

void gl11ContextCreated() {
  // Whatever the last context left is gone with it.
  g.ready = false;
  g.program = g.streamBuffer = g.vertexArray = 0;
  ResetState();
  if (!LoadGles()) return;
  g.program = LinkProgram();
  if (!g.program) return;
  gles.glUseProgram(g.program);
  g.uModelview = gles.glGetUniformLocation(g.program, "uModelview");
  g.uModelviewProjection = gles.glGetUniformLocation(g.program, "uModelviewProjection");
  g.uTextureMatrix = gles.glGetUniformLocation(g.program, "uTextureMatrix");
  g.uClip = gles.glGetUniformLocation(g.program, "uClip");
  g.uTexMode = gles.glGetUniformLocation(g.program, "uTexMode");
  g.uTexBase = gles.glGetUniformLocation(g.program, "uTexBase");
  g.uBorder = gles.glGetUniformLocation(g.program, "uBorder");
  g.uTexSize = gles.glGetUniformLocation(g.program, "uTexSize");
  g.uSampler = gles.glGetUniformLocation(g.program, "uSampler");
  gles.glUniform1i(g.uSampler, 0);
  gles.glActiveTexture(GL_TEXTURE0);
  gles.glGenVertexArrays(1, &g.vertexArray);
  gles.glBindVertexArray(g.vertexArray);
  gles.glGenBuffers(1, &g.streamBuffer);
  for (GLuint i = 0; i < 3; ++i) gles.glEnableVertexAttribArray(i);
  GLint viewport[4] = {};
  gles.glGetIntegerv(GL_VIEWPORT, viewport);  // the drawable's size, as a new GL context starts with
  std::memcpy(g.viewport, viewport, sizeof viewport);
  gles.glGetIntegerv(GL_MAX_VIEWPORT_DIMS, g.maxViewport);
  g.ready = true;
}

void gl11ContextDestroyed() {
  if (g.ready) {
    Flush();
    ResetLists();
    ResetTextures();
    gles.glDeleteBuffers(1, &g.streamBuffer);
    gles.glDeleteVertexArrays(1, &g.vertexArray);
    gles.glDeleteProgram(g.program);
  }
  g.ready = false;
  g.program = g.streamBuffer = g.vertexArray = 0;
  ResetState();
}
