// Web backend: what the program asks of the page around its canvas. Each call that waits (a frame,
// the fullscreen switch, a message box) suspends the program and lets the browser run until the
// answer comes (ASYNCIFY), so the program's blocking loop stays as it is. Only this folder includes it.
#pragma once

#include <string>

namespace web_page {

// Waits for the browser's next animation frame: what the page shows is presented meanwhile.
void WaitForNextFrame();
// Puts the page's screen (the canvas and its frame) into fullscreen; false when the browser refuses.
bool EnterFullscreen();
// Leaves fullscreen when the page is in it.
void LeaveFullscreen();
// The screen's size in CSS pixels.
void ScreenSize(int& width, int& height);
// The size in pixels that the page gives the canvas's drawing buffer now (its area on the page
// times the device's pixel ratio, capped); 0 x 0 before the page has laid it out.
void CanvasPixels(int& width, int& height);
// 96 times the canvas's drawing-buffer pixels per CSS pixel (96 before the page has laid it out).
int PixelsPerInch();
// Shows a modal box over the page with the caption and the text (UTF-8), and returns when a person
// has dismissed it. `kind` is "error", "warning" or "information".
void ShowMessageBox(const std::string& caption, const std::string& text, const char* kind);

}  // namespace web_page
