// The application shell: window class, OpenGL window and context, display mode, main loop and
// window procedure.
#pragma once

#include "GLGlobal.h"

// Mode wanted for the next window RunWindowLoop creates; flipped by WM_TOGGLEFULLSCREEN.
extern uint8_t Fullscreen;
// Display mode in force before a fullscreen switch; CloseGLWindow restores it.
extern DEVMODEA SavedDisplayMode;

int32_t RunApp(int32_t width, int32_t height, int32_t bits, const char* title, bool fullscreen,
               bool showCursor);
int32_t RunWindowLoop(int32_t width, int32_t height, int32_t bits, const char* title, bool fullscreen,
                      bool showCursor, HINSTANCE instance);

bool RegisterWindowClass(TApplication& app);
// Switches the display to width x height x bits for a fullscreen window; true when the switch
// succeeded. Records the size as the screen size either way.
bool SetDisplayMode(int32_t width, int32_t height, int32_t bits);
bool OpenGLWindow(TWindow& window);
bool CloseGLWindow(TWindow& window);
bool SetupGL(TWindow& window, TKeys& keys);
void ResizeViewport(int32_t width, int32_t height);
LRESULT WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The application's operations, defined by the program that links the shell.
void BuildScene();
void ProcessKeys();
void DrawScene();
void FreeScene();
