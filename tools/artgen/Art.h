// The toolkit's pictures, sounds and fonts, each made from nothing but code and the pinned fonts.
#pragma once

#include <cstdint>
#include <vector>

#include "Canvas.h"
#include "Glyphs.h"

// Advance of every character code of the built-in bitmap font, in texels.
extern const uint8_t kBuiltinFontWidths[256];

constexpr int kBuiltinCell = 17;
constexpr int kBuiltinImage = 256;
constexpr int kGridImage = 256;
constexpr int kGridCell = kGridImage / 16;

Canvas MakePanelArt();                    // 128 x 128, layout of the panel's frame table
Canvas MakeButtonArt();                   // 256 x 384: normal, hover and pressed bars
Canvas MakeCursorArt(bool pressed);       // 32 x 32 arrow, tip at the top-left texel
// 256 x 256, 17 x 17 cells from code 32; a few narrow letters are drawn from the monospaced face.
Canvas MakeBuiltinFont(const FontFace& face, const FontFace& monospaced);
// 16 x 16 cells from code 32 at the top-left; glyphs in the left part of each cell.
Canvas MakeGridFont(const FontFace& face, int pixelSize, double embolden, double widen);

std::vector<int16_t> MakeHoverSound(int sampleRate);
Canvas MakeAboutPicture(const FontFace& bold, const FontFace& regular);
Canvas MakeEngineAboutPicture(const FontFace& bold, const FontFace& regular);

// Everything on one sheet: panel art and simulated panels, buttons, cursors and fonts.
Canvas MakeContactSheet(const Canvas& panel, const Canvas& button, const Canvas& cursor,
                        const Canvas& cursorPressed, const Canvas& builtinFont,
                        const Canvas& defaultGridFont, const Canvas& altGridFont,
                        const Canvas& about, const Canvas& engineAbout, const FontFace& labelFace);

// Draws white text onto a canvas with a FreeType face (labels of the sheet, the JPEG pictures).
void DrawFaceText(Canvas& target, const FontFace& face, int pixelSize, int x, int baseline,
                  const char* text, const Rgba& colour);
