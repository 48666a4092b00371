// OpenGL 1.1 layer: the shader programs that do what the fixed-function pipeline does for the
// layer's subset. A ProgramKey says what a state needs of them; each state gets a program of its
// own, with only that in it (Gl11Shaders.cpp writes it, Gl11Programs.cpp makes and keeps it), and
// where programs are made in the background one general program, which reads the key as a uniform
// and does any state's work, draws until a state's own program is ready.
#pragma once

#include "Gl11Layer.h"

#include <string>

namespace gl11 {

// What a ProgramKey holds.
constexpr ProgramKey kKeyClipMask = 0x3F;  // bit i: clip plane i is in use
constexpr int kKeyTexModeShift = 6;        // 2 bits: 0 untextured, 1 GL_MODULATE, 2 GL_REPLACE, 3 GL_DECAL
constexpr ProgramKey kKeyTexModeMask = 3u << kKeyTexModeShift;
constexpr int kKeyTexBaseShift = 8;  // 2 bits: the texture's TextureBase
constexpr int kKeyBorderShift = 10;  // 2 bits: s, t wrap with GL_CLAMP (see BorderWhere)
constexpr ProgramKey kKeyBorderMask = 3u << kKeyBorderShift;
constexpr ProgramKey kKeyGpuModelview = 1u << 12;   // the vertices come in object coordinates
constexpr ProgramKey kKeyTextureMatrix = 1u << 13;  // the texture matrix is not the identity
constexpr int kKeyBorderWhereShift = 14;            // 3 bits: a BorderWhere
constexpr ProgramKey kKeyBorderWhereMask = 7u << kKeyBorderWhereShift;
// The general program's own key, and the bits of a key that are 0 in every state it draws (its
// shaders stay small, as it is made before the first picture): other states get their own program
// at once.
constexpr ProgramKey kGeneral = 1u << 31;
constexpr ProgramKey kGeneralDrawsZero = kKeyBorderWhereMask;

// Where a GL_CLAMP texture takes its share of the border colour: wherever the filter that applies
// samples level 0 linearly. With GL_LINEAR both ways, everywhere; otherwise on the side of the GL's
// choice between magnifying and minifying that has it, a choice the fragment shader makes as the GL
// does (magnified where a texel spans at least a pixel, whatever the minifying filter).
// GL_LINEAR_MIPMAP_NEAREST takes level 0 while it minifies by up to the square root of 2. Other
// minifying filters with mipmaps sample smaller levels, whose border is not emulated: there the
// texture clamps to the level's edge texels.
enum BorderWhere : uint32_t {
  kBorderEverywhere = 0,
  kBorderMagnified = 1,      // GL_LINEAR magnifies, the minifying filter is another
  kBorderMinified = 2,       // GL_LINEAR minifies, GL_NEAREST magnifies
  kBorderMagnifiedHalf = 3,  // GL_LINEAR magnifies, GL_LINEAR_MIPMAP_NEAREST minifies: to level 0's end
  kBorderMinifiedHalf = 4,   // GL_NEAREST magnifies, GL_LINEAR_MIPMAP_NEAREST minifies: to level 0's end
  kBorderNowhere = 5,        // no filter samples level 0 linearly: never in a key
};

inline int TexMode(ProgramKey k) { return static_cast<int>(k >> kKeyTexModeShift) & 3; }
inline uint32_t TexBase(ProgramKey k) { return (k >> kKeyTexBaseShift) & 3; }
inline uint32_t Border(ProgramKey k) { return (k >> kKeyBorderShift) & 3; }
// The clip planes a program tests, in the order of their uniforms.
inline int Planes(ProgramKey k) {
  int n = 0;
  for (ProgramKey m = k & kKeyClipMask; m; m &= m - 1) ++n;
  return n;
}
inline bool TestsPlanes(ProgramKey k) { return Planes(k) || k == kGeneral; }

// The GLSL ES 3.00 text of a program's vertex or fragment shader (`kind`); `clipDistances` the
// extension that gives gl_ClipDistance, null to test the planes per fragment.
std::string ShaderText(GLenum kind, ProgramKey key, const char* clipDistances);

// The program to draw a state with, made (or, in the background, started) when first needed:
// object 0 where it cannot be made. Bound with glUseProgram when it is new.
Program& ProgramFor(ProgramKey key);
// Makes the general program now, unless it exists: when the GL has nothing else to finish yet.
void MakeGeneralProgram();
// Gives back every program of the context.
void DeletePrograms();

}  // namespace gl11
