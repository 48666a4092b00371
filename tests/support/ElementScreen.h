// The toolkit's elements in their states, drawn with the program's art and fonts: panels in each
// header/footer combination (one hot, one with a texture of its own, one inside another),
// grid-font and outline-font labels, and buttons in their normal, hover and pressed looks. The
// GUI screenshot (docs/gui.png) draws it as it is; the OpenGL 1.1 layer's scenes draw it with
// every state added. It calls only the toolkit and OpenGL, so it builds on either.
#pragma once

#include "GLGUI.h"

#include <cstdint>

class ElementScreen {
 public:
  // `everyState` adds what the picture leaves out: a panel reaching past the GUI plane's edge, a
  // hidden label, a line outline font, a translucent panel and label, a repeated texture and a
  // button in its released look. Loads the GUI's art (InitGUI) for ScreenWidth x ScreenHeight,
  // in the current GL context, with data files read from the checkout.
  explicit ElementScreen(bool everyState);
  ~ElementScreen();
  ElementScreen(const ElementScreen&) = delete;
  ElementScreen& operator=(const ElementScreen&) = delete;

  // Two frames of `frameTime` ms with the mouse over the header-only panel's surface (held down
  // when `pressed`, which grabs it), each button drawn with the mouse where its look wants it;
  // then the cursor over the hover button, and glFinish.
  void DrawFrames(uint32_t frameTime, bool pressed);

  // Every element lives in a variable of its own, as the toolkit's slots expect. Those of the
  // added states stay null without `everyState`.
  TGUIscreen* Screen = nullptr;
  TGUIpanel *Both = nullptr, *HeaderOnly = nullptr, *FooterOnly = nullptr, *Plain = nullptr, *Inner = nullptr,
            *OffPlane = nullptr;
  TGUIBmpLabel *Title1 = nullptr, *Title2 = nullptr, *Small = nullptr, *Hidden = nullptr;
  TGUISysLabel *Outline1 = nullptr, *Outline2 = nullptr, *Lines = nullptr;
  TGUIButton *InPanel = nullptr, *NormalLook = nullptr, *HoverLook = nullptr, *PressedLook = nullptr,
             *ReleasedLook = nullptr;

 private:
  GLuint gridTexture_ = 0, ownTexture_ = 0;
  TGUIBMPFONT grid16_{}, grid10_{};
  TGUISYSFONT filled_ = 0, lines_ = 0;
};
