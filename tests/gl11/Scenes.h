// Scenes drawn through the real toolkit and demo, by name, for the differential test of the
// OpenGL 1.1 layer: every demo page, each element kind in each state, each font kind, clip
// planes and the attribute stack; and two drawn with GL calls alone: every primitive mode, and
// every texture format under each environment mode. Each scene draws into the current context's framebuffer
// (SceneWidth x SceneHeight) from a fresh context and ends with glFinish. Data files are read
// relative to the checkout, which must be the working directory.
#pragma once

#include <string>
#include <vector>

int SceneWidth();
int SceneHeight();
std::vector<std::string> SceneNames();
// Draws the scene; false for an unknown name. `messages` gets the message boxes the program
// showed and the GL errors left at the end (none, when all went well).
bool DrawNamedScene(const std::string& name, std::vector<std::string>& messages);
