#include "ElementScreen.h"

#include "GLGlobal.h"
#include "GLTextures.h"

#include <string>

namespace {

const std::string kRoot = GLGUI_SOURCE_DIR;

}  // namespace

ElementScreen::ElementScreen(bool everyState) {
  InitGUI("default", ScreenWidth, ScreenHeight, nullptr, false);
  LoadImageTexture(kRoot + "/default/font.tga", gridTexture_, false);
  LoadImageTexture(kRoot + "/resources/about.jpg", ownTexture_, false);
  glBindTexture(GL_TEXTURE_2D, 0);
  CreateGridFont(grid16_, 16);
  CreateGridFont(grid10_, 10);
  CreateSystemFont(filled_, "Comic Sans MS", 700, false, 0.0, nullptr);
  if (everyState) CreateSystemFont(lines_, "Arial", 400, true, 0.0, nullptr);

  Screen = new TGUIscreen();
  Both = new TGUIpanel(40, 60, 330, 400, 1, 1, 1, 1, TGUISlot(&Screen));
  Both->HasHeader = Both->HasFooter = true;
  HeaderOnly = new TGUIpanel(370, 60, 660, 300, 0.6, 0.9, 1, 1, TGUISlot(&Screen));
  HeaderOnly->HasHeader = true;
  HeaderOnly->Highlight = 0.15;
  FooterOnly = new TGUIpanel(700, 60, 990, 300, 1, 0.85, 0.7, everyState ? 0.8 : 1, TGUISlot(&Screen));
  FooterOnly->HasFooter = true;
  Plain = new TGUIpanel(370, 330, 990, 560, 0.8, 1, 0.8, 0.9, TGUISlot(&Screen));
  Plain->Texture = ownTexture_;
  for (TGUIpanel** p : {&Both, &HeaderOnly, &FooterOnly, &Plain}) Screen->Add(TGUISlot(p));
  if (everyState) {
    Plain->TextureRepeat = 2.0f;
    OffPlane = new TGUIpanel(330, 728, 720, 900, 1, 0.7, 0.7, 0.9, TGUISlot(&Screen));
    OffPlane->HasHeader = true;
    Screen->Add(TGUISlot(&OffPlane));
  }

  Inner = new TGUIpanel(20, 190, 270, 300, 0.6, 0.8, 1, 1, TGUISlot(&Both));
  Both->AddChild(TGUISlot(&Inner));
  Title1 = new TGUIBmpLabel(20, 40, grid16_, gridTexture_, "Both bands", 1, 1, 1, 1, TGUISlot(&Both));
  Both->AddChild(TGUISlot(&Title1));
  InPanel = new TGUIButton(40, 110, 250, 145, 1, 1, 1, 1, TGUISlot(&Both));
  InPanel->Caption = "in a panel";
  Both->AddChild(TGUISlot(&InPanel));
  Title2 = new TGUIBmpLabel(20, 40, grid16_, gridTexture_, "Header only", 1, 1, 0.6, 1, TGUISlot(&HeaderOnly));
  HeaderOnly->AddChild(TGUISlot(&Title2));
  Small = new TGUIBmpLabel(20, 40, grid10_, gridTexture_, "Footer only (size 10)", 1, 1, 1, everyState ? 0.7 : 1,
                           TGUISlot(&FooterOnly));
  FooterOnly->AddChild(TGUISlot(&Small));
  if (everyState) {
    Hidden = new TGUIBmpLabel(20, 80, grid10_, gridTexture_, "not shown", 1, 0, 0, 1, TGUISlot(&FooterOnly));
    Hidden->Visible = false;
    FooterOnly->AddChild(TGUISlot(&Hidden));
  }
  Outline1 = new TGUISysLabel(40, 610, 0.05, 0.05, filled_, "Outline font label", 1, 1, 1, 1, TGUISlot(&Screen));
  Outline2 = new TGUISysLabel(60, 440, 0.035, 0.035, filled_, "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p", 1,
                              0.95, 0.6, 1, TGUISlot(&Screen));
  Screen->Add(TGUISlot(&Outline1));
  Screen->Add(TGUISlot(&Outline2));
  if (everyState) {
    Lines = new TGUISysLabel(420, 610, 0.035, 0.035, lines_, "Line outline t\xFCk\xF6rf\xFAr\xF3", 1, 0.95, 0.6, 0.8,
                             TGUISlot(&Screen));
    Screen->Add(TGUISlot(&Lines));
  }

  // The buttons below, drawn one by one in their looks rather than by the screen.
  NormalLook = new TGUIButton(60, 680, 300, 716, 1, 1, 1, 1, TGUISlot(&Screen));
  NormalLook->Caption = "normal";
  HoverLook = new TGUIButton(390, 680, 630, 716, 1, 1, 1, 1, TGUISlot(&Screen));
  HoverLook->Caption = "hover";
  PressedLook = new TGUIButton(720, 680, 960, 716, 1, 1, 1, 1, TGUISlot(&Screen));
  PressedLook->Caption = "pressed";
  if (everyState) {
    ReleasedLook = new TGUIButton(750, 600, 990, 636, 0.8, 1, 0.8, 1, TGUISlot(&Screen));
    ReleasedLook->Caption = "released";
    ReleasedLook->State = TGUIButton::Released;
  }
}

ElementScreen::~ElementScreen() {
  for (TGUIButton* b : {InPanel, NormalLook, HoverLook, PressedLook, ReleasedLook}) delete b;
  for (TGUISysLabel* l : {Outline1, Outline2, Lines}) delete l;
  for (TGUIBmpLabel* l : {Title1, Title2, Small, Hidden}) delete l;
  for (TGUIpanel* p : {Inner, Both, HeaderOnly, FooterOnly, Plain, OffPlane}) delete p;
  delete Screen;
  for (GLint base : {grid16_.ListBase, grid10_.ListBase, filled_, lines_})
    if (base != 0) glDeleteLists(static_cast<GLuint>(base), 256);
  const GLuint textures[] = {gridTexture_, ownTexture_};
  glDeleteTextures(2, textures);
  Dragging = false;  // a press in the frames grabs a panel
}

void ElementScreen::DrawFrames(uint32_t frameTime, bool pressed) {
  FrameTime = frameTime;
  for (int frame = 0; frame < 2; ++frame) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    MouseVirtualX = 600;
    MouseVirtualY = 250;
    MouseLeft = pressed ? 1 : 0;
    Screen->Draw();
    MouseLeft = 0;
    MouseVirtualX = 10;
    MouseVirtualY = 10;
    NormalLook->Draw();
    if (ReleasedLook) ReleasedLook->Draw();
    MouseVirtualX = 500;
    MouseVirtualY = 700;
    HoverLook->Draw();
    MouseVirtualX = 800;
    MouseVirtualY = 700;
    MouseLeft = 1;
    PressedLook->Draw();
    MouseLeft = pressed ? 1 : 0;
  }
  // The cursor's tip on the hover button, in the window's pixels.
  MouseX = 520 * ScreenWidth / 1024;
  MouseY = 705 * ScreenHeight / 768;
  DrawCursor();
  glFinish();
}
