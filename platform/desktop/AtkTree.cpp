// Desktop: the accessibility tree as ATK objects (AtkTree.h). One GObject type serves the
// application, the frame and the nodes; each carries what it shows in a plain record. The records
// of the nodes are kept by ID, so an update changes objects in place and makes or drops only the
// ones whose elements came or went; a dropped object that a reader still holds turns defunct.
#include "AtkTree.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

namespace atk_tree {
namespace {

enum class Kind : uint8_t { Application, Frame, Node, Alert };

struct Record {
  Kind kind = Kind::Node;
  TAccessNode node;                  // a node's own, as last published
  std::vector<AtkObject*> children;  // in reading order; the references are the mirror's
  bool defunct = false;
};

struct GlguiAccessible {
  AtkObject parent;
  Record* record;
};
struct GlguiAccessibleClass {
  AtkObjectClass parent_class;
};

void ComponentInit(AtkComponentIface* iface);
void ActionInit(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(GlguiAccessible, glgui_accessible, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, ComponentInit)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, ActionInit))

Record& RecordOf(gpointer object) { return *reinterpret_cast<GlguiAccessible*>(object)->record; }

// What the mirror holds: one reference to each object.
struct Mirror {
  WindowLookup lookup = nullptr;
  AtkObject* application = nullptr;
  AtkObject* frame = nullptr;
  std::unordered_map<int32_t, AtkObject*> nodes;
  int32_t focused = -1;        // the ID of the focused node, -1 for none
  WindowFacts window;          // as last told
  AtkObject* alert = nullptr;  // a message box's, while one is shown
};
Mirror gMirror;

WindowFacts CurrentWindow() { return gMirror.lookup ? gMirror.lookup() : WindowFacts{}; }

AtkRole RoleFor(const TAccessNode& node) {
  switch (node.Role) {
    case AccessRoleGroup:
      return ATK_ROLE_PANEL;
    case AccessRoleText:
      return ATK_ROLE_LABEL;
    case AccessRoleButton:
      return ATK_ROLE_PUSH_BUTTON;
    default:
      return node.Name.empty() ? ATK_ROLE_FILLER : ATK_ROLE_PANEL;
  }
}

// ---- AtkObject -----------------------------------------------------------------------------------

gint GetNChildren(AtkObject* object) { return static_cast<gint>(RecordOf(object).children.size()); }

AtkObject* RefChild(AtkObject* object, gint index) {
  const auto& children = RecordOf(object).children;
  if (index < 0 || static_cast<size_t>(index) >= children.size()) return nullptr;
  return ATK_OBJECT(g_object_ref(children[static_cast<size_t>(index)]));
}

gint GetIndexInParent(AtkObject* object) {
  if (RecordOf(object).kind == Kind::Application) return -1;
  AtkObject* parent = object->accessible_parent;
  if (!parent) return -1;
  const auto& siblings = RecordOf(parent).children;
  const auto at = std::find(siblings.begin(), siblings.end(), object);
  return at == siblings.end() ? -1 : static_cast<gint>(at - siblings.begin());
}

AtkStateSet* RefStateSet(AtkObject* object) {
  AtkStateSet* set = atk_state_set_new();
  const Record& r = RecordOf(object);
  if (r.defunct) {
    atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
    return set;
  }
  atk_state_set_add_state(set, ATK_STATE_ENABLED);
  atk_state_set_add_state(set, ATK_STATE_SENSITIVE);
  const WindowFacts window = r.kind == Kind::Application ? WindowFacts{} : CurrentWindow();
  if ((r.kind != Kind::Application && window.Shown) || r.kind == Kind::Alert) {
    atk_state_set_add_state(set, ATK_STATE_VISIBLE);
    atk_state_set_add_state(set, ATK_STATE_SHOWING);
  }
  if (r.kind == Kind::Frame && window.Active) atk_state_set_add_state(set, ATK_STATE_ACTIVE);
  if (r.kind == Kind::Node || r.kind == Kind::Alert) {
    if (r.node.States & AccessFocusable) atk_state_set_add_state(set, ATK_STATE_FOCUSABLE);
    if (r.node.States & AccessFocused) atk_state_set_add_state(set, ATK_STATE_FOCUSED);
    if (r.node.States & AccessPressed) atk_state_set_add_state(set, ATK_STATE_PRESSED);
  }
  return set;
}

void Finalize(GObject* object) {
  delete reinterpret_cast<GlguiAccessible*>(object)->record;
  G_OBJECT_CLASS(glgui_accessible_parent_class)->finalize(object);
}

void glgui_accessible_class_init(GlguiAccessibleClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = Finalize;
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->get_n_children = GetNChildren;
  atk->ref_child = RefChild;
  atk->get_index_in_parent = GetIndexInParent;
  atk->ref_state_set = RefStateSet;
}

void glgui_accessible_init(GlguiAccessible* self) { self->record = new Record; }

AtkObject* Make(Kind kind, AtkRole role) {
  auto* object = ATK_OBJECT(g_object_new(glgui_accessible_get_type(), nullptr));
  RecordOf(object).kind = kind;
  atk_object_set_role(object, role);
  return object;
}

// ---- AtkComponent --------------------------------------------------------------------------------

// The rectangle in the window's client pixels, whole pixels covering the node.
void WindowRect(const Record& r, int& x, int& y, int& width, int& height) {
  if (r.kind != Kind::Node) {
    const WindowFacts window = CurrentWindow();
    x = y = 0;
    width = window.Width;
    height = window.Height;
    return;
  }
  const double left = std::floor(r.node.Left), top = std::floor(r.node.Top);
  x = static_cast<int>(left);
  y = static_cast<int>(top);
  width = static_cast<int>(std::ceil(r.node.Right) - left);
  height = static_cast<int>(std::ceil(r.node.Bottom) - top);
}

void GetExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height, AtkCoordType coords) {
  int ox = 0, oy = 0, w = 0, h = 0;
  const Record& r = RecordOf(component);
  if ((r.kind == Kind::Frame || r.kind == Kind::Node) && !r.defunct) {
    WindowRect(r, ox, oy, w, h);
    if (coords == ATK_XY_SCREEN) {
      const WindowFacts window = CurrentWindow();
      ox += window.X;
      oy += window.Y;
    } else if (coords == ATK_XY_PARENT && r.kind == Kind::Node) {
      AtkObject* parent = ATK_OBJECT(component)->accessible_parent;
      int px = 0, py = 0, pw = 0, ph = 0;
      if (parent) WindowRect(RecordOf(parent), px, py, pw, ph);
      ox -= px;
      oy -= py;
    }
  }
  if (x) *x = ox;
  if (y) *y = oy;
  if (width) *width = w;
  if (height) *height = h;
}

