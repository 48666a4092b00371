// OpenGL 1.1 layer: drawing on OpenGL ES 3.0: the shader programs that do what the
// fixed-function pipeline does for our subset (transform, clip planes, texture environment), one
// generated for each fixed-function state on first use and kept (or, where asking the GL is a round
// trip, made in the background while a general program draws); the batch, whose vertices are
// transformed on the CPU as they join it, and its flush, which gives OpenGL ES only the state that
// changed since the last draw; and the context's lifetime.
#include "Gl11Context.h"
#include "Gl11Layer.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

namespace gl11 {

Layer g;

namespace {

constexpr GLenum GL_CLIP_DISTANCE0 = 0x3000;

// ---- programs ----------------------------------------------------------------------------------

// What a ProgramKey holds.
constexpr ProgramKey kKeyClipMask = 0x3F;           // bit i: clip plane i is in use
constexpr int kKeyTexModeShift = 6;                 // 2 bits: 0 untextured, 1 GL_MODULATE, 2 GL_REPLACE, 3 GL_DECAL
constexpr int kKeyTexBaseShift = 8;                 // 2 bits: the texture's TextureBase
constexpr int kKeyBorderShift = 10;                 // 2 bits: s, t wrap with GL_CLAMP under a linear filter
constexpr ProgramKey kKeyGpuModelview = 1u << 12;   // the vertices come in object coordinates
constexpr ProgramKey kKeyTextureMatrix = 1u << 13;  // the texture matrix is not the identity
// The general program: every state's work in one, chosen by the state's key as a uniform (uKey).
// It draws while a state's own program is still being made in the background.
constexpr ProgramKey kGeneral = 1u << 31;

int TexMode(ProgramKey k) { return static_cast<int>(k >> kKeyTexModeShift) & 3; }
uint32_t TexBase(ProgramKey k) { return (k >> kKeyTexBaseShift) & 3; }
uint32_t Border(ProgramKey k) { return (k >> kKeyBorderShift) & 3; }
int Planes(ProgramKey k) {
  int n = 0;
  for (ProgramKey m = k & kKeyClipMask; m; m &= m - 1) ++n;
  return n;
}
bool TestsPlanes(ProgramKey k) { return Planes(k) || k == kGeneral; }

// GLSL ES 3.00, so the same text runs on WebGL 2, with only what the key asks for. The position
// comes in eye coordinates (or in object coordinates with the modelview as a uniform) and goes
// through the projection. Clip planes are eye-space planes: where the context offers clip
// distances they are the GPU's own, else they are tested per fragment (a plane's distance is
// linear over a primitive, so the interpolated distance is exact, and a fragment with a negative
// one is discarded as the GL's clipping would have cut it away; measured slower than the GPU's
// clipping, in the browser above all). Colours come as bytes,
// clamped as the GL clamps vertex colours.
std::string VertexShader(ProgramKey k) {
  const bool textured = TexMode(k) != 0, textureMatrix = (k & kKeyTextureMatrix) != 0;
  const int planes = Planes(k);
  const bool distances = planes && g.gl.clipDistances;
  std::string s = "#version 300 es\n";
  if (distances) s += std::string("#extension ") + g.gl.clipDistances + " : require\n";
  s += "layout(location = 0) in vec3 aPosition;\n"
       "layout(location = 1) in vec4 aColour;\n"
       "uniform mat4 uProjection;\n"
       "out vec4 vColour;\n";
  if (textured) s += "layout(location = 2) in vec2 aTexCoord;\n";
  if (textured) s += textureMatrix ? "uniform mat4 uTextureMatrix;\nout vec4 vTexCoord;\n" : "out vec2 vTexCoord;\n";
  if (k & kKeyGpuModelview) s += "uniform mat4 uModelview;\n";
  if (planes) s += "uniform vec4 uClip[" + std::to_string(planes) + "];\n";
  if (planes && !distances) s += "out float vClip[" + std::to_string(planes) + "];\n";
  s += "void main() {\n";
  s += (k & kKeyGpuModelview) ? "  vec4 eye = uModelview * vec4(aPosition, 1.0);\n"
                              : "  vec4 eye = vec4(aPosition, 1.0);\n";
  s += "  gl_Position = uProjection * eye;\n  vColour = aColour;\n  gl_PointSize = 1.0;\n";
  if (textured)
    s += textureMatrix ? "  vTexCoord = uTextureMatrix * vec4(aTexCoord, 0.0, 1.0);\n" : "  vTexCoord = aTexCoord;\n";
  for (int i = 0; i < planes; ++i) {
    const std::string n = std::to_string(i);
    s += (distances ? "  gl_ClipDistance[" : "  vClip[") + n + "] = dot(uClip[" + n + "], eye);\n";
  }
  return s + "}\n";
}

// The texture environment for the texture's base format: a GL_ALPHA texture leaves the colour
// alone, an RGB one the alpha. GLES has no texture border, so the texture clamps to its edge
// texels; GL_CLAMP clamps the coordinates to [0, 1], so a nearest texel is never the border, but a
// linear filter there takes up to half of its texel from the border colour, transparent black:
// that share is taken away here (uTexSize: the texture's size).
std::string FragmentShader(ProgramKey k) {
  const int mode = TexMode(k), planes = g.gl.clipDistances ? 0 : Planes(k);
  const bool textureMatrix = (k & kKeyTextureMatrix) != 0;
  const bool colour = (TexBase(k) & kBaseColour) != 0, alpha = (TexBase(k) & kBaseAlpha) != 0;
  std::string s =
      "#version 300 es\n"
      "precision highp float;\n"
      "in vec4 vColour;\n"
      "out vec4 fragColour;\n";
  if (mode) s += textureMatrix ? "in vec4 vTexCoord;\n" : "in vec2 vTexCoord;\n";
  if (mode) s += "uniform sampler2D uSampler;\n";
  if (mode && Border(k)) s += "uniform vec2 uTexSize;\n";
  if (planes) s += "in float vClip[" + std::to_string(planes) + "];\n";
  s += "void main() {\n";
  if (planes) {
    s += "  if (";
    for (int i = 0; i < planes; ++i) s += (i ? " || vClip[" : "vClip[") + std::to_string(i) + "] < 0.0";
    s += ") discard;\n";
  }
  s += "  vec4 c = vColour;\n";
  if (mode) {
    s +=
        textureMatrix ? "  vec4 t = textureProj(uSampler, vTexCoord);\n" : "  vec4 t = texture(uSampler, vTexCoord);\n";
    if (Border(k)) {
      s += textureMatrix ? "  vec2 st = clamp(vTexCoord.xy / vTexCoord.w, 0.0, 1.0);\n"
                         : "  vec2 st = clamp(vTexCoord, 0.0, 1.0);\n";
      s += "  vec2 inside = clamp(min(st * uTexSize + 0.5, (1.0 - st) * uTexSize + 0.5), 0.0, 1.0);\n";
      if (Border(k) & 1) s += "  t *= inside.x;\n";
      if (Border(k) & 2) s += "  t *= inside.y;\n";
    }
    if (mode == 1) {
      if (colour) s += "  c.rgb *= t.rgb;\n";
      if (alpha) s += "  c.a *= t.a;\n";
    } else if (mode == 2) {
      if (colour) s += "  c.rgb = t.rgb;\n";
      if (alpha) s += "  c.a = t.a;\n";
    } else {
      s += alpha ? "  c.rgb = mix(c.rgb, t.rgb, t.a);\n" : "  c.rgb = t.rgb;\n";
    }
  }
  return s + "  fragColour = c;\n}\n";
}

// The general program's shaders: the same work as the generated ones, each part chosen by the
// key's bits in uKey rather than left out, and giving the same results (the modelview and texture
// matrices it is given are the identity where a state's own program has none, and the clip planes
// not in use are all 0, whose distance is never negative).
std::string GeneralVertexShader() {
  const bool distances = g.gl.clipDistances != nullptr;
  std::string s = "#version 300 es\n";
  if (distances) s += std::string("#extension ") + g.gl.clipDistances + " : require\n";
  s += "layout(location = 0) in vec3 aPosition;\n"
       "layout(location = 1) in vec4 aColour;\n"
       "layout(location = 2) in vec2 aTexCoord;\n"
       "uniform mat4 uProjection;\n"
       "uniform mat4 uModelview;\n"
       "uniform mat4 uTextureMatrix;\n"
       "uniform vec4 uClip[" + std::to_string(kClipPlanes) + "];\n"
       "out vec4 vColour;\n"
       "out vec4 vTexCoord;\n";
  if (!distances) s += "out float vClip[" + std::to_string(kClipPlanes) + "];\n";
  s += "void main() {\n"
       "  vec4 eye = uModelview * vec4(aPosition, 1.0);\n"
       "  gl_Position = uProjection * eye;\n  vColour = aColour;\n  gl_PointSize = 1.0;\n"
       "  vTexCoord = uTextureMatrix * vec4(aTexCoord, 0.0, 1.0);\n";
  for (int i = 0; i < kClipPlanes; ++i) {
    const std::string n = std::to_string(i);
    s += (distances ? "  gl_ClipDistance[" : "  vClip[") + n + "] = dot(uClip[" + n + "], eye);\n";
  }
  return s + "}\n";
}

std::string GeneralFragmentShader() {
  std::string s =
      "#version 300 es\n"
      "precision highp float;\n"
      "in vec4 vColour;\n"
      "in vec4 vTexCoord;\n"
      "uniform sampler2D uSampler;\n"
      "uniform vec2 uTexSize;\n"
      "uniform int uKey;\n"
      "out vec4 fragColour;\n";
  if (!g.gl.clipDistances) s += "in float vClip[" + std::to_string(kClipPlanes) + "];\n";
  s += "void main() {\n";
  if (!g.gl.clipDistances)
    s += "  for (int i = 0; i < " + std::to_string(kClipPlanes) + "; ++i) if (vClip[i] < 0.0) discard;\n";
  s += "  vec4 c = vColour;\n"
       "  int mode = (uKey >> " + std::to_string(kKeyTexModeShift) + ") & 3;\n"
       "  if (mode != 0) {\n"
       "    bool projective = (uKey & " + std::to_string(kKeyTextureMatrix) + ") != 0;\n"
       "    vec4 t = projective ? textureProj(uSampler, vTexCoord) : texture(uSampler, vTexCoord.xy);\n"
       "    int border = (uKey >> " + std::to_string(kKeyBorderShift) + ") & 3;\n"
       "    if (border != 0) {\n"
       "      vec2 st = clamp(projective ? vTexCoord.xy / vTexCoord.w : vTexCoord.xy, 0.0, 1.0);\n"
       "      vec2 inside = clamp(min(st * uTexSize + 0.5, (1.0 - st) * uTexSize + 0.5), 0.0, 1.0);\n"
       "      if ((border & 1) != 0) t *= inside.x;\n"
       "      if ((border & 2) != 0) t *= inside.y;\n"
       "    }\n"
       "    int base = (uKey >> " + std::to_string(kKeyTexBaseShift) + ") & 3;\n"
       "    bool colour = (base & " + std::to_string(kBaseColour) + ") != 0, alpha = (base & " +
       std::to_string(kBaseAlpha) + ") != 0;\n"
       "    if (mode == 1) {\n"
       "      if (colour) c.rgb *= t.rgb;\n"
       "      if (alpha) c.a *= t.a;\n"
       "    } else if (mode == 2) {\n"
       "      if (colour) c.rgb = t.rgb;\n"
       "      if (alpha) c.a = t.a;\n"
       "    } else {\n"
       "      c.rgb = alpha ? mix(c.rgb, t.rgb, t.a) : t.rgb;\n"
       "    }\n"
       "  }\n";
  return s + "  fragColour = c;\n}\n";
}

// Each status query waits for the GL side to finish what it was given (in a browser, a round trip
// to another process), so a shader's compile status is asked for only when its program does not
// link, to say which part failed.
GLuint CompileShader(GLenum kind, const std::string& text) {
  const GLuint shader = gles.glCreateShader(kind);
  const char* source = text.c_str();
  gles.glShaderSource(shader, 1, &source, nullptr);
  gles.glCompileShader(shader);
  return shader;
}

// False, with the log written, when the shader did not compile.
bool Compiled(GLuint shader) {
  GLint ok = GL_FALSE;
  gles.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok) return true;
  char log[1024] = {};
  gles.glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  std::fprintf(stderr, "OpenGL 1.1 layer: shader does not compile: %s\n", log);
  return false;
}

// Gives back what a program holds on the GL side, its shaders too while it is being made.
void DeleteProgram(const Program& p) {
  if (p.object) gles.glDeleteProgram(p.object);
  if (p.vs) gles.glDeleteShader(p.vs);
  if (p.fs) gles.glDeleteShader(p.fs);
}

// Starts making the program of a state: its shaders compile and it links on the GL side while the
// program goes on; nothing is asked of it until it is first used (ProgramOf).
Program& StartProgram(ProgramKey key) {
  Program& p = g.gl.programs[key];
  if (p.object || p.pending) return p;
  p.vs = CompileShader(GL_VERTEX_SHADER, key == kGeneral ? GeneralVertexShader() : VertexShader(key));
  p.fs = CompileShader(GL_FRAGMENT_SHADER, key == kGeneral ? GeneralFragmentShader() : FragmentShader(key));
  p.started = g.stats.frames;
  if (p.vs && p.fs) {
    p.object = gles.glCreateProgram();
    gles.glAttachShader(p.object, p.vs);
    gles.glAttachShader(p.object, p.fs);
    gles.glLinkProgram(p.object);
  }
  p.pending = true;
  return p;
}

// The program of a state, made and kept when first asked for; object 0 if it cannot be made.
Program& ProgramOf(ProgramKey key) {
  const auto found = g.gl.programs.find(key);
  if (found != g.gl.programs.end() && !found->second.pending) return found->second;
  Program& p = StartProgram(key);
  p.pending = false;
  if (p.object) {
    GLint ok = GL_FALSE;
    gles.glGetProgramiv(p.object, GL_LINK_STATUS, &ok);
    if (!ok) {
      const bool vsCompiled = Compiled(p.vs);
      const bool fsCompiled = Compiled(p.fs);
      if (vsCompiled && fsCompiled) {
        char log[1024] = {};
        gles.glGetProgramInfoLog(p.object, sizeof log, nullptr, log);
        std::fprintf(stderr, "OpenGL 1.1 layer: program does not link: %s\n", log);
      }
      gles.glDeleteProgram(p.object);
      p.object = 0;
    }
  }
  if (p.vs) gles.glDeleteShader(p.vs);
  if (p.fs) gles.glDeleteShader(p.fs);
  p.vs = p.fs = 0;
  if (!p.object && TestsPlanes(key) && g.gl.clipDistances) {
    // The context named clip distances but its shaders refuse them: planes go back to discard,
    // for this program and those made before.
    std::fprintf(stderr, "OpenGL 1.1 layer: clip planes by discard instead\n");
    g.gl.clipDistances = nullptr;
    for (auto it = g.gl.programs.begin(); it != g.gl.programs.end();) {
      if (!TestsPlanes(it->first)) {
        ++it;
        continue;
      }
      if (g.gl.program == it->second.object) g.gl.program = 0;
      DeleteProgram(it->second);
      it = g.gl.programs.erase(it);
    }
    for (int i = 0; i < g.gl.clipDistancesOn; ++i) gles.glDisable(GL_CLIP_DISTANCE0 + static_cast<GLenum>(i));
    g.gl.clipDistancesOn = 0;
    return ProgramOf(key);
  }
  if (p.object) {
    p.uProjection = gles.glGetUniformLocation(p.object, "uProjection");
    p.uModelview = gles.glGetUniformLocation(p.object, "uModelview");
    p.uTextureMatrix = gles.glGetUniformLocation(p.object, "uTextureMatrix");
    p.uClip = gles.glGetUniformLocation(p.object, "uClip");
    p.uTexSize = gles.glGetUniformLocation(p.object, "uTexSize");
    p.uKey = gles.glGetUniformLocation(p.object, "uKey");
    gles.glUseProgram(p.object);
    g.gl.program = p.object;
    const GLint sampler = gles.glGetUniformLocation(p.object, "uSampler");
    if (sampler >= 0) gles.glUniform1i(sampler, 0);
  }
  return p;
}

// The program to draw a state with. Where programs are made in the background, the general
// program draws everything in the first frames, while the GL is busy with the scene's textures
// and the first pictures; after them, a state's own program is started when the state is drawn,
// and from a later frame on, one program a frame is taken into use (its first use waits for the
// GL's answer whether it linked, which by then is ready).
constexpr unsigned long long kFramesOfGeneralProgram = 30;

Program& ProgramFor(ProgramKey key) {
  if (!g.gl.programsInBackground) return ProgramOf(key);
  if (g.stats.frames < kFramesOfGeneralProgram) return ProgramOf(kGeneral);
  const auto found = g.gl.programs.find(key);
  if (found != g.gl.programs.end() && !found->second.pending) return found->second;  // made, or failed
  Program& p = StartProgram(key);
  if (p.started < g.stats.frames && g.gl.programTakenFrame != g.stats.frames) {
    g.gl.programTakenFrame = g.stats.frames;
    return ProgramOf(key);
  }
  return ProgramOf(kGeneral);
}

// Sends a matrix uniform unless the program has it already.
void SendMatrix(bool all, GLint location, Mat4& sent, const Mat4& m) {
  if (!all && std::memcmp(&sent, &m, sizeof m) == 0) return;
  gles.glUniformMatrix4fv(location, 1, GL_FALSE, m.m);
  sent = m;
}

// ---- state -------------------------------------------------------------------------------------

void SetCapability(GLenum cap, bool on) {
  if (on)
    gles.glEnable(cap);
  else
    gles.glDisable(cap);
}

// Gives the GLES side what `s` asks for, skipping what it has already. False when the state's
// program could not be made (nothing is drawn then).
bool Apply(const DrawState& s) {
  Program& p = ProgramFor(s.program);
  if (!p.object) return false;
  GlesSide& gl = g.gl;
  const DrawState& a = gl.applied;
  const bool all = !gl.appliedValid;
  if (all || s.blend != a.blend) SetCapability(GL_BLEND, s.blend);
  if (all || s.blendSrc != a.blendSrc || s.blendDst != a.blendDst) gles.glBlendFunc(s.blendSrc, s.blendDst);
  if (all || s.depthTest != a.depthTest) SetCapability(GL_DEPTH_TEST, s.depthTest);
  if (all || s.depthFunc != a.depthFunc) gles.glDepthFunc(s.depthFunc);
  if (all || s.cull != a.cull) SetCapability(GL_CULL_FACE, s.cull);
  if (all || s.cullMode != a.cullMode) gles.glCullFace(s.cullMode);
  if (all || std::memcmp(s.viewport, a.viewport, sizeof s.viewport) != 0)
    gles.glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
  gl.applied = s;
  gl.appliedValid = true;

  if (gl.program != p.object) {
    gles.glUseProgram(p.object);
    gl.program = p.object;
  }
  // Uniforms belong to their program: each keeps what it was last given.
  const bool fresh = !p.sent;
  p.sent = true;
  const bool general = p.uKey >= 0;
  SendMatrix(fresh, p.uProjection, p.projection, s.projection);
  if (general || (s.program & kKeyGpuModelview)) SendMatrix(fresh, p.uModelview, p.modelview, s.modelview);
  if (general || (s.program & kKeyTextureMatrix))
    SendMatrix(fresh, p.uTextureMatrix, p.textureMatrix, s.textureMatrix);
  if (general && (fresh || p.key != s.program)) {
    gles.glUniform1i(p.uKey, static_cast<GLint>(s.program));
    p.key = s.program;
  }
  const int planes = Planes(s.program);
  if (g.gl.clipDistances && gl.clipDistancesOn != planes) {
    for (int i = 0; i < kClipPlanes; ++i)
      if ((i < planes) != (i < gl.clipDistancesOn))
        SetCapability(GL_CLIP_DISTANCE0 + static_cast<GLenum>(i), i < planes);
    gl.clipDistancesOn = planes;
  }
  if (planes || general) {
    float clip[kClipPlanes][4] = {};
    int n = 0;
    for (int i = 0; i < kClipPlanes; ++i)
      if (s.program & (1u << i)) std::memcpy(clip[n++], s.clip[i], sizeof clip[0]);
    if (fresh || std::memcmp(clip, p.clip, sizeof clip) != 0) {
      gles.glUniform4fv(p.uClip, general ? kClipPlanes : planes, &clip[0][0]);
      std::memcpy(p.clip, clip, sizeof clip);
    }
  }
  if (Border(s.program) && TexMode(s.program) && (fresh || std::memcmp(s.texSize, p.texSize, sizeof p.texSize) != 0)) {
    gles.glUniform2f(p.uTexSize, static_cast<float>(s.texSize[0]), static_cast<float>(s.texSize[1]));
    std::memcpy(p.texSize, s.texSize, sizeof p.texSize);
  }
  const int layout = TexMode(s.program) ? 1 : 0;
  if (layout) BindGlesTexture(TextureObject(s.texture));
  if (gl.layout != layout) {
    gles.glBindVertexArray(gl.vertexArrays[layout]);
    gl.layout = layout;
  }
  return true;
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

// The two vertex layouts in the stream buffer, each in a vertex array object of its own.
void MakeVertexArrays() {
  gles.glGenVertexArrays(2, g.gl.vertexArrays);
  for (int layout = 0; layout < 2; ++layout) {
    gles.glBindVertexArray(g.gl.vertexArrays[layout]);
    const auto stride = static_cast<GLsizei>(layout ? sizeof(StreamVertex) : kUntexturedStride);
    gles.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                               reinterpret_cast<const void*>(offsetof(StreamVertex, x)));
    gles.glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                               reinterpret_cast<const void*>(offsetof(StreamVertex, rgba)));
    gles.glEnableVertexAttribArray(0);
    gles.glEnableVertexAttribArray(1);
    if (layout) {
      gles.glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                                 reinterpret_cast<const void*>(offsetof(StreamVertex, s)));
      gles.glEnableVertexAttribArray(2);
    }
  }
  g.gl.layout = 1;
}

