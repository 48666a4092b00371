// Desktop: display modes on SDL's: the display's list and current mode as Win32 reports them, and
// the switch a fullscreen window takes when it is made (the browser's are in web/WebDisplayModes.cpp).
#include "SdlWindowLayer.h"
#include "Win32Api.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace sdl_layer;

namespace {
DWORD BitsOf(Uint32 format) { return static_cast<DWORD>(SDL_BYTESPERPIXEL(format) * 8); }

void FillMode(const SDL_DisplayMode& m, DEVMODEA* mode) {
  std::memset(mode, 0, sizeof(*mode));
  mode->dmSize = sizeof(DEVMODEA);
  mode->dmSpecVersion = 0x0401;
  mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
  mode->dmBitsPerPel = BitsOf(m.format);
  mode->dmPelsWidth = static_cast<DWORD>(m.w);
  mode->dmPelsHeight = static_cast<DWORD>(m.h);
  mode->dmDisplayFrequency = static_cast<DWORD>(m.refresh_rate);
}

bool SameMode(const SDL_DisplayMode& a, const SDL_DisplayMode& b) {
  return a.w == b.w && a.h == b.h && BitsOf(a.format) == BitsOf(b.format) && a.refresh_rate == b.refresh_rate;
}

// The modes the display offers, as Win32 lists them: the desktop mode first where the driver leaves
// it out of its list (some list it as 0 x 0), then the driver's list.
std::vector<SDL_DisplayMode> DisplayModes(const SDL_DisplayMode& desktop) {
  std::vector<SDL_DisplayMode> modes;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode m{};
    if (SDL_GetDisplayMode(0, i, &m) == 0 && m.w > 0 && m.h > 0) modes.push_back(m);
  }
  if (std::none_of(modes.begin(), modes.end(), [&](const SDL_DisplayMode& m) { return SameMode(m, desktop); }))
    modes.insert(modes.begin(), desktop);
  return modes;
}

// The one display there is; Win32 names it so, and no name means it too.
bool IsTheDisplay(LPCSTR deviceName) { return !deviceName || SDL_strcasecmp(deviceName, "\\\\.\\DISPLAY1") == 0; }
}  // namespace

BOOL EnumDisplaySettingsA(LPCSTR deviceName, DWORD modeNum, DEVMODEA* mode) {
  if (!mode || !IsTheDisplay(deviceName) || !EnsureVideo()) return FALSE;
  SDL_DisplayMode m{};
  if (modeNum == ENUM_CURRENT_SETTINGS && gLayer.modeSwitched) {
    m = gLayer.switchedMode;
  } else {
    if (SDL_GetDesktopDisplayMode(0, &m) != 0) return FALSE;
    if (modeNum != ENUM_CURRENT_SETTINGS && modeNum != ENUM_REGISTRY_SETTINGS) {
      const std::vector<SDL_DisplayMode> modes = DisplayModes(m);
      if (modeNum >= modes.size()) return FALSE;
      m = modes[modeNum];
    }
  }
  if (m.w <= 0 || m.h <= 0) return FALSE;
  FillMode(m, mode);
  return TRUE;
}

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
  if (!EnsureVideo()) return DISP_CHANGE_FAILED;
  if (!mode || mode->dmFields == 0) {
    if (!(flags & CDS_TEST)) gLayer.modeSwitched = false;
    return DISP_CHANGE_SUCCESSFUL;
  }
  // A request names the width and the height; bits of 0 and frequencies of 0 or 1 stand for any.
  if ((mode->dmFields & (DM_PELSWIDTH | DM_PELSHEIGHT)) != (DM_PELSWIDTH | DM_PELSHEIGHT)) return DISP_CHANGE_BADMODE;
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return DISP_CHANGE_FAILED;
  for (const SDL_DisplayMode& m : DisplayModes(desktop)) {
    if (static_cast<DWORD>(m.w) != mode->dmPelsWidth || static_cast<DWORD>(m.h) != mode->dmPelsHeight) continue;
    if ((mode->dmFields & DM_BITSPERPEL) && mode->dmBitsPerPel != 0 && BitsOf(m.format) != mode->dmBitsPerPel)
      continue;
    if ((mode->dmFields & DM_DISPLAYFREQUENCY) && mode->dmDisplayFrequency > 1 && m.refresh_rate != 0 &&
        static_cast<DWORD>(m.refresh_rate) != mode->dmDisplayFrequency)
      continue;
    if (flags & CDS_TEST) return DISP_CHANGE_SUCCESSFUL;
    gLayer.modeSwitched = !SameMode(m, desktop);
    gLayer.switchedMode = m;
    return DISP_CHANGE_SUCCESSFUL;
  }
  return DISP_CHANGE_BADMODE;
}
