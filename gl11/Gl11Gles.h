// OpenGL 1.1 layer: the OpenGL ES 3.0 beneath it. The standard names (glClear, glEnable, ...) are
// the layer's own entry points, so it reaches OpenGL ES as a GL library reaches the driver under
// it: through a table of the entry points it uses, filled when a context is made (LoadGles).
// Natively they come from eglGetProcAddress, which gives the driver's functions whatever the
// program defines under the same names (Gl11GlesEgl.cpp); in the browser they are emscripten's
// emscripten_gl* functions, its WebGL 2 calls under names of their own (Gl11GlesWeb.cpp). Every
// call to OpenGL ES goes through `gles`, whose entries count their calls for Gl11Stats. Beside the
// table: the types and enumerants of OpenGL ES that OpenGL 1.1 does not have.
#pragma once

#include "GL/gl.h"

#include <cstddef>

typedef char GLchar;
typedef ptrdiff_t GLsizeiptr;
typedef ptrdiff_t GLintptr;

#define GL_CLAMP_TO_EDGE 0x812F
#define GL_TEXTURE0 0x84C0
#define GL_ARRAY_BUFFER 0x8892
#define GL_STREAM_DRAW 0x88E0
#define GL_STATIC_DRAW 0x88E4
#define GL_FRAGMENT_SHADER 0x8B30
#define GL_VERTEX_SHADER 0x8B31
#define GL_COMPILE_STATUS 0x8B81
#define GL_LINK_STATUS 0x8B82
#define GL_COMPLETION_STATUS_KHR 0x91B1

