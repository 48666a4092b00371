// The reference side of the OpenGL 1.1 layer's differential test: draws one named scene through
// Mesa's OpenGL and writes its pixels (RGBA, bottom row first) raw to a file.
//   gl11_scene_shot <scene> <out.rgba>
#include "Offscreen.h"
#include "Scenes.h"

#include <unistd.h>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gl11_scene_shot <scene> <out.rgba>\n");
    return 2;
  }
  char cwd[4096] = ".";
  if (!getcwd(cwd, sizeof cwd)) return 1;
  const std::string out = argv[2][0] == '/' ? std::string(argv[2]) : std::string(cwd) + "/" + argv[2];
  if (chdir(GLGUI_SOURCE_DIR) != 0) return 1;  // data files are read relative to the checkout
  Offscreen gl(SceneWidth(), SceneHeight());
  if (!gl.Ok()) {
    std::fprintf(stderr, "gl11_scene_shot: %s\n", gl.Error().c_str());
    return 1;
  }
  std::vector<std::string> messages;
  if (!DrawNamedScene(argv[1], messages)) {
    std::fprintf(stderr, "gl11_scene_shot: no scene %s\n", argv[1]);
    return 2;
  }
  for (const std::string& m : messages) std::fprintf(stderr, "gl11_scene_shot: %s\n", m.c_str());
  const std::vector<uint8_t> pixels = gl.Pixels();
  FILE* f = std::fopen(out.c_str(), "wb");
  if (!f) return 1;
  const bool written = std::fwrite(pixels.data(), 1, pixels.size(), f) == pixels.size();
  return std::fclose(f) == 0 && written && messages.empty() ? 0 : 1;
}
