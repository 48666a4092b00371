// OpenGL 1.1 layer: display lists. A list's primitives are decomposed
// once, when it is compiled, and its vertices kept in object coordinates; calling the list puts
// those runs into the batch, transformed by the modelview matrix of the moment, and replays its
// other calls (matrices, state, nested lists) in order. So the glyphs of a label, each a list that
// ends with a translation, join one batch and are drawn at once.
#include "Gl11Context.h"
#include "Gl11Layer.h"

#include <algorithm>

namespace gl11 {

namespace {

// Runs a deferred list's build, as if nothing were being compiled or called: the list it compiles
// replaces the placeholder. What is under compilation or in the middle of a call stays as it was.
void BuildDeferred(List& placeholder) {
  std::function<void()> build = std::move(placeholder.deferred);
  placeholder.deferred = nullptr;
  const GLuint compiling = g.compiling;
  const GLenum compileMode = g.compileMode;
  std::unique_ptr<List> compiled = std::move(g.compiled);
  const uint8_t compiledAttribs = g.compiledAttribs, blockAttribs = g.blockAttribs;
  float listValues[9];
  std::copy(g.listColour, g.listColour + 4, listValues);
  std::copy(g.listTexCoord, g.listTexCoord + 2, listValues + 4);
  std::copy(g.listNormal, g.listNormal + 3, listValues + 6);
  const int callDepth = g.callDepth;
  GLfloat colour[4], texCoord[2], normal[3];
  std::copy(g.fixed.colour, g.fixed.colour + 4, colour);
  std::copy(g.fixed.texCoord, g.fixed.texCoord + 2, texCoord);
  std::copy(g.fixed.normal, g.fixed.normal + 3, normal);
  g.compiling = 0;
  g.callDepth = 0;
  build();
  if (g.compiling) glEndList();  // a build that left its list open
  g.compiling = compiling;
  g.compileMode = compileMode;
  g.compiled = std::move(compiled);
  g.compiledAttribs = compiledAttribs;
  g.blockAttribs = blockAttribs;
  std::copy(listValues, listValues + 4, g.listColour);
  std::copy(listValues + 4, listValues + 6, g.listTexCoord);
  std::copy(listValues + 6, listValues + 9, g.listNormal);
  g.callDepth = callDepth;
  std::copy(colour, colour + 4, g.fixed.colour);
  std::copy(texCoord, texCoord + 2, g.fixed.texCoord);
  std::copy(normal, normal + 3, g.fixed.normal);
}

void Execute(GLuint name) {
  auto it = g.lists.find(name);
  if (it == g.lists.end() || !it->second) return;  // a name without a list does nothing
  if (g.callDepth >= kListNesting) return;
  if (it->second->deferred) {
    if (g.inBegin) return;
    BuildDeferred(*it->second);
    it = g.lists.find(name);
    if (it == g.lists.end() || !it->second) return;
  }
  ++g.callDepth;
  const List& list = *it->second;
  for (const ListOp& op : list.ops) {
    switch (op.kind) {
      case ListOp::Draw: {
        const StaticDraw& d = list.draws[static_cast<size_t>(op.index)];
        AddToBatch(d.topology, list.vertices.data() + d.first, d.count, d.attribs);
        break;
      }
      case ListOp::Dynamic: {
        const DynamicPrimitive& p = list.dynamics[static_cast<size_t>(op.index)];
        std::vector<Vertex> in = p.vertices, out;
        for (size_t i = 0; i < in.size(); ++i) {
          Vertex& v = in[i];
          if (!(p.attribs[i] & kAttrColour))
            v.r = g.fixed.colour[0], v.g = g.fixed.colour[1], v.b = g.fixed.colour[2], v.a = g.fixed.colour[3];
          if (!(p.attribs[i] & kAttrTexCoord)) v.s = g.fixed.texCoord[0], v.t = g.fixed.texCoord[1];
        }
        const Topology t = Decompose(p.mode, in, out);
        AddToBatch(t, out.data(), out.size());
        break;
      }
      case ListOp::SetCurrent:
        if (op.attribs & kAttrColour) std::copy(op.colour, op.colour + 4, g.fixed.colour);
        if (op.attribs & kAttrTexCoord) std::copy(op.texCoord, op.texCoord + 2, g.fixed.texCoord);
        if (op.attribs & kAttrNormal) std::copy(op.normal, op.normal + 3, g.fixed.normal);
        break;
      case ListOp::Call:
        op.call();
        break;
    }
  }
  --g.callDepth;
}

GLuint ListName(GLenum type, const GLvoid* lists, GLsizei i) {
  const auto* b = static_cast<const uint8_t*>(lists);
  switch (type) {
    case GL_BYTE:
      return static_cast<GLuint>(static_cast<int8_t>(b[i]));
    case GL_UNSIGNED_BYTE:
      return b[i];
    case GL_SHORT:
      return static_cast<GLuint>(static_cast<const int16_t*>(lists)[i]);
    case GL_UNSIGNED_SHORT:
      return static_cast<const uint16_t*>(lists)[i];
    case GL_INT:
      return static_cast<GLuint>(static_cast<const int32_t*>(lists)[i]);
    case GL_UNSIGNED_INT:
      return static_cast<const uint32_t*>(lists)[i];
    case GL_FLOAT:  // a name that may be negative, like the signed types
      return static_cast<GLuint>(static_cast<GLint>(static_cast<const float*>(lists)[i]));
    case GL_2_BYTES:
      return static_cast<GLuint>(b[2 * i] << 8 | b[2 * i + 1]);
    case GL_3_BYTES:
      return static_cast<GLuint>(b[3 * i] << 16 | b[3 * i + 1] << 8 | b[3 * i + 2]);
    case GL_4_BYTES:
      return static_cast<GLuint>(b[4 * i]) << 24 | static_cast<GLuint>(b[4 * i + 1]) << 16 |
             static_cast<GLuint>(b[4 * i + 2]) << 8 | b[4 * i + 3];
    default:
      return 0;
  }
}

size_t TypeSize(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
    case GL_2_BYTES:
      return 2;
    case GL_3_BYTES:
      return 3;
    case GL_INT:
    case GL_UNSIGNED_INT:
    case GL_FLOAT:
    case GL_4_BYTES:
      return 4;
    default:
      return 0;
  }
}

}  // namespace

