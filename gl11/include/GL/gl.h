// OpenGL 1.1 layer: the OpenGL 1.1 subset that the toolkit, the demo and the window layer use,
// served by our own layer on OpenGL ES 3.0 (WebGL 2 in the browser, Mesa's GLES 3 natively).
// This header stands in for the system's <GL/gl.h> for code built against the layer: the types
// and enumerants are OpenGL 1.1's (standard values), every entry point is the layer's own
// gl11-prefixed function, and the standard names map onto them, so no symbol of the layer
// meets one of the GLES library (or of libGL in a native test process).
#ifndef GL11_GL_H
#define GL11_GL_H
#define __gl_h_ 1  // keeps a later <GL/gl.h> of the system out
#define __GL_H__ 1

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// ---- types ---------------------------------------------------------------------------------------

typedef unsigned int GLenum;
typedef unsigned char GLboolean;
typedef unsigned int GLbitfield;
typedef void GLvoid;
typedef signed char GLbyte;
typedef short GLshort;
typedef int GLint;
typedef unsigned char GLubyte;
typedef unsigned short GLushort;
typedef unsigned int GLuint;
typedef int GLsizei;
typedef float GLfloat;
typedef float GLclampf;
typedef double GLdouble;
typedef double GLclampd;

#ifndef GLAPIENTRY
#define GLAPIENTRY
#endif
#ifndef GLAPIENTRYP
#define GLAPIENTRYP GLAPIENTRY*
#endif
#ifndef APIENTRY
#define APIENTRY GLAPIENTRY
#endif
#ifndef GLAPI
#define GLAPI extern
#endif

// ---- enumerants ----------------------------------------------------------------------------------
// (The layer's own sources take the prototypes alone, under GL11_LAYER_SOURCE, beside <GLES3/gl3.h>,
// so that the compiler checks each definition against its declaration here.)
#ifndef GL11_LAYER_SOURCE

#define GL_VERSION_1_1 1

#define GL_FALSE 0
#define GL_TRUE 1
#define GL_ZERO 0
#define GL_ONE 1
#define GL_NONE 0

// primitives
#define GL_POINTS 0x0000
#define GL_LINES 0x0001
#define GL_LINE_LOOP 0x0002
#define GL_LINE_STRIP 0x0003
#define GL_TRIANGLES 0x0004
#define GL_TRIANGLE_STRIP 0x0005
#define GL_TRIANGLE_FAN 0x0006
#define GL_QUADS 0x0007
#define GL_QUAD_STRIP 0x0008
#define GL_POLYGON 0x0009

// data types
#define GL_BYTE 0x1400
#define GL_UNSIGNED_BYTE 0x1401
#define GL_SHORT 0x1402
#define GL_UNSIGNED_SHORT 0x1403
#define GL_INT 0x1404
#define GL_UNSIGNED_INT 0x1405
#define GL_FLOAT 0x1406

// errors
#define GL_NO_ERROR 0
#define GL_INVALID_ENUM 0x0500
#define GL_INVALID_VALUE 0x0501
#define GL_INVALID_OPERATION 0x0502
#define GL_STACK_OVERFLOW 0x0503
#define GL_STACK_UNDERFLOW 0x0504
#define GL_OUT_OF_MEMORY 0x0505

// buffers
#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_COLOR_BUFFER_BIT 0x00004000
#define GL_FRONT 0x0404
#define GL_BACK 0x0405
#define GL_FRONT_AND_BACK 0x0408

// capabilities
#define GL_CULL_FACE 0x0B44
#define GL_DEPTH_TEST 0x0B71
#define GL_BLEND 0x0BE2
#define GL_TEXTURE_2D 0x0DE1
#define GL_CLIP_PLANE0 0x3000
#define GL_CLIP_PLANE1 0x3001
#define GL_CLIP_PLANE2 0x3002
#define GL_CLIP_PLANE3 0x3003
#define GL_CLIP_PLANE4 0x3004
#define GL_CLIP_PLANE5 0x3005

