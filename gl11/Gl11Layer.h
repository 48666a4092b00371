// OpenGL 1.1 layer: its state and its internal interface. Every entry point only changes this
// state; drawing happens when a batch of vertices is flushed, with the state that the vertices were
// given under (DrawState), so runs of primitives under the same state go to the GPU as one draw.
// Vertices join the batch already transformed by the modelview matrix (on the CPU, as they are
// appended), so a matrix change between primitives does not end the batch.
// The enumerants are those of the layer's <GL/gl.h> and <GL/glu.h>, and OpenGL ES's own in
// Gl11Gles.h.
#pragma once

#include "GL/glu.h"
#include "Gl11Gles.h"
#include "Gl11Stats.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <type_traits>
#include <vector>

namespace gl11 {

// ---- limits --------------------------------------------------------------------------------------

constexpr int kClipPlanes = 6;
constexpr int kModelviewDepth = 32;
constexpr int kProjectionDepth = 32;
constexpr int kTextureDepth = 10;
constexpr int kAttribDepth = 16;
constexpr int kListNesting = 64;

// ---- geometry ------------------------------------------------------------------------------------

// A column-major 4 x 4 matrix in single precision, as the GL keeps its matrices.
struct Mat4 {
  float m[16];
  static Mat4 Identity();
  Mat4 operator*(const Mat4& b) const;
  bool Inverse(Mat4& out) const;
};
// The matrix of column-major doubles, rounded to single precision.
Mat4 FromDoubles(const double* m);

// What each vertex carries: the position and the current colour and texture coordinates (no
// normal: nothing the layer draws reads one).
struct Vertex {
  float x, y, z;
  float r, g, b, a;
  float s, t;
};

// A vertex as OpenGL ES is given it: the position (in eye coordinates, unless the modelview has
// to be applied on the GPU), the colour as bytes, and the texture coordinates, left out of
// untextured batches.
struct StreamVertex {
  float x, y, z;
  uint8_t rgba[4];
  float s, t;
};
constexpr size_t kUntexturedStride = offsetof(StreamVertex, s);
static_assert(sizeof(StreamVertex) == 24 && kUntexturedStride == 16, "stream vertices are packed");

// Attributes a display list sets itself; the others are taken from the current values when it is
// called.
enum AttribBits : uint8_t { kAttrColour = 1, kAttrTexCoord = 2, kAttrNormal = 4, kAttrAll = 7 };

enum class Topology : uint32_t { Triangles, Lines, Points };

// What picks the shader program (bits; see Gl11Programs.h): the clip planes in use,
// the texture environment, the texture's base format and its border case, and which matrices the
// GPU applies.
using ProgramKey = uint32_t;

// What the GL does with a fragment, and where: given to OpenGL ES as it is, at each draw. Fixed-size
// fields without padding, so that draw states compare with memcmp.
struct FragmentOps {
  GLenum blendSrc = GL_ONE, blendDst = GL_ZERO, depthFunc = GL_LESS, cullMode = GL_BACK;
  GLint viewport[4] = {0, 0, 0, 0};
  GLboolean blend = GL_FALSE, depthTest = GL_FALSE, cull = GL_FALSE;
  GLboolean unused = GL_FALSE;
};
static_assert(std::has_unique_object_representations_v<FragmentOps>, "fragment operations have no padding");

// Everything a draw depends on besides its vertices. Only fixed-size fields, all written, so
// two states compare with memcmp. The modelview matrix is in it only when the GPU applies it
// (`gpuModelview`, a modelview whose bottom row is not 0 0 0 1); otherwise it is identity.
struct DrawState {
  Topology topology;
  ProgramKey program;
  uint32_t texture;  // the layer's texture name, when textured
  int32_t texSize[2];
  FragmentOps ops;
  float clip[kClipPlanes][4];  // planes in use, in eye coordinates; 0 for the others
  Mat4 projection;
  Mat4 modelview;
  Mat4 textureMatrix;  // identity unless the program applies it
};

// The fixed-function state that glPushAttrib saves, whole (the matrices' stacks aside).
struct FixedState {
  // current vertex attributes
  float colour[4] = {1, 1, 1, 1};
  float texCoord[2] = {0, 0};
  float normal[3] = {0, 0, 1};
  FragmentOps ops;
  GLboolean texture2D = GL_FALSE;
  GLboolean clipEnabled[kClipPlanes] = {};
  double clip[kClipPlanes][4] = {};  // in eye coordinates
  GLenum shadeModel = GL_SMOOTH, matrixMode = GL_MODELVIEW, texEnvMode = GL_MODULATE, hint = GL_DONT_CARE;
  GLuint boundTexture = 0, listBase = 0;
  float clearColour[4] = {0, 0, 0, 0};
  double clearDepth = 1.0;
};

// ---- textures ------------------------------------------------------------------------------------

enum TextureBase : uint32_t { kBaseColour = 1, kBaseAlpha = 2 };

constexpr int kTextureLevels = 31;

struct Texture {
  GLuint object = 0;            // the GLES texture
  GLint width = 0, height = 0;  // of level 0
  GLint internalFormat = 0;     // of level 0, as the program gave it
  uint32_t base = kBaseColour;  // TextureBase bits of level 0's base format
  struct Level {
    GLint width = 0, height = 0, internalFormat = 0;
  } level[kTextureLevels];
  GLint minFilter = GL_NEAREST_MIPMAP_LINEAR;
  GLint magFilter = GL_LINEAR;
  GLint wrapS = GL_REPEAT, wrapT = GL_REPEAT;
  uint32_t levels = 0;  // bit i: level i was given
  bool Complete() const;
};

// ---- display lists -------------------------------------------------------------------------------

// A run of a list's vertices (List::vertices), decomposed when it was compiled: it joins the
// batch when the list is called, transformed by the modelview of the moment.
struct StaticDraw {
  Topology topology;
  uint8_t attribs;  // AttribBits the vertices carry; the rest come from the current values
  size_t first;
  size_t count;
};

// A primitive whose vertices take some attributes from the list and some from the current
// values partway through: kept on the CPU and drawn as immediate mode when the list is called.
struct DynamicPrimitive {
  GLenum mode;
  std::vector<Vertex> vertices;
  std::vector<uint8_t> attribs;
};

struct ListOp {
  enum Kind { Draw, Dynamic, SetCurrent, Call } kind;
  explicit ListOp(Kind k) : kind(k) {}
  int index = 0;        // into List::draws or List::dynamics
  uint8_t attribs = 0;  // SetCurrent: which of the values below to set
  float colour[4] = {};
  float texCoord[2] = {};
  float normal[3] = {};
  std::function<void()> call;  // Call: a recorded entry point with its arguments
};

struct List {
  std::vector<ListOp> ops;
  std::vector<StaticDraw> draws;
  std::vector<DynamicPrimitive> dynamics;
  std::vector<Vertex> vertices;  // in object coordinates
  std::function<void()> deferred;  // compiles the list when it is first called (gl11DeferList)
};

// ---- the layer -----------------------------------------------------------------------------------

struct AttribFrame {
  GLbitfield mask;
  FixedState saved;
  GLint texParameters[4];  // the bound texture's TextureParameters
};

struct PixelStore {
  GLint swapBytes = 0, lsbFirst = 0, rowLength = 0, skipRows = 0, skipPixels = 0, alignment = 4;
};

// A generated program, and the uniform values it was last given.
struct Program {
  GLuint object = 0;
  GLuint vs = 0, fs = 0;  // its shaders, until it is first used
  bool pending = false;   // started (StartProgram) but not yet asked whether it linked
  unsigned long long started = 0;  // the frame (GlesSide::frame) it was started in
  GLint uProjection = -1, uModelview = -1, uTextureMatrix = -1, uClip = -1, uTexSize = -1;
  GLint uKey = -1;  // the general program's alone
  bool sent = false;  // whether the values below were sent
  ProgramKey key = 0;
  Mat4 projection, modelview, textureMatrix;
  float clip[kClipPlanes][4];
  int32_t texSize[2];
};

// What the layer made on OpenGL ES, and what it last gave it there, so that only changes are sent.
struct GlesSide {
  std::map<ProgramKey, Program> programs;  // made on first use
  bool programsInBackground = false;       // see gl11ProgramsInBackground
  bool completionStatus = false;           // the GL answers GL_COMPLETION_STATUS_KHR
  unsigned long long frame = 0;            // frames ended in the context (EndFrame)
  // Until a frame ends that met nothing new (no state drawn for the first time, no texture image),
  // the scene is loading and the general program draws it alone; the states met meanwhile.
  bool settled = false, metNew = false;
  std::set<ProgramKey> keysMet;
  unsigned long long programTakenFrame = ~0ull;  // the last frame a background program was taken in
  GLuint streamBuffer = 0;
  GLuint vertexArrays[2] = {};  // one per layout: untextured, textured
  // The shader extension that gives gl_ClipDistance, when the context offers one; null for none.
  const char* clipDistances = nullptr;
  int clipDistancesOn = 0;  // how many of them are enabled
  DrawState applied{};      // valid with appliedValid
  bool appliedValid = false;
  GLuint program = 0, texture = 0;
  int layout = -1;
  float clearColour[4] = {}, clearDepth = 1.0f;
  bool clearValid = false;
};

struct Layer {
  bool ready = false;  // a context is current and the layer's objects exist
  GLenum error = GL_NO_ERROR;

