// A screen reader's view of gui_demo through MSAA, from another process: finds the demo's window
// (class "OpenGL"), asks it for its client object with AccessibleObjectFromWindow and walks it with
// AccessibleChildren. The access scenarios of e2e_wine.sh drive it.
//   access_client wait NAME...  waits (up to 30 s) until nodes of all those names show on the window
//                               (their centres in the client area; the view leans while a page
//                               comes, and the plane at rest reaches a little past the window), then
//                               prints the client area ("window L T W H") and a line per node: depth,
//                               role text, name, location (L T W H on the screen), states
//   access_client focus NAME    waits for the node NAME, gives it the focus (accSelect) and waits for
//                               the focus event, whose element it names as AccessibleObjectFromEvent finds it
//   access_client press NAME    waits for the node NAME, then runs its default action
//   access_client stale         holds the client object until the window is made anew, then says what
//                               a call on it gives ("stale 0x..."), and lists the new window's tree
// Exit code 0 when done, 1 on a failure or at the deadline (with the HRESULT or the last tree).
#include <windows.h>
// After <windows.h>, which it needs.
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Node {
  int depth;
  std::string role, name;
  LONG left, top, width, height, state;
  IAccessible* object;  // the node's owner, with `child` its child ID there
  VARIANT child;
};

std::string Utf8(BSTR text) {
  if (!text) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
  SysFreeString(text);
  return out;
}

void Describe(IAccessible* object, VARIANT child, int depth, std::vector<Node>& out) {
  Node node{depth, "", "", 0, 0, 0, 0, 0, object, child};
  object->AddRef();
  BSTR name = nullptr;
  object->get_accName(child, &name);
  node.name = Utf8(name);
  VARIANT v;
  VariantInit(&v);
  if (SUCCEEDED(object->get_accRole(child, &v)) && v.vt == VT_I4) {
    char text[64] = "";
    GetRoleTextA(static_cast<DWORD>(v.lVal), text, sizeof text);
    node.role = text;
  }
  VariantClear(&v);
  if (SUCCEEDED(object->get_accState(child, &v)) && v.vt == VT_I4) node.state = v.lVal;
  VariantClear(&v);
  object->accLocation(&node.left, &node.top, &node.width, &node.height, child);
  out.push_back(node);
}

// The object and its descendants, depth first.
void Walk(IAccessible* object, int depth, std::vector<Node>& out) {
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  Describe(object, self, depth, out);
  LONG count = 0;
  if (FAILED(object->get_accChildCount(&count)) || count <= 0 || count > 1000) return;
  std::vector<VARIANT> children(static_cast<size_t>(count));
  LONG got = 0;
  if (FAILED(AccessibleChildren(object, 0, count, children.data(), &got))) return;
  for (LONG i = 0; i < got; ++i) {
    VARIANT& c = children[static_cast<size_t>(i)];
    IAccessible* inner = nullptr;
    if (c.vt == VT_DISPATCH && c.pdispVal &&
        SUCCEEDED(c.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&inner)))) {
      Walk(inner, depth + 1, out);
      inner->Release();
    } else if (c.vt == VT_I4) {
      Describe(object, c, depth + 1, out);
    }
    VariantClear(&c);
  }
}

void Free(std::vector<Node>& nodes) {
  for (Node& n : nodes) n.object->Release();
  nodes.clear();
}

HWND DemoWindow() { return FindWindowA("OpenGL", nullptr); }

HRESULT ClientObject(HWND window, IAccessible** object) {
  *object = nullptr;
  return window
             ? AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(object))
             : HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
}

// The tree as it is now, with the window's client area; the failure's HRESULT if there is none.
HRESULT Read(std::vector<Node>& nodes, RECT& area) {
  Free(nodes);
  const HWND window = DemoWindow();
  IAccessible* client = nullptr;
  const HRESULT hr = ClientObject(window, &client);
  if (FAILED(hr)) return hr;
  GetClientRect(window, &area);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
  Walk(client, 0, nodes);
  client->Release();
  return S_OK;
}

void Print(const std::vector<Node>& nodes, const RECT& area) {
  std::printf("window\t%ld %ld %ld %ld\n", area.left, area.top, area.right - area.left, area.bottom - area.top);
  for (const Node& n : nodes)
    std::printf("%d\t%s\t%s\t%ld %ld %ld %ld\t0x%lx\n", n.depth, n.role.c_str(), n.name.c_str(), n.left, n.top, n.width,
                n.height, n.state);
  std::fflush(stdout);
}