// depth and blending functions
#define GL_NEVER 0x0200
#define GL_LESS 0x0201
#define GL_EQUAL 0x0202
#define GL_LEQUAL 0x0203
#define GL_GREATER 0x0204
#define GL_NOTEQUAL 0x0205
#define GL_GEQUAL 0x0206
#define GL_ALWAYS 0x0207
#define GL_SRC_COLOR 0x0300
#define GL_ONE_MINUS_SRC_COLOR 0x0301
#define GL_SRC_ALPHA 0x0302
#define GL_ONE_MINUS_SRC_ALPHA 0x0303
#define GL_DST_ALPHA 0x0304
#define GL_ONE_MINUS_DST_ALPHA 0x0305
#define GL_DST_COLOR 0x0306
#define GL_ONE_MINUS_DST_COLOR 0x0307
#define GL_SRC_ALPHA_SATURATE 0x0308

// shading and hints
#define GL_FLAT 0x1D00
#define GL_SMOOTH 0x1D01
#define GL_PERSPECTIVE_CORRECTION_HINT 0x0C50
#define GL_DONT_CARE 0x1100
#define GL_FASTEST 0x1101
#define GL_NICEST 0x1102

// matrices
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_TEXTURE 0x1702

// display lists
#define GL_COMPILE 0x1300
#define GL_COMPILE_AND_EXECUTE 0x1301

// attribute stack bits
#define GL_CURRENT_BIT 0x00000001
#define GL_ENABLE_BIT 0x00002000
#define GL_LIST_BIT 0x00020000
#define GL_TRANSFORM_BIT 0x00001000
#define GL_TEXTURE_BIT 0x00040000
#define GL_ALL_ATTRIB_BITS 0x000FFFFF
#define GL_CLIENT_PIXEL_STORE_BIT 0x00000001
#define GL_CLIENT_ALL_ATTRIB_BITS 0xFFFFFFFF

// pixel store
#define GL_UNPACK_SWAP_BYTES 0x0CF0
#define GL_UNPACK_LSB_FIRST 0x0CF1
#define GL_UNPACK_ROW_LENGTH 0x0CF2
#define GL_UNPACK_SKIP_ROWS 0x0CF3
#define GL_UNPACK_SKIP_PIXELS 0x0CF4
#define GL_UNPACK_ALIGNMENT 0x0CF5
#define GL_PACK_SWAP_BYTES 0x0D00
#define GL_PACK_LSB_FIRST 0x0D01
#define GL_PACK_ROW_LENGTH 0x0D02
#define GL_PACK_SKIP_ROWS 0x0D03
#define GL_PACK_SKIP_PIXELS 0x0D04
#define GL_PACK_ALIGNMENT 0x0D05

// pixel formats
#define GL_ALPHA 0x1906
#define GL_RGB 0x1907
#define GL_RGBA 0x1908
#define GL_LUMINANCE 0x1909
#define GL_LUMINANCE_ALPHA 0x190A
#define GL_RGB8 0x8051
#define GL_RGBA8 0x8058

// textures
#define GL_TEXTURE_ENV 0x2300
#define GL_TEXTURE_ENV_MODE 0x2200
#define GL_MODULATE 0x2100
#define GL_DECAL 0x2101
#define GL_REPLACE 0x1E01
#define GL_NEAREST 0x2600
#define GL_LINEAR 0x2601
#define GL_NEAREST_MIPMAP_NEAREST 0x2700
#define GL_LINEAR_MIPMAP_NEAREST 0x2701
#define GL_NEAREST_MIPMAP_LINEAR 0x2702
#define GL_LINEAR_MIPMAP_LINEAR 0x2703
#define GL_TEXTURE_MAG_FILTER 0x2800
#define GL_TEXTURE_MIN_FILTER 0x2801
#define GL_TEXTURE_WRAP_S 0x2802
#define GL_TEXTURE_WRAP_T 0x2803
#define GL_CLAMP 0x2900
#define GL_REPEAT 0x2901
#define GL_TEXTURE_WIDTH 0x1000
#define GL_TEXTURE_HEIGHT 0x1001
#define GL_TEXTURE_INTERNAL_FORMAT 0x1003

