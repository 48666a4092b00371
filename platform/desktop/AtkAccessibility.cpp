// Desktop: the accessibility tree's Linux side. Screen readers there (Orca) listen on AT-SPI, a
// D-Bus protocol; atk-bridge speaks it for a program that gives its tree as ATK objects
// (AtkTree.cpp), with no toolkit beneath. The bridge starts when the first window shows, and only
// when there is a session bus to reach the accessibility bus through: without one (a bare X
// session, a test under Xvfb alone) or with NO_AT_BRIDGE=1, nothing starts and nothing is said.
// Its requests are served on the program's own thread, from the message pump.
#include "AccessWindow.h"
#include "Accessibility.h"
#include "AtkTree.h"
#include "DesktopAccess.h"
#include "SdlWindowLayer.h"

#include <atk-bridge.h>

#include <SDL.h>

#include <unistd.h>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>

namespace {

HWND gWindow = nullptr;
enum class Bridge { NotTried, Up, Off };
Bridge gBridge = Bridge::NotTried;

// How long the pump may wait for SDL's events while the bridge is up before serving it again.
constexpr int kServeEveryMs = 50;

atk_tree::WindowFacts WindowNow() {
  atk_tree::WindowFacts facts;
  const sdl_layer::Window* w = gWindow ? sdl_layer::FindWindow(gWindow) : nullptr;
  if (!w) return facts;
  facts.Title = w->title;
  facts.X = w->clientX;
  facts.Y = w->clientY;
  facts.Width = w->clientW;
  facts.Height = w->clientH;
  facts.Shown = w->visible;
  facts.Active = w->sdl && (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_INPUT_FOCUS) != 0;
  return facts;
}

// Whether the session bus, through which the bridge finds the accessibility bus, can be reached
// without starting one: libdbus would otherwise launch a bus of its own for the X display.
bool BusReachable() {
  const char* off = std::getenv("NO_AT_BRIDGE");
  if (off && std::strcmp(off, "1") == 0) return false;
  if (std::getenv("AT_SPI_BUS_ADDRESS") || std::getenv("DBUS_SESSION_BUS_ADDRESS")) return true;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime && access((std::string(runtime) + "/bus").c_str(), F_OK) == 0;
}

// The bridge's complaints when the accessibility bus cannot be had (no at-spi2-core) are not the
// program's to print: a program without screen readers runs as before.
void Quiet(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// While a box is shown the program's thread waits in SDL's box; this one answers the readers
// meanwhile. Only it touches the accessible objects then, and it is joined before the program's
// thread goes on.
std::thread gBoxServer;
std::atomic<bool> gBoxGone{false};

void StartBridge() {
  gBridge = Bridge::Off;
  if (!BusReachable()) return;
  atk_tree::Install(WindowNow);
  const guint handlers[] = {
      g_log_set_handler("dbind", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE), Quiet,
                        nullptr),
      g_log_set_handler("atk-bridge", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE), Quiet,
                        nullptr)};
  if (atk_bridge_adaptor_init(nullptr, nullptr) == 0) gBridge = Bridge::Up;
  g_log_remove_handler("dbind", handlers[0]);
  g_log_remove_handler("atk-bridge", handlers[1]);
}

}  // namespace

void SetAccessWindow(HWND window) {
  gWindow = window;
  if (window && gBridge == Bridge::NotTried) StartBridge();
  if (gBridge == Bridge::Up) atk_tree::WindowChanged();
}

void PublishAccessTree(const TAccessTree& tree) {
  if (gBridge == Bridge::Up) atk_tree::Update(tree);
}

ScreenReaderBox::ScreenReaderBox(const std::string& caption, const std::string& text) {
  if (gBridge != Bridge::Up || gBoxServer.joinable()) return;
  atk_tree::ShowAlert(caption, text);
  gBoxGone = false;
  try {
    gBoxServer = std::thread([] {
      while (!gBoxGone) g_main_context_iteration(nullptr, TRUE);
    });
    shown_ = true;
  } catch (const std::system_error&) {
    atk_tree::HideAlert();  // no thread to answer for it: the box shows as before, unread
  }
}

ScreenReaderBox::~ScreenReaderBox() {
  if (!shown_) return;
  gBoxGone = true;
  g_main_context_wakeup(nullptr);
  gBoxServer.join();
  atk_tree::HideAlert();
}

int ServeScreenReaders() {
  if (gBridge != Bridge::Up) return -1;
  atk_tree::WindowChanged();
  // What is ready now, and no more: a reader that keeps asking cannot hold the program.
  for (int i = 0; i < 64 && g_main_context_iteration(nullptr, FALSE); ++i) {
  }
  return kServeEveryMs;
}
