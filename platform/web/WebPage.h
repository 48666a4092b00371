// Web backend: what the program asks of the page around its canvas, and what the page tells it.
// Each call that waits (a frame, the fullscreen switch, a message box) suspends the program and
// lets the browser run until the answer comes (ASYNCIFY), so the program's blocking loop stays as
// it is. The page tells the program what changes around it through one entry of the program's,
// glgui_page_changed (WebPage.cpp). Only this folder includes it.
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
// The size in pixels that the page gives the canvas's drawing buffer (its area on the page times
// the device's pixel ratio, capped), as the page last told it; 0 x 0 before it has.
void CanvasPixels(int& width, int& height);
// 96 times the canvas's drawing-buffer pixels per CSS pixel (96 before the page has laid it out).
int PixelsPerInch();
// Shows a modal box over the page with the caption and the text (UTF-8), and returns when a person
// has dismissed it. `kind` is "error", "warning" or "information".
void ShowMessageBox(const std::string& caption, const std::string& text, const char* kind);

// ---- what the page tells the program -------------------------------------------------------------
// Whether the page's screen is in the browser's fullscreen now, and whether the page's control asks
// for the switch between window and fullscreen mode (what F1 asks for), as the page tells them
// (WebDisplayModes.cpp).
void PageFullscreen(bool fullscreen, bool switchAsked);

}  // namespace web_page
