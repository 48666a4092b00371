// Shell globals and the requests that other parts make of the main loop.
#include "GLGlobal.h"

uint8_t Running = 0;
uint32_t FrameTime = 0;
int32_t FPS = 0;
int32_t FPSCount = 0;
DWORD FPSLastTime = 0;
int32_t ScreenWidth = 0;
int32_t ScreenHeight = 0;

int32_t MouseX = 0;
int32_t MouseY = 0;
int32_t PrevMouseX = 0;
int32_t PrevMouseY = 0;
double MouseWheel = 0.0;
uint8_t MouseLeft = 0;
uint8_t MouseMiddle = 0;
uint8_t MouseRight = 0;
TKeys* Keys = nullptr;
TWindow* MainWindow = nullptr;

void QuitApp(TWindow& window) {
  PostMessageA(window.Handle, WM_QUIT, 0, 0);
  Running = 0;
}

void RequestFullscreenToggle(TWindow& window) { PostMessageA(window.Handle, WM_TOGGLEFULLSCREEN, 0, 0); }

bool SetDisplayMode(int32_t width, int32_t height, int32_t bits) {
  DEVMODEA mode{};
  mode.dmSize = sizeof(DEVMODEA);  // 156
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmBitsPerPel = static_cast<DWORD>(bits);
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  const LONG result = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
  ScreenWidth = width;
  ScreenHeight = height;
  return result == DISP_CHANGE_SUCCESSFUL;
}
