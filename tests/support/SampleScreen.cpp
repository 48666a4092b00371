#include "SampleScreen.h"

#include "GLGlobal.h"

#include <vector>

namespace {

GLuint Checker(int size, uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> px(static_cast<size_t>(size) * size * 4);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      uint8_t* p = &px[(static_cast<size_t>(y) * size + x) * 4];
      const bool on = ((x / 4) + (y / 4)) % 2 == 0;
      p[0] = on ? r : r / 2;
      p[1] = on ? g : g / 2;
      p[2] = on ? b : b / 2;
      p[3] = 255;
    }
  GLuint t = 0;
  glGenTextures(1, &t);
  glBindTexture(GL_TEXTURE_2D, t);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return t;
}

}  // namespace

SampleScreen::SampleScreen() {
  textures_[0] = PanelTexture = Checker(128, 90, 120, 200);
  textures_[1] = ButtonTexture = Checker(64, 200, 160, 60);
  textures_[2] = CursorTexture = Checker(32, 255, 255, 255);
  textures_[3] = CursorPressedTexture = Checker(32, 255, 200, 200);
  // A built-in font record over a plain texture, with the real advance table's shape.
  BuiltinFont = TGUIBFFont{};
  BuiltinFont.BaseChar = 32;
  BuiltinFont.CellsPerRow = 15;
  BuiltinFont.GlyphHeight = BuiltinFont.CellWidth = BuiltinFont.CellHeight = 17;
  BuiltinFont.CellTexWidth = BuiltinFont.CellTexHeight = 17.0 / 256;
  BuiltinFont.Widths.assign(256, 7);
  BuiltinFont.Texture = textures_[2];
  CreateGridFont(grid_, 16);
  // Stand-in outline glyphs: one small quad per code, advancing like a glyph list.
  sysLists_ = glGenLists(256);
  for (int c = 0; c < 256; ++c) {
    glNewList(sysLists_ + c, GL_COMPILE);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(0.5f, 0);
    glVertex2f(0.5f, 0.7f);
    glVertex2f(0, 0.7f);
    glEnd();
    glTranslatef(0.6f, 0, 0);
    glEndList();
  }

  screen = new TGUIscreen();
  for (int i = 0; i < 3; ++i) {
    panels[i] = new TGUIpanel(60 + i * 300, 120 + i * 60, 340 + i * 300, 420 + i * 60, 1, 1, 1, 0.9,
                              TGUISlot(&screen));
    panels[i]->HasHeader = panels[i]->HasFooter = true;
    panels[i]->Highlight = 0.1;
    screen->Add(TGUISlot(&panels[i]));
  }
  for (int i = 0; i < 2; ++i) {
    buttons[i] = new TGUIButton(40 + i * 800, 30, 200 + i * 800, 60, 1, 1, 1, 1, TGUISlot(&screen));
    screen->Add(TGUISlot(&buttons[i]));
  }
  for (int i = 2; i < 4; ++i) {
    buttons[i] = new TGUIButton(40, 200, 220, 232, 1, 1, 1, 1, TGUISlot(&panels[i - 1]));
    panels[i - 1]->AddChild(TGUISlot(&buttons[i]));
  }
  for (int i = 0; i < 8; ++i) {
    TGUIpanel** parent = &panels[i % 3];
    labels[i] = new TGUIBmpLabel(20, 40 + (i / 3) * 30, grid_, textures_[2], "label text", 1, 1, 0.5, 1,
                                 TGUISlot(parent));
    (*parent)->AddChild(TGUISlot(&labels[i]));
  }
  for (int i = 0; i < 2; ++i) {
    sysLabels[i] = new TGUISysLabel(400, 650 + i * 40, 0.05, 0.05, static_cast<TGUISYSFONT>(sysLists_),
                                    "outline text", 0.9, 0.9, 0.9, 1, TGUISlot(&screen));
    screen->Add(TGUISlot(&sysLabels[i]));
  }
}

SampleScreen::~SampleScreen() {
  for (auto* l : sysLabels) delete l;
  for (auto* l : labels) delete l;
  for (auto* b : buttons) delete b;
  for (auto* p : panels) delete p;
  delete screen;
  glDeleteLists(sysLists_, 256);
  glDeleteLists(static_cast<GLuint>(grid_.ListBase), 256);
  glDeleteTextures(4, textures_);
  PanelTexture = ButtonTexture = CursorTexture = CursorPressedTexture = 0;
  BuiltinFont = TGUIBFFont{};
}

void SampleScreen::Frame() {
  screen->Draw();
  DrawCursor();
}

void SampleScreen::MoveMouse(int step) {
  // A 200-frame cycle in a 640 x 480 window: wander, click the first screen button, then grab the
  // first panel by its surface, drag it right and back, and let go.
  const int phase = step % 200;
  FrameTime = 1 + phase % 3;
  MouseLeft = 0;
  if (phase < 100) {
    MouseX = 40 + (phase * 5) % 560;
    MouseY = 30 + (phase * 7) % 420;
  } else if (phase < 120) {
    MouseX = 75;
    MouseY = 28;
    MouseLeft = (phase >= 105 && phase < 115) ? 1 : 0;
  } else if (phase < 170) {
    const int t = phase - 120;
    MouseX = 187 + (t < 25 ? t : 50 - t);
    MouseY = 237;
    MouseLeft = 1;
  } else {
    MouseX = 300 + (phase - 170) * 4;
    MouseY = 400;
  }
}