const Node* Named(const std::vector<Node>& nodes, const char* name) {
  for (const Node& n : nodes)
    if (n.name == name) return &n;
  return nullptr;
}

bool Shown(const Node* n, const RECT& area) {
  const POINT centre{n ? n->left + n->width / 2 : 0, n ? n->top + n->height / 2 : 0};
  return n && n->width > 0 && n->height > 0 && PtInRect(&area, centre);
}

// Reads the tree until every name is in it, or 30 s have passed.
bool WaitFor(std::vector<Node>& nodes, RECT& area, char** names, int count) {
  const DWORD start = GetTickCount();
  for (;;) {
    const HRESULT hr = Read(nodes, area);
    bool all = SUCCEEDED(hr);
    for (int i = 0; all && i < count; ++i) all = Shown(Named(nodes, names[i]), area);
    if (all) return true;
    if (GetTickCount() - start > 30000) {
      std::printf("not found (last read 0x%08lx)\n", static_cast<unsigned long>(hr));
      Print(nodes, area);
      return false;
    }
    Sleep(50);
  }
}

std::string FocusedName;

void CALLBACK OnFocus(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  IAccessible* found = nullptr;
  VARIANT id;
  if (FAILED(AccessibleObjectFromEvent(window, object, child, &found, &id))) return;
  BSTR name = nullptr;
  found->get_accName(id, &name);
  FocusedName = Utf8(name);
  found->Release();
  VariantClear(&id);
}

int Focus(std::vector<Node>& nodes, RECT& area, char* name) {
  if (!WaitFor(nodes, area, &name, 1)) return 1;
  DWORD process = 0;
  GetWindowThreadProcessId(DemoWindow(), &process);
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocus, process, 0, WINEVENT_OUTOFCONTEXT);
  const Node* n = Named(nodes, name);
  const HRESULT hr = n->object->accSelect(SELFLAG_TAKEFOCUS, n->child);
  const DWORD start = GetTickCount();
  while (SUCCEEDED(hr) && FocusedName != name && GetTickCount() - start < 30000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);
  }
  UnhookWinEvent(hook);
  std::printf("focus \"%s\": 0x%08lx, event for \"%s\"\n", name, static_cast<unsigned long>(hr), FocusedName.c_str());
  return FocusedName == name ? 0 : 1;
}

int Stale(std::vector<Node>& nodes, RECT& area) {
  const HWND first = DemoWindow();
  IAccessible* held = nullptr;
  const HRESULT hr = ClientObject(first, &held);
  if (FAILED(hr)) return std::printf("AccessibleObjectFromWindow 0x%08lx\n", static_cast<unsigned long>(hr)), 1;
  LONG count = 0;
  std::printf("holding %ld\n", SUCCEEDED(held->get_accChildCount(&count)) ? count : -1L);
  std::fflush(stdout);
  const DWORD start = GetTickCount();
  while (DemoWindow() == first || !DemoWindow()) {
    if (GetTickCount() - start > 60000) return std::printf("the window was not made anew\n"), 1;
    Sleep(50);
  }
  std::printf("stale 0x%08lx\n", static_cast<unsigned long>(held->get_accChildCount(&count)));
  held->Release();
  char* none[1];
  return WaitFor(nodes, area, none, 0) ? (Print(nodes, area), 0) : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return std::fprintf(stderr, "usage: access_client wait NAME...|press NAME|focus NAME|stale\n"), 2;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::string command = argv[1];
  std::vector<Node> nodes;
  RECT area{};
  int status = 1;
  if (command == "wait") {
    if (WaitFor(nodes, area, argv + 2, argc - 2)) Print(nodes, area), status = 0;
  } else if (command == "press" && argc == 3) {
    if (WaitFor(nodes, area, argv + 2, 1)) {
      const Node* n = Named(nodes, argv[2]);
      const HRESULT hr = n->object->accDoDefaultAction(n->child);
      std::printf("press \"%s\": 0x%08lx\n", argv[2], static_cast<unsigned long>(hr));
      status = SUCCEEDED(hr) ? 0 : 1;
    }
  } else if (command == "focus" && argc == 3) {
    status = Focus(nodes, area, argv[2]);
  } else if (command == "stale") {
    status = Stale(nodes, area);
  } else {
    std::fprintf(stderr, "unknown command %s\n", argv[1]);
    status = 2;
  }
  Free(nodes);
  CoUninitialize();
  return status;
}
