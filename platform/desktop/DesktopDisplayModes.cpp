// Desktop: display modes on SDL's: the display's list and current mode as Win32 reports them, and
// the switch a fullscreen window takes when it is made (the browser's are in web/WebDisplayModes.cpp).
#include "SdlWindowLayer.h"
#include "Win32Api.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>

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
}  // namespace

BOOL EnumDisplaySettingsA(LPCSTR, DWORD modeNum, DEVMODEA* mode) {
  if (!mode || !EnsureVideo()) return FALSE;
  SDL_DisplayMode m{};
  if (modeNum == ENUM_CURRENT_SETTINGS && gLayer.modeSwitched) {
    m = gLayer.switchedMode;
  } else if (modeNum == ENUM_CURRENT_SETTINGS || modeNum == ENUM_REGISTRY_SETTINGS) {
    if (SDL_GetDesktopDisplayMode(0, &m) != 0) return FALSE;
  } else if (modeNum > static_cast<DWORD>(INT32_MAX) || SDL_GetDisplayMode(0, static_cast<int>(modeNum), &m) != 0) {
    return FALSE;
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
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return DISP_CHANGE_FAILED;
  // The mode in force first (some drivers leave it out of their list), then the list.
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = -1; i < count; ++i) {
    SDL_DisplayMode m = desktop;
    if (i >= 0 && SDL_GetDisplayMode(0, i, &m) != 0) continue;
    if (m.w <= 0 || m.h <= 0) continue;
    if ((mode->dmFields & DM_PELSWIDTH) && static_cast<DWORD>(m.w) != mode->dmPelsWidth) continue;
    if ((mode->dmFields & DM_PELSHEIGHT) && static_cast<DWORD>(m.h) != mode->dmPelsHeight) continue;
    if ((mode->dmFields & DM_BITSPERPEL) && BitsOf(m.format) != mode->dmBitsPerPel &&
        static_cast<DWORD>(SDL_BITSPERPIXEL(m.format)) != mode->dmBitsPerPel)
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
