#include "DemoFrame.h"

#include "GLWindow.h"
#include "main.h"

namespace {

TWindow gWindow{};
TKeys gKeys{};
TApplication gApp{nullptr, "OpenGL"};

}  // namespace

namespace demoframe {

void BuildDemo(int width, int height) {
  gWindow = TWindow{};
  gKeys = TKeys{};
  gWindow.KeyTable = &gKeys;
  gWindow.App = &gApp;
  gWindow.Title = "GUI  DEMO";
  gWindow.WindowWidth = width;
  gWindow.WindowHeight = height;
  gWindow.Bits = 32;
  gWindow.Active = 1;
  FrameTime = 0;
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

void FreeDemo() {
  FreeScene();
  MainWindow = nullptr;
  Keys = nullptr;
}

}  // namespace demoframe
