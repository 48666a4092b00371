// Desktop: what the message boxes tell the screen-reader side. SDL's own box is not seen by
// AT-SPI; while one is shown, the program's accessible side shows it as an alert and answers the
// reader, though the program itself waits. Without screen-reader support this does nothing.
#pragma once

#include <string>

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
