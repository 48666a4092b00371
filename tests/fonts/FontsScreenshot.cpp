// Draws a line in each kind of font on the GUI plane, as the demonstration's camera sees it at
// rest, and writes the picture as a PNG: fonts_screenshot <out.png>.
// The built-in font comes from the program's resources, the grid font's texture from
// default/defaultfont.tga.
#include "GLGUI.h"
#include "GLHarness.h"
#include "GLTextures.h"
#include "Resources.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A grid-font line as a bitmap-font label draws it: lists ListBase - 32 + c, signed bytes.
void GridLine(const TGUIBMPFONT& font, GLuint texture, double x, double y, const std::string& text) {
  glPushMatrix();
  glBindTexture(GL_TEXTURE_2D, texture);
  glTranslated(x, y, 0);
  glListBase(GLuint(font.ListBase - 32));
  glCallLists(GLsizei(text.size()), GL_BYTE, text.data());
  glPopMatrix();
}

// A system-font line as a system-font label draws it: untextured, scaled em glyphs.
void SystemLine(TGUISYSFONT font, double x, double y, double sx, double sy, const std::string& text) {
  glPushMatrix();
  glBindTexture(GL_TEXTURE_2D, 0);
  glTranslated(x, y, 0);
  glScaled(sx, sy, 0);
  glListBase(GLuint(font));
  glCallLists(GLsizei(text.size()), GL_UNSIGNED_BYTE, text.data());
  glPopMatrix();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fonts_screenshot <out.png>\n");
    return 2;
  }
  char cwd[4096] = ".";
  if (!getcwd(cwd, sizeof cwd)) std::strcpy(cwd, ".");
  const std::string out = argv[1][0] == '/' ? std::string(argv[1]) : std::string(cwd) + "/" + argv[1];
  if (chdir(GLGUI_SOURCE_DIR) != 0) return 1;  // data files are read relative to the checkout

  testgl::HeadlessGL gl(640, 480);
  if (!gl.Ok()) {
    std::fprintf(stderr, "%s\n", gl.Error().c_str());
    return 1;
  }
  testgl::UsePlaneCamera(gl);
  glClearColor(0.16f, 0.17f, 0.2f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

  ResourceBlob blob{};
  GLuint gridTexture = 0;
  if (!FindProgramResource("BFF", "BUILTINFONT", &blob) ||
      !LoadImageTexture("default\\defaultfont.tga", gridTexture, false)) {
    std::fprintf(stderr, "no built-in font or grid font texture\n");
    return 1;
  }
  LoadBFFont(BuiltinFont, blob.Data, blob.Size);
  TGUIBMPFONT grid16{}, grid10{};
  CreateGridFont(grid16, 16);
  CreateGridFont(grid10, 10);
  TGUISYSFONT comic = 0, outline = 0;
  CreateSystemFont(comic, "Comic Sans MS", 700, false, 0.0, nullptr);
  CreateSystemFont(outline, "Arial", 400, true, 0.0, nullptr);

  const std::string hungarian = "\xE9 \xE1 \xFB \xFA \xF5 \xF3 \xFC \xF6";  // é á ű ú ő ó ü ö (code page 1250)

  glColor4f(1, 1, 1, 1);
  DrawText(20, 20, "TGUIBFFont via DrawText: GUI DEMO     60 FPS");
  DrawText(20, 60, "The quick brown fox jumps over the lazy dog 0123456789");

  glColor4f(1, 0.3f, 0.6f, 1);
  GridLine(grid16, gridTexture, -0.52, 0.22, "TGUIBMPFONT size 16: grid font");
  glColor4f(0, 1, 0, 0.8f);
  GridLine(grid10, gridTexture, -0.52, 0.17, "- size 10: normal bitmap text 0123456789");

  glColor4f(1, 0.5f, 1, 1);
  SystemLine(comic, -0.52, 0.03, 0.06, 0.06, "TGUISYSFONT Comic Sans MS (filled)");
  glColor4f(1, 0.85f, 0.3f, 1);
  SystemLine(comic, -0.52, -0.07, 0.06, 0.06, hungarian);
  glColor4f(0.5f, 0.9f, 1, 1);
  SystemLine(outline, -0.52, -0.19, 0.05, 0.05, "Normal text (outline).  " + hungarian);
  glColor4f(1, 0.2f, 1, 1);
  SystemLine(comic, -0.52, -0.36, 0.1, 0.15, "scaled ");

  if (!gl.SavePng(out)) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("wrote %s\n", out.c_str());
  return 0;
}
