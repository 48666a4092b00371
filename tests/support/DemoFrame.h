// The demonstration's frame without its window, for the tests and benchmarks that draw it
// headless: the shell's globals as a window sets them, the viewport, projection and fixed GL
// state, the scene built in the current GL context, and a page shown as a finished transition
// leaves it. It reaches OpenGL only through the shell and the demonstration, so one build of it
// serves the toolkit on OpenGL and on the OpenGL 1.1 layer alike.
#pragma once

namespace demoframe {

// Pages as the navigation buttons number them; kStartPage is the start screen with the welcome panel.
constexpr int kStartPage = -1;
constexpr int kPanelPage = 0;
constexpr int kTextPage = 1;
constexpr int kButtonPage = 2;

// Does what the shell does for a new width x height window titled "GUI  DEMO": the window and
// key records (all keys up) in the shell's globals, ResizeViewport, then SetupGL, which builds the
// scene. Data files are read relative to the working directory.
void BuildDemo(int width, int height);
// Shows one page as a finished transition leaves it; the mouse rests at (x, y) in window pixels
// with no button down.
void ShowPage(int page, int mouseX, int mouseY);
// FreeScene, and the shell's globals back to no window.
void FreeDemo();

}  // namespace demoframe
