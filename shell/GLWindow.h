/// \file
/// The application shell: window class, OpenGL window and context, display mode, main loop and
/// window procedure. A program on the shell calls RunApp and defines BuildScene, ProcessKeys,
/// DrawScene and FreeScene, which the shell calls.
#pragma once

#include "GLGlobal.h"

/// Mode wanted for the next window RunWindowLoop creates; flipped by WM_TOGGLEFULLSCREEN.
extern uint8_t Fullscreen;
/// Display mode in force before a fullscreen switch; CloseGLWindow restores it.
extern DEVMODEA SavedDisplayMode;

/// Sets ScreenWidth and ScreenHeight and runs RunWindowLoop with the program's module: opens a
/// width x height window (fullscreen in a bits-per-pixel mode if asked), shows or hides the system
/// pointer, and runs the loop until QuitApp. Returns 0, or -1 when the window class could not be
/// registered.
int32_t RunApp(int32_t width, int32_t height, int32_t bits, const char* title, bool fullscreen,
               bool showCursor);
/// The main loop behind RunApp, for a given module instance: opens the window, calls BuildScene,
/// then per frame ProcessKeys, DrawScene and a buffer swap; after WM_QUIT calls FreeScene and
/// closes the window, and opens a new one in the other mode when a fullscreen toggle asked for it.
int32_t RunWindowLoop(int32_t width, int32_t height, int32_t bits, const char* title, bool fullscreen,
                      bool showCursor, HINSTANCE instance);

/// Registers the "OpenGL" window class with WndProc for `app`; false, after a message box, on failure.
bool RegisterWindowClass(TApplication& app);
/// Switches the display to width x height x bits for a fullscreen window; true when the switch
/// succeeded. Records the size as the screen size either way.
bool SetDisplayMode(int32_t width, int32_t height, int32_t bits);
/// Creates the window, its device context and an OpenGL context (double-buffered, 16-bit depth)
/// from `window`'s fields, makes the context current and sets the viewport. A failed mode switch
/// falls back to a window (after a message box). False, with everything released, on failure.
bool OpenGLWindow(TWindow& window);
/// Releases the context, device context and window, and restores the display mode after
/// fullscreen; always true.
bool CloseGLWindow(TWindow& window);
/// Points MainWindow and Keys at the records, sets the shell's GL state (depth test on with
/// GL_LEQUAL, blending with GL_SRC_ALPHA / GL_ONE_MINUS_SRC_ALPHA, black clear colour) and calls
/// BuildScene; always true.
bool SetupGL(TWindow& window, TKeys& keys);
/// Sets the viewport and a 45 degree perspective (near 0.01, far 100) for a width x height client
/// area, loads an identity modelview and records the size in ScreenWidth and ScreenHeight.
void ResizeViewport(int32_t width, int32_t height);
/// The shell's window procedure: keeps Keys, the mouse globals and the key-press queue up to date,
/// resizes the viewport, quits on WM_CLOSE and toggles fullscreen on WM_TOGGLEFULLSCREEN.
LRESULT WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

/// Defined by the program: builds its scene (textures, fonts, elements) once per GL context, after
/// the shell's GL set-up; again after a fullscreen switch.
void BuildScene();
/// Defined by the program: reads Keys each frame before DrawScene (QuitApp, RequestFullscreenToggle).
void ProcessKeys();
/// Defined by the program: draws a frame; the shell swaps the buffers afterwards.
void DrawScene();
/// Defined by the program: frees the scene when the window goes (at the end or for a fullscreen
/// switch), while its context is still current.
void FreeScene();