// state queries
#define GL_CURRENT_COLOR 0x0B00
#define GL_CURRENT_NORMAL 0x0B02
#define GL_CURRENT_TEXTURE_COORDS 0x0B03
#define GL_LIST_BASE 0x0B32
#define GL_LIST_INDEX 0x0B33
#define GL_LIST_MODE 0x0B30
#define GL_CULL_FACE_MODE 0x0B45
#define GL_FRONT_FACE 0x0B46
#define GL_SHADE_MODEL 0x0B54
#define GL_DEPTH_CLEAR_VALUE 0x0B73
#define GL_DEPTH_FUNC 0x0B74
#define GL_MATRIX_MODE 0x0BA0
#define GL_VIEWPORT 0x0BA2
#define GL_MODELVIEW_STACK_DEPTH 0x0BA3
#define GL_PROJECTION_STACK_DEPTH 0x0BA4
#define GL_TEXTURE_STACK_DEPTH 0x0BA5
#define GL_MODELVIEW_MATRIX 0x0BA6
#define GL_PROJECTION_MATRIX 0x0BA7
#define GL_TEXTURE_MATRIX 0x0BA8
#define GL_ATTRIB_STACK_DEPTH 0x0BB0
#define GL_CLIENT_ATTRIB_STACK_DEPTH 0x0BB1
#define GL_BLEND_DST 0x0BE0
#define GL_BLEND_SRC 0x0BE1
#define GL_COLOR_CLEAR_VALUE 0x0C22
#define GL_MAX_LIST_NESTING 0x0B31
#define GL_MAX_CLIP_PLANES 0x0D32
#define GL_MAX_TEXTURE_SIZE 0x0D33
#define GL_MAX_MODELVIEW_STACK_DEPTH 0x0D36
#define GL_MAX_PROJECTION_STACK_DEPTH 0x0D38
#define GL_MAX_TEXTURE_STACK_DEPTH 0x0D39
#define GL_MAX_ATTRIB_STACK_DEPTH 0x0D35
#define GL_MAX_CLIENT_ATTRIB_STACK_DEPTH 0x0D3B
#define GL_TEXTURE_BINDING_2D 0x8069

// strings
#define GL_VENDOR 0x1F00
#define GL_RENDERER 0x1F01
#define GL_VERSION 0x1F02
#define GL_EXTENSIONS 0x1F03

#endif  // GL11_LAYER_SOURCE

// ---- entry points --------------------------------------------------------------------------------

// immediate mode
GLAPI void GLAPIENTRY gl11Begin(GLenum mode);
GLAPI void GLAPIENTRY gl11End(void);
GLAPI void GLAPIENTRY gl11Vertex2d(GLdouble x, GLdouble y);
GLAPI void GLAPIENTRY gl11Vertex2f(GLfloat x, GLfloat y);
GLAPI void GLAPIENTRY gl11Vertex3d(GLdouble x, GLdouble y, GLdouble z);
GLAPI void GLAPIENTRY gl11Vertex3f(GLfloat x, GLfloat y, GLfloat z);
GLAPI void GLAPIENTRY gl11Vertex3fv(const GLfloat* v);
GLAPI void GLAPIENTRY gl11Color3f(GLfloat red, GLfloat green, GLfloat blue);
GLAPI void GLAPIENTRY gl11Color4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
GLAPI void GLAPIENTRY gl11Normal3d(GLdouble nx, GLdouble ny, GLdouble nz);
GLAPI void GLAPIENTRY gl11Normal3f(GLfloat nx, GLfloat ny, GLfloat nz);
GLAPI void GLAPIENTRY gl11TexCoord2d(GLdouble s, GLdouble t);
GLAPI void GLAPIENTRY gl11TexCoord2f(GLfloat s, GLfloat t);
GLAPI void GLAPIENTRY gl11TexCoord2fv(const GLfloat* v);
GLAPI void GLAPIENTRY gl11Rectd(GLdouble x1, GLdouble y1, GLdouble x2, GLdouble y2);

