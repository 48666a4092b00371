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
