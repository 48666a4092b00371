// OpenGL 1.1 layer: immediate mode. The current colour and texture
// coordinates go into every vertex; at glEnd the primitive becomes independent
// triangles, lines or points and joins the batch (or, while a list is compiled, the list).
#include "Gl11Layer.h"

namespace gl11 {

namespace {

struct Emitter {
  const std::vector<Vertex>& in;
  std::vector<Vertex>& out;
  bool flat;
  // Appends vertices a, b, c (c < 0: a pair; b < 0: one); with flat shading all take the colour
  // of the primitive's provoking vertex.
  void Put(int provoking, int a, int b = -1, int c = -1) {
    for (int i : {a, b, c}) {
      if (i < 0) continue;
      out.push_back(in[static_cast<size_t>(i)]);
      if (flat) {
        const Vertex& p = in[static_cast<size_t>(provoking)];
        Vertex& v = out.back();
        v.r = p.r;
        v.g = p.g;
        v.b = p.b;
        v.a = p.a;
      }
    }
  }
};

}  // namespace

bool ValidPrimitive(GLenum mode) { return mode <= GL_POLYGON; }

Topology Decompose(GLenum mode, const std::vector<Vertex>& in, std::vector<Vertex>& out) {
  const int n = static_cast<int>(in.size());
  Emitter e{in, out, g.fixed.shadeModel == GL_FLAT};
  switch (mode) {
    case GL_POINTS:
      for (int i = 0; i < n; ++i) e.Put(i, i);
      return Topology::Points;
    case GL_LINES:
      for (int i = 0; i + 1 < n; i += 2) e.Put(i + 1, i, i + 1);
      return Topology::Lines;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
      for (int i = 0; i + 1 < n; ++i) e.Put(i + 1, i, i + 1);
      if (mode == GL_LINE_LOOP && n >= 2) e.Put(0, n - 1, 0);
      return Topology::Lines;
    case GL_TRIANGLES:
      for (int i = 0; i + 2 < n; i += 3) e.Put(i + 2, i, i + 1, i + 2);
      return Topology::Triangles;
    case GL_TRIANGLE_STRIP:
      // Every other triangle turns round, so that all keep the first one's orientation.
      for (int i = 0; i + 2 < n; ++i) {
        if (i % 2 == 0)
          e.Put(i + 2, i, i + 1, i + 2);
        else
          e.Put(i + 2, i + 1, i, i + 2);
      }
      return Topology::Triangles;
    case GL_TRIANGLE_FAN:
      for (int i = 1; i + 1 < n; ++i) e.Put(i + 1, 0, i, i + 1);
      return Topology::Triangles;
    case GL_POLYGON:
      for (int i = 1; i + 1 < n; ++i) e.Put(0, 0, i, i + 1);
      return Topology::Triangles;
    case GL_QUADS:
      // Split along the 0-2 diagonal, as Mesa draws a quad (its feedback mode reports another split).
      for (int i = 0; i + 3 < n; i += 4) {
        e.Put(i + 3, i, i + 1, i + 2);
        e.Put(i + 3, i, i + 2, i + 3);
      }
      return Topology::Triangles;
    case GL_QUAD_STRIP:
      // Quad k is vertices 2k, 2k+1, 2k+3, 2k+2 in turn, split along its first diagonal like a quad.
      for (int i = 0; i + 3 < n; i += 2) {
        e.Put(i + 3, i, i + 1, i + 3);
        e.Put(i + 3, i, i + 3, i + 2);
      }
      return Topology::Triangles;
    default:
      return Topology::Triangles;
  }
}

}  // namespace gl11

using namespace gl11;