// X(return type, name, parameters) for each OpenGL ES entry point the layer calls.
#define GL11_GLES_ENTRY_POINTS(X)                                                                                    \
  X(void, glActiveTexture, (GLenum texture))                                                                         \
  X(void, glAttachShader, (GLuint program, GLuint shader))                                                           \
  X(void, glBindBuffer, (GLenum target, GLuint buffer))                                                              \
  X(void, glBindTexture, (GLenum target, GLuint texture))                                                            \
  X(void, glBindVertexArray, (GLuint array))                                                                         \
  X(void, glBlendFunc, (GLenum sfactor, GLenum dfactor))                                                             \
  X(void, glBufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage))                            \
  X(void, glBufferSubData, (GLenum target, GLintptr offset, GLsizeiptr size, const void* data))                      \
  X(void, glClear, (GLbitfield mask))                                                                                \
  X(void, glClearColor, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha))                                   \
  X(void, glClearDepthf, (GLfloat depth))                                                                            \
  X(void, glCompileShader, (GLuint shader))                                                                          \
  X(GLuint, glCreateProgram, (void))                                                                                 \
  X(GLuint, glCreateShader, (GLenum type))                                                                           \
  X(void, glCullFace, (GLenum mode))                                                                                 \
  X(void, glDeleteBuffers, (GLsizei n, const GLuint* buffers))                                                       \
  X(void, glDeleteProgram, (GLuint program))                                                                         \
  X(void, glDeleteShader, (GLuint shader))                                                                           \
  X(void, glDeleteTextures, (GLsizei n, const GLuint* textures))                                                     \
  X(void, glDeleteVertexArrays, (GLsizei n, const GLuint* arrays))                                                   \
  X(void, glDepthFunc, (GLenum func))                                                                                \
  X(void, glDisable, (GLenum cap))                                                                                   \
  X(void, glDisableVertexAttribArray, (GLuint index))                                                                \
  X(void, glDrawArrays, (GLenum mode, GLint first, GLsizei count))                                                   \
  X(void, glEnable, (GLenum cap))                                                                                    \
  X(void, glEnableVertexAttribArray, (GLuint index))                                                                 \
  X(void, glFinish, (void))                                                                                          \
  X(void, glFlush, (void))                                                                                           \
  X(void, glGenBuffers, (GLsizei n, GLuint * buffers))                                                               \
  X(void, glGenTextures, (GLsizei n, GLuint * textures))                                                             \
  X(void, glGenVertexArrays, (GLsizei n, GLuint * arrays))                                                           \
  X(void, glGenerateMipmap, (GLenum target))                                                                         \
  X(GLenum, glGetError, (void))                                                                                      \
  X(void, glGetIntegerv, (GLenum pname, GLint * data))                                                               \
  X(void, glGetProgramInfoLog, (GLuint program, GLsizei bufSize, GLsizei * length, GLchar * infoLog))                \
  X(void, glGetProgramiv, (GLuint program, GLenum pname, GLint * params))                                            \
  X(void, glGetShaderInfoLog, (GLuint shader, GLsizei bufSize, GLsizei * length, GLchar * infoLog))                  \
  X(void, glGetShaderiv, (GLuint shader, GLenum pname, GLint * params))                                              \
  X(const GLubyte*, glGetString, (GLenum name))                                                                      \
  X(GLint, glGetUniformLocation, (GLuint program, const GLchar* name))                                               \
  X(void, glLinkProgram, (GLuint program))                                                                           \
  X(void, glPixelStorei, (GLenum pname, GLint param))                                                                \
  X(void, glReadPixels, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels)) \
  X(void, glShaderSource, (GLuint shader, GLsizei count, const GLchar* const* string, const GLint* length))          \
  X(void, glTexImage2D,                                                                                              \
    (GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border, GLenum format,   \
     GLenum type, const void* pixels))                                                                               \
  X(void, glTexParameteri, (GLenum target, GLenum pname, GLint param))                                               \
  X(void, glUniform1i, (GLint location, GLint v0))                                                                   \
  X(void, glUniform2f, (GLint location, GLfloat v0, GLfloat v1))                                                     \
  X(void, glUniform2i, (GLint location, GLint v0, GLint v1))                                                         \
  X(void, glUniform4fv, (GLint location, GLsizei count, const GLfloat* value))                                       \
  X(void, glUniformMatrix4fv, (GLint location, GLsizei count, GLboolean transpose, const GLfloat* value))            \
  X(void, glUseProgram, (GLuint program))                                                                            \
  X(void, glVertexAttrib4f, (GLuint index, GLfloat x, GLfloat y, GLfloat z, GLfloat w))                              \
  X(void, glVertexAttrib4fv, (GLuint index, const GLfloat* v))                                                       \
  X(void, glVertexAttribPointer,                                                                                     \
    (GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride, const void* pointer))              \
  X(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height))

namespace gl11 {

// One entry point of the table: called as the function itself, it counts the call and passes it on.
template <typename Function>
struct GlesEntry;
template <typename R, typename... Args>
struct GlesEntry<R(Args...)> {
  R(GLAPIENTRY* function)(Args...) = nullptr;
  unsigned long long calls = 0;  // since the table was loaded
  R operator()(Args... args) {
    ++calls;
    return function(args...);
  }
};

struct Gles {
#define GL11_GLES_ENTRY(type, name, parameters) GlesEntry<type parameters> name;
  GL11_GLES_ENTRY_POINTS(GL11_GLES_ENTRY)
#undef GL11_GLES_ENTRY
};

extern Gles gles;

// Fills `gles` for the context that has just been made current, its counts at zero. False, with the names that are
// missing on stderr, when the API beneath lacks any of them: the layer then stays without a context.
bool LoadGles();
// Whether each answer the layer asks OpenGL ES for (a status, a location) is a round trip to
// another process that waits for all the work given before it: in a browser, WebGL's.
bool QueriesAreRoundTrips();
// The shader extension that gives gl_ClipDistance in the current context, or null where it has none.
const char* ClipDistanceExtension();
// Whether the current context answers GL_COMPLETION_STATUS_KHR (KHR_parallel_shader_compile).
bool ParallelCompileExtension();

}  // namespace gl11
