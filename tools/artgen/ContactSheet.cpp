// The contact sheet: every generated picture, and panels, buttons and text drawn from them the way
// the toolkit draws them (same pieces, same texture coordinates, bilinear sampling), at the size
// of the 1024 x 768 virtual space and at the size a 640 x 480 window shows.
#include <cstring>

#include "Art.h"

namespace {

const Rgba kSheetBackground = MakeRgb(92, 96, 104);
const Rgba kLabel = MakeRgb(228, 232, 240);

void Checkerboard(Canvas& sheet, int x, int y, int w, int h) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const bool dark = ((i / 8) + (j / 8)) % 2 == 0;
      if (sheet.Inside(x + i, y + j)) sheet.At(x + i, y + j) = dark ? MakeRgb(62, 66, 74) : MakeRgb(84, 88, 96);
    }
}

// Shows an image at an integer zoom, nearest texel, over a checkerboard.
void ShowImage(Canvas& sheet, const Canvas& image, int x, int y, int zoom) {
  Checkerboard(sheet, x, y, image.Width * zoom, image.Height * zoom);
  for (int j = 0; j < image.Height * zoom; ++j)
    for (int i = 0; i < image.Width * zoom; ++i) sheet.BlendOver(x + i, y + j, image.At(i / zoom, j / zoom));
}

struct Piece {
  // Offsets: base (0 = from left/top, 1 = from right/bottom) and amount.
  int X0Base, X0, X1Base, X1, Y0Base, Y0, Y1Base, Y1;
  double S0, S1, T0, T1;
};

// One textured quad given in virtual pixels relative to (left, top), scaled by `scale`.
void PieceQuad(Canvas& sheet, const Canvas& art, double left, double top, double scale, int w,
               int h, const Piece& p, const Rgba& colour) {
  const double x0 = p.X0Base ? w - p.X0 : p.X0, x1 = p.X1Base ? w - p.X1 : p.X1;
  const double y0 = p.Y0Base ? h - p.Y0 : p.Y0, y1 = p.Y1Base ? h - p.Y1 : p.Y1;
  DrawTexturedQuad(sheet, art, Wrap::Repeat, left + x0 * scale, top + y0 * scale, left + x1 * scale,
                   top + y1 * scale, p.S0, p.T0, p.S1, p.T1, colour);
}

