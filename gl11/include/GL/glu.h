// OpenGL 1.1 layer: <GL/glu.h>, the GLU calls the program uses, beside the OpenGL 1.1 subset of
// <GL/gl.h>. The matrix and texture helpers are the layer's own. GLU's tessellator is not: the
// layer declares it here with GLU's names and types, and a program links it from libGLU natively or
// from GLU's libtess compiled for the web.
#ifndef GL11_GLU_H
#define GL11_GLU_H
#define __glu_h__ 1  // keeps a later <GL/glu.h> of the system out

#include <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif

// ---- enumerants ----------------------------------------------------------------------------------

#define GLU_FALSE 0
#define GLU_TRUE 1

#define GLU_VERSION_1_1 1
#define GLU_VERSION_1_2 1
#define GLU_VERSION_1_3 1

// string names
#define GLU_VERSION 100800
#define GLU_EXTENSIONS 100801

// errors
#define GLU_INVALID_ENUM 100900
#define GLU_INVALID_VALUE 100901
#define GLU_OUT_OF_MEMORY 100902
#define GLU_INVALID_OPERATION 100904

// tessellator callbacks
#define GLU_TESS_BEGIN 100100
#define GLU_BEGIN 100100
#define GLU_TESS_VERTEX 100101
#define GLU_VERTEX 100101
#define GLU_TESS_END 100102
#define GLU_END 100102
#define GLU_TESS_ERROR 100103
#define GLU_TESS_EDGE_FLAG 100104
#define GLU_EDGE_FLAG 100104
#define GLU_TESS_COMBINE 100105
#define GLU_TESS_BEGIN_DATA 100106
#define GLU_TESS_VERTEX_DATA 100107
#define GLU_TESS_END_DATA 100108
#define GLU_TESS_ERROR_DATA 100109
#define GLU_TESS_EDGE_FLAG_DATA 100110
#define GLU_TESS_COMBINE_DATA 100111

// tessellator properties, errors and winding rules
#define GLU_TESS_WINDING_RULE 100140
#define GLU_TESS_BOUNDARY_ONLY 100141
#define GLU_TESS_TOLERANCE 100142
#define GLU_TESS_ERROR1 100151
#define GLU_TESS_ERROR2 100152
#define GLU_TESS_ERROR3 100153
#define GLU_TESS_ERROR4 100154
#define GLU_TESS_ERROR5 100155
#define GLU_TESS_ERROR6 100156
#define GLU_TESS_ERROR7 100157
#define GLU_TESS_ERROR8 100158
#define GLU_TESS_MISSING_BEGIN_POLYGON 100151
#define GLU_TESS_MISSING_BEGIN_CONTOUR 100152
#define GLU_TESS_MISSING_END_POLYGON 100153
#define GLU_TESS_MISSING_END_CONTOUR 100154
#define GLU_TESS_COORD_TOO_LARGE 100155
#define GLU_TESS_NEED_COMBINE_CALLBACK 100156
#define GLU_TESS_WINDING_ODD 100130
#define GLU_TESS_WINDING_NONZERO 100131
#define GLU_TESS_WINDING_POSITIVE 100132
#define GLU_TESS_WINDING_NEGATIVE 100133
#define GLU_TESS_WINDING_ABS_GEQ_TWO 100134
#define GLU_TESS_MAX_COORD 1.0e150

// ---- the layer's GLU calls -----------------------------------------------------------------------

GLAPI void GLAPIENTRY gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
GLAPI void GLAPIENTRY gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
                                GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ);
GLAPI void GLAPIENTRY gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top);
GLAPI GLint GLAPIENTRY gluProject(GLdouble objX, GLdouble objY, GLdouble objZ, const GLdouble* model,
                                  const GLdouble* proj, const GLint* view, GLdouble* winX, GLdouble* winY,
                                  GLdouble* winZ);
GLAPI GLint GLAPIENTRY gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height,
                                         GLenum format, GLenum type, const void* data);
GLAPI const GLubyte* GLAPIENTRY gluErrorString(GLenum error);
GLAPI const GLubyte* GLAPIENTRY gluGetString(GLenum name);

// ---- GLU's tessellator, under its real names -----------------------------------------------------

typedef struct GLUtesselator GLUtesselator;
typedef GLUtesselator GLUtesselatorObj;
typedef GLUtesselator GLUtriangulatorObj;
typedef void(GLAPIENTRYP _GLUfuncptr)(void);

GLAPI GLUtesselator* GLAPIENTRY gluNewTess(void);
GLAPI void GLAPIENTRY gluDeleteTess(GLUtesselator* tess);
GLAPI void GLAPIENTRY gluTessBeginPolygon(GLUtesselator* tess, GLvoid* data);
GLAPI void GLAPIENTRY gluTessBeginContour(GLUtesselator* tess);
GLAPI void GLAPIENTRY gluTessVertex(GLUtesselator* tess, GLdouble* location, GLvoid* data);
GLAPI void GLAPIENTRY gluTessEndContour(GLUtesselator* tess);
GLAPI void GLAPIENTRY gluTessEndPolygon(GLUtesselator* tess);
GLAPI void GLAPIENTRY gluTessProperty(GLUtesselator* tess, GLenum which, GLdouble data);
GLAPI void GLAPIENTRY gluTessNormal(GLUtesselator* tess, GLdouble valueX, GLdouble valueY, GLdouble valueZ);
GLAPI void GLAPIENTRY gluTessCallback(GLUtesselator* tess, GLenum which, _GLUfuncptr CallBackFunc);
GLAPI void GLAPIENTRY gluGetTessProperty(GLUtesselator* tess, GLenum which, GLdouble* data);

#ifdef __cplusplus
}
#endif

#endif  // GL11_GLU_H
