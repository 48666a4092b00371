// Win32 backend: the accessibility tree's Windows side, through MSAA. SetAccessWindow subclasses the
// shell's window, so that the shell knows nothing of it: the window answers WM_GETOBJECT for its
// client area with an IAccessible over the published tree (Win32AccessObject.cpp), runs the actions
// that screen readers post back to it, and tells with NotifyWinEvent when the focus, a name, a state
// or the tree's shape changes.
//
// The objects live in the multithreaded apartment, on a thread of ours. The main thread cannot hold
// them: it is a single-threaded apartment as soon as the system's text input joins it to one (Wine's
// IMM does at the window's first activation, Windows' text services likewise), and an STA takes
// calls from other processes as messages to COM's own window, which the program's loop (it takes
// only its own window's messages) would never dispatch. So the MTA thread marshals each answer to
// WM_GETOBJECT, a screen reader's calls run on COM's threads against a copy of the tree, and what
// they ask for comes back to the window as a posted message. Until a client asks, nothing here
// touches COM or starts a thread: a published tree is copied and compared, and NotifyWinEvent
// returns at once when nobody listens.
#include "AccessWindow.h"
#include "Accessibility.h"
#include "Win32Access.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <system_error>
#include <thread>

using namespace win32_access;

namespace {

const char* const kChainedProcProperty = "glgui.AccessChainedProc";

// What only the main thread touches, and the MTA thread's mailbox.
struct MainThreadState {
  std::vector<std::pair<DWORD, LONG>> Events;  // this publication's events, raised after the copy
  std::vector<IAccessible*> Dropped;           // objects let go of, disconnected outside the lock
  std::thread Mta;                             // runs from the first WM_GETOBJECT to the window's end
  std::mutex MtaLock;
  std::condition_variable MtaWake;
  std::function<void()> MtaJob;  // set by the main thread, which waits until the MTA thread clears it
  bool MtaQuit = false;
};

MainThreadState& Main() {
  static MainThreadState* state = new MainThreadState;
  return *state;
}

void MtaLoop(MainThreadState& m) {
  const HRESULT joined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    std::unique_lock<std::mutex> lock(m.MtaLock);
    for (;;) {
      m.MtaWake.wait(lock, [&m] { return m.MtaJob || m.MtaQuit; });
      if (!m.MtaJob) break;
      m.MtaJob();
      m.MtaJob = nullptr;
      m.MtaWake.notify_all();
    }
  }
  if (SUCCEEDED(joined)) CoUninitialize();
}

// Runs `job` in the MTA, on its thread (started when first needed), and waits for it. The jobs are
// COM's own work on our objects (marshalling, disconnecting): none waits for a client.
bool InMta(const std::function<void()>& job) {
  MainThreadState& m = Main();
  if (!m.Mta.joinable()) {
    try {
      m.Mta = std::thread(MtaLoop, std::ref(m));
    } catch (const std::system_error&) {
      return false;
    }
  }
  std::unique_lock<std::mutex> lock(m.MtaLock);
  m.MtaJob = job;
  m.MtaWake.notify_all();
  m.MtaWake.wait(lock, [&m] { return !m.MtaJob; });
  return true;
}

void StopMta() {
  MainThreadState& m = Main();
  if (!m.Mta.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(m.MtaLock);
    m.MtaQuit = true;
  }
  m.MtaWake.notify_all();
  m.Mta.join();
  m.MtaQuit = false;
}

// Clients that hold one of these objects lose it: their calls fail from now on, and the references
// COM's stubs held for them are let go of.
void DisconnectDropped() {
  MainThreadState& m = Main();
  if (m.Dropped.empty()) return;
  InMta([&m] {
    for (IAccessible* object : m.Dropped) CoDisconnectObject(object, 0);
  });
  for (IAccessible* object : m.Dropped) object->Release();
  m.Dropped.clear();
}

LRESULT CALLBACK AccessWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

WNDPROC ChainedProc(HWND window) { return reinterpret_cast<WNDPROC>(GetPropA(window, kChainedProcProperty)); }

void Subclass(HWND window) {
  const LONG_PTR previous = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AccessWindowProc));
  SetPropA(window, kChainedProcProperty, reinterpret_cast<HANDLE>(previous));
}

// Puts the window's procedure back, unless another was put over ours meanwhile: then ours stays in
// the chain and only passes messages on.
void Unsubclass(HWND window) {
  const WNDPROC chained = ChainedProc(window);
  if (!chained) return;
  if (GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AccessWindowProc)) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chained));
    RemovePropA(window, kChainedProcProperty);
  }
}

