// A screen of the size the toolkit meets in practice: 3 panels with header and footer, 4 buttons
// (two on the screen, two in panels) and 10 labels (8 grid-font, 2 outline-style), drawn with a
// tiny grid font of our own so nothing depends on the system's fonts. Used by the allocation
// test and the frame benchmark.
#pragma once

#include "GLGUI.h"

class SampleScreen {
 public:
  SampleScreen();
  ~SampleScreen();
  SampleScreen(const SampleScreen&) = delete;
  SampleScreen& operator=(const SampleScreen&) = delete;

  // One frame: the screen, then the cursor.
  void Frame();
  // Moves the mouse along a path that hovers, presses and drags (step = frame number).
  static void MoveMouse(int step);

  TGUIscreen* screen = nullptr;
  TGUIpanel* panels[3] = {};
  TGUIButton* buttons[4] = {};
  TGUIBmpLabel* labels[8] = {};
  TGUISysLabel* sysLabels[2] = {};

 private:
  GLuint textures_[4] = {};
  TGUIBMPFONT grid_{};
  GLuint sysLists_ = 0;
};