bool Recording() { return g.compiling && !g.inBegin && g.callDepth == 0; }

bool Record(std::function<void()> call) {
  if (!Recording()) return false;
  ListOp op{ListOp::Call};
  op.call = std::move(call);
  g.compiled->ops.push_back(std::move(op));
  return g.compileMode == GL_COMPILE;
}

void CompileError(GLenum error) {
  if (!Record([=] { SetError(error); })) SetError(error);
}

void ResetLists() {
  g.lists.clear();
  g.compiled.reset();
  g.compiling = 0;
}

}  // namespace gl11

using namespace gl11;

extern "C" {

GLuint glGenLists(GLsizei range) {
  if (!Outside()) return 0;
  if (range < 0) {
    SetError(GL_INVALID_VALUE);
    return 0;
  }
  if (range == 0) return 0;
  // The first run of `range` unused names from the next never handed out: like Mesa, names of
  // deleted lists are not given again soon, so a stale name draws nothing rather than a new list.
  GLuint start = g.nextList;
  for (auto it = g.lists.lower_bound(start); it != g.lists.end(); ++it) {
    if (it->first >= start + static_cast<GLuint>(range)) break;
    start = it->first + 1;
  }
  if (start > UINT32_MAX - static_cast<GLuint>(range)) return 0;
  for (GLuint i = 0; i < static_cast<GLuint>(range); ++i) g.lists[start + i] = nullptr;
  g.nextList = start + static_cast<GLuint>(range);
  return start;
}

void glDeleteLists(GLuint list, GLsizei range) {
  if (!Outside()) return;
  if (range < 0) return SetError(GL_INVALID_VALUE);
  for (auto it = g.lists.lower_bound(list); it != g.lists.end() && it->first - list < static_cast<GLuint>(range);) {
    it = g.lists.erase(it);
  }
}

void glNewList(GLuint list, GLenum mode) {
  if (!Outside()) return;
  if (list == 0) return SetError(GL_INVALID_VALUE);
  if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) return SetError(GL_INVALID_ENUM);
  if (g.compiling) return SetError(GL_INVALID_OPERATION);
  g.compiling = list;
  g.compileMode = mode;
  g.compiled = std::make_unique<List>();
  g.compiledAttribs = 0;
}

void glEndList(void) {
  if (!Outside()) return;
  if (!g.compiling) return SetError(GL_INVALID_OPERATION);
  const GLuint name = g.compiling;
  g.compiling = 0;
  // Names from glNewList count as handed out: glGenLists goes on after the highest.
  if (name >= g.nextList && name < UINT32_MAX) g.nextList = name + 1;
  g.lists[name] = std::move(g.compiled);
}

void glCallList(GLuint list) {
  if (Record([=] { glCallList(list); })) return;
  if (!g.ready) return;
  Execute(list);
}

void glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
  const size_t size = TypeSize(type);
  if (size == 0) return SetError(GL_INVALID_ENUM);
  if (n < 0) return SetError(GL_INVALID_VALUE);
  if (n == 0 || !lists) return;  // nothing to call
  if (Recording()) {
    // The names are copied now; the list base applies when the list runs.
    std::vector<uint8_t> names(static_cast<const uint8_t*>(lists),
                               static_cast<const uint8_t*>(lists) + size * static_cast<size_t>(n));
    if (Record([=] { glCallLists(n, type, names.data()); })) return;
  }
  if (!g.ready) return;
  for (GLsizei i = 0; i < n; ++i) Execute(g.fixed.listBase + ListName(type, lists, i));
}

GLboolean glIsList(GLuint list) {
  if (!Outside()) return GL_FALSE;
  // A name is a list from glGenLists or glNewList on, with or without contents.
  return list != 0 && g.lists.count(list) ? GL_TRUE : GL_FALSE;
}

void glListBase(GLuint base) {
  if (Record([=] { glListBase(base); })) return;
  if (!Outside()) return;
  g.fixed.listBase = base;
}

}  // extern "C"

void gl11DeferList(GLuint list, std::function<void()> build) {
  if (!Outside()) return;
  if (list == 0 || !build) return SetError(GL_INVALID_VALUE);
  if (list >= g.nextList && list < UINT32_MAX) g.nextList = list + 1;
  auto& slot = g.lists[list];
  slot = std::make_unique<List>();
  slot->deferred = std::move(build);
}
