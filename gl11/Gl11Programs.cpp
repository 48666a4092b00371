// OpenGL 1.1 layer: the programs, one for each fixed-function state drawn, made on first use and
// kept for the context's life. Where each answer from the GL is a round trip (a browser's GPU
// process), they are made in the background: a state's own program is started when the state is
// drawn, the general program draws it meanwhile, and the own program is taken into use once the GL
// says it is complete (KHR_parallel_shader_compile), so no frame waits for a compiler.
#include "Gl11Programs.h"

#include <cstdio>

namespace gl11 {

namespace {

constexpr GLenum GL_CLIP_DISTANCE0 = 0x3000;

// Each status query waits for the GL side to finish what it was given (in a browser, a round trip
// to another process), so a shader's compile status is asked for only when its program does not
// link, to say which part failed.
GLuint CompileShader(GLenum kind, ProgramKey key) {
  const std::string text = ShaderText(kind, key, g.gl.clipDistances);
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
  p.vs = CompileShader(GL_VERTEX_SHADER, key);
  p.fs = CompileShader(GL_FRAGMENT_SHADER, key);
  p.started = g.gl.frame;
  if (p.vs && p.fs) {
    p.object = gles.glCreateProgram();
    gles.glAttachShader(p.object, p.vs);
    gles.glAttachShader(p.object, p.fs);
    gles.glLinkProgram(p.object);
  }
  p.pending = true;
  return p;
}

// The context named clip distances but its shaders refuse them: planes go back to discard, for the
// programs to come and those made before, which are given back.
void ClipByDiscard() {
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
}

// The program of a state, made and kept when first asked for (its link waited for); object 0 if
// it cannot be made.
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
    ClipByDiscard();
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

// Whether a program started in the background can be taken without waiting: the GL says it is
// complete, or, where it cannot say, a frame has ended since the program was started.
bool Complete(const Program& p) {
  if (!p.object) return true;  // nothing to wait for: ProgramOf says why
  if (!g.gl.completionStatus) return p.started < g.gl.frame;
  GLint complete = GL_FALSE;
  gles.glGetProgramiv(p.object, GL_COMPLETION_STATUS_KHR, &complete);
  return complete != GL_FALSE;
}

}  // namespace

// In the background, the general program draws alone while the scene loads, the GL busy with its
// textures and first pictures (compiling then would hold those pictures up): until a frame ends
// that drew no state for the first time and gave the GL no texture image. After it, a state's own
// program is started when the state is drawn. At most one program a frame is taken into use: the
// first use asks whether it linked, a round trip of its own.
Program& ProgramFor(ProgramKey key) {
  if (!g.gl.programsInBackground || (key & kGeneralDrawsZero)) return ProgramOf(key);
  const auto found = g.gl.programs.find(key);
  if (found != g.gl.programs.end() && !found->second.pending) return found->second;  // made, or failed
  if (!g.gl.settled) {
    if (g.gl.keysMet.insert(key).second) g.gl.metNew = true;
    return ProgramOf(kGeneral);
  }
  Program& p = StartProgram(key);
  if (g.gl.programTakenFrame != g.gl.frame && Complete(p)) {
    g.gl.programTakenFrame = g.gl.frame;
    return ProgramOf(key);
  }
  return ProgramOf(kGeneral);
}

void MakeGeneralProgram() { ProgramOf(kGeneral); }

void DeletePrograms() {
  for (auto& entry : g.gl.programs) DeleteProgram(entry.second);
  g.gl.programs.clear();
  g.gl.program = 0;
}

}  // namespace gl11