// Whether the node's actions can run now: not while a box waits.
bool Acts(const Record& r) { return r.kind == Kind::Node && !r.defunct && !gMirror.alert; }

gboolean GrabFocus(AtkComponent* component) {
  const Record& r = RecordOf(component);
  return Acts(r) && (r.node.Actions & AccessActionFocus) && RunAccessAction(r.node.ID, AccessActionFocus);
}

void ComponentInit(AtkComponentIface* iface) {
  iface->get_extents = GetExtents;
  iface->grab_focus = GrabFocus;
}

// ---- AtkAction -----------------------------------------------------------------------------------

// A node's actions in the order readers number them: the bits of TAccessNode::Actions it has.
constexpr struct {
  uint8_t bit;
  const char* name;
  const char* description;
} kActions[] = {{AccessActionPress, "press", "Presses the button"},
                {AccessActionFocus, "focus", "Moves the keyboard focus here"}};

// The bit of the node's action numbered `index`, 0 when it has no such action.
uint8_t ActionBit(gpointer object, gint index) {
  const Record& r = RecordOf(object);
  if (r.kind != Kind::Node || r.defunct || index < 0) return 0;
  for (const auto& action : kActions)
    if ((r.node.Actions & action.bit) && index-- == 0) return action.bit;
  return 0;
}

const char* ActionField(gpointer object, gint index, bool description) {
  const uint8_t bit = ActionBit(object, index);
  for (const auto& action : kActions)
    if (action.bit == bit) return description ? action.description : action.name;
  return nullptr;
}

gboolean DoAction(AtkAction* action, gint index) {
  const uint8_t bit = ActionBit(action, index);
  return bit != 0 && Acts(RecordOf(action)) && RunAccessAction(RecordOf(action).node.ID, bit);
}

gint GetNActions(AtkAction* action) {
  gint count = 0;
  while (ActionBit(action, count) != 0) ++count;
  return count;
}

const gchar* GetActionName(AtkAction* action, gint index) { return ActionField(action, index, false); }
const gchar* GetActionDescription(AtkAction* action, gint index) { return ActionField(action, index, true); }

