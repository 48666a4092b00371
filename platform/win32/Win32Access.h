// Win32 backend, internal: what the window's side of the accessibility tree (Win32Accessibility.cpp)
// and its MSAA objects (Win32AccessObject.cpp) share. Screen readers call the objects on COM's
// threads of the multithreaded apartment, never on the program's: everything they read is a copy
// of the last published tree under `Lock`, and what they ask for goes to the window as a posted
// `ActionMessage`, which the window's procedure hands to RunAccessAction on the main thread.
#pragma once

#include "Accessibility.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <oleacc.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace win32_access {

struct Win32AccessData {
  std::mutex Lock;                 // guards everything below; held only for copies and lookups, never across a call out
  HWND Window = nullptr;           // the window that answers WM_GETOBJECT, null while there is none
  uint32_t Generation = 0;         // counts windows: an object made for an earlier one is disconnected
  std::vector<TAccessNode> Nodes;  // the last published tree
  std::wstring Title;              // the window's title: the client object's name
  UINT ActionMessage = 0;          // posted to the window: WPARAM the element's ID, LPARAM the action
  IAccessible* Client = nullptr;   // the client object, made when first asked for
  std::vector<std::pair<int32_t, IAccessible*>> Containers;  // objects of nodes with children, by ID
};

// The one instance, never destroyed: a client may call an object after the program's statics went.
Win32AccessData& AccessData();

// A new MSAA object, one reference held: the window's client object (`id` is ignored) or the object
// of the node with element ID `id`. Both are bound to `generation`.
IAccessible* NewAccessObject(uint32_t generation, bool client, int32_t id);

// The object of a container node or of the client, made on first use and kept (one reference added
// for the caller). Called with the lock held.
IAccessible* ClientObject(Win32AccessData& d);
IAccessible* ContainerObject(Win32AccessData& d, int32_t id);

// ---- the published nodes in MSAA's terms (Win32AccessNodes.cpp) ----

constexpr int kClient = -1;   // the index that stands for the client object (the screens' parent)
constexpr int kMissing = -2;  // no such node

// MSAA's child ID of an element (CHILDID_SELF, 0, is the object itself): the element's ID plus one,
// a negative ID as it is; never 0. Unique within the window, at whatever depth the element lies.
inline LONG ChildIdOf(int32_t id) {
  return id >= 0 ? static_cast<LONG>(static_cast<uint32_t>(id) + 1u) : static_cast<LONG>(id);
}

// Indices into the nodes; kMissing when there is none.
int IndexOfChildId(const std::vector<TAccessNode>& nodes, LONG childId);
int IndexOfId(const std::vector<TAccessNode>& nodes, int32_t id);
int FirstChild(const std::vector<TAccessNode>& nodes, int parent);            // parent kClient: the first screen
int NextSibling(const std::vector<TAccessNode>& nodes, int index, int step);  // step 1 or -1
// Whether node `index` is `ancestor` or lies below it (everything lies below kClient).
bool Within(const std::vector<TAccessNode>& nodes, int index, int ancestor);

BSTR Utf8ToBstr(const std::string& text);
LONG RoleOf(uint8_t role);
LONG StateOf(const TAccessNode& node);
// A node's rectangle (kClient: the client area's) on the screen. With the lock held: it asks the
// window's thread nothing.
RECT Bounds(const Win32AccessData& d, int index);

}  // namespace win32_access
