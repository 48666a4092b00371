// The toolkit's three kinds of font: the built-in proportional bitmap font (BFF blob, drawn in
// immediate mode by DrawText), texture-grid fonts and system outline fonts (display lists).
#include "BFFont.h"
#include "GLGUI.h"
#include "GLTextures.h"
#include "GUIShared.h"
#include "PlaneMapping.h"
#include "Win32Calls.h"
#include "WinFonts.h"

#include <GL/glu.h>

#include <cstring>

TGUIBFFont BuiltinFont;
GLYPHMETRICSFLOAT SystemFontMetrics[256] = {};

namespace {

constexpr GLint kClampToEdge = 0x812F;
// Font images are small; a larger size in a header is taken as garbage rather than allocated.
constexpr int32_t kMaxImageSide = 4096;

}  // namespace

void LoadBFFont(TGUIBFFont& font, const uint8_t* blob, size_t length) {
  GLint maxSide = 0;
  if (blob && length >= 20) glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  const int32_t limit = maxSide > 0 && maxSide < kMaxImageSide ? maxSide : kMaxImageSide;
  BFFImage image;
  if (!ParseBFFont(font, blob, length, limit, image)) return;

  GLenum format = GL_LUMINANCE;
  if (image.Bits == 24) format = GL_RGB;
  if (image.Bits == 32) format = GL_RGBA;
  glGenTextures(1, &font.Texture);
  glBindTexture(GL_TEXTURE_2D, font.Texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, kClampToEdge);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, kClampToEdge);
  // The rows are packed tightly.
  const TTightUnpacking tight;
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.Width, image.Height, 0, format,
               GL_UNSIGNED_BYTE, image.Texels.data());
}

namespace gui_detail {

void EmitBFFontRun(const TGUIBFFont& font, const std::string& text, double ox, double oy, double texelsPerUnit) {
  int64_t pen = 0;
  const bool haveWidths = font.Widths.size() >= 256;
  for (const char ch : text) {
    const uint8_t c = static_cast<uint8_t>(ch);
    const int32_t i = static_cast<int32_t>(c) - font.BaseChar;
    // A font that was never loaded has no rows: everything sits in row 0.
    const int32_t row = font.CellsPerRow > 0 ? i / font.CellsPerRow : 0;
    const int32_t column = i - row * font.CellsPerRow;
    const double s0 = column * font.CellTexWidth;
    const double t0 = row * font.CellTexHeight;
    const double s1 = s0 + font.CellTexWidth;
    const double t1 = t0 + font.CellTexHeight;
    const double x0 = ox + static_cast<double>(pen) / texelsPerUnit;
    const double x1 = ox + static_cast<double>(pen + font.CellWidth) / texelsPerUnit;
    const double y0 = oy;
    const double y1 = oy + static_cast<double>(font.GlyphHeight) / texelsPerUnit;
    glTexCoord2d(s0, t1);
    glVertex2d(x0, y0);
    glTexCoord2d(s1, t1);
    glVertex2d(x1, y0);
    glTexCoord2d(s1, t0);
    glVertex2d(x1, y1);
    glTexCoord2d(s0, t0);
    glVertex2d(x0, y1);
    if (haveWidths) pen += font.Widths[c];
  }
}

}  // namespace gui_detail

void DrawText(int32_t x, int32_t y, const std::string& text) {
  const TGUIBFFont& f = BuiltinFont;
  const double ox = gui_plane::TextOriginX(x);
  const double oy = gui_plane::TextOriginY(y);

  GLint matrixMode = GL_MODELVIEW;
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  if (matrixMode != GL_MODELVIEW) glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  gluLookAt(0, 0, 1, 0, 0, 0, 0, 1, 0);

  glBindTexture(GL_TEXTURE_2D, f.Texture);
  glBegin(GL_QUADS);
  gui_detail::EmitBFFontRun(f, text, ox, oy, 600);
  glEnd();

  glPopMatrix();
  if (matrixMode != GL_MODELVIEW) glMatrixMode(static_cast<GLenum>(matrixMode));
}

bool CreateGridFont(TGUIBMPFONT& font, uint8_t size) {
  font.Size = size;
  // No lists (no context, or none left): the font stays empty rather than writing over the
  // lists that start at name 0 + i, which belong to other fonts.
  font.ListBase = static_cast<int32_t>(glGenLists(256));
  if (font.ListBase <= 0) {
    font.ListBase = 0;
    return false;
  }
  const double g = size / 500.0;
  const double advance = size / 380.0 / 2;
  for (int i = 0; i < 256; ++i) {
    const float cx = static_cast<float>(i % 16) / 16.0f;
    const float cy = static_cast<float>(i / 16) / 16.0f;
    glNewList(static_cast<GLuint>(font.ListBase + i), GL_COMPILE);
    glBegin(GL_QUADS);
    glTexCoord2f(cx, 1 - cy - 0.0625f);
    glVertex3d(0, 0, 0);
    glTexCoord2f(cx + 0.0625f, 1 - cy - 0.0625f);
    glVertex3d(g, 0, 0);
    glTexCoord2f(cx + 0.0625f, 1 - cy);
    glVertex3d(g, g, 0);
    glTexCoord2f(cx, 1 - cy);
    glVertex3d(0, g, 0);
    glEnd();
    glTranslated(advance, 0, 0);
    glEndList();
  }
  return true;
}

bool CreateSystemFont(TGUISYSFONT& font, const std::string& face, int32_t weight, bool outline, double extrusion,
                      HDC dc) {
  font = static_cast<TGUISYSFONT>(glGenLists(256));
  if (font <= 0) {
    font = 0;
    return false;
  }
  // The texts are code page 1250 bytes: the East European character set makes WGL read them so
  // (with ANSI_CHARSET, Windows reads code page 1252 and draws \xFB as u-circumflex, not u with a
  // double acute).
  HFONT gdiFont = CreateFontA(-14, 0, 0, 0, weight, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET, OUT_TT_PRECIS,
                              CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  SelectObject(dc, gdiFont);
  return wglUseFontOutlinesA(dc, 0, 255, static_cast<DWORD>(font), 0.0f, static_cast<float>(extrusion),
                             outline ? WGL_FONT_LINES : WGL_FONT_POLYGONS, SystemFontMetrics) != FALSE;
}
