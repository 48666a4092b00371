// Desktop: the accessibility tree's Linux side. Screen readers there listen on AT-SPI, which this
// build does not talk to yet: the tree is kept by the toolkit and the keyboard reaches every
// element, but nothing is published.
#include "AccessWindow.h"
#include "Accessibility.h"

void PublishAccessTree(const TAccessTree&) {}

void SetAccessWindow(HWND) {}