void ResetState() {
  Layer fresh;
  // Keep what the GLES side has; everything else goes back to OpenGL 1.1's defaults.
  fresh.ready = g.ready;
  fresh.gl = std::move(g.gl);
  g = std::move(fresh);
  g.modelview.assign(1, Mat4::Identity());
  g.projection.assign(1, Mat4::Identity());
  g.textureMatrix.assign(1, Mat4::Identity());
}

}  // namespace

DrawState CurrentDrawState(Topology topology) {
  DrawState s;
  std::memset(&s, 0, sizeof s);
  s.modelview = s.textureMatrix = Mat4::Identity();  // unless the GPU applies them
  s.topology = topology;
  ProgramKey key = 0;
  const Texture* t = g.texture2D ? FindTexture(g.boundTexture) : nullptr;
  if (t && t->Complete()) {
    const ProgramKey mode = g.texEnvMode == GL_REPLACE ? 2 : g.texEnvMode == GL_DECAL ? 3 : 1;
    key |= mode << kKeyTexModeShift | t->base << kKeyTexBaseShift;
    s.texture = g.boundTexture;
    if (t->magFilter == GL_LINEAR) {
      const ProgramKey border = (t->wrapS == GL_CLAMP ? 1u : 0u) | (t->wrapT == GL_CLAMP ? 2u : 0u);
      key |= border << kKeyBorderShift;
      if (border) s.texSize[0] = t->width, s.texSize[1] = t->height;
    }
    if (!IsIdentity(g.textureMatrix.back())) {
      key |= kKeyTextureMatrix;
      s.textureMatrix = g.textureMatrix.back();
    }
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
    if (!g.clipEnabled[i]) continue;
    key |= 1u << i;
    for (int j = 0; j < 4; ++j) s.clip[i][j] = static_cast<float>(g.clip[i][j]);
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
  if (!ownColour) PackColour(g.colour, sv.rgba);
  if (!ownTexCoord) sv.s = g.texCoord[0], sv.t = g.texCoord[1];
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

void BindGlesTexture(GLuint object) {
  if (g.gl.texture == object) return;
  gles.glBindTexture(GL_TEXTURE_2D, object);
  g.gl.texture = object;
}

void ForgetGlesTexture(GLuint object) {
  // Deleting the bound texture binds 0 in its place.
  if (g.gl.texture == object) g.gl.texture = 0;
}

}  // namespace gl11

using namespace gl11;

void gl11ContextCreated() {
  // Whatever the last context left is gone with it.
  g.ready = false;
  g.gl = GlesSide{};
  ResetState();
  if (!LoadGles()) return;
  gles.glActiveTexture(GL_TEXTURE0);
  g.gl.clipDistances = ClipDistanceExtension();  // where offered
  // The stream buffer stays bound to GL_ARRAY_BUFFER, and both vertex arrays read from it.
  gles.glGenBuffers(1, &g.gl.streamBuffer);
  gles.glBindBuffer(GL_ARRAY_BUFFER, g.gl.streamBuffer);
  MakeVertexArrays();
  GLint viewport[4] = {};
  gles.glGetIntegerv(GL_VIEWPORT, viewport);  // the drawable's size, as a new GL context starts with
  std::memcpy(g.viewport, viewport, sizeof viewport);
  gles.glGetIntegerv(GL_MAX_VIEWPORT_DIMS, g.maxViewport);
  g.ready = true;
  // Where each answer from the GL is a round trip (a browser's GPU process), programs are made in
  // the background, and the general one is made now: asking whether it linked waits for the GL,
  // which has nothing else to finish yet, rather than behind the textures of the first frame.
  g.gl.programsInBackground = QueriesAreRoundTrips();
  if (g.gl.programsInBackground) ProgramOf(kGeneral);
}

void gl11ProgramsInBackground(bool on) {
  if (!g.ready) return;
  g.gl.programsInBackground = on;
  if (on) ProgramOf(kGeneral);
}

void gl11ContextDestroyed() {
  if (g.ready) {
    Flush();
    ResetLists();
    ResetTextures();
    gles.glDeleteBuffers(1, &g.gl.streamBuffer);
    gles.glDeleteVertexArrays(2, g.gl.vertexArrays);
    for (auto& entry : g.gl.programs) DeleteProgram(entry.second);
  }
  g.ready = false;
  g.gl = GlesSide{};
  ResetState();
}
