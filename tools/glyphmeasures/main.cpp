// glyphmeasures: measures the glyphs of an outline font ahead, for the web build's site.
//
//   glyphmeasures FONT OUT
//
// Writes to OUT the metrics of FONT's characters 0 to 255 (code page 1250) as wglUseFontOutlinesA
// gives them for the deviation the toolkit's outline fonts use (0: the default), a glyph set
// without geometry (GlyphCache.h). The site carries it beside the font, so that the page reads no
// glyph before it draws one. Run under node (the web build links it with NODERAWFS), the numbers
// are those of the wasm that reads them, made by the same code.
#include "sdl/FontFaces.h"
#include "sdl/GlyphCache.h"
#include "sdl/GlyphOutlines.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: glyphmeasures FONT OUT\n");
    return 2;
  }
  const char* font = argv[1];
  const char* out = argv[2];
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    std::fprintf(stderr, "glyphmeasures: FreeType did not start\n");
    return 1;
  }
  const std::unique_ptr<FT_LibraryRec_, FT_Error (*)(FT_Library)> libraryOwner(library, FT_Done_FreeType);
  const std::unique_ptr<FT_FaceRec_, FT_Error (*)(FT_Face)> face(OpenOutlineFace(library, font, 0), FT_Done_Face);
  if (!face) {
    std::fprintf(stderr, "glyphmeasures: %s: not a font file with outlines\n", font);
    return 1;
  }

  const double deviation = FlatteningDeviation(0.0f);
  const double tolerance = FlatteningTolerance(deviation, face->units_per_EM);
  GlyphReader reader(false);
  GlyphSet measured;
  for (DWORD code = 0; code < 256; ++code) {
    GlyphGeometry glyph = reader.Read(face.get(), code, tolerance);
    glyph.points.clear();
    glyph.contourStarts.clear();
    measured.emplace(code, std::move(glyph));
  }
  const std::vector<uint8_t> bytes = EncodeGlyphSet(MeasuredGlyphsKey(font, 0, deviation), measured);

  FILE* file = std::fopen(out, "wb");
  const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (!file || std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "glyphmeasures: %s: cannot be written\n", out);
    std::remove(out);
    return 1;
  }
  return 0;
}
