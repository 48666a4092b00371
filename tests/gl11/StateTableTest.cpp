// The OpenGL 1.1 layer's state against Mesa's OpenGL, call by call: each case of the table is a
// short sequence of calls, written once against a struct of entry points and run twice, in a
// fresh context each time: with the layer's functions (on Mesa's OpenGL ES 3) and with Mesa's
// OpenGL (compatibility profile, its entry points looked up through EGL, never linked by name).
// What the case notes on the way and the state read back after it (errors, glGet values, enables,
// clip planes, the bound texture's parameters, the pixels of a small framebuffer) must agree.
// Calls outside the layer's subset go through Outside(): the layer must refuse them with the
// GL's error and no other effect; Mesa, which takes them, does not see them.
#include "EglContext.h"
#include "Framebuffer.h"
#include "Offscreen.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kSize = 32;

// OpenGL enumerants past the layer's header: of calls outside its subset.
constexpr GLenum kColorMatrix = 0x1800, kLighting = 0x0B50, kAlphaTest = 0x0BC0, kFog = 0x0B60, kScissorTest = 0x0C11,
                 kTexture1D = 0x0DE0, kProxyTexture2D = 0x8064, kBgra = 0x80E1, kRed = 0x1903, kIntensity = 0x8049,
                 kClampToEdge = 0x812F, kMirroredRepeat = 0x8370, kClampToBorder = 0x812D, kTexturePriority = 0x8066,
                 kTextureBorderColor = 0x1004, kAdd = 0x0104, kUnpackImageHeight = 0x806E, kConstantColor = 0x8001;

// ---- the entry points the table calls --------------------------------------------------------

#define STATE_TABLE_CALLS(X)                                                                                       \
  X(Begin) X(End) X(Vertex2f) X(Vertex3f) X(Color3f) X(Color4f) X(TexCoord2f) X(Normal3f) X(MatrixMode)            \
  X(LoadIdentity) X(PushMatrix) X(PopMatrix) X(Translatef) X(Rotatef) X(Scaled) X(Ortho) X(Viewport) X(Enable)     \
  X(Disable) X(IsEnabled) X(BlendFunc) X(DepthFunc) X(CullFace) X(ShadeModel) X(Hint) X(ClipPlane)                 \
  X(GetClipPlane) X(PushAttrib) X(PopAttrib) X(PushClientAttrib) X(PopClientAttrib) X(PixelStorei) X(Clear)        \
  X(ClearColor) X(ClearDepth) X(ReadPixels) X(GenLists) X(DeleteLists) X(NewList) X(EndList) X(CallList)           \
  X(CallLists) X(ListBase) X(IsList) X(GenTextures) X(DeleteTextures) X(BindTexture) X(TexImage2D)                 \
  X(TexParameteri) X(TexEnvi) X(GetTexParameteriv) X(GetTexLevelParameteriv) X(GetError) X(GetIntegerv)            \
  X(GetFloatv) X(GetDoublev) X(Vertex2d) X(Vertex3d) X(Vertex3fv) X(TexCoord2d) X(TexCoord2fv) X(Normal3d) X(Rectd) \
  X(Translated) X(Rotated) X(Flush) X(Finish)

struct Gl {
#define DECLARE(name) decltype(&gl##name) name = nullptr;
  STATE_TABLE_CALLS(DECLARE)
#undef DECLARE
};

Gl LayerCalls() {
  Gl gl;
#define TAKE(name) gl.name = &gl##name;
  STATE_TABLE_CALLS(TAKE)
#undef TAKE
  return gl;
}

