#include "AppHooks.h"

#include "GLWindow.h"

namespace shelltest {
AppHooks& App() {
  static AppHooks hooks;
  return hooks;
}
void ResetApp() { App() = AppHooks{}; }
}  // namespace shelltest

using shelltest::App;

void BuildScene() {
  if (App().build) App().build();
}
void ProcessKeys() {
  if (App().processKeys) App().processKeys();
}
void DrawScene() {
  if (App().draw) App().draw();
}
void FreeScene() {
  if (App().free) App().free();
}
