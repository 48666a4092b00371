// The window that shows the accessibility tree (Accessibility.h), as the platform's screen-reader
// side needs it: on Linux the frame that AT-SPI lists under the application, named by the window's
// title, whose position places the nodes on the screen; on Windows the window whose WM_GETOBJECT
// is answered with MSAA's IAccessible and whose focus moves are told with NotifyWinEvent. The shell
// sets it once its window shows and clears it (null) before the window goes. Not installed.
#pragma once

#include "Win32Api.h"

void SetAccessWindow(HWND window);
