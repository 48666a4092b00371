// Win32 backend: the published accessibility tree's nodes in MSAA's terms: where a node is among the
// others, its role and states as MSAA numbers them, its name as a BSTR and its place on the screen.
#include "Win32Access.h"

#include <cmath>

namespace win32_access {

int IndexOfChildId(const std::vector<TAccessNode>& nodes, LONG childId) {
  for (size_t i = 0; i < nodes.size(); ++i)
    if (ChildIdOf(nodes[i].ID) == childId) return static_cast<int>(i);
  return kMissing;
}

int IndexOfId(const std::vector<TAccessNode>& nodes, int32_t id) {
  for (size_t i = 0; i < nodes.size(); ++i)
    if (nodes[i].ID == id) return static_cast<int>(i);
  return kMissing;
}

// Children follow their parent in the tree's order, each after its earlier siblings (and their
// descendants).
int FirstChild(const std::vector<TAccessNode>& nodes, int parent) {
  for (size_t i = static_cast<size_t>(parent + 1); i < nodes.size(); ++i)
    if (nodes[i].Parent == parent) return static_cast<int>(i);
  return kMissing;
}

int NextSibling(const std::vector<TAccessNode>& nodes, int index, int step) {
  for (int i = index + step; i >= 0 && i < static_cast<int>(nodes.size()); i += step)
    if (nodes[static_cast<size_t>(i)].Parent == nodes[static_cast<size_t>(index)].Parent) return i;
  return kMissing;
}

bool Within(const std::vector<TAccessNode>& nodes, int index, int ancestor) {
  // Up the parents, each before its child (a tree that says otherwise ends the walk).
  for (int at = index; at >= 0; at = nodes[static_cast<size_t>(at)].Parent) {
    if (at == ancestor) return true;
    if (nodes[static_cast<size_t>(at)].Parent >= at) break;
  }
  return ancestor == kClient;
}

BSTR Utf8ToBstr(const std::string& text) {
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (out && length > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out, length);
  return out;
}

LONG RoleOf(uint8_t role) {
  switch (role) {
    case AccessRoleScreen:
      return ROLE_SYSTEM_PANE;
    case AccessRoleGroup:
      return ROLE_SYSTEM_GROUPING;
    case AccessRoleText:
      return ROLE_SYSTEM_STATICTEXT;
    default:
      return ROLE_SYSTEM_PUSHBUTTON;
  }
}

LONG StateOf(const TAccessNode& node) {
  LONG state = node.Role == AccessRoleText ? STATE_SYSTEM_READONLY : 0;
  if (node.States & AccessFocusable) state |= STATE_SYSTEM_FOCUSABLE;
  if (node.States & AccessFocused) state |= STATE_SYSTEM_FOCUSED;
  if (node.States & AccessPressed) state |= STATE_SYSTEM_PRESSED;
  if (node.States & AccessHovered) state |= STATE_SYSTEM_HOTTRACKED;
  return state;
}

RECT Bounds(const Win32AccessData& d, int index) {
  RECT r{0, 0, 0, 0};
  if (index == kClient) {
    GetClientRect(d.Window, &r);
  } else {
    const TAccessNode& n = d.Nodes[static_cast<size_t>(index)];
    r = RECT{std::lround(n.Left), std::lround(n.Top), std::lround(n.Right), std::lround(n.Bottom)};
  }
  POINT origin{0, 0};
  ClientToScreen(d.Window, &origin);
  OffsetRect(&r, origin.x, origin.y);
  return r;
}

}  // namespace win32_access