void DrawPanel(Canvas& sheet, const Canvas& art, double left, double top, double scale, int w,
               int h, bool header, bool footer, const Rgba& colour) {
  const bool both = header && footer;
  const Piece topLeft = header ? Piece{0, 0, 0, 63, 0, 0, 0, 27, 0, 0.5, 1, 0.7890625}
                               : Piece{0, 0, 0, 20, 0, 0, 0, 27, 0.21875, 0.375, 0.4609375, 0.2421875};
  const Piece topMiddle = header ? Piece{0, 63, 1, 32, 0, 0, 0, 27, 0.5, 0.75, 1, 0.7890625}
                                 : Piece{0, 20, 1, 20, 0, 0, 0, 27, 0.171875, 0.203125, 0.4609375, 0.2421875};
  const Piece topRight = header ? Piece{1, 32, 1, 0, 0, 0, 0, 27, 0.75, 1, 1, 0.7890625}
                                : Piece{1, 20, 1, 0, 0, 0, 0, 27, 0.4140625, 0.5703125, 0.4609375, 0.2421875};
  const Piece leftEdge = both ? Piece{0, 0, 0, 7, 0, 27, 1, 27, 0, 0.0546875, 0.7890625, 0.2109375}
                              : Piece{0, 0, 0, 9, 0, 27, 1, 27, 0.078125, 0.1484375, 0.453125, 0.390625};
  const Piece rightEdge = both ? Piece{1, 7, 1, 0, 0, 27, 1, 27, 0.9453125, 1, 0.7890625, 0.2109375}
                               : Piece{1, 9, 1, 0, 0, 27, 1, 27, 0.1484375, 0.078125, 0.453125, 0.390625};
  const Piece bottomLeft = footer ? Piece{0, 0, 0, 63, 1, 27, 1, 0, 0, 0.5, 0.2109375, 0}
                                  : Piece{0, 0, 0, 20, 1, 27, 1, 0, 0.578125, 0.734375, 0.453125, 0.234375};
  const Piece bottomMiddle = footer ? Piece{0, 63, 1, 32, 1, 27, 1, 0, 0.5, 0.75, 0.2109375, 0}
                                    : Piece{0, 20, 1, 20, 1, 27, 1, 0, 0.203125, 0.171875, 0.2421875, 0.4609375};
  const Piece bottomRight = footer ? Piece{1, 32, 1, 0, 1, 27, 1, 0, 0.75, 1, 0.2109375, 0}
                                   : Piece{1, 20, 1, 0, 1, 27, 1, 0, 0.7734375, 0.9296875, 0.453125, 0.234375};
  for (const Piece& p : {topLeft, topMiddle, topRight, leftEdge, rightEdge, bottomLeft, bottomMiddle, bottomRight})
    PieceQuad(sheet, art, left, top, scale, w, h, p, colour);
  if (header) PieceQuad(sheet, art, left, top, scale, w, h, Piece{1, 22, 1, 6, 0, 8, 0, 24, 0.8125, 0.9375, 0.75, 0.625}, colour);
  // Inner fill from the one fill texel.
  Piece fill{0, 9, 1, 9, 0, 27, 1, 27, 0.2890625, 0.296875, 0.3203125, 0.3125};
  if (both) fill = Piece{0, 7, 1, 7, 0, 26, 1, 26, 0.2890625, 0.296875, 0.3203125, 0.3125};
  else if (footer) fill.Y1 = 26;
  PieceQuad(sheet, art, left, top, scale, w, h, fill, colour);
}

void DrawButton(Canvas& sheet, const Canvas& art, double left, double top, double scale, int w,
                int h, int stateRow, double blend, const Rgba& colour) {
  const double rows[3][2] = {{1, 2.0 / 3}, {2.0 / 3, 1.0 / 3}, {1.0 / 3, 0}};
  const double s[4] = {0, 85.0 / 256, 170.0 / 256, 1};
  auto pass = [&](int row, double alpha) {
    Rgba c = colour;
    c.A = static_cast<float>(alpha);
    const double xs[4] = {0, 20, w - 20.0, double(w)};
    for (int i = 0; i < 3; ++i)
      DrawTexturedQuad(sheet, art, Wrap::Repeat, left + xs[i] * scale, top, left + xs[i + 1] * scale,
                       top + h * scale, s[i], rows[row][0], s[i + 1], rows[row][1], c);
  };
  pass(stateRow, blend);
  pass(1, 1 - blend);
}

// Text in the built-in font; `texel` is the size of one font texel in sheet pixels. The blob's
// first row is the texture's row t = 0, while the canvas sampler counts t from its bottom row.
void DrawBuiltinText(Canvas& sheet, const Canvas& font, double x, double top, double texel,
                     const char* text, const Rgba& colour) {
  const double cell = 17.0 / 256;
  double pen = 0;
  for (const char* p = text; *p; ++p) {
    const int c = static_cast<unsigned char>(*p);
    const int i = c - 32, row = i / 15, column = i - row * 15;
    DrawTexturedQuad(sheet, font, Wrap::ClampToEdge, x + pen * texel, top, x + (pen + 17) * texel,
                     top + 17 * texel, column * cell, 1 - row * cell, (column + 1) * cell, 1 - (row + 1) * cell, colour);
    pen += kBuiltinFontWidths[c];
  }
}