  FixedState fixed;

  // immediate mode
  bool inBegin = false;
  GLenum beginMode = 0;
  std::vector<Vertex> primitive;          // the vertices since glBegin
  std::vector<uint8_t> primitiveAttribs;  // per vertex while compiling: what the list had set

  // the batch waiting to be drawn (StreamVertex, without texture coordinates when untextured),
  // and the state it was given under
  std::vector<uint8_t> batch;
  size_t batchVertices = 0;
  DrawState batchState{};

  // the matrices' stacks
  std::vector<Mat4> modelview{Mat4::Identity()}, projection{Mat4::Identity()}, textureMatrix{Mat4::Identity()};

  GLint maxViewport[2] = {0, 0};  // GLES's GL_MAX_VIEWPORT_DIMS
  std::vector<AttribFrame> attribStack;
  PixelStore unpack, pack;
  std::vector<std::pair<GLbitfield, std::pair<PixelStore, PixelStore>>> clientStack;

  // textures
  std::map<GLuint, Texture> textures;
  GLuint nextTexture = 1;  // names are not given again after glDeleteTextures, as in Mesa

  // display lists
  std::map<GLuint, std::unique_ptr<List>> lists;  // every name handed out, with or without contents
  GLuint nextList = 1;
  GLuint compiling = 0;  // the list being compiled, 0 when none
  GLenum compileMode = 0;
  std::unique_ptr<List> compiled;
  uint8_t compiledAttribs = 0;  // attributes the list under compilation has set so far
  uint8_t blockAttribs = 0;     // and those it set since its last glBegin
  float listColour[4] = {}, listTexCoord[2] = {}, listNormal[3] = {};  // and their values
  int callDepth = 0;

