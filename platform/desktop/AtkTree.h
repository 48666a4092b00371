// Desktop: the accessibility tree (Accessibility.h) as ATK objects, which atk-bridge shows to
// AT-SPI: an application named by the window's title, holding a frame for the window, holding the
// tree's nodes. An object stays the same object while its node's ID lives, so that a screen
// reader's references hold across frames; listeners are told what changes, the focus included.
// What a reader asks of a node runs through RunAccessAction. Only the desktop's accessibility
// files and their tests include it. Not installed.
#pragma once

#include "Accessibility.h"

#include <atk/atk.h>

#include <string>

namespace atk_tree {

// What the frame shows of the window, asked for whenever a reader asks.
struct WindowFacts {
  std::string Title;                        // UTF-8
  int X = 0, Y = 0, Width = 0, Height = 0;  // the client area, in screen pixels
  bool Shown = false;                       // there is a window and it is shown
  bool Active = false;                      // it has the keyboard
};
using WindowLookup = WindowFacts (*)();

// Makes the application ATK's root (AtkUtil's get_root), with the facts from `lookup`. Later
// calls only change the lookup.
void Install(WindowLookup lookup);
// Brings the objects in step with the tree and tells listeners what changed.
void Update(const TAccessTree& tree);
// Tells listeners what changed in the window's facts (its title, shown, active).
void WindowChanged();
// The application object (null before Install); the frame is its first child.
AtkObject* Application();

// A message box over the window, while the program waits for it: an alert of the application
// beside the frame, named by the caption, holding the text and its OK button, which takes the
// focus. The tree's elements refuse actions meanwhile, as the program takes none. Hiding it gives
// the focus back to the tree's focused element.
void ShowAlert(const std::string& caption, const std::string& text);
void HideAlert();

}  // namespace atk_tree