void ActionInit(AtkActionIface* iface) {
  iface->do_action = DoAction;
  iface->get_n_actions = GetNActions;
  iface->get_name = GetActionName;
  iface->get_localized_name = GetActionName;
  iface->get_description = GetActionDescription;
}

// ---- AtkUtil -------------------------------------------------------------------------------------

AtkObject* GetRoot() { return gMirror.application; }
const gchar* GetToolkitName() { return "glgui"; }
const gchar* GetToolkitVersion() { return "1"; }

// ---- updates -------------------------------------------------------------------------------------

void Drop(AtkObject* object) {
  Record& r = RecordOf(object);
  r.defunct = true;
  r.children.clear();
  atk_object_notify_state_change(object, ATK_STATE_DEFUNCT, TRUE);
  g_object_unref(object);
}

// Tells listeners how `parent`'s children changed from its record's list to `now`, and keeps `now`.
void SetChildren(AtkObject* parent, std::vector<AtkObject*> now) {
  auto& before = RecordOf(parent).children;
  if (before == now) return;
  const std::vector<AtkObject*> old = std::move(before);
  before = std::move(now);
  for (size_t i = old.size(); i-- > 0;)
    if (std::find(before.begin(), before.end(), old[i]) == before.end())
      g_signal_emit_by_name(parent, "children-changed::remove", static_cast<guint>(i), old[i]);
  for (size_t i = 0; i < before.size(); ++i) {
    if (before[i]->accessible_parent != parent) atk_object_set_parent(before[i], parent);
    if (std::find(old.begin(), old.end(), before[i]) == old.end())
      g_signal_emit_by_name(parent, "children-changed::add", static_cast<guint>(i), before[i]);
  }
}

void SetFocus(int32_t id) {
  if (id == gMirror.focused) return;
  const auto before = gMirror.nodes.find(gMirror.focused);
  if (before != gMirror.nodes.end()) atk_object_notify_state_change(before->second, ATK_STATE_FOCUSED, FALSE);
  gMirror.focused = id;
  const auto now = gMirror.nodes.find(id);
  if (now == gMirror.nodes.end()) return;
  atk_object_notify_state_change(now->second, ATK_STATE_FOCUSED, TRUE);
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  // Readers that follow the older focus events (AT-SPI's "focus:") still hear of it.
  atk_focus_tracker_notify(now->second);
  G_GNUC_END_IGNORE_DEPRECATIONS
}

}  // namespace

void Install(WindowLookup lookup) {
  gMirror.lookup = lookup;
  if (gMirror.application) return;
  auto* util = static_cast<AtkUtilClass*>(g_type_class_ref(ATK_TYPE_UTIL));
  util->get_root = GetRoot;
  util->get_toolkit_name = GetToolkitName;
  util->get_toolkit_version = GetToolkitVersion;
  gMirror.application = Make(Kind::Application, ATK_ROLE_APPLICATION);
  gMirror.frame = Make(Kind::Frame, ATK_ROLE_FRAME);
  SetChildren(gMirror.application, {gMirror.frame});
  WindowChanged();
}

AtkObject* Application() { return gMirror.application; }

void ShowAlert(const std::string& caption, const std::string& text) {
  if (!gMirror.application || gMirror.alert) return;
  AtkObject* alert = Make(Kind::Alert, ATK_ROLE_ALERT);
  AtkObject* label = Make(Kind::Alert, ATK_ROLE_LABEL);
  AtkObject* ok = Make(Kind::Alert, ATK_ROLE_PUSH_BUTTON);
  atk_object_set_name(alert, caption.c_str());
  atk_object_set_name(label, text.c_str());
  atk_object_set_name(ok, "OK");
  RecordOf(ok).node.States = AccessFocusable | AccessFocused;
  // The alert's list holds the references to its parts; they go with it.
  SetChildren(alert, {label, ok});
  gMirror.alert = alert;
  std::vector<AtkObject*> top = RecordOf(gMirror.application).children;
  top.push_back(alert);
  SetChildren(gMirror.application, std::move(top));
  const auto focused = gMirror.nodes.find(gMirror.focused);
  if (focused != gMirror.nodes.end()) atk_object_notify_state_change(focused->second, ATK_STATE_FOCUSED, FALSE);
  atk_object_notify_state_change(ok, ATK_STATE_FOCUSED, TRUE);
}

void HideAlert() {
  AtkObject* alert = gMirror.alert;
  if (!alert) return;
  gMirror.alert = nullptr;
  SetChildren(gMirror.application, {gMirror.frame});
  for (AtkObject* part : RecordOf(alert).children) Drop(part);
  Drop(alert);
  const auto focused = gMirror.nodes.find(gMirror.focused);
  if (focused != gMirror.nodes.end()) atk_object_notify_state_change(focused->second, ATK_STATE_FOCUSED, TRUE);
}

