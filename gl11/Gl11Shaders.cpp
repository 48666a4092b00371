// OpenGL 1.1 layer: the shaders' text, GLSL ES 3.00 so that the same text runs on WebGL 2. One
// writer serves a state's own program and the general one: each part of the work depends on a fact
// about the key, which for a state's own program is known as the text is written (the part is
// there or left out) and in the general program is a test of the key, given as the uniform uKey.
// So the two do the same work in the same words, and draw the same pixels.
//
// The position comes in eye coordinates (or in object coordinates with the modelview as a uniform)
// and goes through the projection. Clip planes are eye-space planes: where the context offers clip
// distances they are the GPU's own, else they are tested per fragment (a plane's distance is linear
// over a primitive, so the interpolated distance is exact, and a fragment with a negative one is
// discarded as the GL's clipping would have cut it away; measured slower than the GPU's clipping,
// in the browser above all). Colours come as bytes, clamped as the GL clamps vertex colours.
#include "Gl11Programs.h"

namespace gl11 {

namespace {

// Something the key says: known, or the GLSL test of uKey that finds it out.
struct Fact {
  bool known;
  bool value;
  std::string test;
};

class Writer {
 public:
  Writer(ProgramKey key, const char* clipDistances)
      : general_(key == kGeneral),
        key_(key),
        planes_(general_ ? kClipPlanes : Planes(key)),
        distances_(planes_ ? clipDistances : nullptr) {}

  bool General() const { return general_; }
  int PlanesTested() const { return planes_; }
  const char* Distances() const { return distances_; }

  // Whether the program may need what these bits ask for: its inputs and uniforms are declared.
  bool May(ProgramKey bits) const { return general_ || (key_ & bits) != 0; }
  // Any of the bits is set.
  Fact Has(ProgramKey bits) const {
    if (!general_) return {true, (key_ & bits) != 0, {}};
    return {false, false, "(uKey & " + std::to_string(bits) + ") != 0"};
  }
  // The bits under `mask` are `value`.
  Fact Is(ProgramKey mask, ProgramKey value) const {
    if (!general_) return {true, (key_ & mask) == value, {}};
    if ((mask & ~kGeneralDrawsZero) == 0) return {true, value == 0, {}};
    return {false, false, "(uKey & " + std::to_string(mask) + ") == " + std::to_string(value)};
  }
  // `then` where the fact holds, `otherwise` where it does not.
  static std::string If(const Fact& f, const std::string& then, const std::string& otherwise = {}) {
    if (f.known) return f.value ? then : otherwise;
    std::string s = "if (" + f.test + ") {\n" + then + "}";
    if (!otherwise.empty()) s += " else {\n" + otherwise + "}";
    return s + "\n";
  }