std::wstring WindowTitle(HWND window) {
  std::wstring title(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  title.resize(static_cast<size_t>(GetWindowTextW(window, &title[0], static_cast<int>(title.size()))));
  return title;
}

// WM_GETOBJECT for the client area: the client object, marshalled in the MTA.
LRESULT AnswerGetObject(HWND window, WPARAM wParam) {
  Win32AccessData& d = AccessData();
  IAccessible* client = nullptr;
  {
    std::lock_guard<std::mutex> lock(d.Lock);
    if (d.Window == window) client = ClientObject(d);
  }
  if (!client) return 0;
  LRESULT result = 0;
  InMta([&] { result = LresultFromObject(__uuidof(IAccessible), wParam, client); });
  client->Release();
  return result;
}

LRESULT CALLBACK AccessWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC chained = ChainedProc(window);
  Win32AccessData& d = AccessData();
  // The object ID is a LONG in the low half, whether or not the sender extended its sign.
  if (message == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT && window == d.Window) {
    if (const LRESULT answer = AnswerGetObject(window, wParam)) return answer;
  } else if (message == d.ActionMessage && d.ActionMessage != 0) {
    RunAccessAction(static_cast<int32_t>(static_cast<uint32_t>(wParam)), static_cast<uint8_t>(lParam));
    return 0;
  } else if (message == WM_SETTEXT && window == d.Window) {
    const LRESULT result = CallWindowProcA(chained, window, message, wParam, lParam);
    std::wstring title = WindowTitle(window);
    {
      std::lock_guard<std::mutex> lock(d.Lock);
      d.Title.swap(title);
    }
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    return result;
  } else if (message == WM_NCDESTROY) {
    // Destroyed while still set (the shell clears it first): the objects go with the window.
    if (window == d.Window) SetAccessWindow(nullptr);
    RemovePropA(window, kChainedProcProperty);
  }
  return chained ? CallWindowProcA(chained, window, message, wParam, lParam)
                 : DefWindowProcA(window, message, wParam, lParam);
}

const TAccessNode* Focused(const std::vector<TAccessNode>& nodes) {
  for (const TAccessNode& node : nodes)
    if (node.States & AccessFocused) return &node;
  return nullptr;
}

// The events that tell a change from `before` to `after`: the tree's shape (nodes come, go or move)
// as one reorder of the client, else each node's new name or states; then the focus, last.
void CollectEvents(const std::vector<TAccessNode>& before, const std::vector<TAccessNode>& after,
                   std::vector<std::pair<DWORD, LONG>>& events) {
  bool sameShape = before.size() == after.size();
  for (size_t i = 0; sameShape && i < after.size(); ++i)
    sameShape = before[i].ID == after[i].ID && before[i].Parent == after[i].Parent;
  if (!sameShape) {
    events.emplace_back(EVENT_OBJECT_REORDER, CHILDID_SELF);
  } else {
    for (size_t i = 0; i < after.size(); ++i) {
      if (before[i].Name != after[i].Name) events.emplace_back(EVENT_OBJECT_NAMECHANGE, ChildIdOf(after[i].ID));
      if (before[i].States != after[i].States) events.emplace_back(EVENT_OBJECT_STATECHANGE, ChildIdOf(after[i].ID));
    }
  }
  const TAccessNode *now = Focused(after), *was = Focused(before);
  if (now && (!was || was->ID != now->ID)) events.emplace_back(EVENT_OBJECT_FOCUS, ChildIdOf(now->ID));
}

// Takes the objects made for the window out of the data, to be let go of outside the lock.
void TakeObjects(Win32AccessData& d, std::vector<IAccessible*>& into) {
  if (d.Client) into.push_back(d.Client);
  d.Client = nullptr;
  for (const auto& entry : d.Containers) into.push_back(entry.second);
  d.Containers.clear();
}

}  // namespace

Win32AccessData& win32_access::AccessData() {
  static Win32AccessData* data = new Win32AccessData;
  return *data;
}

void PublishAccessTree(const TAccessTree& tree) {
  Win32AccessData& d = AccessData();
  MainThreadState& m = Main();
  m.Events.clear();
  HWND window;
  {
    std::lock_guard<std::mutex> lock(d.Lock);
    window = d.Window;
    if (window) CollectEvents(d.Nodes, tree.Nodes, m.Events);
    d.Nodes = tree.Nodes;  // into the storage of the last copy
    // The objects of containers that went are disconnected, as a window's are when it goes: a
    // client finds the element again, if it comes back, through its parent.
    for (size_t i = 0; i < d.Containers.size();) {
      const int32_t id = d.Containers[i].first;
      const bool shown = std::any_of(d.Nodes.begin(), d.Nodes.end(), [id](const TAccessNode& n) { return n.ID == id; });
      if (shown) {
        ++i;
      } else {
        m.Dropped.push_back(d.Containers[i].second);
        d.Containers.erase(d.Containers.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
  }
  DisconnectDropped();
  for (const auto& event : m.Events) NotifyWinEvent(event.first, window, OBJID_CLIENT, event.second);
}

void SetAccessWindow(HWND window) {
  Win32AccessData& d = AccessData();
  MainThreadState& m = Main();
  if (window == d.Window) return;
  if (d.Window) Unsubclass(d.Window);
  if (d.ActionMessage == 0) d.ActionMessage = RegisterWindowMessageA("glgui.AccessAction");
  std::wstring title = window ? WindowTitle(window) : std::wstring();
  {
    std::lock_guard<std::mutex> lock(d.Lock);
    d.Window = window;
    ++d.Generation;
    d.Title.swap(title);
    TakeObjects(d, m.Dropped);
  }
  DisconnectDropped();  // COM is touched only if a client asked
  StopMta();
  if (window) Subclass(window);
}
