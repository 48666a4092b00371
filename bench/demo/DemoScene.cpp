#include "DemoScene.h"

#include "PlatformHooks.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> gAllocations{0};

TWindow gWindow{};
TKeys gKeys{};
TApplication gApp{nullptr, "OpenGL"};

int QuietBox(const char* text, const char* caption, UINT) {
  std::fprintf(stderr, "[%s] %s\n", caption, text);
  return IDOK;
}

}  // namespace

void* operator new(size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace demobench {

size_t AllocationCount() { return gAllocations.load(); }

void BuildDemo(int width, int height) {
  static bool inCheckout = false;
  if (!inCheckout) {
    if (chdir(GLGUI_SOURCE_DIR) != 0) std::perror(GLGUI_SOURCE_DIR);
    SetMessageBoxHook(QuietBox);
    inCheckout = true;
  }
  gWindow = TWindow{};
  gWindow.KeyTable = &gKeys;
  gWindow.App = &gApp;
  gWindow.Title = "GUI  DEMO";
  gWindow.WindowWidth = width;
  gWindow.WindowHeight = height;
  gWindow.Bits = 32;
  gWindow.Active = 1;
  ScreenWidth = width;
  ScreenHeight = height;
  FrameTime = 0;
  // The viewport and projection, the fixed GL state and the scene, as the shell sets up a window.
  ResizeViewport(width, height);
  SetupGL(gWindow, gKeys);
}

void ShowPage(int page, int mouseX, int mouseY) {
  ZoomDistance = 0;
  ZoomingOut = 0;
  PanelScreen->Visible = page == kPanelPage;
  TextScreen->Visible = page == kTextPage;
  ButtonScreen->Visible = page == kButtonPage;
  TitlePanel->Visible = page == kStartPage;
  MouseX = PrevMouseX = mouseX;
  MouseY = PrevMouseY = mouseY;
  MouseLeft = 0;
}

}  // namespace demobench