// Mesa's, through the current (OpenGL) context; false if one is missing or is the layer's own
// (the program defines the standard names, but eglGetProcAddress answers with the driver's).
bool LoadMesaCalls(Gl& gl) {
  bool all = true;
#define LOOK_UP(name)                                                                \
  gl.name = reinterpret_cast<decltype(gl.name)>(testgl::EglProcAddress("gl" #name)); \
  all = all && gl.name && gl.name != &gl##name;
  STATE_TABLE_CALLS(LOOK_UP)
#undef LOOK_UP
  return all;
}

// ---- one run of a case -----------------------------------------------------------------------

struct Side {
  Gl gl;
  bool layer;
  std::vector<std::pair<std::string, double>> values;  // noted, in order
  std::vector<std::string> refusals;                   // calls the layer took that it should refuse

  void Note(const std::string& what, double v) { values.emplace_back(what, v); }
  void Error(const std::string& what = "error") { Note(what, gl.GetError()); }
  // A call outside the layer's subset: the layer refuses it with `error`; Mesa does not make it.
  template <class F>
  void Outside(GLenum error, const char* what, F call) {
    Error();
    if (!layer) return;
    call();
    const GLenum got = gl.GetError();
    if (got != error) refusals.push_back(std::string(what) + ": error " + std::to_string(got));
  }
  // The colour of pixel (x, y), as "px" values (compared with a tolerance of a few levels).
  void Pixel(int x, int y) {
    GLubyte c[4] = {};
    gl.PixelStorei(GL_PACK_ALIGNMENT, 4);
    gl.ReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, c);
    for (int i = 0; i < 4; ++i) Note("px(" + std::to_string(x) + "," + std::to_string(y) + ")", c[i]);
  }
  // A quad over [x0, x1] x [y0, y1] (normalised device coordinates at identity matrices) with
  // texture coordinates [s0, s1] x [t0, t1].
  void Quad(float x0, float y0, float x1, float y1, float s0 = 0, float t0 = 0, float s1 = 1, float t1 = 1) {
    gl.Begin(GL_QUADS);
    gl.TexCoord2f(s0, t0);
    gl.Vertex2f(x0, y0);
    gl.TexCoord2f(s1, t0);
    gl.Vertex2f(x1, y0);
    gl.TexCoord2f(s1, t1);
    gl.Vertex2f(x1, y1);
    gl.TexCoord2f(s0, t1);
    gl.Vertex2f(x0, y1);
    gl.End();
  }
  // A new texture, bound, with one image of unsigned bytes and nearest filtering.
  GLuint Texture(GLint internalFormat, GLenum format, int w, int h, const GLubyte* pixels) {
    GLuint t = 0;
    gl.GenTextures(1, &t);
    gl.BindTexture(GL_TEXTURE_2D, t);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.TexImage2D(GL_TEXTURE_2D, 0, internalFormat, w, h, 0, format, GL_UNSIGNED_BYTE, pixels);
    return t;
  }
  // The state that the layer keeps, read back with the calls that read it.
  void Snapshot(const std::string& at) {
    for (int i = 0; i < 3; ++i) {
      const GLenum e = gl.GetError();
      Note(at + " error", e);
      if (e == GL_NO_ERROR) break;
    }
    static const std::pair<GLenum, int> kIntegers[] = {
        {GL_MATRIX_MODE, 1}, {GL_MODELVIEW_STACK_DEPTH, 1}, {GL_PROJECTION_STACK_DEPTH, 1},
        {GL_TEXTURE_STACK_DEPTH, 1}, {GL_ATTRIB_STACK_DEPTH, 1}, {GL_CLIENT_ATTRIB_STACK_DEPTH, 1},
        {GL_TEXTURE_BINDING_2D, 1}, {GL_LIST_BASE, 1}, {GL_LIST_INDEX, 1}, {GL_LIST_MODE, 1}, {GL_BLEND_SRC, 1},
        {GL_BLEND_DST, 1}, {GL_DEPTH_FUNC, 1}, {GL_CULL_FACE_MODE, 1}, {GL_SHADE_MODEL, 1},
        {GL_PERSPECTIVE_CORRECTION_HINT, 1}, {GL_VIEWPORT, 4}, {GL_UNPACK_ALIGNMENT, 1}, {GL_UNPACK_ROW_LENGTH, 1},
        {GL_UNPACK_SKIP_ROWS, 1}, {GL_UNPACK_SKIP_PIXELS, 1}, {GL_PACK_ALIGNMENT, 1}, {GL_PACK_ROW_LENGTH, 1},
        {GL_PACK_SKIP_ROWS, 1}, {GL_PACK_SKIP_PIXELS, 1}, {GL_UNPACK_SWAP_BYTES, 1}, {GL_UNPACK_LSB_FIRST, 1},
        {GL_PACK_SWAP_BYTES, 1}, {GL_PACK_LSB_FIRST, 1}, {GL_MAX_MODELVIEW_STACK_DEPTH, 1},
        {GL_MAX_PROJECTION_STACK_DEPTH, 1}, {GL_MAX_TEXTURE_STACK_DEPTH, 1}, {GL_MAX_ATTRIB_STACK_DEPTH, 1},
        {GL_MAX_CLIENT_ATTRIB_STACK_DEPTH, 1}, {GL_MAX_LIST_NESTING, 1}, {GL_MAX_TEXTURE_SIZE, 1},
        {GL_FRONT_FACE, 1}, {GL_CURRENT_COLOR, 4}, {GL_COLOR_CLEAR_VALUE, 4}, {GL_DEPTH_CLEAR_VALUE, 1}};
    for (const auto& [pname, n] : kIntegers) {
      GLint v[4] = {-7, -7, -7, -7};
      gl.GetIntegerv(pname, v);
      for (int i = 0; i < n; ++i) Note(at + " integer " + std::to_string(pname), v[i]);
    }
    static const std::pair<GLenum, int> kFloats[] = {
        {GL_MODELVIEW_MATRIX, 16},       {GL_PROJECTION_MATRIX, 16}, {GL_TEXTURE_MATRIX, 16},
        {GL_CURRENT_COLOR, 4},           {GL_CURRENT_NORMAL, 3},     {GL_CURRENT_TEXTURE_COORDS, 4},
        {GL_COLOR_CLEAR_VALUE, 4},       {GL_DEPTH_CLEAR_VALUE, 1}};
    for (const auto& [pname, n] : kFloats) {
      GLdouble v[16] = {};
      gl.GetDoublev(pname, v);
      for (int i = 0; i < n; ++i) Note(at + " double " + std::to_string(pname), v[i]);
    }
    for (GLenum cap : {GL_BLEND, GL_DEPTH_TEST, GL_CULL_FACE, GL_TEXTURE_2D, GL_CLIP_PLANE0, GL_CLIP_PLANE1,
                       GL_CLIP_PLANE2, GL_CLIP_PLANE3, GL_CLIP_PLANE4, GL_CLIP_PLANE5})
      Note(at + " enabled " + std::to_string(cap), gl.IsEnabled(cap));
    for (GLenum plane = GL_CLIP_PLANE0; plane <= GL_CLIP_PLANE5; ++plane) {
      GLdouble e[4] = {};
      gl.GetClipPlane(plane, e);
      for (double x : e) Note(at + " plane " + std::to_string(plane - GL_CLIP_PLANE0), x);
    }
    for (GLenum pname : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
      GLint v = -7;
      gl.GetTexParameteriv(GL_TEXTURE_2D, pname, &v);
      Note(at + " texture parameter " + std::to_string(pname), v);
    }
    for (GLint level : {0, 1})
      for (GLenum pname : {GL_TEXTURE_WIDTH, GL_TEXTURE_HEIGHT, GL_TEXTURE_INTERNAL_FORMAT}) {
        GLint v = -7;
        gl.GetTexLevelParameteriv(GL_TEXTURE_2D, level, pname, &v);
        Note(at + " level " + std::to_string(level) + " " + std::to_string(pname), v);
      }
    Note(at + " error after reading", gl.GetError());
  }
};

struct Case {
  const char* name;
  void (*calls)(Side&);
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

// Pushes until the stack is full and pops until it is empty, noting each error.
void FillAndEmpty(Side& r, void (*push)(Side&), void (*pop)(Side&), int times) {
  for (int i = 0; i < times; ++i) {
    push(r);
    r.Error("push " + std::to_string(i));
  }
  for (int i = 0; i < times; ++i) {
    pop(r);
    r.Error("pop " + std::to_string(i));
  }
}

// Lists first .. first + 7, list first + i moving the modelview matrix 2^i along x: which lists
// ran shows in the translation.
GLuint PowerLists(Side& r) {
  const GLuint first = r.gl.GenLists(8);
  for (GLuint i = 0; i < 8; ++i) {
    r.gl.NewList(first + i, GL_COMPILE);
    r.gl.Translatef(static_cast<float>(1 << i), 0, 0);
    r.gl.EndList();
  }
  return first;
}

void NoteTranslation(Side& r, const std::string& what) {
  GLdouble m[16] = {};
  r.gl.GetDoublev(GL_MODELVIEW_MATRIX, m);
  r.Note(what, m[12]);
  r.gl.LoadIdentity();
}

// A texture of its own (texel 200, 100, 50, 150 in the given format) drawn over the frame in
// the current colour and environment; the colour at the centre is noted.
void DrawTexel(Side& r, GLint internalFormat, GLenum format) {
  static const GLubyte kTexel[4][4] = {{200, 200, 200, 200}, {200, 150, 0, 0}, {200, 100, 50, 0}, {200, 100, 50, 150}};
  const int n = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : format == GL_LUMINANCE_ALPHA ? 2 : 1;
  const GLubyte* texel = format == GL_ALPHA ? &kTexel[0][0] : kTexel[n - 1];
  const GLuint t = r.Texture(internalFormat, format, 1, 1, texel);
  r.gl.Clear(GL_COLOR_BUFFER_BIT);
  r.Quad(-1, -1, 1, 1);
  r.Pixel(16, 16);
  GLint stored = 0;
  r.gl.GetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &stored);
  r.Note("internal format", stored);
  r.gl.DeleteTextures(1, &t);
}

const Case kCases[] = {
    // ---- matrices ----
    {"MatrixStacksOverflowAndUnderflowAtTheirDepths",
     [](Side& r) {
       for (GLenum mode : {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE}) {
         r.gl.MatrixMode(mode);
         FillAndEmpty(
             r, [](Side& s) { s.gl.Translatef(1, 0, 0), s.gl.PushMatrix(); }, [](Side& s) { s.gl.PopMatrix(); }, 34);
         r.Snapshot("after " + std::to_string(mode));
       }
       // Left at different depths with different tops.
       for (GLenum mode : {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE}) {
         r.gl.MatrixMode(mode);
         for (GLenum i = GL_MODELVIEW; i <= mode; ++i) r.gl.PushMatrix(), r.gl.Scaled(2, 1, 1);
       }
       r.gl.MatrixMode(kColorMatrix);
       r.Error();
       r.gl.Begin(GL_POINTS);
       r.gl.PushMatrix();
       r.gl.End();
       r.Error();
     }},
    {"MatrixCallsInEachModeAndTheTextureMatrixOnTexels",
     [](Side& r) {
       r.gl.MatrixMode(GL_PROJECTION);
       r.gl.Ortho(-2, 2, -1, 3, -1, 5);
       r.gl.Ortho(1, 1, 0, 1, 0, 1);
       r.Error();
       r.gl.Rotatef(30, 0, 0, 1);
       r.gl.Rotatef(45, 0, 0, 0);  // no axis
       r.gl.MatrixMode(GL_MODELVIEW);
       r.gl.Rotatef(-20, 1, 2, 3);
       r.gl.Scaled(0.5, 2, 1);
       r.gl.Translatef(0.25f, -0.5f, 0);
       r.Snapshot("transformed");
       r.gl.LoadIdentity();
       r.gl.MatrixMode(GL_PROJECTION);
       r.gl.LoadIdentity();
       // The texture matrix moves a 2 x 1 texture's texels.
       const GLubyte texels[] = {255, 0, 0, 0, 0, 255};
       r.Texture(GL_RGB, GL_RGB, 2, 1, texels);
       r.gl.Enable(GL_TEXTURE_2D);
       r.gl.MatrixMode(GL_TEXTURE);
       r.gl.Translatef(0.5f, 0, 0);
       r.Quad(-1, -1, 1, 1);
     }},
    {"ViewportAndItsLimits",
     [](Side& r) {
       r.gl.Viewport(4, 2, 20, 10);
       r.gl.Color3f(0, 1, 0);
       r.Quad(-1, -1, 1, 1);
       r.gl.Viewport(0, 0, -1, 4);
       r.Error();
       r.Snapshot("small");
       r.gl.Viewport(-3, 0, 1 << 20, 1 << 20);
     }},

    // ---- the attribute stacks ----
    {"PushAttribTextureBitRestoresBindingEnvironmentAndParameters",
     [](Side& r) {
       const GLubyte red[] = {255, 0, 0, 255}, blue[] = {0, 0, 255, 128};
       const GLuint a = r.Texture(GL_RGBA, GL_RGBA, 1, 1, red);
       const GLuint b = r.Texture(GL_RGBA, GL_RGBA, 1, 1, blue);
       r.gl.BindTexture(GL_TEXTURE_2D, a);
       r.gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
       r.gl.PushAttrib(GL_TEXTURE_BIT);
       r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
       r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
       r.gl.BindTexture(GL_TEXTURE_2D, b);
       r.gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
       r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);  // not bound at the push: stays
       r.gl.PopAttrib();
       r.Snapshot("popped");
       r.gl.BindTexture(GL_TEXTURE_2D, b);
       r.Snapshot("b");
       r.gl.BindTexture(GL_TEXTURE_2D, a);
       r.gl.Enable(GL_TEXTURE_2D);
       r.gl.Color3f(0, 1, 0);
       r.Quad(-1, -1, 0, 1);
       r.gl.PushAttrib(GL_TEXTURE_BIT);
       r.gl.DeleteTextures(1, &a);  // the binding comes back as a new, empty texture
       r.gl.PopAttrib();
       r.Quad(0, -1, 1, 1);
     }},
    {"PushAttribRestoresEachGroupItSaved",
     [](Side& r) {
       static const GLbitfield kGroups[] = {GL_CURRENT_BIT,  GL_ENABLE_BIT,  GL_COLOR_BUFFER_BIT, GL_DEPTH_BUFFER_BIT,
                                            GL_POLYGON_BIT,     GL_LIGHTING_BIT,   GL_TRANSFORM_BIT,    GL_VIEWPORT_BIT,
                                            GL_HINT_BIT,        GL_LIST_BIT,    GL_TEXTURE_BIT,      GL_ALL_ATTRIB_BITS,
                                            GL_ENABLE_BIT | GL_CURRENT_BIT};
       GLuint textures[2];
       r.gl.GenTextures(2, textures);
       // Everything the groups hold, in one of two settings.
       auto set = [&](int k) {
         const GLdouble plane[] = {1.0 + k, 2, 3, 4};
         r.gl.Color4f(0.25f * k, 0.5f, 0.75f, 0.5f);
         r.gl.TexCoord2f(3.0f * k, 4);
         r.gl.Normal3f(0, 1.0f * k, 1);
         for (GLenum cap : {GL_BLEND, GL_DEPTH_TEST, GL_CULL_FACE, GL_TEXTURE_2D, GL_CLIP_PLANE1, GL_CLIP_PLANE5})
           k ? r.gl.Enable(cap) : r.gl.Disable(cap);
         r.gl.BlendFunc(k ? GL_SRC_ALPHA : GL_ONE, k ? GL_ONE_MINUS_SRC_ALPHA : GL_ZERO);
         r.gl.ClearColor(0.5f * k, 0.25f, 1, 1);
         r.gl.ClearDepth(0.5 * k);
         r.gl.DepthFunc(k ? GL_GEQUAL : GL_LESS);
         r.gl.CullFace(k ? GL_FRONT : GL_BACK);
         r.gl.ShadeModel(k ? GL_FLAT : GL_SMOOTH);
         r.gl.ClipPlane(GL_CLIP_PLANE1, plane);
         r.gl.MatrixMode(k ? GL_TEXTURE : GL_MODELVIEW);
         r.gl.Viewport(k, 2, 3, 4);
         r.gl.Hint(GL_PERSPECTIVE_CORRECTION_HINT, k ? GL_NICEST : GL_FASTEST);
         r.gl.ListBase(77u * static_cast<GLuint>(k));
         r.gl.BindTexture(GL_TEXTURE_2D, textures[k]);
         r.gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, k ? GL_DECAL : GL_MODULATE);
       };
       for (GLbitfield mask : kGroups) {
         set(0);
         r.gl.PushAttrib(mask);
         set(1);
         r.gl.PopAttrib();
         r.Snapshot("popped " + std::to_string(mask));
       }
     }},
    {"AttribStacksOverflowAndUnderflowAtTheirDepths",
     [](Side& r) {
       FillAndEmpty(
           r, [](Side& s) { s.gl.PushAttrib(GL_ENABLE_BIT); }, [](Side& s) { s.gl.PopAttrib(); }, 18);
       FillAndEmpty(
           r, [](Side& s) { s.gl.PushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT); },
           [](Side& s) { s.gl.PopClientAttrib(); }, 18);
       r.gl.PushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
       r.gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
       r.gl.PixelStorei(GL_PACK_ROW_LENGTH, 9);
       r.gl.PopClientAttrib();
       r.gl.PushAttrib(GL_CURRENT_BIT);
       r.gl.PushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
       r.gl.Begin(GL_POINTS);
       r.gl.PushAttrib(GL_CURRENT_BIT);
       r.gl.End();
       r.Error();
     }},

    // ---- errors and capabilities ----
    {"ErrorsAreKeptUntilReadAndTheFirstWins",
     [](Side& r) {
       r.gl.MatrixMode(0x1234);
       r.gl.Enable(0x1234);
       r.gl.Viewport(0, 0, -1, -1);
       r.Error();
       r.Error();
       r.gl.Begin(GL_TRIANGLES);
       r.gl.Enable(GL_BLEND);
       r.Error("inside glBegin");  // gives no error, and is one itself
       r.gl.Vertex2f(0, 0);
       r.gl.End();
       r.Error();
       r.gl.Begin(0x1234);
       r.gl.Vertex2f(0, 0);
       r.gl.End();
       r.Error();
       r.gl.End();
       r.Error();
       r.gl.Begin(GL_LINES);
       r.gl.Begin(GL_LINES);
       r.gl.End();
       r.Error();
       GLint v = 0;
       r.gl.Begin(GL_POINTS);
       r.gl.GetIntegerv(GL_MATRIX_MODE, &v);
       r.Note("glIsEnabled inside glBegin", r.gl.IsEnabled(GL_BLEND));
       r.gl.End();
       r.Error();
       r.gl.GetIntegerv(0x1234, &v);
       r.Error();
       r.Note("glIsEnabled of no capability", r.gl.IsEnabled(0x1234));
       r.Error();
     }},
    {"CapabilitiesOfTheSubsetAndOthersRefused",
     [](Side& r) {
       for (GLenum cap : {GL_BLEND, GL_CULL_FACE, GL_CLIP_PLANE0, GL_CLIP_PLANE3, GL_CLIP_PLANE5}) r.gl.Enable(cap);
       r.gl.Disable(GL_CLIP_PLANE3);
       r.gl.Enable(GL_CLIP_PLANE0 + 8);
       r.Error();
       for (GLenum cap : {kAlphaTest, kLighting, kFog, kScissorTest, GL_CLIP_PLANE0 + 6u, GL_CLIP_PLANE0 + 7u}) {
         r.Outside(GL_INVALID_ENUM, "glEnable", [&] { r.gl.Enable(cap); });
         r.Outside(GL_INVALID_ENUM, "glDisable", [&] { r.gl.Disable(cap); });
         r.Outside(GL_INVALID_ENUM, "glIsEnabled", [&] { r.gl.IsEnabled(cap); });
       }
       GLint planes = 0;
       r.gl.GetIntegerv(GL_MAX_CLIP_PLANES, &planes);
       if (r.layer && planes != 6) r.refusals.push_back("GL_MAX_CLIP_PLANES " + std::to_string(planes));
     }},
    {"BlendingDepthAndCullingOnPixels",
     [](Side& r) {
       r.gl.ClearDepth(0.5);
       r.gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
       r.gl.Enable(GL_DEPTH_TEST);
       r.gl.Color3f(1, 0, 0);
       r.Quad(-1, -1, 1, 1);  // z 0 is depth 0.5: fails GL_LESS
       r.gl.DepthFunc(GL_LEQUAL);
       r.gl.Color3f(0, 0, 1);
       r.Quad(-1, -1, 0, 1);
       r.gl.Disable(GL_DEPTH_TEST);
       r.gl.Enable(GL_BLEND);
       r.gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
       r.gl.Color4f(1, 1, 0, 0.25f);
       r.Quad(-0.5f, -1, 0.5f, 0);
       r.gl.BlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
       r.Quad(-0.5f, 0, 0.5f, 0.5f);
       r.gl.Disable(GL_BLEND);
       r.gl.Enable(GL_CULL_FACE);
       r.gl.Color3f(1, 1, 1);
       r.Quad(0.5f, 0.5f, 1, 1);  // front facing: drawn
       r.gl.CullFace(GL_FRONT);
       r.Quad(-1, 0.5f, -0.5f, 1);
       r.gl.CullFace(GL_FRONT_AND_BACK);
       r.Quad(-0.5f, 0.5f, 0, 1);
       r.gl.BlendFunc(GL_SRC_ALPHA, 0x1234);
       r.gl.DepthFunc(0x1234);
       r.gl.CullFace(0x1234);
       r.gl.ShadeModel(0x1234);
       r.Error();
       r.Outside(GL_INVALID_ENUM, "glBlendFunc(GL_ONE, GL_SRC_ALPHA_SATURATE)",
                 [&] { r.gl.BlendFunc(GL_ONE, GL_SRC_ALPHA_SATURATE); });
       r.Outside(GL_INVALID_ENUM, "glBlendFunc(GL_CONSTANT_COLOR, GL_ONE)",
                 [&] { r.gl.BlendFunc(kConstantColor, GL_ONE); });
     }},
    {"FlatShadingTakesEachPrimitivesProvokingVertex",
     [](Side& r) {
       r.gl.ShadeModel(GL_FLAT);
       const GLenum modes[] = {GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN,
                               GL_QUADS,     GL_QUAD_STRIP,     GL_POLYGON};
       const float colours[][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
       const float corners[][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}};  // a strip upwards
       const float fan[][2] = {{0, 0}, {1, 0}, {1, 1}, {0.5f, 2}, {0, 1}, {0, 0.5f}};
       for (int m = 0; m < 6; ++m) {
         const float x0 = -1 + m / 3.0f;
         r.gl.Begin(modes[m]);
         for (int v = 0; v < 6; ++v) {
           const bool strip = modes[m] == GL_TRIANGLE_STRIP || modes[m] == GL_QUAD_STRIP;
           const float* c = strip || modes[m] == GL_TRIANGLES ? corners[v] : fan[v];
           float x = c[0], y = c[1];
           r.gl.Color3f(colours[v][0], colours[v][1], colours[v][2]);
           r.gl.Vertex2f(x0 + x / 3.5f, -1 + y / 1.1f);
         }
         r.gl.End();
       }
     }},
    {"LinesPointsAndTheOtherVertexCalls",
     [](Side& r) {
       const GLfloat v[] = {0.5f, -0.75f, 0}, t[] = {0.25f, 0.75f};
       r.gl.Translated(-0.125, 0.0625, 0);
       r.gl.Rotated(5, 0, 0, 1);
       r.gl.Begin(GL_LINES);
       r.gl.Color3f(1, 0, 0);
       r.gl.Vertex2d(-0.9, -0.9);
       r.gl.Color3f(0, 1, 0);
       r.gl.Vertex3d(0.8, -0.2, 0);
       r.gl.Vertex3fv(v);
       r.gl.End();
       for (GLenum mode : {GL_LINE_STRIP, GL_LINE_LOOP, GL_POINTS}) {
         r.gl.Translated(0.03, 0.3, 0);
         r.gl.Begin(mode);
         r.gl.Color3f(0, 0, 1);
         r.gl.Vertex2f(-0.8f, 0);
         r.gl.Color3f(1, 1, 0);
         r.gl.Vertex2f(0.1f, 0.2f);
         r.gl.Vertex2f(0.7f, -0.1f);
         r.gl.End();
       }
       r.gl.Normal3d(0.5, 0.25, 1);
       r.gl.TexCoord2d(2, 3);
       r.Snapshot("drawn");
       r.gl.TexCoord2fv(t);
       r.gl.LoadIdentity();
       r.gl.Color4f(1, 0, 1, 1);
       r.gl.Rectd(0.25, 0.5, -0.5, 0.875);
       r.gl.Flush();
       r.gl.Finish();
     }},
    {"ClipPlanesInEyeSpace",
     [](Side& r) {
       const GLdouble half[] = {1, 0, 0, 0}, slope[] = {-1, 1, 0, 0.25};
       r.gl.Translatef(0.25f, 0, 0);
       r.gl.Rotatef(10, 0, 0, 1);
       r.gl.ClipPlane(GL_CLIP_PLANE2, half);
       r.gl.LoadIdentity();
       r.gl.Scaled(2, 1, 1);
       r.gl.ClipPlane(GL_CLIP_PLANE4, slope);
       r.gl.LoadIdentity();
       r.gl.Enable(GL_CLIP_PLANE2);
       r.gl.Enable(GL_CLIP_PLANE4);
       r.gl.Color3f(1, 1, 1);
       r.Quad(-1, -1, 1, 1);
       r.gl.ClipPlane(GL_CLIP_PLANE0 + 8, half);
       r.Error();
       r.Outside(GL_INVALID_ENUM, "glClipPlane(GL_CLIP_PLANE6)", [&] { r.gl.ClipPlane(GL_CLIP_PLANE0 + 6, half); });
       GLdouble e[4];
       r.Outside(GL_INVALID_ENUM, "glGetClipPlane(GL_CLIP_PLANE7)",
                 [&] { r.gl.GetClipPlane(GL_CLIP_PLANE0 + 7, e); });
     }},
    {"HintsAndClearing",
     [](Side& r) {
       r.gl.Hint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
       r.gl.Hint(GL_FOG_HINT, GL_NICEST);
       r.gl.Hint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
       r.Error();
       r.gl.Hint(0x1234, GL_NICEST);
       r.Error();
       r.gl.Hint(GL_PERSPECTIVE_CORRECTION_HINT, 0x1234);
       r.Error();
       GLint hint = 0;
       r.Outside(GL_INVALID_ENUM, "glGetIntegerv(GL_FOG_HINT)", [&] { r.gl.GetIntegerv(GL_FOG_HINT, &hint); });
       r.gl.ClearColor(-1, 0.5f, 2, 0.25f);
       r.gl.ClearDepth(3);
       r.gl.Clear(GL_COLOR_BUFFER_BIT | GL_ACCUM_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
       r.Error();
       r.gl.Clear(0x8000);
       r.Error();
     }},

    // ---- textures ----
    {"TextureImagesTurnIntoTheirInternalFormatsBaseFormat",
     [](Side& r) {
       const GLint internals[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_ALPHA, GL_RGB, GL_RGBA, 1, 2, 3, 4,
                                  GL_LUMINANCE8, GL_LUMINANCE8_ALPHA8, GL_ALPHA8, GL_RGB8, GL_RGBA8};
       const GLenum formats[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_ALPHA, GL_RGB, GL_RGBA};
       r.gl.Enable(GL_TEXTURE_2D);
       r.gl.ClearColor(0.2f, 0.4f, 0.6f, 0.8f);
       for (GLenum mode : {GL_MODULATE, GL_REPLACE}) {
         r.gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode);
         r.gl.Color4f(0.5f, 1, 0.75f, 0.5f);
         for (GLint internal : internals)
           for (GLenum format : formats) DrawTexel(r, internal, format);
       }
       r.gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
       for (GLint internal : {GL_RGB, GL_RGBA}) DrawTexel(r, internal, GL_RGBA);
     }},
    {"TextureCallsRefuseWhatIsNotInTheSubset",
     [](Side& r) {
       const GLubyte texels[64] = {};
       const GLuint t = r.Texture(GL_RGBA, GL_RGBA, 2, 2, texels);
       auto image = [&](GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum format,
                        GLenum type) { r.gl.TexImage2D(target, level, internal, w, h, border, format, type, texels); };
       image(GL_TEXTURE_2D, -1, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE);
       r.Error("level -1");
       image(GL_TEXTURE_2D, 15, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE);
       r.Error("level 15");
       image(GL_TEXTURE_2D, 1, GL_RGBA, 16384, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE);
       r.Error("level 1 too wide");
       image(GL_TEXTURE_2D, 0, GL_RGBA, -1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE);
       r.Error("width -1");
       image(GL_TEXTURE_2D, 0, GL_RGBA, 16385, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE);
       r.Error("too wide");
       image(kTexture1D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE);
       r.Error("1D");
       image(GL_TEXTURE_2D, 0, 0x1234, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE);
       r.Error("internal format");
       image(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, 0x1234, GL_UNSIGNED_BYTE);
       r.Error("format");
       image(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, 0x1234);
       r.Error("type");
       r.Outside(GL_INVALID_VALUE, "border 1", [&] { image(GL_TEXTURE_2D, 0, GL_RGBA, 3, 3, 1, GL_RGBA, GL_UNSIGNED_BYTE); });
       r.Outside(GL_INVALID_ENUM, "proxy", [&] { image(kProxyTexture2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE); });
       r.Outside(GL_INVALID_ENUM, "GL_FLOAT", [&] { image(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_FLOAT); });
       r.Outside(GL_INVALID_ENUM, "GL_BGRA", [&] { image(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, kBgra, GL_UNSIGNED_BYTE); });
       r.Outside(GL_INVALID_ENUM, "GL_RED", [&] { image(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, kRed, GL_UNSIGNED_BYTE); });
       r.Outside(GL_INVALID_VALUE, "GL_INTENSITY",
                 [&] { image(GL_TEXTURE_2D, 0, kIntensity, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE); });
       r.gl.BindTexture(0x1234, t);
       r.Error("bind target");
       r.Outside(GL_INVALID_ENUM, "bind GL_TEXTURE_1D", [&] { r.gl.BindTexture(kTexture1D, t); });
       r.gl.TexParameteri(GL_TEXTURE_2D, 0x1234, GL_LINEAR);
       r.Error("parameter");
       r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_CLAMP);
       r.Error("min filter");
       r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR_MIPMAP_LINEAR);
       r.Error("mag filter");
       r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_LINEAR);
       r.Error("wrap");
       r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, kClampToEdge);
       r.gl.TexParameteri(GL_TEXTURE_2D, kTextureBorderColor, 0);
       r.Error("border colour");
       r.Outside(GL_INVALID_ENUM, "priority", [&] { r.gl.TexParameteri(GL_TEXTURE_2D, kTexturePriority, 1); });
       for (GLint wrap : {kMirroredRepeat, kClampToBorder})
         r.Outside(GL_INVALID_ENUM, "wrap", [&] { r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap); });
       r.gl.TexEnvi(0x1234, GL_TEXTURE_ENV_MODE, GL_REPLACE);
       r.Error("environment target");
       r.gl.TexEnvi(GL_TEXTURE_ENV, 0x1234, GL_REPLACE);
       r.Error("environment parameter");
       r.gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, 0x1234);
       r.Error("environment mode");
       for (GLint mode : {static_cast<GLint>(GL_BLEND), static_cast<GLint>(kAdd)})
         r.Outside(GL_INVALID_ENUM, "environment",
                   [&] { r.gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode); });
       GLuint names[2] = {};
       r.gl.GenTextures(-1, names);
       r.Error("glGenTextures(-1)");
       r.gl.DeleteTextures(-1, names);
       r.Error("glDeleteTextures(-1)");
       GLint v = 0;
       r.gl.GetTexLevelParameteriv(GL_TEXTURE_2D, -1, GL_TEXTURE_WIDTH, &v);
       r.Error("level parameter of level -1");
       r.gl.GetTexParameteriv(GL_TEXTURE_2D, 0x1234, &v);
       r.Error("parameter 0x1234");
       GLint colour[4];
       r.Outside(GL_INVALID_ENUM, "glGetTexParameteriv(GL_TEXTURE_BORDER_COLOR)",
                 [&] { r.gl.GetTexParameteriv(GL_TEXTURE_2D, kTextureBorderColor, colour); });
     }},
    {"TextureCompletenessAndFiltering",
     [](Side& r) {
       GLubyte image[8 * 8 * 4];
       for (int i = 0; i < 8 * 8 * 4; ++i) image[i] = static_cast<GLubyte>(i * 37 % 251);
       GLuint t = 0;
       r.gl.GenTextures(1, &t);
       r.gl.BindTexture(GL_TEXTURE_2D, t);
       r.gl.Enable(GL_TEXTURE_2D);
       r.gl.Color3f(0.5f, 1, 0.25f);
       auto draw = [&](const char* what) {
         r.gl.Clear(GL_COLOR_BUFFER_BIT);
         r.Quad(-1, -1, 1, 1, -0.5f, -0.25f, 1.5f, 1.25f);
         r.Note(what, 0);
         r.Pixel(1, 1);
         r.Pixel(13, 17);
         r.Pixel(30, 29);
       };
       r.gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, image);
       draw("mipmap filter, one level");
       r.gl.TexImage2D(GL_TEXTURE_2D, 1, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, image + 64);
       r.gl.TexImage2D(GL_TEXTURE_2D, 2, GL_RGB, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, image + 80);
       draw("a level of another format");
       r.gl.TexImage2D(GL_TEXTURE_2D, 2, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, image + 80);
       draw("all levels");
       r.gl.TexImage2D(GL_TEXTURE_2D, 1, GL_RGBA, 3, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, image + 64);
       draw("a level of the wrong size");
       for (GLint filter : {GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR}) {
         r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
         draw("a minifying filter on an incomplete texture");
       }
       r.gl.TexImage2D(GL_TEXTURE_2D, 1, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, image + 64);
       for (GLint filter : {GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_NEAREST, GL_NEAREST_MIPMAP_LINEAR,
                            GL_LINEAR_MIPMAP_LINEAR, GL_NEAREST, GL_LINEAR}) {
         r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
         r.Quad(0.5f, 0.5f, 0.625f, 0.75f);  // 2 x 4 pixels: minified
         r.Pixel(24, 25);
       }
       r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
       r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
       draw("no mipmaps wanted");
       r.gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, image);
       r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
       draw("a larger level 0, clamped in s");
       r.gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
       draw("its old levels no longer fit");
       r.gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, image);
       r.gl.TexImage2D(GL_TEXTURE_2D, 1, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, image + 64);
       draw("they fit again");
       r.gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
       draw("an empty level 0");
     }},
    {"PixelStorageUnpacksAndPacks",
     [](Side& r) {
       GLubyte image[256];
       for (int i = 0; i < 256; ++i) image[i] = static_cast<GLubyte>(255 - i * 7 % 256);
       r.gl.Enable(GL_TEXTURE_2D);
       const int alignments[] = {1, 2, 4, 8};
       for (int i = 0; i < 4; ++i) {
         r.gl.PixelStorei(GL_UNPACK_ALIGNMENT, alignments[i]);
         r.gl.PixelStorei(GL_UNPACK_ROW_LENGTH, i == 2 ? 5 : 0);
         r.gl.PixelStorei(GL_UNPACK_SKIP_ROWS, i);
         r.gl.PixelStorei(GL_UNPACK_SKIP_PIXELS, 3 - i);
         r.Texture(GL_RGB, i % 2 ? GL_RGB : GL_LUMINANCE_ALPHA, 3, 2, image);
         r.Quad(-1 + i * 0.5f, -1, -0.5f + i * 0.5f, 1);
       }
       r.gl.PixelStorei(GL_UNPACK_ALIGNMENT, 3);
       r.Error();
       r.gl.PixelStorei(GL_UNPACK_ROW_LENGTH, -1);
       r.Error();
       r.gl.PixelStorei(0x1234, 1);
       r.Error();
       r.Outside(GL_INVALID_ENUM, "GL_UNPACK_IMAGE_HEIGHT", [&] { r.gl.PixelStorei(kUnpackImageHeight, 1); });
       GLubyte out[64];
       r.gl.ReadPixels(0, 0, -1, 1, GL_RGBA, GL_UNSIGNED_BYTE, out);
       r.Error();
       // Mesa answers GL_INVALID_OPERATION here; the GL's error for a format is GL_INVALID_ENUM.
       r.Outside(GL_INVALID_ENUM, "glReadPixels format 0x1234",
                 [&] { r.gl.ReadPixels(0, 0, 1, 1, 0x1234, GL_UNSIGNED_BYTE, out); });
       r.Outside(GL_INVALID_ENUM, "glReadPixels(GL_LUMINANCE)",
                 [&] { r.gl.ReadPixels(0, 0, 1, 1, GL_LUMINANCE, GL_UNSIGNED_BYTE, out); });
       r.Outside(GL_INVALID_ENUM, "glReadPixels(GL_FLOAT)", [&] { r.gl.ReadPixels(0, 0, 1, 1, GL_RGBA, GL_FLOAT, out); });
       for (GLenum pname : {GL_UNPACK_SWAP_BYTES, GL_UNPACK_LSB_FIRST, GL_PACK_SWAP_BYTES, GL_PACK_LSB_FIRST})
         r.gl.PixelStorei(pname, 1);  // no effect on bytes
       // The frame is read back with these.
       r.gl.PixelStorei(GL_PACK_ALIGNMENT, 8);
       r.gl.PixelStorei(GL_PACK_ROW_LENGTH, 35);
       r.gl.PixelStorei(GL_PACK_SKIP_ROWS, 1);
       r.gl.PixelStorei(GL_PACK_SKIP_PIXELS, 2);
     }},

    // ---- display lists ----
    {"CallListsReadsNamesOfEachTypeFromTheListBase",
     [](Side& r) {
       const GLuint first = PowerLists(r);
       r.gl.ListBase(first + 4);
       const GLbyte bytes[] = {-4, -1, 2};
       const GLubyte ubytes[] = {0, 3};
       const GLshort shorts[] = {-3, 1};
       const GLushort ushorts[] = {2, 65535};
       const GLint ints[] = {-2, 3};
       const GLuint uints[] = {0, 0xFFFFFFFFu};
       const GLfloat floats[] = {-1.0f, 1.75f};
       const GLubyte two[] = {0, 2, 0xFF, 0xFF}, three[] = {0, 0, 1, 0xFF, 0xFF, 0xFE},
                     four[] = {0xFF, 0xFF, 0xFF, 0xFD, 0, 0, 0, 1};
       const std::pair<GLenum, const void*> calls[] = {
           {GL_BYTE, bytes},   {GL_UNSIGNED_BYTE, ubytes}, {GL_SHORT, shorts}, {GL_UNSIGNED_SHORT, ushorts},
           {GL_INT, ints},     {GL_UNSIGNED_INT, uints},   {GL_FLOAT, floats}, {GL_2_BYTES, two},
           {GL_3_BYTES, three},   {GL_4_BYTES, four}};
       for (const auto& [type, names] : calls) {
         r.gl.CallLists(type == GL_BYTE ? 3 : 2, type, names);
         NoteTranslation(r, "type " + std::to_string(type));
       }
       r.gl.CallLists(-1, GL_BYTE, bytes);
       r.Error("n -1");
       r.gl.CallLists(1, GL_DOUBLE, bytes);
       r.Error("GL_DOUBLE");
       r.gl.CallLists(-1, 0x1234, bytes);
       r.Error("n -1, type 0x1234");
       r.gl.CallLists(0, 0x1234, bytes);
       r.Error("n 0, type 0x1234");
       r.gl.CallLists(2, GL_UNSIGNED_BYTE, nullptr);
       r.Error("no names");
       // Compiled into a list, the names are kept and the base is the one at the call.
       const GLuint outer = r.gl.GenLists(1);
       r.gl.NewList(outer, GL_COMPILE);
       r.gl.CallLists(3, GL_BYTE, bytes);
       r.gl.EndList();
       r.gl.ListBase(first + 5);
       r.gl.CallList(outer);
       NoteTranslation(r, "compiled");
     }},
    {"ListNamesRangesAndCompilation",
     [](Side& r) {
       r.Note("glGenLists(0)", r.gl.GenLists(0));
       r.Error();
       r.Note("glGenLists(-1)", r.gl.GenLists(-1));
       r.Error();
       const GLuint a = r.gl.GenLists(4);
       r.Note("first", a);
       auto isList = [&](const char* when) {
         for (GLuint n = 0; n < 7; ++n) r.Note(std::string(when) + " glIsList " + std::to_string(n), r.gl.IsList(n));
       };
       isList("generated");
       r.gl.NewList(a + 1, GL_COMPILE);
       r.gl.Translatef(1, 0, 0);
       r.gl.Enable(GL_BLEND);  // compiled, not done
       r.gl.NewList(a + 2, GL_COMPILE);
       r.Error("glNewList inside a list");
       r.gl.DeleteLists(a + 3, 1);  // done at once
       r.Snapshot("compiling");
       r.gl.EndList();
       r.gl.EndList();
       r.Error("glEndList outside a list");
       r.gl.NewList(0, GL_COMPILE);
       r.Error("glNewList(0)");
       r.gl.NewList(a, 0x1234);
       r.Error("glNewList mode");
       r.gl.NewList(a + 9, GL_COMPILE);  // a name never generated
       r.gl.CallList(a + 1);
       r.gl.CallList(a + 1);
       r.gl.EndList();
       isList("compiled");
       r.gl.CallList(a + 9);
       NoteTranslation(r, "two calls");
       r.gl.DeleteLists(a, 2);
       r.gl.DeleteLists(a + 2, 0);
       r.gl.DeleteLists(a, -1);
       r.Error("glDeleteLists(-1)");
       isList("deleted");
       r.gl.CallList(a + 9);  // calls a deleted list
       NoteTranslation(r, "deleted");
       r.Note("after deletion", r.gl.GenLists(2) - a);
       // A list that calls itself stops at the nesting limit.
       r.gl.NewList(a, GL_COMPILE);
       r.gl.Translatef(1, 0, 0);
       r.gl.CallList(a);
       r.gl.EndList();
       r.gl.CallList(a);
       NoteTranslation(r, "nested");
       r.gl.DeleteLists(0xFFFFFFF0u, 100);  // a range past the last name
       r.Error();
     }},
    {"ListsReplayStateCalls",
     [](Side& r) {
       const GLuint list = r.gl.GenLists(1);
       GLuint t = 0;
       r.gl.GenTextures(1, &t);
       r.gl.NewList(list, GL_COMPILE);
       r.gl.Enable(GL_CULL_FACE);
       r.gl.Enable(0x1234);  // an error when called
       r.gl.BlendFunc(GL_DST_COLOR, GL_ZERO);
       r.gl.MatrixMode(GL_PROJECTION);
       r.gl.Translatef(0, 0.5f, 0);
       r.gl.PushAttrib(GL_CURRENT_BIT | GL_TEXTURE_BIT);
       r.gl.Color3f(0, 1, 0);
       r.gl.BindTexture(GL_TEXTURE_2D, t);
       r.gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
       r.gl.PopAttrib();
       r.gl.ListBase(9);
       r.gl.ShadeModel(GL_FLAT);
       r.gl.Normal3f(1, 0, 0);
       r.gl.TexCoord2f(0.5f, 0.25f);
       r.gl.Color4f(1, 0, 1, 0.5f);
       r.gl.EndList();
       r.Snapshot("compiled");
       r.gl.CallList(list);
       r.Snapshot("called");
       // The errors of compiled calls come when the list runs.
       const GLuint errors = r.gl.GenLists(3);
       r.gl.NewList(errors, GL_COMPILE);
       r.gl.Begin(0x1234);
       r.gl.End();
       r.gl.EndList();
       r.gl.NewList(errors + 1, GL_COMPILE);
       r.gl.End();
       r.gl.EndList();
       r.gl.NewList(errors + 2, GL_COMPILE);
       r.gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, 0x1234, nullptr);
       r.gl.EndList();
       r.Error("compiled with errors");
       for (GLuint i = 0; i < 3; ++i) {
         r.gl.CallList(errors + i);
         r.Error("called " + std::to_string(i));
       }
       // Compiled and run at once: each call takes effect as it is made.
       const GLuint other = r.gl.GenLists(1);
       r.gl.NewList(other, GL_COMPILE_AND_EXECUTE);
       r.gl.Disable(GL_CULL_FACE);
       r.gl.Color3f(0, 0, 1);
       r.gl.Translatef(0.25f, 0, 0);
       r.gl.CallList(list);
       r.Snapshot("compiling and executing");
       r.gl.EndList();
       r.Snapshot("compiled and executed");
     }},
};

