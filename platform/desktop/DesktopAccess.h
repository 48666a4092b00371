// Desktop: what the rest of the desktop's backend asks of the screen-reader side: to serve the
// readers' requests from the message pump, and to show a message box to them. SDL's own box is not
// seen by AT-SPI; while one is shown, the program's accessible side shows it as an alert and
// answers the reader, though the program itself waits. Without screen-reader support both do
// nothing.
#pragma once

#include <string>

// Serves screen readers' requests over AT-SPI, at each look at SDL's events (the desktop's
// ServeOtherEvents, sdl/Presentation.h): returns how long, in milliseconds, the message pump may
// then wait before it serves them again; -1 for as long as it takes.
int ServeScreenReaders();

// For as long as it lives: the box with this caption and text (UTF-8) is on the screen.
class ScreenReaderBox {
 public:
  ScreenReaderBox(const std::string& caption, const std::string& text);
  ~ScreenReaderBox();
  ScreenReaderBox(const ScreenReaderBox&) = delete;
  ScreenReaderBox& operator=(const ScreenReaderBox&) = delete;

 private:
  bool shown_ = false;  // the alert is shown and answered for
};
