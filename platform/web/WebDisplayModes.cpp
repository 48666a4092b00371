// Web backend: display modes. The page has one mode, the screen's; a switch for a fullscreen window
// (CDS_FULLSCREEN) puts the page's screen into the browser's fullscreen, where the canvas keeps its
// size and is scaled to fit, and any other setting (the saved mode put back) leaves fullscreen. A
// switch the browser refuses (no user gesture, fullscreen not allowed) fails as a refused mode
// switch does on a desktop. When the browser leaves fullscreen by itself (the person's Escape),
// the switched mode is gone, and the program's window is asked to go back to window mode as its F1
// asks; the page's fullscreen control asks for the switch the same way.
#include "SdlWindowLayer.h"
#include "Win32Api.h"
#include "WebPage.h"

#include <cstring>

using namespace sdl_layer;

namespace {

struct Mode {
  DWORD width = 0, height = 0, bits = 32, frequency = 60;
};

Mode gSwitched;  // the mode the program switched to, while in fullscreen
bool gFullscreen = false;

// What the toolkit's shell takes as the request to switch between window and fullscreen mode: its
// private message WM_TOGGLEFULLSCREEN (WM_USER + 1, shell/GLGlobal.h), which its F1 posts.
constexpr UINT kModeSwitchRequest = WM_USER + 1;

Mode DesktopMode() {
  int width = 0, height = 0;
  web_page::ScreenSize(width, height);
  Mode m;
  m.width = static_cast<DWORD>(width > 0 ? width : 640);
  m.height = static_cast<DWORD>(height > 0 ? height : 480);
  return m;
}

void FillMode(const Mode& m, DEVMODEA* mode) {
  std::memset(mode, 0, sizeof(*mode));
  mode->dmSize = sizeof(DEVMODEA);
  mode->dmSpecVersion = 0x0401;
  mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
  mode->dmBitsPerPel = m.bits;
  mode->dmPelsWidth = m.width;
  mode->dmPelsHeight = m.height;
  mode->dmDisplayFrequency = m.frequency;
}

}  // namespace

BOOL EnumDisplaySettingsA(LPCSTR, DWORD modeNum, DEVMODEA* mode) {
  if (!mode) return FALSE;
  if (modeNum == ENUM_CURRENT_SETTINGS && gFullscreen) {
    FillMode(gSwitched, mode);
    return TRUE;
  }
  if (modeNum != ENUM_CURRENT_SETTINGS && modeNum != ENUM_REGISTRY_SETTINGS && modeNum != 0) return FALSE;
  FillMode(DesktopMode(), mode);
  return TRUE;
}

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
  const bool toFullscreen = mode && mode->dmFields != 0 && (flags & CDS_FULLSCREEN);
  if (!toFullscreen) {
    if (!(flags & CDS_TEST) && gFullscreen) {
      gFullscreen = false;  // before the browser's answer, which the page tells while this waits
      web_page::LeaveFullscreen();
    }
    return DISP_CHANGE_SUCCESSFUL;
  }
  if (((mode->dmFields & DM_PELSWIDTH) && mode->dmPelsWidth == 0) ||
      ((mode->dmFields & DM_PELSHEIGHT) && mode->dmPelsHeight == 0))
    return DISP_CHANGE_BADMODE;
  if (flags & CDS_TEST) return DISP_CHANGE_SUCCESSFUL;
  if (!web_page::EnterFullscreen()) return DISP_CHANGE_FAILED;
  const Mode desktop = DesktopMode();
  gSwitched.width = (mode->dmFields & DM_PELSWIDTH) ? mode->dmPelsWidth : desktop.width;
  gSwitched.height = (mode->dmFields & DM_PELSHEIGHT) ? mode->dmPelsHeight : desktop.height;
  gSwitched.bits = (mode->dmFields & DM_BITSPERPEL) ? mode->dmBitsPerPel : 32;
  gFullscreen = true;
  return DISP_CHANGE_SUCCESSFUL;
}

void web_page::PageFullscreen(bool fullscreen, bool switchAsked) {
  const bool left = gFullscreen && !fullscreen;
  if (left) gFullscreen = false;
  if (!left && !switchAsked) return;
  // The program's window on the page: the one the canvas shows.
  for (const auto& entry : gLayer.windows) {
    if (entry.second->sdl && entry.second->visible) {
      PostMessageA(HandleOf(*entry.second), kModeSwitchRequest, 0, 0);
      return;
    }
  }
}
