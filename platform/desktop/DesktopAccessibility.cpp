// Desktop, built without screen-reader support (GLGUI_ACCESSIBILITY off): the toolkit keeps its
// tree and the keyboard reaches every element, but nothing is published to AT-SPI.
#include "AccessWindow.h"
#include "Accessibility.h"
#include "DesktopAccess.h"

void PublishAccessTree(const TAccessTree&) {}

void SetAccessWindow(HWND) {}

ScreenReaderBox::ScreenReaderBox(const std::string&, const std::string&) { (void)shown_; }
ScreenReaderBox::~ScreenReaderBox() = default;

int ServeScreenReaders() { return -1; }