// ---- the test --------------------------------------------------------------------------------

// Mesa's OpenGL in a context of its own beside the layer's.
class MesaContext {
 public:
  MesaContext() : context_(testgl::GLApi::OpenGL) {
    if (!context_.Ok()) {
      error_ = context_.Error();
      return;
    }
    error_ = target_.Create(testgl::EglProcAddress, kSize, kSize);
  }
  ~MesaContext() { context_.MakeCurrent(); }  // the framebuffer goes with its context current
  bool Ok() const { return error_.empty(); }
  const std::string& Error() const { return error_; }
  bool MakeCurrent() { return context_.MakeCurrent(); }

 private:
  testgl::EglContext context_;
  testgl::Framebuffer target_;
  std::string error_;
};

// The case's calls, then the state and the whole frame (read with the pack storage it left).
void Execute(const Case& c, Side& r) {
  r.gl.Viewport(0, 0, kSize, kSize);
  c.calls(r);
  r.Snapshot("end");
  std::vector<GLubyte> frame(4 * kSize * kSize * 2, 0xCD);
  r.gl.ReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
  for (size_t i = 0; i < frame.size(); ++i) r.Note("frame", frame[i]);
}

class Gl11StateMatchesOpenGL : public ::testing::TestWithParam<Case> {};

TEST_P(Gl11StateMatchesOpenGL, Case) {
  const Case& c = GetParam();
  MesaContext mesa;
  ASSERT_TRUE(mesa.Ok()) << mesa.Error();
  Side reference{Gl{}, false, {}, {}};
  ASSERT_TRUE(LoadMesaCalls(reference.gl));
  Execute(c, reference);

  Offscreen layerContext(kSize, kSize);
  ASSERT_TRUE(layerContext.Ok()) << layerContext.Error();
  Side layer{LayerCalls(), true, {}, {}};
  Execute(c, layer);

  EXPECT_TRUE(layer.refusals.empty()) << ::testing::PrintToString(layer.refusals);
  ASSERT_EQ(layer.values.size(), reference.values.size());
  int shown = 0;
  for (size_t i = 0; i < layer.values.size(); ++i) {
    const auto& [what, got] = layer.values[i];
    const double want = reference.values[i].second;
    ASSERT_EQ(what, reference.values[i].first);
    // Pixels may differ by a few levels (filtering, blending), state values by rounding.
    const bool pixel = what.rfind("px", 0) == 0 || what == "frame";
    const double tolerance = pixel ? 3 : 1e-5 * std::max(1.0, std::fabs(want));
    if (std::fabs(got - want) > tolerance && shown++ < 12)
      ADD_FAILURE() << "#" << i << " " << what << ": layer " << got << ", OpenGL " << want;
  }
  EXPECT_EQ(shown, 0) << "values that differ";
  layerContext.MakeCurrent();
}

INSTANTIATE_TEST_SUITE_P(Table, Gl11StateMatchesOpenGL, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