namespace {

void PutVertex(float x, float y, float z) {
  if (!g.inBegin) return;  // a vertex outside glBegin/glEnd has no effect
  const float* c = g.fixed.colour;
  Vertex v{x, y, z, c[0], c[1], c[2], c[3], g.fixed.texCoord[0], g.fixed.texCoord[1]};
  if (g.compiling) {
    // What the list has set itself is the list's; the rest is filled in when it is called.
    const uint8_t set = g.compiledAttribs;
    if (set & kAttrColour) v.r = g.listColour[0], v.g = g.listColour[1], v.b = g.listColour[2], v.a = g.listColour[3];
    if (set & kAttrTexCoord) v.s = g.listTexCoord[0], v.t = g.listTexCoord[1];
    g.primitiveAttribs.push_back(set);
  }
  g.primitive.push_back(v);
}

// Sets current values, or while compiling the list's own.
void SetAttrib(uint8_t which, const float* values) {
  float* target;
  size_t count;
  if (g.compiling) {
    target = which == kAttrColour ? g.listColour : which == kAttrTexCoord ? g.listTexCoord : g.listNormal;
    g.compiledAttribs |= which;
    if (g.inBegin) g.blockAttribs |= which;
  } else {
    target = which == kAttrColour ? g.fixed.colour : which == kAttrTexCoord ? g.fixed.texCoord : g.fixed.normal;
  }
  count = which == kAttrColour ? 4 : which == kAttrTexCoord ? 2 : 3;
  for (size_t i = 0; i < count; ++i) target[i] = values[i];
  if (g.compiling && g.compileMode == GL_COMPILE_AND_EXECUTE) {
    float* current = which == kAttrColour ? g.fixed.colour : which == kAttrTexCoord ? g.fixed.texCoord : g.fixed.normal;
    std::copy(values, values + count, current);
  }
  if (g.compiling && !g.inBegin) {
    ListOp op{ListOp::SetCurrent};
    op.attribs = which;
    std::copy(values, values + count,
              which == kAttrColour     ? op.colour
              : which == kAttrTexCoord ? op.texCoord
                                       : op.normal);
    g.compiled->ops.push_back(std::move(op));
  }
}

void Colour(float r, float gr, float b, float a) {
  const float v[4] = {r, gr, b, a};
  SetAttrib(kAttrColour, v);
}

void TexCoord(float s, float t) {
  const float v[2] = {s, t};
  SetAttrib(kAttrTexCoord, v);
}

void Normal(float x, float y, float z) {
  const float v[3] = {x, y, z};
  SetAttrib(kAttrNormal, v);
}

// The primitive just ended, into the list under compilation.
void CompilePrimitive() {
  List& list = *g.compiled;
  bool uniform = true;
  for (uint8_t a : g.primitiveAttribs) uniform = uniform && a == g.primitiveAttribs.front();
  if (!uniform) {
    // The list set an attribute partway through: the vertices before it take the current value
    // at call time, so the primitive is kept as it is and sent as immediate mode then.
    list.dynamics.push_back({g.beginMode, g.primitive, g.primitiveAttribs});
    ListOp op{ListOp::Dynamic};
    op.index = static_cast<int>(list.dynamics.size() - 1);
    list.ops.push_back(std::move(op));
  } else if (!g.primitive.empty()) {
    static std::vector<Vertex> out;  // kept between primitives: a font compiles hundreds of lists
    out.clear();
    const Topology t = Decompose(g.beginMode, g.primitive, out);
    const uint8_t attribs = g.primitiveAttribs.front();
    if (!out.empty()) {
      const size_t first = list.vertices.size();
      list.vertices.insert(list.vertices.end(), out.begin(), out.end());
      // Primitives in a row under the same state are one draw.
      if (!list.ops.empty() && list.ops.back().kind == ListOp::Draw) {
        StaticDraw& last = list.draws[static_cast<size_t>(list.ops.back().index)];
        if (last.topology == t && last.attribs == attribs && last.first + last.count == first) {
          last.count += out.size();
          out.clear();
        }
      }
      if (!out.empty()) {
        list.draws.push_back({t, attribs, first, out.size()});
        ListOp op{ListOp::Draw};
        op.index = static_cast<int>(list.draws.size() - 1);
        list.ops.push_back(std::move(op));
      }
    }
  }
  if (g.blockAttribs) {
    // After the list's primitive the current values are the last ones it set.
    ListOp op{ListOp::SetCurrent};
    op.attribs = g.blockAttribs;
    std::copy(g.listColour, g.listColour + 4, op.colour);
    std::copy(g.listTexCoord, g.listTexCoord + 2, op.texCoord);
    std::copy(g.listNormal, g.listNormal + 3, op.normal);
    list.ops.push_back(std::move(op));
  }
}

}  // namespace

extern "C" {

void glBegin(GLenum mode) {
  if (!g.ready) return;
  if (g.inBegin) return SetError(GL_INVALID_OPERATION);
  if (!ValidPrimitive(mode)) return CompileError(GL_INVALID_ENUM);
  g.inBegin = true;
  g.beginMode = mode;
  g.primitive.clear();
  g.primitiveAttribs.clear();
  g.blockAttribs = 0;
}

void glEnd(void) {
  if (!g.ready) return;
  if (!g.inBegin) return CompileError(GL_INVALID_OPERATION);
  g.inBegin = false;
  if (g.compiling) CompilePrimitive();
  if (!g.compiling || g.compileMode == GL_COMPILE_AND_EXECUTE) {
    static std::vector<Vertex> out;
    out.clear();
    const Topology t = Decompose(g.beginMode, g.primitive, out);
    AddToBatch(t, out.data(), out.size());
  }
  g.primitive.clear();
  g.primitiveAttribs.clear();
}

void glVertex2d(GLdouble x, GLdouble y) { PutVertex(static_cast<float>(x), static_cast<float>(y), 0.0f); }
void glVertex2f(GLfloat x, GLfloat y) { PutVertex(x, y, 0.0f); }
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  PutVertex(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { PutVertex(x, y, z); }
void glVertex3fv(const GLfloat* v) { PutVertex(v[0], v[1], v[2]); }
void glColor3f(GLfloat red, GLfloat green, GLfloat blue) { Colour(red, green, blue, 1.0f); }
void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) { Colour(red, green, blue, alpha); }
void glNormal3d(GLdouble nx, GLdouble ny, GLdouble nz) {
  Normal(static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(nz));
}
void glNormal3f(GLfloat nx, GLfloat ny, GLfloat nz) { Normal(nx, ny, nz); }
void glTexCoord2d(GLdouble s, GLdouble t) { TexCoord(static_cast<float>(s), static_cast<float>(t)); }
void glTexCoord2f(GLfloat s, GLfloat t) { TexCoord(s, t); }
void glTexCoord2fv(const GLfloat* v) { TexCoord(v[0], v[1]); }

void glRectd(GLdouble x1, GLdouble y1, GLdouble x2, GLdouble y2) {
  glBegin(GL_POLYGON);
  glVertex2d(x1, y1);
  glVertex2d(x2, y1);
  glVertex2d(x2, y2);
  glVertex2d(x1, y2);
  glEnd();
}

}  // extern "C"
