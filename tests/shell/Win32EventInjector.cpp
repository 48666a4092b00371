// The loop tests' events on Windows: window messages posted as the system posts them, a CBT hook
// that refuses new windows, and what the system tells of a window.
#include "EventInjector.h"

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace inject {

namespace {

HHOOK gRefuser = nullptr;

// DeliverWhenLoopWaits' marker: a WM_NULL with this wParam, posted behind the messages before it.
constexpr WPARAM kMarker = 0x600D;

class ThreadDelivery : public Delivery {
 public:
  ~ThreadDelivery() override {
    {
      std::lock_guard<std::mutex> lock(mutex);
      cancelled = true;
    }
    changed.notify_all();
    if (thread.joinable()) thread.join();
    if (hook) UnhookWindowsHookEx(hook);
    current = nullptr;
  }
  static ThreadDelivery* current;  // the one whose marker the hook looks for
  std::mutex mutex;
  std::condition_variable changed;
  bool taken = false, cancelled = false;
  HHOOK hook = nullptr;
  std::thread thread;
};
ThreadDelivery* ThreadDelivery::current = nullptr;

// Called as the loop's PeekMessage or GetMessage takes a message.
LRESULT CALLBACK WatchForMarker(int code, WPARAM removal, LPARAM lParam) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  ThreadDelivery* d = ThreadDelivery::current;
  if (code == HC_ACTION && removal == PM_REMOVE && d && msg->message == WM_NULL && msg->wParam == kMarker) {
    {
      std::lock_guard<std::mutex> lock(d->mutex);
      d->taken = true;
    }
    d->changed.notify_all();
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}

LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam) {
  // A non-zero answer to HCBT_CREATEWND makes CreateWindowEx fail.
  if (code == HCBT_CREATEWND) return 1;
  return CallNextHookEx(gRefuser, code, wParam, lParam);
}

BOOL CALLBACK CountShellWindow(HWND hWnd, LPARAM count) {
  char name[16] = {};
  if (GetClassNameA(hWnd, name, sizeof name) > 0 && std::strcmp(name, "OpenGL") == 0)
    ++*reinterpret_cast<int*>(count);
  return TRUE;
}

}  // namespace

std::function<void()> RestoreEvent(HWND hWnd) {
  // The restored window's client size comes with the message.
  RECT client{};
  GetClientRect(hWnd, &client);
  const LPARAM size = MAKELPARAM(client.right - client.left, client.bottom - client.top);
  return [hWnd, size] { PostMessageA(hWnd, WM_SIZE, SIZE_RESTORED, size); };
}

std::unique_ptr<Delivery> DeliverWhenLoopWaits(HWND hWnd, std::function<void()> event) {
  auto d = std::make_unique<ThreadDelivery>();
  ThreadDelivery::current = d.get();
  d->hook = SetWindowsHookExA(WH_GETMESSAGE, WatchForMarker, nullptr, GetCurrentThreadId());
  PostMessageA(hWnd, WM_NULL, kMarker, 0);
  d->thread = std::thread([d = d.get(), event = std::move(event)] {
    std::unique_lock<std::mutex> lock(d->mutex);
    d->changed.wait(lock, [d] { return d->taken || d->cancelled; });
    if (d->taken) event();
  });
  return d;
}

void ClickCloseBox(HWND hWnd) { PostMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); }

// What taskkill without /F does: it posts WM_CLOSE to the program's top-level windows.
void AskToEnd(HWND hWnd) { PostMessageA(hWnd, WM_CLOSE, 0, 0); }

void RefuseWindowCreation() { gRefuser = SetWindowsHookExA(WH_CBT, RefuseCreation, nullptr, GetCurrentThreadId()); }

void AllowWindowCreation() {
  if (gRefuser) UnhookWindowsHookEx(gRefuser);
  gRefuser = nullptr;
}

int ShellWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountShellWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

std::string WindowTitle(HWND hWnd) {
  char title[256] = {};
  GetWindowTextA(hWnd, title, sizeof title);
  return title;
}

PIXELFORMATDESCRIPTOR GrantedPixelFormat(HDC dc) {
  PIXELFORMATDESCRIPTOR pfd{};
  DescribePixelFormat(dc, GetPixelFormat(dc), sizeof pfd, &pfd);
  return pfd;
}

bool RequestedPixelFormat(HDC, PIXELFORMATDESCRIPTOR*) { return false; }

}  // namespace inject