// matrices
GLAPI void GLAPIENTRY gl11MatrixMode(GLenum mode);
GLAPI void GLAPIENTRY gl11LoadIdentity(void);
GLAPI void GLAPIENTRY gl11PushMatrix(void);
GLAPI void GLAPIENTRY gl11PopMatrix(void);
GLAPI void GLAPIENTRY gl11Translated(GLdouble x, GLdouble y, GLdouble z);
GLAPI void GLAPIENTRY gl11Translatef(GLfloat x, GLfloat y, GLfloat z);
GLAPI void GLAPIENTRY gl11Rotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z);
GLAPI void GLAPIENTRY gl11Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
GLAPI void GLAPIENTRY gl11Scaled(GLdouble x, GLdouble y, GLdouble z);
GLAPI void GLAPIENTRY gl11Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
                                GLdouble zFar);
GLAPI void GLAPIENTRY gl11Viewport(GLint x, GLint y, GLsizei width, GLsizei height);

// state
GLAPI void GLAPIENTRY gl11Enable(GLenum cap);
GLAPI void GLAPIENTRY gl11Disable(GLenum cap);
GLAPI GLboolean GLAPIENTRY gl11IsEnabled(GLenum cap);
GLAPI void GLAPIENTRY gl11BlendFunc(GLenum sfactor, GLenum dfactor);
GLAPI void GLAPIENTRY gl11DepthFunc(GLenum func);
GLAPI void GLAPIENTRY gl11CullFace(GLenum mode);
GLAPI void GLAPIENTRY gl11ShadeModel(GLenum mode);
GLAPI void GLAPIENTRY gl11Hint(GLenum target, GLenum mode);
GLAPI void GLAPIENTRY gl11ClipPlane(GLenum plane, const GLdouble* equation);
GLAPI void GLAPIENTRY gl11GetClipPlane(GLenum plane, GLdouble* equation);
GLAPI void GLAPIENTRY gl11PushAttrib(GLbitfield mask);
GLAPI void GLAPIENTRY gl11PopAttrib(void);
GLAPI void GLAPIENTRY gl11PushClientAttrib(GLbitfield mask);
GLAPI void GLAPIENTRY gl11PopClientAttrib(void);
GLAPI void GLAPIENTRY gl11PixelStorei(GLenum pname, GLint param);

// frame buffer
GLAPI void GLAPIENTRY gl11Clear(GLbitfield mask);
GLAPI void GLAPIENTRY gl11ClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
GLAPI void GLAPIENTRY gl11ClearDepth(GLclampd depth);
GLAPI void GLAPIENTRY gl11ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                                     GLvoid* pixels);
GLAPI void GLAPIENTRY gl11Finish(void);
GLAPI void GLAPIENTRY gl11Flush(void);

// display lists
GLAPI GLuint GLAPIENTRY gl11GenLists(GLsizei range);
GLAPI void GLAPIENTRY gl11DeleteLists(GLuint list, GLsizei range);
GLAPI void GLAPIENTRY gl11NewList(GLuint list, GLenum mode);
GLAPI void GLAPIENTRY gl11EndList(void);
GLAPI void GLAPIENTRY gl11CallList(GLuint list);
GLAPI void GLAPIENTRY gl11CallLists(GLsizei n, GLenum type, const GLvoid* lists);
GLAPI void GLAPIENTRY gl11ListBase(GLuint base);

// textures
GLAPI void GLAPIENTRY gl11GenTextures(GLsizei n, GLuint* textures);
GLAPI void GLAPIENTRY gl11DeleteTextures(GLsizei n, const GLuint* textures);
GLAPI void GLAPIENTRY gl11BindTexture(GLenum target, GLuint texture);
GLAPI void GLAPIENTRY gl11TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                                     GLint border, GLenum format, GLenum type, const GLvoid* pixels);
GLAPI void GLAPIENTRY gl11TexParameteri(GLenum target, GLenum pname, GLint param);
GLAPI void GLAPIENTRY gl11TexEnvi(GLenum target, GLenum pname, GLint param);
GLAPI void GLAPIENTRY gl11GetTexParameteriv(GLenum target, GLenum pname, GLint* params);
GLAPI void GLAPIENTRY gl11GetTexLevelParameteriv(GLenum target, GLint level, GLenum pname, GLint* params);

