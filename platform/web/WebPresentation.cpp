// Web backend: the browser's table of sdl/Presentation.h. Contexts are WebGL 2 ones, handed to the
// OpenGL 1.1 layer (sdl/SdlGl11Contexts.cpp's kGl11Contexts); a frame is shown by waiting for the
// browser's next frame (the page shows what was drawn once the program yields to the browser);
// message boxes are drawn in the page (WebPage.cpp), modal: the program waits until the box is
// dismissed. A window a person may resize follows the page instead, as a desktop window follows the
// person resizing it: its client area is the canvas's drawing buffer, whose size the page tells
// the program (index.html), and which the program sets itself before it looks at its messages.
// SDL is left out of it: its own answer to the page's resizing would size the buffer to the
// canvas's CSS pixels, clearing the picture, even while the program waits in a box.
#include "Presentation.h"

#include "Gl11Context.h"

#include "SdlText.h"
#include "WebPage.h"

#include <SDL.h>

namespace sdl_layer {

namespace {

void PresentFrame(SDL_Window*) { web_page::WaitForNextFrame(); }

void FollowSurroundings(Window& w) {
  if (!(w.style & WS_THICKFRAME)) return;  // a fullscreen window keeps the mode's size, scaled to fit
  int width = 0, height = 0;
  web_page::CanvasPixels(width, height);
  if (width <= 0 || height <= 0) return;
  int nowW = 0, nowH = 0;
  SDL_GetWindowSize(w.sdl, &nowW, &nowH);
  if (nowW != width || nowH != height) SDL_SetWindowSize(w.sdl, width, height);
}

bool WindowManagerResizes() { return false; }

int PixelsPerInch(const Window&) { return web_page::PixelsPerInch(); }

void CompileOnFirstCall(unsigned list, std::function<void()> build) { gl11DeferList(list, std::move(build)); }

// The page serves its screen readers itself (WebAccessibility.cpp), between the program's frames.
int ServeOtherEvents() { return -1; }

// The hover sound's AudioContext is made when it is first heard, not while the page loads.
bool AudioOpensOnFirstPlay() { return true; }

void ShowBox(const char* text, const char* caption, BoxIcon icon) {
  const char* kind = icon == BoxIcon::Error ? "error" : icon == BoxIcon::Warning ? "warning" : "information";
  web_page::ShowMessageBox(Cp1250ToUtf8(caption), Cp1250ToUtf8(text), kind);
}

}  // namespace

const Presentation kPresentation = {
    &kGl11Contexts,
    // frames
    PresentFrame,
    // The OpenGL 1.1 layer compiles a list on its first call: an outline font's glyphs are made as
    // they are first drawn, not all on the page's load.
    UseFontOutlinesOnFirstCall,
    CompileOnFirstCall,
    // windows
    FollowSurroundings,
    WindowManagerResizes,
    PixelsPerInch,
    // the message pump, sound and message boxes
    ServeOtherEvents,
    AudioOpensOnFirstPlay,
    ShowBox,
};

}  // namespace sdl_layer