 private:
  bool general_;
  ProgramKey key_;
  int planes_;
  const char* distances_;
};

std::string Count(int n) { return std::to_string(n); }

std::string VertexShader(const Writer& w) {
  const int planes = w.PlanesTested();
  const bool textured = w.May(kKeyTexModeMask), textureMatrix = w.May(kKeyTextureMatrix);
  const bool modelview = w.May(kKeyGpuModelview);
  std::string s = "#version 300 es\n";
  if (w.Distances()) s += std::string("#extension ") + w.Distances() + " : require\n";
  s += "layout(location = 0) in vec3 aPosition;\n"
       "layout(location = 1) in vec4 aColour;\n"
       "uniform mat4 uProjection;\n"
       "out vec4 vColour;\n";
  if (textured) s += "layout(location = 2) in vec2 aTexCoord;\n";
  if (textured) s += textureMatrix ? "uniform mat4 uTextureMatrix;\nout vec4 vTexCoord;\n" : "out vec2 vTexCoord;\n";
  if (modelview) s += "uniform mat4 uModelview;\n";
  if (planes) s += "uniform vec4 uClip[" + Count(planes) + "];\n";
  if (planes && !w.Distances()) s += "out float vClip[" + Count(planes) + "];\n";
  s += "void main() {\n";
  s += modelview ? "vec4 eye = uModelview * vec4(aPosition, 1.0);\n" : "vec4 eye = vec4(aPosition, 1.0);\n";
  s += "gl_Position = uProjection * eye;\nvColour = aColour;\ngl_PointSize = 1.0;\n";
  if (textured)
    s += textureMatrix ? "vTexCoord = uTextureMatrix * vec4(aTexCoord, 0.0, 1.0);\n" : "vTexCoord = aTexCoord;\n";
  for (int i = 0; i < planes; ++i)
    s += (w.Distances() ? "gl_ClipDistance[" : "vClip[") + Count(i) + "] = dot(uClip[" + Count(i) + "], eye);\n";
  return s + "}\n";
}

// GLES has no texture border: the texture clamps to its edge texels. GL_CLAMP clamps the
// coordinates to [0, 1], so a nearest texel is never the border, but a linear filter at level 0
// takes up to half of its texel from the border colour, transparent black: that share is taken
// away (uTexSize: level 0's size). Where the filter that applies depends on the GL's choice between
// magnifying and minifying, the choice is made here as the GL makes it: magnified where a texel
// spans at least a pixel (rho <= 1). GL_LINEAR_MIPMAP_NEAREST minifies from level 0 while a texel
// spans at least 1/sqrt(2) of a pixel.
std::string BorderShare(const Writer& w) {
  const ProgramKey sBit = 1u << kKeyBorderShift, tBit = 2u << kKeyBorderShift;
  const std::string share = Writer::If(w.Has(sBit), "t *= inside.x;\n") + Writer::If(w.Has(tBit), "t *= inside.y;\n");
  const auto where = [](BorderWhere b) { return static_cast<ProgramKey>(b) << kKeyBorderWhereShift; };
  const std::string chosen =
      "vec2 dx = dFdx(uv * uTexSize), dy = dFdy(uv * uTexSize);\n"
      "float rho2 = max(dot(dx, dx), dot(dy, dy));\n"
      "float limit = 1.0;\n" +
      Writer::If(w.Is(kKeyBorderWhereMask, where(kBorderMagnifiedHalf)), "limit = 2.0;\n") +
      Writer::If(
          w.Is(kKeyBorderWhereMask, where(kBorderMinified)), "if (rho2 > limit) {\n" + share + "}\n",
          Writer::If(w.Is(kKeyBorderWhereMask, where(kBorderMinifiedHalf)),
                     "if (rho2 > 1.0 && rho2 <= 2.0) {\n" + share + "}\n", "if (rho2 <= limit) {\n" + share + "}\n"));
  return "vec2 uv = vTexCoord.xy;\n" + Writer::If(w.Has(kKeyTextureMatrix), "uv /= vTexCoord.w;\n") +
         "vec2 st = clamp(uv, 0.0, 1.0);\n"
         "vec2 inside = clamp(min(st * uTexSize + 0.5, (1.0 - st) * uTexSize + 0.5), 0.0, 1.0);\n" +
         Writer::If(w.Is(kKeyBorderWhereMask, where(kBorderEverywhere)), share, chosen);
}

// The texture environment for the texture's base format: a GL_ALPHA texture leaves the colour
// alone, an RGB one the alpha.
std::string Environment(const Writer& w) {
  const Fact colour = w.Has(kBaseColour << kKeyTexBaseShift), alpha = w.Has(kBaseAlpha << kKeyTexBaseShift);
  const std::string modulate = Writer::If(colour, "c.rgb *= t.rgb;\n") + Writer::If(alpha, "c.a *= t.a;\n");
  const std::string replace = Writer::If(colour, "c.rgb = t.rgb;\n") + Writer::If(alpha, "c.a = t.a;\n");
  const std::string decal = Writer::If(alpha, "c.rgb = mix(c.rgb, t.rgb, t.a);\n", "c.rgb = t.rgb;\n");
  return Writer::If(w.Is(kKeyTexModeMask, 1u << kKeyTexModeShift), modulate,
                    Writer::If(w.Is(kKeyTexModeMask, 2u << kKeyTexModeShift), replace, decal));
}

std::string FragmentShader(const Writer& w) {
  const int planes = w.Distances() ? 0 : w.PlanesTested();
  const bool textured = w.May(kKeyTexModeMask), textureMatrix = w.May(kKeyTextureMatrix);
  std::string s =
      "#version 300 es\n"
      "precision highp float;\n"
      "in vec4 vColour;\n"
      "out vec4 fragColour;\n";
  if (textured) s += textureMatrix ? "in vec4 vTexCoord;\n" : "in vec2 vTexCoord;\n";
  if (textured) s += "uniform sampler2D uSampler;\n";
  if (textured && w.May(kKeyBorderMask)) s += "uniform vec2 uTexSize;\n";
  if (w.General()) s += "uniform int uKey;\n";
  if (planes) s += "in float vClip[" + Count(planes) + "];\n";
  s += "void main() {\n";
  if (planes) s += "for (int i = 0; i < " + Count(planes) + "; ++i) if (vClip[i] < 0.0) discard;\n";
  s += "vec4 c = vColour;\n";
  if (textured) {
    const std::string texel =
        "vec4 t;\n" + Writer::If(w.Has(kKeyTextureMatrix), "t = textureProj(uSampler, vTexCoord);\n",
                                 "t = texture(uSampler, vTexCoord.xy);\n");
    s += Writer::If(w.Has(kKeyTexModeMask), texel + Writer::If(w.Has(kKeyBorderMask), BorderShare(w)) + Environment(w));
  }
  return s + "fragColour = c;\n}\n";
}

}  // namespace

std::string ShaderText(GLenum kind, ProgramKey key, const char* clipDistances) {
  const Writer w(key, clipDistances);
  return kind == GL_VERTEX_SHADER ? VertexShader(w) : FragmentShader(w);
}

}  // namespace gl11
