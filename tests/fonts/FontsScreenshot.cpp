// Draws a line in each kind of font on the GUI plane, as the demonstration's camera sees it at
// rest, and writes the picture as a PNG: fonts_screenshot <out.png>.
//
// The built-in font comes from the program's resources and the grid font's texture from
// default/defaultfont.tga when they exist; otherwise stand-ins rasterised here with FreeType are
// used, so the picture can be made before the art is.
#include "FontTestSupport.h"
#include "GLGUI.h"
#include "GLTextures.h"
#include "Resources.h"

#include <GL/glu.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Renders `glyphs` characters from code `first` on into a grid of `cell`-pixel squares,
// `cellsPerRow` to a row: white RGBA with the coverage in alpha, top row first. Each
// character's advance in pixels goes to (*advances)[code] when asked for.
std::vector<uint8_t> RasteriseGrid(const std::string& file, int cellsPerRow, int cell, int imageSide, int first,
                                   int glyphs, int pixelSize, std::vector<uint8_t>* advances) {
  std::vector<uint8_t> rgba(size_t(imageSide) * imageSide * 4, 0);
  for (size_t k = 0; k < rgba.size(); k += 4) rgba[k] = rgba[k + 1] = rgba[k + 2] = 255;
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) return rgba;
  FT_Face face = nullptr;
  if (FT_New_Face(lib, file.c_str(), 0, &face) == 0) {
    FT_Set_Pixel_Sizes(face, 0, pixelSize);
    for (int i = 0; i < glyphs; ++i) {
      const int code = first + i;
      const uint32_t cp = Cp1250ToUnicode(uint8_t(code));
      if (FT_Load_Char(face, cp, FT_LOAD_RENDER) != 0) continue;
      const FT_GlyphSlot g = face->glyph;
      if (advances) (*advances)[code] = uint8_t(std::min<long>(g->advance.x >> 6, 255));
      const int cx = (i % cellsPerRow) * cell, cy = (i / cellsPerRow) * cell;
      const int baseline = cy + cell * 3 / 4;
      for (unsigned r = 0; r < g->bitmap.rows; ++r)
        for (unsigned c = 0; c < g->bitmap.width; ++c) {
          const int x = cx + g->bitmap_left + int(c), y = baseline - g->bitmap_top + int(r);
          if (x < cx || x >= cx + cell || y < cy || y >= cy + cell) continue;
          rgba[(size_t(y) * imageSide + x) * 4 + 3] = g->bitmap.buffer[r * size_t(g->bitmap.pitch) + c];
        }
    }
    FT_Done_Face(face);
  }
  FT_Done_FreeType(lib);
  return rgba;
}

void LoadBuiltinFont() {
  ResourceBlob blob{};
  if (FindProgramResource("BFF", "BUILTINFONT", &blob)) {
    LoadBFFont(BuiltinFont, blob.Data, blob.Size);
    return;
  }
  std::fprintf(stderr, "no BUILTINFONT resource: using a FreeType stand-in\n");
  std::vector<uint8_t> widths(256, 6);
  const auto rgba =
      RasteriseGrid(fonttest::FontFileFor("DejaVu Sans", 700), 15, 17, 256, 32, 224, 12, &widths);
  auto blob2 = fonttest::MakeBffBlob(256, 256, 17, 17, 32, 32, widths.data());
  std::memcpy(blob2.data() + 276, rgba.data(), rgba.size());
  LoadBFFont(BuiltinFont, blob2.data(), blob2.size());
}

GLuint LoadGridTexture() {
  GLuint texture = 0;
  if (access("default/defaultfont.tga", R_OK) == 0 && LoadImageTexture("default\\defaultfont.tga", texture, false))
    return texture;
  std::fprintf(stderr, "no default/defaultfont.tga: using a FreeType stand-in\n");
  auto rgba = RasteriseGrid(fonttest::FontFileFor("DejaVu Sans Mono", 700), 16, 32, 512, 32, 224, 26, nullptr);
  // Grid fonts read cell row 0 at the top of the texture (t = 1): store the image bottom row first.
  std::vector<uint8_t> flipped(rgba.size());
  for (int y = 0; y < 512; ++y) std::memcpy(&flipped[size_t(511 - y) * 2048], &rgba[size_t(y) * 2048], 2048);
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 512, 512, 0, GL_RGBA, GL_UNSIGNED_BYTE, flipped.data());
  return texture;
}

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

  LoadBuiltinFont();
  const GLuint gridTexture = LoadGridTexture();
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
