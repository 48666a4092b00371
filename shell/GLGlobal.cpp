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
uint8_t MouseTouch = 0;
TKeys* Keys = nullptr;
TWindow* MainWindow = nullptr;

namespace {
// A frame takes every press there is, so a few frames' worth of a person's typing is plenty.
constexpr unsigned kKeyQueueSize = 32;
TKeyPress KeyQueue[kKeyQueueSize];
unsigned KeyQueueStart = 0, KeyQueueCount = 0;
}  // namespace

void PushKeyPress(uint8_t key, bool shift) {
  if (KeyQueueCount == kKeyQueueSize) return;
  KeyQueue[(KeyQueueStart + KeyQueueCount) % kKeyQueueSize] = TKeyPress{key, static_cast<uint8_t>(shift ? 1 : 0)};
  ++KeyQueueCount;
}

bool PopKeyPress(TKeyPress& press) {
  if (KeyQueueCount == 0) return false;
  press = KeyQueue[KeyQueueStart];
  KeyQueueStart = (KeyQueueStart + 1) % kKeyQueueSize;
  --KeyQueueCount;
  return true;
}

void QuitApp(TWindow& window) {
  PostMessageA(window.Handle, WM_QUIT, 0, 0);
  Running = 0;
}

void RequestFullscreenToggle(TWindow& window) { PostMessageA(window.Handle, WM_TOGGLEFULLSCREEN, 0, 0); }