// queries
GLAPI GLenum GLAPIENTRY gl11GetError(void);
GLAPI void GLAPIENTRY gl11GetIntegerv(GLenum pname, GLint* params);
GLAPI void GLAPIENTRY gl11GetFloatv(GLenum pname, GLfloat* params);
GLAPI void GLAPIENTRY gl11GetDoublev(GLenum pname, GLdouble* params);
GLAPI const GLubyte* GLAPIENTRY gl11GetString(GLenum name);

// ---- the standard names --------------------------------------------------------------------------
#ifndef GL11_LAYER_SOURCE

#define glBegin gl11Begin
#define glEnd gl11End
#define glVertex2d gl11Vertex2d
#define glVertex2f gl11Vertex2f
#define glVertex3d gl11Vertex3d
#define glVertex3f gl11Vertex3f
#define glVertex3fv gl11Vertex3fv
#define glColor3f gl11Color3f
#define glColor4f gl11Color4f
#define glNormal3d gl11Normal3d
#define glNormal3f gl11Normal3f
#define glTexCoord2d gl11TexCoord2d
#define glTexCoord2f gl11TexCoord2f
#define glTexCoord2fv gl11TexCoord2fv
#define glRectd gl11Rectd
#define glMatrixMode gl11MatrixMode
#define glLoadIdentity gl11LoadIdentity
#define glPushMatrix gl11PushMatrix
#define glPopMatrix gl11PopMatrix
#define glTranslated gl11Translated
#define glTranslatef gl11Translatef
#define glRotated gl11Rotated
#define glRotatef gl11Rotatef
#define glScaled gl11Scaled
#define glOrtho gl11Ortho
#define glViewport gl11Viewport
#define glEnable gl11Enable
#define glDisable gl11Disable
#define glIsEnabled gl11IsEnabled
#define glBlendFunc gl11BlendFunc
#define glDepthFunc gl11DepthFunc
#define glCullFace gl11CullFace
#define glShadeModel gl11ShadeModel
#define glHint gl11Hint
#define glClipPlane gl11ClipPlane
#define glGetClipPlane gl11GetClipPlane
#define glPushAttrib gl11PushAttrib
#define glPopAttrib gl11PopAttrib
#define glPushClientAttrib gl11PushClientAttrib
#define glPopClientAttrib gl11PopClientAttrib
#define glPixelStorei gl11PixelStorei
#define glClear gl11Clear
#define glClearColor gl11ClearColor
#define glClearDepth gl11ClearDepth
#define glReadPixels gl11ReadPixels
#define glFinish gl11Finish
#define glFlush gl11Flush
#define glGenLists gl11GenLists
#define glDeleteLists gl11DeleteLists
#define glNewList gl11NewList
#define glEndList gl11EndList
#define glCallList gl11CallList
#define glCallLists gl11CallLists
#define glListBase gl11ListBase
#define glGenTextures gl11GenTextures
#define glDeleteTextures gl11DeleteTextures
#define glBindTexture gl11BindTexture
#define glTexImage2D gl11TexImage2D
#define glTexParameteri gl11TexParameteri
#define glTexEnvi gl11TexEnvi
#define glGetTexParameteriv gl11GetTexParameteriv
#define glGetTexLevelParameteriv gl11GetTexLevelParameteriv
#define glGetError gl11GetError
#define glGetIntegerv gl11GetIntegerv
#define glGetFloatv gl11GetFloatv
#define glGetDoublev gl11GetDoublev
#define glGetString gl11GetString
#endif  // GL11_LAYER_SOURCE

#ifdef __cplusplus
}
#endif

#endif  // GL11_GL_H