  Gl11Stats stats;
  Gl11Stats frameStart, lastFrame;  // the counts where the last frame ended, and that frame's own

  GlesSide gl;
};

extern Layer g;

// Records an error unless one is waiting to be read already.
void SetError(GLenum error);
// True when the call may go on: a context is current and no glBegin is open (else the error).
bool Outside();
// The matrix stack of the current matrix mode.
std::vector<Mat4>& CurrentStack();
// The draw state the current GL state gives for primitives of this topology.
DrawState CurrentDrawState(Topology topology);
// Adds triangles, lines or points to the batch, drawing the batch first if its state differs. The
// attributes missing from `attribs` (AttribBits) take the current values.
void AddToBatch(Topology topology, const Vertex* vertices, size_t count, uint8_t attribs = kAttrAll);
// Draws the batch, if any.
void Flush();
// Gives the GLES side what a draw's state asks for, skipping what it has already. False when the
// state's program could not be made (nothing is drawn then).
bool Apply(const DrawState& s);
// Ends the frame at a glFlush or glFinish, when something was drawn since the last (Gl11Stats).
void EndFrame();
// Binds a GLES texture object to GL_TEXTURE_2D unless it is bound already; every binding goes
// through here.
void BindGlesTexture(GLuint object);
// Tells the binding cache that a GLES texture object is gone.
void ForgetGlesTexture(GLuint object);
// Turns the vertices of one glBegin/glEnd into independent triangles, lines or points.
Topology Decompose(GLenum mode, const std::vector<Vertex>& in, std::vector<Vertex>& out);
bool ValidPrimitive(GLenum mode);

// The flag of a capability (glEnable's names); null for a name that is none.
GLboolean* Capability(GLenum cap);
// The pack or unpack store that a pixel storage name belongs to, with `field` set to its value;
// null for a name that is none.
PixelStore* StoreOf(GLenum pname, GLint*& field);

// Multiplies the current stack's top by `m` on the right, as the GL's matrix calls do.
void MultiplyCurrent(const Mat4& m);
// True while the program's calls go into a list: one is compiled, outside glBegin/glEnd, and the
// call does not come from a list being run.
bool Recording();
// While recording, records a call to replay when the list is called and returns true when the
// call is not to run now (GL_COMPILE; with GL_COMPILE_AND_EXECUTE it runs now too). Entry points
// that lists hold begin with it.
bool Record(std::function<void()> call);
// Sets an error of a call that lists hold: while recording it is the list's, set when the list
// runs (and now too with GL_COMPILE_AND_EXECUTE).
void CompileError(GLenum error);

// Deletes every list (context going or gone).
void ResetLists();
// Deletes the layer's textures (context going or gone).
void ResetTextures();
// The GLES texture of a texture name, made when first needed (the name's record too).
GLuint TextureObject(GLuint name);
// The record of a texture name; null for a name never generated or bound.
const Texture* FindTexture(GLuint name);
// The parameters that glPushAttrib(GL_TEXTURE_BIT) saves of the bound texture: minifying and
// magnifying filters, wrap in s and t.
void TextureParameters(GLuint name, GLint out[4]);
// Gives the texture of a name (made if it is gone) these parameters again.
void RestoreTextureParameters(GLuint name, const GLint in[4]);

}  // namespace gl11
