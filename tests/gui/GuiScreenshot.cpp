// Renders a test screen of the toolkit into a PNG: panels in each header/footer combination,
// grid-font and outline-font labels, and buttons in their normal, hover and pressed looks, drawn
// with the program's art and built-in font.
//   gui_screenshot <out.png>
#include "ElementScreen.h"
#include "GLGlobal.h"
#include "GLHarness.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gui_screenshot <out.png>\n");
    return 2;
  }
  testgl::HeadlessGL gl(1024, 768);
  if (!gl.Ok()) {
    std::fprintf(stderr, "gui_screenshot: %s\n", gl.Error().c_str());
    return 1;
  }
  // The GUI is drawn as the demonstration draws it: no depth test, back faces culled.
  testgl::UseGuiState(gl);
  glClearColor(0.28f, 0.3f, 0.33f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  ScreenWidth = 1024;
  ScreenHeight = 768;

  // A long frame settles the buttons' cross-fades.
  ElementScreen elements(false);
  elements.DrawFrames(1000, false);
  if (!gl.SavePng(argv[1])) {
    std::fprintf(stderr, "gui_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
