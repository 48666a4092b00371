#include "DemoScene.h"

#include <GL/glu.h>
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
  MainWindow = &gWindow;
  Keys = &gKeys;
  ScreenWidth = width;
  ScreenHeight = height;
  FrameTime = 0;

  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, double(width) / double(height), 0.01, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0, 0, 0, 1);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);

  BuildScene();
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
