// artgen: writes the toolkit's art, fonts, sound and pictures, and the contact sheet docs/art.png.
// Usage: artgen [output-root]   (default: the checkout this program was built from)
// The output depends only on this code and on the pinned DejaVu font files.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "Art.h"
#include "Writers.h"

#ifndef ARTGEN_DEFAULT_ROOT
#define ARTGEN_DEFAULT_ROOT "."
#endif

namespace {

const char* const kFontDir = "/usr/share/fonts/truetype/dejavu/";

bool MakeDirectory(const std::string& path, std::string& error) {
  struct stat info;
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return true;
  if (mkdir(path.c_str(), 0755) == 0) return true;
  error = "cannot create folder " + path;
  return false;
}

bool OpenFace(FontFace& face, const char* file, std::string& error) {
  return face.Open(std::string(kFontDir) + file, error);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
    std::fprintf(stderr, "usage: %s [output-root]\n", argv[0]);
    return 2;
  }
  const std::string root = argc == 2 ? argv[1] : ARTGEN_DEFAULT_ROOT;
  std::string error;

  FontFace sans, sansBold, mono, monoBold, serif;
  if (!OpenFace(sans, "DejaVuSans.ttf", error) || !OpenFace(sansBold, "DejaVuSans-Bold.ttf", error) ||
      !OpenFace(mono, "DejaVuSansMono.ttf", error) || !OpenFace(monoBold, "DejaVuSansMono-Bold.ttf", error) ||
      !OpenFace(serif, "DejaVuSerifCondensed.ttf", error)) {
    std::fprintf(stderr, "artgen: %s\n", error.c_str());
    return 1;
  }

  const Canvas panel = MakePanelArt();
  const Canvas button = MakeButtonArt();
  const Canvas cursor = MakeCursorArt(false);
  const Canvas cursorPressed = MakeCursorArt(true);
  const Canvas builtinFont = MakeBuiltinFont(sans, mono);
  const Canvas defaultFont = MakeGridFont(monoBold, 14, 0.0, 1.15);
  const Canvas altFont = MakeGridFont(serif, 15, 0.25, 1.1);
  const Canvas about = MakeAboutPicture(sansBold, sans);
  const Canvas engineAbout = MakeEngineAboutPicture(sansBold, sans);
  const Canvas sheet = MakeContactSheet(panel, button, cursor, cursorPressed, builtinFont, defaultFont,
                                        altFont, about, engineAbout, sans);

  struct Output {
    std::string Path;
    Bytes Data;
  };
  std::vector<Output> outputs;
  outputs.push_back({"resources/panel.tga", EncodeTgaRle32(panel)});
  outputs.push_back({"resources/button.tga", EncodeTgaRle32(button)});
  outputs.push_back({"resources/cursor_normal.tga", EncodeTgaRle32(cursor)});
  outputs.push_back({"resources/cursor2_normal.tga", EncodeTgaRle32(cursorPressed)});
  outputs.push_back({"resources/builtinfont.bff", EncodeBff(builtinFont, kBuiltinCell, kBuiltinCell, 32, kBuiltinFontWidths)});
  outputs.push_back({"resources/about.jpg", EncodeJpeg(about, 90, error)});
  outputs.push_back({"resources/engineabout.jpg", EncodeJpeg(engineAbout, 90, error)});
  outputs.push_back({"default/defaultfont.tga", EncodeTgaRle32(defaultFont)});
  outputs.push_back({"default/font.tga", EncodeTgaRle32(altFont)});
  outputs.push_back({"default/nvg_off.wav", EncodeWav16Mono(MakeHoverSound(22050), 22050)});
  outputs.push_back({"docs/art.png", EncodePngRgb(sheet, error)});
  for (const Output& o : outputs)
    if (o.Data.empty()) {
      std::fprintf(stderr, "artgen: %s: %s\n", o.Path.c_str(), error.c_str());
      return 1;
    }

  for (const char* folder : {"resources", "default", "docs"})
    if (!MakeDirectory(root, error) || !MakeDirectory(root + "/" + folder, error)) {
      std::fprintf(stderr, "artgen: %s\n", error.c_str());
      return 1;
    }
  for (const Output& o : outputs)
    if (!WriteFileBytes(root + "/" + o.Path, o.Data, error)) {
      std::fprintf(stderr, "artgen: %s\n", error.c_str());
      return 1;
    }
  return 0;
}
