// Win32 backend: the accessibility tree's Windows side. Screen readers there ask the window for
// MSAA's IAccessible, which this build does not answer yet: the tree is kept by the toolkit and the
// keyboard reaches every element, but nothing is published.
#include "AccessWindow.h"
#include "Accessibility.h"

void PublishAccessTree(const TAccessTree&) {}

void SetAccessWindow(HWND) {}
