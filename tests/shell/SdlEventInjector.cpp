// The loop tests' events on the stand-in: SDL events pushed into SDL's queue, which the window
// layer turns into messages, and what the layer keeps of a window (sdl/SdlHooks.h).
#include "EventInjector.h"

#include "sdl/SdlHooks.h"

#include <SDL.h>

#include <cstdlib>
#include <utility>

namespace inject {

namespace {

std::string gSavedDriver;  // SDL_VIDEODRIVER while window creation is refused
bool gHadDriver = false;
std::function<void()> gOnWait;  // DeliverWhenLoopWaits' event until it is delivered

void DeliverOnWait() {
  SetWaitHook(nullptr);
  const std::function<void()> event = std::move(gOnWait);
  gOnWait = nullptr;
  if (event) event();
}

class WaitDelivery : public Delivery {
 public:
  ~WaitDelivery() override {
    SetWaitHook(nullptr);
    gOnWait = nullptr;
  }
};

void PushWindowEvent(Uint32 windowId, Uint8 event) {
  SDL_Event e{};
  e.window = {SDL_WINDOWEVENT, 0, windowId, event, 0, 0, 0, 0, 0};
  SDL_PushEvent(&e);
}

}  // namespace

std::function<void()> RestoreEvent(HWND hWnd) {
  // SDL_PushEvent may be called from any thread; the window's id is read here, on its own.
  return [id = GetSdlWindowId(hWnd)] { PushWindowEvent(id, SDL_WINDOWEVENT_RESTORED); };
}

std::unique_ptr<Delivery> DeliverWhenLoopWaits(HWND, std::function<void()> event) {
  gOnWait = std::move(event);
  SetWaitHook(DeliverOnWait);
  return std::make_unique<WaitDelivery>();
}

void ClickCloseBox(HWND hWnd) { PushWindowEvent(GetSdlWindowId(hWnd), SDL_WINDOWEVENT_CLOSE); }

void AskToEnd(HWND) {
  // SDL turns SIGINT and SIGTERM into this event.
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

// No video driver of that name: a window cannot get an OpenGL surface.
void RefuseWindowCreation() {
  const char* previous = std::getenv("SDL_VIDEODRIVER");
  gSavedDriver = previous ? previous : "";
  gHadDriver = previous != nullptr;
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
}

void AllowWindowCreation() {
  gHadDriver ? setenv("SDL_VIDEODRIVER", gSavedDriver.c_str(), 1) : unsetenv("SDL_VIDEODRIVER");
}

int ShellWindowCount() { return CountWindows(); }

std::string WindowTitle(HWND hWnd) {
  SDL_Window* window = SDL_GetWindowFromID(GetSdlWindowId(hWnd));
  return window ? SDL_GetWindowTitle(window) : "";
}

PIXELFORMATDESCRIPTOR GrantedPixelFormat(HDC dc) {
  // The stand-in asks SDL for what the descriptor says and reports it as granted.
  PIXELFORMATDESCRIPTOR pfd{};
  GetRequestedPixelFormat(dc, &pfd);
  return pfd;
}

bool RequestedPixelFormat(HDC dc, PIXELFORMATDESCRIPTOR* pfd) { return GetRequestedPixelFormat(dc, pfd); }

}  // namespace inject