// Text in a grid font of the given size, pen line at `baseline`, in virtual pixels times scale.
void DrawGridText(Canvas& sheet, const Canvas& font, double x, double baseline, int size, double scale,
                  const char* text, const Rgba& colour) {
  const double unit = 512.0 / 0.552 * scale;  // sheet pixels per plane unit
  const double g = size / 500.0 * unit, advance = size / 760.0 * unit;
  double pen = x;
  for (const char* p = text; *p; ++p) {
    const int i = static_cast<unsigned char>(*p) - 32;
    const double cx = (i % 16) / 16.0, cy = (i / 16) / 16.0;
    DrawTexturedQuad(sheet, font, Wrap::Repeat, pen, baseline - g, pen + g, baseline, cx, 1 - cy,
                     cx + 0.0625, 1 - cy - 0.0625, colour);
    pen += advance;
  }
}

}  // namespace

Canvas MakeContactSheet(const Canvas& panel, const Canvas& button, const Canvas& cursor,
                        const Canvas& cursorPressed, const Canvas& builtinFont,
                        const Canvas& defaultGridFont, const Canvas& altGridFont,
                        const Canvas& about, const Canvas& engineAbout, const FontFace& labelFace) {
  Canvas sheet(1240, 1330, kSheetBackground);
  auto label = [&](int x, int y, const char* text) { DrawFaceText(sheet, labelFace, 13, x, y, text, kLabel); };
  const Rgba white = MakeRgb(255, 255, 255);

  // Panel art and panels.
  label(10, 20, "panel.tga (x3)");
  ShowImage(sheet, panel, 10, 28, 3);
  label(410, 20, "panels as drawn, virtual pixels: header+footer, header, footer, plain");
  DrawPanel(sheet, panel, 410, 30, 1, 200, 200, true, true, white);
  DrawPanel(sheet, panel, 620, 30, 1, 200, 200, true, false, white);
  DrawPanel(sheet, panel, 830, 30, 1, 200, 200, false, true, white);
  DrawPanel(sheet, panel, 1040, 30, 1, 190, 200, false, false, white);
  DrawPanel(sheet, panel, 410, 245, 1, 210, 170, true, true, MakeRgb(255, 255, 255, 0.85f));
  DrawPanel(sheet, panel, 440, 275 + 25, 1, 100, 100, false, false, MakeRgb(255, 0, 0));
  DrawPanel(sheet, panel, 635, 245, 1, 595, 120, false, false, white);
  DrawGridText(sheet, defaultGridFont, 665, 300, 16, 1, "wellcome to the veltro demo", MakeRgb(255, 255, 0));
  DrawGridText(sheet, defaultGridFont, 665, 340, 16, 1, "version 0.15", MakeRgb(255, 255, 0, 0.6f));
  DrawPanel(sheet, panel, 1050, 402, 1, 84, 110, true, true, MakeRgb(128, 160, 255));
  DrawPanel(sheet, panel, 1144, 402, 1, 84, 110, false, false, MakeRgb(140, 255, 160, 0.9f));
  label(635, 395, "at 640 x 480 window scale:");
  DrawPanel(sheet, panel, 635, 402, 0.625, 200, 200, true, true, white);
  DrawPanel(sheet, panel, 770, 402, 0.625, 200, 200, true, false, white);
  DrawPanel(sheet, panel, 905, 402, 0.625, 200, 200, false, false, white);

  // Buttons.
  const int by = 560;
  label(10, by - 8, "button.tga");
  ShowImage(sheet, button, 10, by, 1);
  label(290, by - 8, "normal, hover, pressed, half-way fade (190 x 30 and 200 x 40)");
  const char* names[4] = {"normal", "hover", "pressed", "fading"};
  for (int k = 0; k < 4; ++k) {
    const int row = k == 2 ? 2 : 0;
    const double blend = k == 1 ? 0.0 : (k == 3 ? 0.5 : 1.0);
    const double x = 290, y = by + 10 + k * 50;
    DrawButton(sheet, button, x, y, 1, 190, 30, row, blend, white);
    DrawBuiltinText(sheet, builtinFont, x + 29, y - 1.5, 1.855, names[k], MakeRgb(255, 255, 128));
    DrawButton(sheet, button, x + 210, y - 5, 1, 200, 40, row, blend, white);
    DrawBuiltinText(sheet, builtinFont, x + 239, y - 5, 1.855, "button 1", MakeRgb(255, 255, 128));
    DrawButton(sheet, button, x + 430, y, 0.625, 190, 30, row, blend, white);
    DrawBuiltinText(sheet, builtinFont, x + 430 + 18, y - 1, 1.855 * 0.625, "exit", MakeRgb(255, 255, 128));
  }

  // Cursors.
  label(880, by - 8, "cursors (x4, and as drawn)");
  ShowImage(sheet, cursor, 880, by, 4);
  ShowImage(sheet, cursorPressed, 1020, by, 4);
  DrawTexturedQuad(sheet, cursor, Wrap::ClampToBorder, 880, by + 140, 880 + 37, by + 177, 0, 1, 1, 0, white);
  DrawTexturedQuad(sheet, cursorPressed, Wrap::ClampToBorder, 940, by + 140, 940 + 37, by + 177, 0, 1, 1, 0, white);
  DrawTexturedQuad(sheet, cursor, Wrap::ClampToBorder, 1000, by + 140, 1000 + 23, by + 163, 0, 1, 1, 0, white);

  // Fonts.
  const int fy = 980;
  label(10, fy - 8, "built-in font (BFF)");
  Canvas dark(256, 256, MakeRgb(24, 28, 36));
  dark.Paste(builtinFont, 0, 0, true);
  ShowImage(sheet, dark, 10, fy, 1);
  label(280, fy - 8, "default/defaultfont.tga");
  Canvas dark2(256, 256, MakeRgb(24, 28, 36));
  dark2.Paste(defaultGridFont, 0, 0, true);
  ShowImage(sheet, dark2, 280, fy, 1);
  label(550, fy - 8, "default/font.tga");
  Canvas dark3(256, 256, MakeRgb(24, 28, 36));
  dark3.Paste(altGridFont, 0, 0, true);
  ShowImage(sheet, dark3, 550, fy, 1);

  const int sx = 820;
  label(sx, fy - 8, "text as drawn (virtual pixels)");
  DrawBuiltinText(sheet, builtinFont, sx, fy, 512.0 / 0.552 / 600, "FPS: 1234  The quick brown fox", white);
  DrawBuiltinText(sheet, builtinFont, sx, fy + 26, 512.0 / 0.552 / 600, "jumps over the lazy dog 0123456789", white);
  DrawBuiltinText(sheet, builtinFont, sx, fy + 52, 512.0 / 0.552 / 600, "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p \x80 \xA9", MakeRgb(255, 255, 128));
  DrawGridText(sheet, defaultGridFont, sx, fy + 110, 10, 1, "- a panelek mozgathatok", MakeRgb(0, 255, 0, 0.8f));
  DrawGridText(sheet, defaultGridFont, sx, fy + 150, 16, 1, "change font size", MakeRgb(255, 0, 128));
  DrawGridText(sheet, altGridFont, sx, fy + 190, 16, 1, "change font texture", MakeRgb(255, 0, 204));
  DrawGridText(sheet, defaultGridFont, sx, fy + 225, 16, 0.625, "wellcome to the veltro demo", MakeRgb(255, 255, 0));
  DrawGridText(sheet, defaultGridFont, sx, fy + 245, 10, 0.625, "- szulo-gyermek kapcsolat", MakeRgb(0, 255, 0, 0.8f));

  label(10, 1262, "about.jpg, engineabout.jpg");
  ShowImage(sheet, about, 10, 1270, 1);
  ShowImage(sheet, engineAbout, 150, 1270, 1);
  return sheet;
}
