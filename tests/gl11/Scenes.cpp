// The named scenes of Scenes.h (and, drawn directly, every primitive mode and texture format). This file is compiled
// once, against the system's <GL/gl.h>, and linked both into the reference program on OpenGL and into the layer's
// test, where its GL calls, like the toolkit's, are the layer's.
#include "Scenes.h"

#include "DemoFrame.h"
#include "ElementScreen.h"
#include "GLGUI.h"
#include "GLTextures.h"
#include "GLWindow.h"
#include "Offscreen.h"
#include "PlatformHooks.h"
#include "main.h"

#include <GL/glu.h>

#include <functional>
#include <map>

namespace {

constexpr int kWidth = 640, kHeight = 480;

std::vector<std::string> gBoxes;

int RecordBox(const char* text, const char* caption, UINT) {
  gBoxes.push_back(std::string(caption ? caption : "") + ": " + (text ? text : ""));
  return IDOK;
}

void ResetInput() {
  ScreenWidth = kWidth;
  ScreenHeight = kHeight;
  MouseX = PrevMouseX = kWidth / 2;
  MouseY = PrevMouseY = kHeight / 2 - 1;
  MouseLeft = MouseMiddle = MouseRight = 0;
  MouseVirtualX = 512;
  MouseVirtualY = 382;
  FrameTime = 0;
  FPS = 0;
  Dragging = false;
}

// The window's GL set-up and projection as the shell makes them, and the camera at rest.
void PlaneCamera() {
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  ResizeViewport(kWidth, kHeight);
  glLoadIdentity();
  gluLookAt(0, 0, 1, 0, 0, 0, 0, 1, 0);
}

// The GUI state of the demonstration's frame: textures on, no depth test, back faces culled.
void GuiState() {
  glEnable(GL_TEXTURE_2D);
  glDepthFunc(GL_ALWAYS);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glClearColor(0.28f, 0.3f, 0.33f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// ---- the demonstration's pages ---------------------------------------------------------------------

// Builds the demo as its window does, shows `page` (a demoframe page), and draws the frame the
// mouse at (x, y) gives after `frames` frames of `frameTime` ms.
void DemoFrame(int page, int x, int y, bool pressed, uint32_t frameTime, int frames,
               const std::function<void()>& beforeLast = {}) {
  ResetInput();
  demoframe::BuildDemo(kWidth, kHeight);
  demoframe::ShowPage(page, x, y);
  MouseLeft = pressed ? 1 : 0;
  FrameTime = frameTime;
  for (int i = 0; i < frames; ++i) {
    if (i == frames - 1 && beforeLast) beforeLast();
    DrawScene();
  }
  glFinish();
  demoframe::FreeDemo();
}

// ---- the elements in their states ----------------------------------------------------------------

// The GUI tests' screen of elements with every state added, drawn in the demonstration's GUI state.
void Elements(bool pressed) {
  ResetInput();
  PlaneCamera();
  GuiState();
  ElementScreen elements(true);
  elements.DrawFrames(120, pressed);
}

// ---- fonts -------------------------------------------------------------------------------------------

// A line in each kind of font: the built-in bitmap font (DrawText), grid fonts in both sizes and
// both textures (one through signed list names, as a caller may give them), filled and line
// outline fonts, and an extruded outline font turned so that its sides show, with depth test.
void Fonts() {
  ResetInput();
  PlaneCamera();
  glClearColor(0.16f, 0.17f, 0.2f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  InitGUI("default", kWidth, kHeight, nullptr, false);
  GLuint gridTexture = 0, altTexture = 0;
  LoadImageTexture("default\\defaultfont.tga", gridTexture, false);
  LoadImageTexture("default\\font.tga", altTexture, false);
  TGUIBMPFONT grid16{}, grid10{};
  CreateGridFont(grid16, 16);
  CreateGridFont(grid10, 10);
  TGUISYSFONT comic = 0, outline = 0, extruded = 0;
  CreateSystemFont(comic, "Comic Sans MS", 700, false, 0.0, nullptr);
  CreateSystemFont(outline, "Arial", 400, true, 0.0, nullptr);
  CreateSystemFont(extruded, "DejaVu Serif", 400, false, 0.3, nullptr);
  const std::string hungarian = "\xE9 \xE1 \xFB \xFA \xF5 \xF3 \xFC \xF6";

  glColor4f(1, 1, 1, 1);
  DrawText(40, 40, "Built-in bitmap font: The quick brown fox 0123456789");
  DrawText(40, 70, hungarian);

  auto grid = [](const TGUIBMPFONT& font, GLuint texture, double x, double y, const std::string& text,
                 bool signedNames) {
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, texture);
    glTranslated(x, y, 0);
    if (signedNames) {
      glListBase(GLuint(font.ListBase - 32));
      glCallLists(GLsizei(text.size()), GL_BYTE, text.data());
    } else {
      glListBase(GLuint(font.ListBase));
      std::vector<uint8_t> cells;
      for (char c : text) cells.push_back(static_cast<uint8_t>(static_cast<uint8_t>(c) - 32));
      glCallLists(GLsizei(cells.size()), GL_UNSIGNED_BYTE, cells.data());
    }
    glPopMatrix();
  };
  glColor4f(1, 1, 0.6f, 1);
  grid(grid16, gridTexture, -0.5, 0.2, "Grid font 16: Sphinx of black quartz", false);
  glColor4f(0.6f, 1, 0.8f, 0.8f);
  grid(grid10, altTexture, -0.5, 0.14, "Grid font 10 on the other texture, signed names", true);

  auto system = [](TGUISYSFONT font, double x, double y, double s, const std::string& text) {
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, 0);
    glTranslated(x, y, 0);
    glScaled(s, s, s);
    glListBase(GLuint(font));
    glCallLists(GLsizei(text.size()), GL_UNSIGNED_BYTE, text.data());
    glPopMatrix();
  };
  glColor4f(1, 1, 1, 1);
  system(comic, -0.5, 0.02, 0.06, "Filled outline: Comic " + hungarian);
  glColor4f(0.5f, 0.9f, 1, 1);
  system(outline, -0.5, -0.08, 0.06, "Line outline: Arial " + hungarian);

  // The extruded font, turned about y and lit by a plain colour: front and sides under depth test.
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glClear(GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  glTranslated(-0.45, -0.3, -0.2);
  glRotated(35, 0, 1, 0);
  glRotated(-20, 1, 0, 0);
  glColor4f(0.9f, 0.6f, 0.3f, 1);
  system(extruded, 0, 0, 0.1, "Extruded");
  glPopMatrix();
  glDisable(GL_DEPTH_TEST);
  glFinish();
}

// ---- clip planes ---------------------------------------------------------------------------------

TGUIscreen* Screen;
TGUIpanel *Wide, *Tall;
TGUIBmpLabel* Label;

// Panels reaching past every edge of the GUI plane, which the screen's four clip planes cut off;
// under a turned and moved camera, so that the planes are taken to eye space with a modelview
// that is not the identity and cut in perspective.
void ClipPlanes(double turnY, double turnX) {
  ResetInput();
  PlaneCamera();
  glTranslated(0, 0, -0.3);
  glRotated(turnY, 0, 1, 0);
  glRotated(turnX, 1, 0, 0);
  GuiState();
  glClearColor(0.1f, 0.1f, 0.1f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  InitGUI("default", kWidth, kHeight, nullptr, false);
  Screen = new TGUIscreen();
  Wide = new TGUIpanel(-300, 100, 1300, 400, 1, 1, 1, 0.9, TGUISlot(&Screen));
  Wide->HasHeader = true;
  Tall = new TGUIpanel(600, -200, 900, 1000, 0.6, 0.8, 1, 0.9, TGUISlot(&Screen));
  Tall->HasFooter = true;
  Screen->Add(TGUISlot(&Wide));
  Screen->Add(TGUISlot(&Tall));
  Screen->Draw();
  // Plain geometry past the plane's corner with the planes given by hand, and one turned off.
  const double plane[4] = {1, 0, 0, 0.2};
  glClipPlane(GL_CLIP_PLANE0, plane);
  glEnable(GL_CLIP_PLANE0);
  glBindTexture(GL_TEXTURE_2D, 0);
  glBegin(GL_TRIANGLES);
  glColor4f(1, 0.3f, 0.2f, 0.8f);
  glVertex3d(-0.7, -0.5, 0.01);
  glColor4f(0.2f, 1, 0.3f, 0.8f);
  glVertex3d(0.1, -0.45, 0.01);
  glColor4f(0.3f, 0.2f, 1, 0.8f);
  glVertex3d(-0.3, 0.1, 0.01);
  glEnd();
  glDisable(GL_CLIP_PLANE0);
  glFinish();
  delete Wide;
  delete Tall;
  delete Screen;
}

// ---- the attribute stack ---------------------------------------------------------------------------

// A grid-font label pushes GL_LIST_BIT | GL_ENABLE_BIT, turns the depth test off and sets its list
// base, then pops: after it, the depth test must be on again (a quad behind the first stays
// hidden) and the list base the caller's (lists called through it draw the caller's glyphs).
void AttribStack() {
  ResetInput();
  PlaneCamera();
  glClearColor(0.2f, 0.2f, 0.25f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_TEXTURE_2D);
  InitGUI("default", kWidth, kHeight, nullptr, false);
  GLuint gridTexture = 0;
  LoadImageTexture("default\\defaultfont.tga", gridTexture, false);
  TGUIBMPFONT grid{};
  CreateGridFont(grid, 16);

  // A quad in front, under the depth test.
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glBindTexture(GL_TEXTURE_2D, 0);
  glColor4f(0.2f, 0.5f, 0.9f, 1);
  glBegin(GL_QUADS);
  glVertex3d(-0.3, -0.3, 0.05);
  glVertex3d(0.3, -0.3, 0.05);
  glVertex3d(0.3, 0.1, 0.05);
  glVertex3d(-0.3, 0.1, 0.05);
  glEnd();

  // The caller's own list base: its lists are the stars of a small list set of its own.
  const GLuint marks = glGenLists(2);
  glNewList(marks, GL_COMPILE);
  glBegin(GL_TRIANGLES);
  glVertex2d(0, 0);
  glVertex2d(0.04, 0);
  glVertex2d(0.02, 0.04);
  glEnd();
  glTranslated(0.06, 0, 0);
  glEndList();
  glNewList(marks + 1, GL_COMPILE);
  glCallList(marks);  // nested
  glColor4f(1, 0.2f, 0.2f, 1);
  glCallList(marks);
  glEndList();
  glListBase(marks);

  Screen = new TGUIscreen();
  Wide = new TGUIpanel(100, 100, 900, 300, 1, 1, 1, 0.8, TGUISlot(&Screen));
  Screen->Add(TGUISlot(&Wide));
  Label = new TGUIBmpLabel(40, 60, grid, gridTexture, "Depth test off for me only", 1, 1, 0, 1, TGUISlot(&Wide));
  Wide->AddChild(TGUISlot(&Label));
  Label->Draw();  // the label alone, under the caller's depth test
  delete Label;
  delete Wide;
  delete Screen;

  // A quad behind the first: hidden where they overlap if the depth test came back.
  glBindTexture(GL_TEXTURE_2D, 0);
  glColor4f(0.9f, 0.8f, 0.2f, 1);
  glBegin(GL_QUADS);
  glVertex3d(-0.1, -0.4, -0.05);
  glVertex3d(0.5, -0.4, -0.05);
  glVertex3d(0.5, 0.0, -0.05);
  glVertex3d(-0.1, 0.0, -0.05);
  glEnd();

  // Lists through the restored base: offsets 1, 0, 1 with the colour the lists leave.
  glDisable(GL_DEPTH_TEST);
  glColor4f(0.3f, 1, 0.3f, 1);
  glPushMatrix();
  glTranslated(-0.45, -0.38, 0);
  const uint8_t offsets[] = {1, 0, 1};
  glCallLists(3, GL_UNSIGNED_BYTE, offsets);
  glPopMatrix();
  glListBase(0);
  glDeleteLists(marks, 2);
  glFinish();
}

// ---- drawn with GL calls alone -------------------------------------------------------------------

// An orthographic view of 8 cells across and `rows` up, cleared to dark grey.
void CellView(int rows) {
  ResetInput();
  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 8, 0, rows, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0.1f, 0.1f, 0.1f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// ---- every primitive ----------------------------------------------------------------------------

// Each primitive mode with a colour per vertex, smooth and then flat shaded (where the provoking
// vertex differs between modes), in an orthographic view of 8 x 4 cells.
void Primitives() {
  CellView(4);
  const GLenum modes[] = {GL_POINTS,         GL_LINES,        GL_LINE_STRIP, GL_LINE_LOOP,  GL_TRIANGLES,
                          GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN, GL_QUADS,      GL_QUAD_STRIP, GL_POLYGON};
  // Six points around a cell, in an order that makes a convex outline for fans and polygons and
  // a band for strips.
  const double ring[6][2] = {{0.1, 0.1}, {0.9, 0.1}, {0.9, 0.5}, {0.9, 0.9}, {0.1, 0.9}, {0.1, 0.5}};
  const double band[6][2] = {{0.1, 0.1}, {0.1, 0.9}, {0.5, 0.1}, {0.5, 0.9}, {0.9, 0.1}, {0.9, 0.9}};
  const float colours[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
  for (int flat = 0; flat < 2; ++flat) {
    glShadeModel(flat ? GL_FLAT : GL_SMOOTH);
    for (int i = 0; i < 10; ++i) {
      const GLenum mode = modes[i];
      const bool strip = mode == GL_TRIANGLE_STRIP || mode == GL_QUAD_STRIP;
      const int cell = flat * 10 + i;
      glPushMatrix();
      // Off the pixel grid: a point right on a pixel corner is a tie that Mesa's OpenGL and
      // OpenGL ES break differently.
      glTranslated(cell % 8 + 0.003, cell / 8 + 0.003, 0);
      glBegin(mode);
      for (int v = 0; v < 6; ++v) {
        glColor3f(colours[v][0], colours[v][1], colours[v][2]);
        const double* p = strip ? band[v] : mode == GL_QUADS && v >= 4 ? band[v] : ring[v];
        glVertex2d(p[0], p[1]);
      }
      glEnd();
      glPopMatrix();
    }
  }
  glShadeModel(GL_SMOOTH);
  glRectd(4.2, 2.2, 4.8, 2.8);
  glFinish();
}

// ---- texture formats ---------------------------------------------------------------------------

// Small textures in each format and internal format the layer takes, unpacked with odd row
// lengths, alignments and skips, under each texture environment mode and both wraps, drawn
// magnified over a coloured background with blending.
void TextureFormats() {
  CellView(6);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  // Bytes of a 7 x 5 image with up to four components, padded to rows of 8 pixels and one row
  // and pixel skipped.
  std::vector<uint8_t> bytes(8 * 6 * 4);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>((i * 73 + 41) % 256);
  struct Kind {
    GLenum format;
    GLint internal;
    int components;
  };
  const Kind kinds[] = {{GL_RGBA, GL_RGBA, 4},      {GL_RGB, 3, 3},          {GL_LUMINANCE, 1, 1},
                        {GL_LUMINANCE_ALPHA, 2, 2}, {GL_ALPHA, GL_ALPHA, 1}, {GL_RGBA, GL_RGB8, 4},
                        {GL_RGB, GL_LUMINANCE, 3},  {GL_RGBA, GL_ALPHA, 4}};
  const GLint envs[] = {GL_MODULATE, GL_REPLACE, GL_DECAL};
  std::vector<GLuint> names;
  glEnable(GL_TEXTURE_2D);
  for (int k = 0; k < 8; ++k) {
    GLuint t = 0;
    glGenTextures(1, &t);
    names.push_back(t);
    glBindTexture(GL_TEXTURE_2D, t);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, k % 2 ? 1 : 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 8);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 1);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, kinds[k].internal, 7, 5, 0, kinds[k].format, GL_UNSIGNED_BYTE, bytes.data());
    glPopClientAttrib();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, k % 3 ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, k % 3 ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, k % 2 ? GL_CLAMP : GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    for (int e = 0; e < 3; ++e) {
      if (envs[e] == GL_DECAL && kinds[k].internal != GL_RGBA && kinds[k].internal != 3) continue;
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envs[e]);
      const double x = k, y = e * 2;
      glBegin(GL_QUADS);
      glColor4f(1, 0.5f, 0.2f, 0.9f);
      glTexCoord2f(-0.2f, -0.2f);
      glVertex2d(x + 0.05, y + 0.05);
      glColor4f(0.2f, 1, 0.5f, 0.7f);
      glTexCoord2f(1.2f, -0.2f);
      glVertex2d(x + 0.95, y + 0.05);
      glColor4f(0.5f, 0.2f, 1, 1);
      glTexCoord2f(1.2f, 1.2f);
      glVertex2d(x + 0.95, y + 1.85);
      glColor4f(1, 1, 1, 0.5f);
      glTexCoord2f(-0.2f, 1.2f);
      glVertex2d(x + 0.05, y + 1.85);
      glEnd();
    }
  }
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
  glFinish();
}

// ---- GL_CLAMP under each filter ------------------------------------------------------------------

// A texture quad in a cell's corner, its coordinates past [0, 1] by `over` on each side, so that
// the border shows.
void ClampedQuad(double x, double y, double size, double over) {
  glBegin(GL_QUADS);
  glTexCoord2d(-over, -over);
  glVertex2d(x, y);
  glTexCoord2d(1 + over, -over);
  glVertex2d(x + size, y);
  glTexCoord2d(1 + over, 1 + over);
  glVertex2d(x + size, y + size);
  glTexCoord2d(-over, 1 + over);
  glVertex2d(x, y + size);
  glEnd();
}

// A 32 x 32 texture with mipmaps wrapped with GL_CLAMP under each pair of filters, magnified
// (a texel 20 pixels wide) and, where the minifying filter takes level 0 alone, minified (a texel
// a third of a pixel).
void ClampFilters() {
  CellView(6);
  std::vector<uint8_t> rgba(32 * 32 * 4);
  for (size_t i = 0; i < rgba.size(); i += 4) {
    const size_t x = i / 4 % 32, y = i / 4 / 32;
    rgba[i] = static_cast<uint8_t>(x * 8), rgba[i + 1] = static_cast<uint8_t>(y * 8);
    rgba[i + 2] = static_cast<uint8_t>((x ^ y) & 1 ? 255 : 96), rgba[i + 3] = 255;
  }
  GLuint t = 0;
  glGenTextures(1, &t);
  glBindTexture(GL_TEXTURE_2D, t);
  gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, 32, 32, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnable(GL_TEXTURE_2D);
  const GLint mins[] = {GL_NEAREST,
                        GL_LINEAR,
                        GL_NEAREST_MIPMAP_NEAREST,
                        GL_LINEAR_MIPMAP_NEAREST,  //
                        GL_NEAREST_MIPMAP_LINEAR,
                        GL_LINEAR_MIPMAP_LINEAR};
  int cell = 0;
  for (const GLint min : mins) {
    for (const GLint mag : {GL_NEAREST, GL_LINEAR}) {
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
      glMatrixMode(GL_TEXTURE);
      glLoadIdentity();
      glScaled(0.125, 0.125, 1);  // four texels across the quad
      glMatrixMode(GL_MODELVIEW);
      ClampedQuad(cell % 8 + 0.05, cell / 8 + 0.05, 0.9, 0.5);
      glMatrixMode(GL_TEXTURE);
      glLoadIdentity();
      glMatrixMode(GL_MODELVIEW);
      if (min == GL_NEAREST || min == GL_LINEAR) ClampedQuad(cell % 8 + 0.05, cell / 8 + 3.05, 0.4, 0.3);
      // A texel of 1/1.2 pixel, where a mipmap filter of the nearest level still takes level 0.
      if (min == GL_NEAREST_MIPMAP_NEAREST || min == GL_LINEAR_MIPMAP_NEAREST)
        ClampedQuad(cell % 8 + 0.05, cell / 8 + 3.05, 0.5333, 0.3);
      ++cell;
    }
  }
  glDisable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glDeleteTextures(1, &t);
  glFinish();
}

// ---- contexts ------------------------------------------------------------------------------------

// A 2 x 2 texture of two colours, nearest filtered; its name.
GLuint Checker(const uint8_t a[4], const uint8_t b[4]) {
  uint8_t rgba[16];
  for (int i = 0; i < 4; ++i)
    for (int c = 0; c < 4; ++c) rgba[i * 4 + c] = (i == 0 || i == 3 ? a : b)[c];
  GLuint t = 0;
  glGenTextures(1, &t);
  glBindTexture(GL_TEXTURE_2D, t);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  return t;
}

void TexturedSquare(double x, double y, double size) {
  glBegin(GL_QUADS);
  glTexCoord2d(0, 0);
  glVertex2d(x, y);
  glTexCoord2d(2, 0);
  glVertex2d(x + size, y);
  glTexCoord2d(2, 2);
  glVertex2d(x + size, y + size);
  glTexCoord2d(0, 2);
  glVertex2d(x, y + size);
  glEnd();
}

// The scene's context sets its state and a list once, and draws with them before and after a second
// context was made, drew with names and settings of its own and went, and a third was made and went
// meanwhile; the second context's picture is shown beside, through a texture.
void Contexts() {
  Offscreen* const scene = Offscreen::Current();
  CellView(6);
  glBegin(GL_QUADS);  // a background of many colours
  glColor3f(0.2f, 0.1f, 0.6f);
  glVertex2d(0, 0);
  glColor3f(0.9f, 0.3f, 0.1f);
  glVertex2d(8, 0);
  glColor3f(0.1f, 0.8f, 0.4f);
  glVertex2d(8, 6);
  glColor3f(0.7f, 0.7f, 0.9f);
  glVertex2d(0, 6);
  glEnd();
  const uint8_t red[4] = {220, 40, 40, 255}, green[4] = {40, 200, 60, 160};
  Checker(red, green);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor3f(1, 1, 0.6f);
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  TexturedSquare(0.2, 0.2, 1.6);
  glTranslated(2, 0, 0);
  glEndList();
  glCallList(list);
  std::vector<uint8_t> second;
  {
    Offscreen other(64, 64);
    glClearColor(0.1f, 0.1f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const uint8_t white[4] = {255, 255, 255, 255}, blue[4] = {30, 60, 230, 255};
    Checker(white, blue);  // the same name as the scene's texture
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 1, 0, 1, -1, 1);
    TexturedSquare(0.1, 0.1, 0.8);
    { Offscreen third(8, 8); }
    other.MakeCurrent();
    second = other.Pixels();
  }
  if (!scene || !scene->MakeCurrent()) return;
  glCallList(list);
  glCallList(list);
  GLuint shot = 0;
  glGenTextures(1, &shot);
  glBindTexture(GL_TEXTURE_2D, shot);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, second.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glDisable(GL_BLEND);
  glColor3f(1, 1, 1);
  glLoadIdentity();
  glTranslated(0, 3, 0);
  glScaled(0.5, 0.5, 1);
  TexturedSquare(0.2, 0.2, 4);
  glDeleteLists(list, 1);
  glDisable(GL_TEXTURE_2D);
  glFinish();
}

// ---- what the layer keeps from one draw to the next ------------------------------------------------

// A square of one colour, flat, at depth z (the view's depth range is -1 to 1).
void FlatSquare(double x, double y, double size, double z, const float colour[3]) {
  glColor3f(colour[0], colour[1], colour[2]);
  glBegin(GL_QUADS);
  glVertex3d(x, y, z);
  glVertex3d(x + size, y, z);
  glVertex3d(x + size, y + size, z);
  glVertex3d(x, y + size, z);
  glEnd();
}

// The second time round of what the layer keeps instead of asking OpenGL ES again: a texture
// deleted while bound and a new one bound under its name, the clear depth changed after a clear
// and changed back, GL_CLAMP textures of two sizes under one state, one value of a clip plane
// changed between draws under the same state, and one blend factor changed at a time.
void Caches() {
  CellView(4);
  const uint8_t red[4] = {230, 40, 40, 255}, green[4] = {40, 220, 60, 255}, blue[4] = {40, 60, 230, 255};
  const uint8_t white[4] = {250, 250, 250, 255};
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  GLuint first = Checker(red, white);
  TexturedSquare(0.1, 0.1, 0.8);
  glDeleteTextures(1, &first);
  const GLuint again = Checker(green, white);  // GL and the layer both give the freed name again
  TexturedSquare(1.1, 0.1, 0.8);

  // Two sizes of a GL_CLAMP texture, magnified, one after the other under the same state.
  GLuint sized[2] = {};
  for (int k = 0; k < 2; ++k) {
    sized[k] = Checker(k ? blue : red, white);
    std::vector<uint8_t> texels(size_t(4 + 4 * k) * 2 * 4);
    for (size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<uint8_t>(i * 37 + 90 * k);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4 + 4 * k, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  }
  for (int k = 0; k < 2; ++k) {
    glBindTexture(GL_TEXTURE_2D, sized[k]);
    ClampedQuad(3.05 + k, 0.05, 0.9, 0.3);
  }
  // Back to the texture made under the freed name, after others were bound.
  glBindTexture(GL_TEXTURE_2D, again);
  TexturedSquare(2.1, 0.1, 0.8);
  glDisable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

  // The clear depth: the first clear sends it; a changed one must reach the next clear, which
  // hides what is drawn behind it, and so must its return.
  const float yellow[3] = {0.9f, 0.8f, 0.1f}, cyan[3] = {0.1f, 0.8f, 0.9f};
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glClearDepth(1.0);
  glClear(GL_DEPTH_BUFFER_BIT);
  FlatSquare(0.1, 1.1, 0.8, 0.2, yellow);
  glClearDepth(0.25);
  glClear(GL_DEPTH_BUFFER_BIT);
  FlatSquare(1.1, 1.1, 0.8, 0.2, yellow);   // behind the cleared depth: hidden
  FlatSquare(2.1, 1.1, 0.8, -0.8, cyan);    // in front of it
  glClearDepth(1.0);
  glClear(GL_DEPTH_BUFFER_BIT);
  FlatSquare(3.1, 1.1, 0.8, 0.2, yellow);
  glDisable(GL_DEPTH_TEST);

  // One clip plane, one of its values changed between two draws of the same state.
  const float magenta[3] = {0.8f, 0.2f, 0.8f};
  glEnable(GL_CLIP_PLANE0);
  for (int k = 0; k < 3; ++k) {
    const double plane[4] = {-1, 0, 0, 0.5 + k + 0.25 * k + 4};  // x < 4.5 + 1.25 k
    glClipPlane(GL_CLIP_PLANE0, plane);
    FlatSquare(4.1 + k, 1.1, 0.8, 0, magenta);
  }
  glDisable(GL_CLIP_PLANE0);

  // The blend factors, changed one at a time: the destination's, then the source's.
  const GLenum factors[3][2] = {{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}, {GL_SRC_ALPHA, GL_ONE}, {GL_ONE, GL_ONE}};
  glEnable(GL_BLEND);
  glColor4f(0.6f, 0.3f, 0.1f, 0.5f);
  for (int k = 0; k < 3; ++k) {
    glBlendFunc(factors[k][0], factors[k][1]);
    glRectd(0.1 + k, 2.1, 0.9 + k, 2.9);
  }
  glDisable(GL_BLEND);
  glDeleteTextures(1, &again);
  glDeleteTextures(2, sized);
  glFinish();
}

// Primitives of one list in a row, where each must not join the draw before it: points, lines and
// triangles, and a quad with its own colour after one that takes the current colour. And two
// textured squares under the same state but for the texture matrix.
void ListRuns() {
  CellView(4);
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glBegin(GL_POINTS);
  for (int i = 0; i < 4; ++i) glVertex2d(0.2 + 0.2 * i + 0.003, 0.1 + 0.003);
  glEnd();
  glBegin(GL_LINES);
  glVertex2d(0.1 + 0.003, 0.3 + 0.003);
  glVertex2d(0.9 + 0.003, 0.9 + 0.003);
  glEnd();
  glBegin(GL_TRIANGLES);
  glVertex2d(0.1, 0.5);
  glVertex2d(0.5, 0.5);
  glVertex2d(0.1, 0.9);
  glEnd();
  glRectd(1.1, 0.1, 1.9, 0.9);  // the current colour
  glBegin(GL_QUADS);            // its own, shaded in x and y alike whichever diagonal splits it
  const double corners[4][2] = {{2.1, 0.1}, {2.9, 0.1}, {2.9, 0.9}, {2.1, 0.9}};
  for (const auto& c : corners) {
    glColor3f(0.5f * float(c[0] - 2.1), 0.9f, 0.9f - 0.5f * float(c[1] - 0.1));
    glVertex2d(c[0], c[1]);
  }
  glEnd();
  glEndList();
  for (int k = 0; k < 2; ++k) {
    glColor3f(0.9f, 0.3f * k, 0.2f);
    glLoadIdentity();
    glTranslated(0, k, 0);
    glCallList(list);
  }
  glLoadIdentity();
  glDeleteLists(list, 1);

  const uint8_t red[4] = {230, 40, 40, 255}, white[4] = {250, 250, 250, 255};
  const GLuint checker = Checker(red, white);
  glEnable(GL_TEXTURE_2D);
  for (int k = 0; k < 2; ++k) {
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScaled(2 + k, 1 + 2 * k, 1);  // never the identity: only the matrix differs
    glMatrixMode(GL_MODELVIEW);
    TexturedSquare(4.1 + k, 0.1, 0.8);
  }
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_TEXTURE_2D);
  glDeleteTextures(1, &checker);
  glFinish();
}

const std::map<std::string, std::function<void()>>& Table() {
  static const std::map<std::string, std::function<void()>> table = {
      {"demo_start", [] { DemoFrame(demoframe::kStartPage, 320, 239, false, 0, 2); }},
      {"demo_start_hover", [] { DemoFrame(demoframe::kStartPage, 60, 20, false, 60, 3); }},
      {"demo_panels", [] { DemoFrame(demoframe::kPanelPage, 200, 260, false, 0, 2); }},
      {"demo_text", [] { DemoFrame(demoframe::kTextPage, 500, 300, false, 0, 2); }},
      {"demo_buttons_hover", [] { DemoFrame(demoframe::kButtonPage, 125, 119, false, 40, 3); }},
      {"demo_buttons_pressed", [] { DemoFrame(demoframe::kButtonPage, 125, 144, true, 40, 3); }},
      {"demo_transition",
       [] {
         DemoFrame(demoframe::kTextPage, 500, 100, false, 0, 1, [] {
           ZoomDistance = 1.5;
           ZoomingOut = 0;
           ZoomMouseX = 700;
           ZoomMouseY = 200;
         });
         ZoomDistance = 0;
       }},
      {"elements", [] { Elements(false); }},
      {"elements_pressed", [] { Elements(true); }},
      {"fonts", Fonts},
      {"clip_planes", [] { ClipPlanes(25, -15); }},
      {"clip_planes_straight", [] { ClipPlanes(0, 0); }},
      {"attrib_stack", AttribStack},
      {"primitives", Primitives},
      {"texture_formats", TextureFormats},
      {"clamp_filters", ClampFilters},
      {"contexts", Contexts},
      {"caches", Caches},
      {"list_runs", ListRuns},
  };
  return table;
}

}  // namespace

int SceneWidth() { return kWidth; }
int SceneHeight() { return kHeight; }

std::vector<std::string> SceneNames() {
  std::vector<std::string> names;
  for (const auto& entry : Table()) names.push_back(entry.first);
  return names;
}

bool DrawNamedScene(const std::string& name, std::vector<std::string>& messages) {
  const auto it = Table().find(name);
  if (it == Table().end()) return false;
  gBoxes.clear();
  SetMessageBoxHook(RecordBox);
  it->second();
  for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError()) gBoxes.push_back("GL error " + std::to_string(e));
  SetMessageBoxHook(nullptr);
  messages = gBoxes;
  return true;
}
