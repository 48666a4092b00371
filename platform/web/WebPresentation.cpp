// Web backend: the browser's side of Presentation.h. Contexts are WebGL 2 ones, handed to the
// OpenGL 1.1 layer (sdl/SdlGl11Contexts.cpp); a frame is shown by waiting for the browser's next
// frame (the page shows what was drawn once the program yields to the browser); message boxes are
// drawn in the page (WebPage.cpp), modal: the program waits until the box is dismissed.
#include "Presentation.h"

#include "Gl11Context.h"

#include "SdlText.h"
#include "WebPage.h"

#include <SDL.h>

namespace sdl_layer {

void PresentFrame(SDL_Window*) { web_page::WaitForNextFrame(); }

// The OpenGL 1.1 layer compiles a list on its first call: an outline font's glyphs are made as
// they are first drawn, not all on the page's load.
bool ListsCanWait() { return true; }

void CompileOnFirstCall(unsigned list, std::function<void()> build) { gl11DeferList(list, std::move(build)); }

void ShowBox(const char* text, const char* caption, BoxIcon icon) {
  const char* kind = icon == BoxIcon::Error ? "error" : icon == BoxIcon::Warning ? "warning" : "information";
  web_page::ShowMessageBox(Cp1250ToUtf8(caption), Cp1250ToUtf8(text), kind);
}

}  // namespace sdl_layer
