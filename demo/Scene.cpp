// The demonstration's scene and per-frame handling.
#include "main.h"

#include <GL/gl.h>

void BuildScene() {}

void FreeScene() {}

void ProcessKeys() {
  if (Keys->Down[27]) QuitApp(*MainWindow);                // Escape
  if (Keys->Down[112]) RequestFullscreenToggle(*MainWindow);  // F1
}

void DrawScene() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
