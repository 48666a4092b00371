// Renders a test screen of the toolkit into a PNG: panels in each header/footer combination,
// grid-font and outline-font labels, and buttons in their normal, hover and pressed looks, drawn
// with the program's art and built-in font.
//   gui_screenshot <out.png>
#include "GLGUI.h"
#include "GLGlobal.h"
#include "GLHarness.h"
#include "GLTextures.h"

#include <cstdio>
#include <string>

namespace {

const std::string kRoot = GLGUI_SOURCE_DIR;

// Every element lives in a variable of its own, as the toolkit's slots expect.
TGUIscreen* Screen;
TGUIpanel *Both, *HeaderOnly, *FooterOnly, *Plain, *Inner;
TGUIBmpLabel *Title1, *Title2, *Small;
TGUISysLabel *Outline1, *Outline2;
TGUIButton *InPanel, *NormalLook, *HoverLook, *PressedLook;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gui_screenshot <out.png>\n");
    return 2;
  }
  testgl::HeadlessGL gl(1024, 768);
  if (!gl.Ok()) {
    std::fprintf(stderr, "gui_screenshot: %s\n", gl.Error().c_str());
    return 1;
  }
  // The GUI is drawn as the demonstration draws it: no depth test, back faces culled.
  testgl::UseGuiState(gl);
  glClearColor(0.28f, 0.3f, 0.33f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  ScreenWidth = 1024;
  ScreenHeight = 768;

  InitGUI("default", 1024, 768, nullptr, false);
  GLuint gridTexture = 0, ownTexture = 0;
  LoadImageTexture(kRoot + "/default/font.tga", gridTexture, false);
  LoadImageTexture(kRoot + "/resources/about.jpg", ownTexture, false);
  glBindTexture(GL_TEXTURE_2D, 0);
  TGUIBMPFONT grid16{}, grid10{};
  CreateGridFont(grid16, 16);
  CreateGridFont(grid10, 10);
  TGUISYSFONT outline = 0;
  CreateSystemFont(outline, "Comic Sans MS", 700, false, 0.0, nullptr);

  Screen = new TGUIscreen();
  Both = new TGUIpanel(40, 60, 330, 400, 1, 1, 1, 1, TGUISlot(&Screen));
  Both->HasHeader = Both->HasFooter = true;
  HeaderOnly = new TGUIpanel(370, 60, 660, 300, 0.7, 0.9, 1, 1, TGUISlot(&Screen));
  HeaderOnly->HasHeader = true;
  FooterOnly = new TGUIpanel(700, 60, 990, 300, 1, 0.85, 0.7, 1, TGUISlot(&Screen));
  FooterOnly->HasFooter = true;
  Plain = new TGUIpanel(370, 330, 990, 560, 0.8, 1, 0.8, 0.9, TGUISlot(&Screen));
  Plain->Texture = ownTexture;
  for (TGUIpanel** p : {&Both, &HeaderOnly, &FooterOnly, &Plain}) Screen->Add(TGUISlot(p));

  Inner = new TGUIpanel(20, 190, 270, 300, 0.6, 0.8, 1, 1, TGUISlot(&Both));
  Both->AddChild(TGUISlot(&Inner));
  Title1 = new TGUIBmpLabel(20, 40, grid16, gridTexture, "Both bands", 1, 1, 1, 1, TGUISlot(&Both));
  Both->AddChild(TGUISlot(&Title1));
  InPanel = new TGUIButton(40, 110, 250, 145, 1, 1, 1, 1, TGUISlot(&Both));
  InPanel->Caption = "in a panel";
  Both->AddChild(TGUISlot(&InPanel));
  Title2 = new TGUIBmpLabel(20, 40, grid16, gridTexture, "Header only", 1, 1, 0.6, 1, TGUISlot(&HeaderOnly));
  HeaderOnly->AddChild(TGUISlot(&Title2));
  Small = new TGUIBmpLabel(20, 40, grid10, gridTexture, "Footer only (size 10)", 1, 1, 1, 1,
                           TGUISlot(&FooterOnly));
  FooterOnly->AddChild(TGUISlot(&Small));
  Outline1 = new TGUISysLabel(40, 610, 0.05, 0.05, outline, "Outline font label", 1, 1, 1, 1, TGUISlot(&Screen));
  Outline2 = new TGUISysLabel(60, 440, 0.035, 0.035, outline, "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p",
                              1, 0.95, 0.6, 1, TGUISlot(&Screen));
  Screen->Add(TGUISlot(&Outline1));
  Screen->Add(TGUISlot(&Outline2));

  // Three buttons below, each drawn in one of its looks (a long frame settles the cross-fade).
  NormalLook = new TGUIButton(60, 680, 300, 716, 1, 1, 1, 1, TGUISlot(&Screen));
  NormalLook->Caption = "normal";
  HoverLook = new TGUIButton(390, 680, 630, 716, 1, 1, 1, 1, TGUISlot(&Screen));
  HoverLook->Caption = "hover";
  PressedLook = new TGUIButton(720, 680, 960, 716, 1, 1, 1, 1, TGUISlot(&Screen));
  PressedLook->Caption = "pressed";

  // Two frames with the mouse over the header-only panel's surface, so it shows hot.
  FrameTime = 1000;
  MouseVirtualX = 600;
  MouseVirtualY = 250;
  HeaderOnly->Highlight = 0.15;
  HeaderOnly->Red = 0.6;
  for (int frame = 0; frame < 2; ++frame) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    MouseVirtualX = 600;
    MouseVirtualY = 250;
    MouseLeft = 0;
    Screen->Draw();
    MouseVirtualX = 10;
    MouseVirtualY = 10;
    NormalLook->Draw();
    MouseVirtualX = 500;
    MouseVirtualY = 700;
    HoverLook->Draw();
    MouseVirtualX = 800;
    MouseVirtualY = 700;
    MouseLeft = 1;
    PressedLook->Draw();
    MouseLeft = 0;
  }
  MouseX = 520;
  MouseY = 705;
  DrawCursor();
  glFinish();
  if (!gl.SavePng(argv[1])) {
    std::fprintf(stderr, "gui_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