void WindowChanged() {
  if (!gMirror.application) return;
  const WindowFacts now = CurrentWindow();
  WindowFacts& before = gMirror.window;
  if (now.Title != before.Title || atk_object_get_name(gMirror.frame) == nullptr) {
    atk_object_set_name(gMirror.application, now.Title.c_str());
    atk_object_set_name(gMirror.frame, now.Title.c_str());
  }
  if (now.Shown != before.Shown) {
    atk_object_notify_state_change(gMirror.frame, ATK_STATE_VISIBLE, now.Shown);
    atk_object_notify_state_change(gMirror.frame, ATK_STATE_SHOWING, now.Shown);
  }
  if (now.Active != before.Active) atk_object_notify_state_change(gMirror.frame, ATK_STATE_ACTIVE, now.Active);
  before = now;
}

void Update(const TAccessTree& tree) {
  if (!gMirror.application) return;
  std::unordered_map<int32_t, AtkObject*> kept;
  std::vector<AtkObject*> objects(tree.Nodes.size(), nullptr);
  int32_t focused = -1;
  for (size_t i = 0; i < tree.Nodes.size(); ++i) {
    const TAccessNode& node = tree.Nodes[i];
    if (kept.count(node.ID)) continue;  // an ID listed twice: the first one stands
    AtkObject* object;
    const auto old = gMirror.nodes.find(node.ID);
    const bool fresh = old == gMirror.nodes.end();
    if (fresh) {
      object = Make(Kind::Node, RoleFor(node));
    } else {
      object = old->second;
      gMirror.nodes.erase(old);
    }
    kept.emplace(node.ID, object);
    objects[i] = object;
    Record& r = RecordOf(object);
    const TAccessNode before = r.node;
    r.node = node;
    if (node.States & AccessFocused) focused = node.ID;
    if (fresh) {
      atk_object_set_name(object, node.Name.c_str());
      continue;
    }
    if (RoleFor(node) != RoleFor(before)) atk_object_set_role(object, RoleFor(node));
    if (node.Name != before.Name) atk_object_set_name(object, node.Name.c_str());
    if ((node.States ^ before.States) & AccessPressed)
      atk_object_notify_state_change(object, ATK_STATE_PRESSED, (node.States & AccessPressed) != 0);
    if ((node.States ^ before.States) & AccessFocusable)
      atk_object_notify_state_change(object, ATK_STATE_FOCUSABLE, (node.States & AccessFocusable) != 0);
  }

  std::vector<AtkObject*> screens;
  std::unordered_map<AtkObject*, std::vector<AtkObject*>> lists;
  for (size_t i = 0; i < tree.Nodes.size(); ++i) {
    if (!objects[i]) continue;
    const int32_t parent = tree.Nodes[i].Parent;
    if (parent >= 0 && static_cast<size_t>(parent) < i && objects[static_cast<size_t>(parent)])
      lists[objects[static_cast<size_t>(parent)]].push_back(objects[i]);
    else
      screens.push_back(objects[i]);
  }
  // What has gone first, so that no list names an object that is about to be dropped.
  for (auto& gone : gMirror.nodes) {
    AtkObject* parent = gone.second->accessible_parent;
    if (parent && parent != gMirror.frame && kept.count(RecordOf(parent).node.ID) == 0) continue;
    if (parent) {
      auto& siblings = RecordOf(parent).children;
      const auto at = std::find(siblings.begin(), siblings.end(), gone.second);
      if (at != siblings.end()) {
        const auto index = static_cast<guint>(at - siblings.begin());
        siblings.erase(at);
        g_signal_emit_by_name(parent, "children-changed::remove", index, gone.second);
      }
    }
  }
  const int32_t wasFocused = gMirror.focused;
  if (gMirror.nodes.count(wasFocused)) {
    atk_object_notify_state_change(gMirror.nodes[wasFocused], ATK_STATE_FOCUSED, FALSE);
    gMirror.focused = -1;
  }
  for (auto& gone : gMirror.nodes) Drop(gone.second);
  gMirror.nodes = std::move(kept);

  SetChildren(gMirror.frame, std::move(screens));
  for (AtkObject* object : objects)
    if (object) SetChildren(object, std::move(lists[object]));
  SetFocus(focused);
}

}  // namespace atk_tree
