// Keyboard focus and the accessibility tree. The elements handle the mouse inside their Draw; the
// keyboard is handled once a frame, in DrawCursor, over what the frame's screens drew: Tab moves the
// focus, Enter and Space press the focused button (which plays the press out in its next two
// Draws), the arrows move a focused panel. The same walk makes the tree a screen reader reads.
#include "GLGUI.h"

#include "GLGlobal.h"
#include "GUIShared.h"
#include "PlaneMapping.h"
#include "WinFonts.h"

#include <algorithm>
#include <cmath>

int32_t FocusedID = -1;
bool FocusVisible = false;
int32_t TouchSlop = 12;

namespace {

using gui_detail::ParentLeft;
using gui_detail::ParentTop;

// A screen drawn in this frame and the view it was drawn in.
struct DrawnScreen {
  TGUIscreen* screen;
  double modelview[16];
  double projection[16];
  GLint viewport[4];
};

// Whoever never calls DrawCursor still draws screens: the list stays this short.
constexpr size_t kMaxScreensPerFrame = 32;

struct AccessState {
  std::vector<DrawnScreen> screens;
  std::vector<TGUIobject*> focusables;  // this frame's, in focus order
  std::vector<TGUIpanel*> panels;       // this frame's visible panels
  std::vector<int32_t> namedScreens;    // IDs of the named screens the last frame showed
  std::vector<int32_t> shownNow;
  TAccessTree tree;
  size_t nodeCount = 0;  // nodes written in this frame's walk
  std::string name;      // a node's name as it is made
  // The frame in which each element ID was last met, so that an element listed twice (a slot added
  // twice) is one node and one stop of the focus.
  std::vector<uint32_t> metIn;
  uint32_t frame = 0;
  bool treeChanged = false;
  bool firstFrame = true;  // since InitGUI: the program's start is no news to announce
  int32_t pressID = -1;    // the button the keyboard presses, and how far it has got
  gui_detail::KeyPress pressNext = gui_detail::KeyPress::None;
  int32_t askedFocus = -1;  // actions from outside, run at the end of the frame
  int32_t askedPress = -1;
  bool pointerWasDown = false;
  // The button a tap was taken to, and where the finger was then: the finger's press and release
  // at the same point go to the same button, however the view leans meanwhile.
  int32_t tapButton = -1;
  int32_t tapX = 0, tapY = 0;
};

// Never destroyed: screens that a program keeps until its end still leave it when they go.
AccessState& State() {
  static AccessState* state = new AccessState;
  return *state;
}

bool Contains(const std::vector<int32_t>& ids, int32_t id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// ---- where an element is -------------------------------------------------------------------------

struct PlaneRect {
  double left, top, right, bottom;  // plane units, y up
};

// A rectangular element's rectangle on the plane, as its textured quads are drawn.
PlaneRect RectangleOf(const TGUIobject& e, const TGUISlot& parent) {
  const int32_t x = ParentLeft(parent) + e.Left, y = ParentTop(parent) + e.Top;
  return {gui_plane::VertexX(x), gui_plane::VertexY(y), gui_plane::VertexX(x + e.Width),
          gui_plane::VertexY(y + e.Height)};
}

PlaneRect PlaneRectOf(TGUIobject& e) {
  switch (e.Kind) {
    case KindPanel:
      return RectangleOf(e, static_cast<TGUIpanel&>(e).Parent);
    case KindButton:
      return RectangleOf(e, static_cast<TGUIButton&>(e).Parent);
    case KindBmpLabel: {
      // Glyph squares of Size / 500 a side, a step of Size / 760 apart (Fonts.cpp).
      const auto& label = static_cast<TGUIBmpLabel&>(e);
      const double square = label.Font.Size / 500.0, step = label.Font.Size / 760.0;
      const auto glyphs =
          std::count_if(label.Text.begin(), label.Text.end(), [](char c) { return static_cast<uint8_t>(c) >= 32; });
      const double width = glyphs > 0 ? static_cast<double>(glyphs - 1) * step + square : 0;
      return {label.OriginX, label.OriginY + square, label.OriginX + width, label.OriginY};
    }
    case KindSysLabel: {
      // Outline glyphs in em units, scaled; their metrics are the last system font's.
      const auto& label = static_cast<TGUISysLabel&>(e);
      double width = 0, ascent = 0, descent = 0;
      for (const char ch : label.Text) {
        const GLYPHMETRICSFLOAT& m = SystemFontMetrics[static_cast<uint8_t>(ch)];
        width += m.gmfCellIncX;
        ascent = std::max(ascent, static_cast<double>(m.gmfptGlyphOrigin.y));
        descent = std::min(descent, static_cast<double>(m.gmfptGlyphOrigin.y - m.gmfBlackBoxY));
      }
      if (ascent <= descent) ascent = 1;  // no metrics: an em above the baseline
      return {label.OriginX, label.OriginY + ascent * label.ScaleY, label.OriginX + width * label.ScaleX,
              label.OriginY + descent * label.ScaleY};
    }
    default:
      return {-GUIPlaneHalfWidth, GUIPlaneHalfHeight, GUIPlaneHalfWidth, -GUIPlaneHalfHeight};
  }
}

// The window pixels (from the top-left corner) that a plane rectangle covers in a screen's view.
void Project(const DrawnScreen& s, const PlaneRect& r, TAccessNode& node) {
  const double* m = s.modelview;
  const double* p = s.projection;
  const int32_t height = ScreenHeight > 0 ? ScreenHeight : s.viewport[1] + s.viewport[3];
  double left = HUGE_VAL, top = HUGE_VAL, right = -HUGE_VAL, bottom = -HUGE_VAL;
  for (int corner = 0; corner < 4; ++corner) {
    const double x = corner & 1 ? r.right : r.left, y = corner & 2 ? r.bottom : r.top;
    double eye[4], clip[4];
    for (int i = 0; i < 4; ++i) eye[i] = m[i] * x + m[4 + i] * y + m[12 + i];
    for (int i = 0; i < 4; ++i) clip[i] = p[i] * eye[0] + p[4 + i] * eye[1] + p[8 + i] * eye[2] + p[12 + i] * eye[3];
    if (!(clip[3] > 1e-9)) continue;  // behind the eye: not on the window
    const double wx = s.viewport[0] + (clip[0] / clip[3] + 1) * 0.5 * s.viewport[2];
    const double wy = height - (s.viewport[1] + (clip[1] / clip[3] + 1) * 0.5 * s.viewport[3]);
    left = std::min(left, wx);
    right = std::max(right, wx);
    top = std::min(top, wy);
    bottom = std::max(bottom, wy);
  }
  if (left > right) left = right = top = bottom = 0;
  // Whole pixels: a screen reader needs no more, and a lean of a hundredth of a pixel is no change.
  node.Left = std::floor(left);
  node.Top = std::floor(top);
  node.Right = std::ceil(right);
  node.Bottom = std::ceil(bottom);
}

// ---- the walk ------------------------------------------------------------------------------------

// Writes the next node over last frame's node at the same place, noting whether anything differs.
TAccessNode& NextNode(AccessState& st, const TGUIobject& e, int32_t parent, uint8_t role, const std::string& name) {
  if (st.nodeCount == st.tree.Nodes.size()) {
    st.tree.Nodes.emplace_back();
    st.treeChanged = true;
  }
  TAccessNode& node = st.tree.Nodes[st.nodeCount++];
  const std::string& text = name.empty() ? e.Name : name;
  Cp1250ToUtf8(text.data(), text.size(), st.name);
  if (node.ID != e.ID || node.Parent != parent || node.Role != role || node.Name != st.name) st.treeChanged = true;
  node.ID = e.ID;
  node.Parent = parent;
  node.Role = role;
  node.Name = st.name;
  return node;
}

void Finish(AccessState& st, TAccessNode& node, const DrawnScreen& s, const PlaneRect& r, uint8_t states,
            uint8_t actions) {
  const double l = node.Left, t = node.Top, rr = node.Right, b = node.Bottom;
  Project(s, r, node);
  if (node.States != states || node.Actions != actions || node.Left != l || node.Top != t || node.Right != rr ||
      node.Bottom != b)
    st.treeChanged = true;
  node.States = states;
  node.Actions = actions;
}

// Whether the walk met the element before in this frame; marks it met.
bool Seen(AccessState& st, int32_t id) {
  constexpr int32_t kMarkedIds = 1 << 16;  // IDs count up from 0 at InitGUI; a program may set others
  if (id < 0 || id >= kMarkedIds) {
    for (size_t i = 0; i < st.nodeCount; ++i)
      if (st.tree.Nodes[i].ID == id) return true;
    return false;
  }
  const auto at = static_cast<size_t>(id);
  if (at >= st.metIn.size()) st.metIn.resize(at + 1, 0);
  if (st.metIn[at] == st.frame) return true;
  st.metIn[at] = st.frame;
  return false;
}

bool ButtonUnderMouse(TGUIButton& b) {
  TGUIobject* parent = b.Parent.Get();
  if (!parent || !b.MouseInside()) return false;
  return parent->Kind != KindPanel || static_cast<TGUIpanel*>(parent)->IsHotIgnoringButtons();
}

void Walk(AccessState& st, const DrawnScreen& s, std::vector<TGUISlot>& children, int32_t parent) {
  for (size_t i = 0; i < children.size(); ++i) {
    TGUIobject* e = children[i].Get();
    if (!e || Seen(st, e->ID)) continue;
    const auto index = static_cast<int32_t>(st.nodeCount);
    switch (e->Kind) {
      case KindPanel: {
        auto& panel = *static_cast<TGUIpanel*>(e);
        if (!panel.Visible) break;
        st.panels.push_back(&panel);
        uint8_t states = panel.IsHot() ? AccessHovered : 0;
        if (panel.Draggable) {
          states |= AccessFocusable | (panel.ID == FocusedID ? AccessFocused : 0);
          st.focusables.push_back(&panel);
        }
        TAccessNode& node = NextNode(st, panel, parent, AccessRoleGroup, panel.Name);
        Finish(st, node, s, PlaneRectOf(panel), states, panel.Draggable ? AccessActionFocus : 0);
        Walk(st, s, panel.Children, index);
        break;
      }
      case KindButton: {
        auto& button = *static_cast<TGUIButton*>(e);
        const TGUIobject* owner = button.Parent.Get();
        // The buttons that take the mouse: visible, not switched off, on a screen or a panel.
        if (!button.Visible || button.Alpha == 0 || !owner || (owner->Kind != KindScreen && owner->Kind != KindPanel))
          break;
        st.focusables.push_back(&button);
        uint8_t states = AccessFocusable;
        if (button.ID == FocusedID) states |= AccessFocused;
        if (button.State == TGUIButton::Pressed) states |= AccessPressed;
        if (ButtonUnderMouse(button)) states |= AccessHovered;
        TAccessNode& node = NextNode(st, button, parent, AccessRoleButton, button.Caption);
        Finish(st, node, s, PlaneRectOf(button), states, AccessActionPress | AccessActionFocus);
        break;
      }
      case KindSysLabel:
      case KindBmpLabel: {
        const std::string& text =
            e->Kind == KindSysLabel ? static_cast<TGUISysLabel*>(e)->Text : static_cast<TGUIBmpLabel*>(e)->Text;
        const TGUISlot& owner =
            e->Kind == KindSysLabel ? static_cast<TGUISysLabel*>(e)->Parent : static_cast<TGUIBmpLabel*>(e)->Parent;
        const TGUIobject* p = owner.Get();
        // As the label draws: while it and its parent are visible.
        if (!e->Visible || !p || !p->Visible || (text.empty() && e->Name.empty())) break;
        TAccessNode& node = NextNode(st, *e, parent, AccessRoleText, text);
        Finish(st, node, s, PlaneRectOf(*e), 0, 0);
        break;
      }
      default:
        break;
    }
  }
}

TGUIobject* Focusable(const AccessState& st, int32_t id) {
  for (TGUIobject* e : st.focusables)
    if (e->ID == id) return e;
  return nullptr;
}

// ---- the keys ------------------------------------------------------------------------------------

void StartPress(AccessState& st, TGUIobject* e) {
  if (!e || e->Kind != KindButton || st.pressID >= 0) return;
  st.pressID = e->ID;
  st.pressNext = gui_detail::KeyPress::Down;
}

void MovePanel(TGUIpanel& panel, int32_t dx, int32_t dy) {
  panel.Left += dx;
  panel.Right += dx;
  panel.Top += dy;
  panel.Bottom += dy;
  panel.UpdatePosition();
  panel.BringToFront();
}

void TakeKey(AccessState& st, const TKeyPress& key) {
  const std::vector<TGUIobject*>& order = st.focusables;
  TGUIobject* focused = Focusable(st, FocusedID);
  switch (key.Key) {
    case VK_TAB: {
      if (order.empty()) return;
      const auto n = static_cast<long>(order.size());
      long at = focused ? std::find(order.begin(), order.end(), focused) - order.begin() : (key.Shift ? n : -1);
      at = ((key.Shift ? at - 1 : at + 1) % n + n) % n;
      FocusedID = order[static_cast<size_t>(at)]->ID;
      FocusVisible = true;
      return;
    }
    case VK_RETURN:
    case VK_SPACE:
      if (!focused) return;
      FocusVisible = true;
      StartPress(st, focused);
      return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
      if (!focused || focused->Kind != KindPanel) return;
      FocusVisible = true;
      const int32_t step = key.Shift ? 1 : KeyboardMoveStep;
      const int32_t dx = key.Key == VK_LEFT ? -step : key.Key == VK_RIGHT ? step : 0;
      const int32_t dy = key.Key == VK_UP ? -step : key.Key == VK_DOWN ? step : 0;
      MovePanel(*static_cast<TGUIpanel*>(focused), dx, dy);
      return;
    }
    default:
      return;
  }
}

// ---- taps ----------------------------------------------------------------------------------------

// Moves a virtual position just inside a button, strictly, as the hit tests count it, and keeps the
// button for the finger's next frames at the same point.
void TakeInto(TGUIButton& button, int32_t& vx, int32_t& vy, AccessState& st) {
  const int32_t left = ParentLeft(button.Parent) + button.Left, top = ParentTop(button.Parent) + button.Top;
  vx = std::min(std::max(vx, left + 1), left + button.Width - 1);
  vy = std::min(std::max(vy, top + 1), top + button.Height - 1);
  st.tapButton = button.ID;
  st.tapX = MouseX;
  st.tapY = MouseY;
}

// ---- the ring ------------------------------------------------------------------------------------

// A band around a plane rectangle, `inner` to `outer` virtual pixels outside it, as four quads.
void Band(const PlaneRect& r, double inner, double outer) {
  const double u = gui_plane::kUnitsPerPixel, a = inner * u, b = outer * u;
  const double quads[4][4] = {
      {r.left - b, r.top + b, r.right + b, r.top + a},        // above
      {r.left - b, r.bottom - a, r.right + b, r.bottom - b},  // below
      {r.left - b, r.top + a, r.left - a, r.bottom - a},      // left
      {r.right + a, r.top + a, r.right + b, r.bottom - a},    // right
  };
  for (const auto& q : quads) {
    glVertex2d(q[0], q[1]);
    glVertex2d(q[0], q[3]);
    glVertex2d(q[2], q[3]);
    glVertex2d(q[2], q[1]);
  }
}

}  // namespace

// ---- the frame -------------------------------------------------------------------------------------

void gui_detail::NoteScreenDrawn(TGUIscreen& screen) {
  AccessState& st = State();
  for (const DrawnScreen& s : st.screens)
    if (s.screen == &screen) return;
  if (st.screens.size() >= kMaxScreensPerFrame) return;
  st.screens.emplace_back();
  DrawnScreen& s = st.screens.back();
  s.screen = &screen;
  glGetDoublev(GL_MODELVIEW_MATRIX, s.modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, s.projection);
  glGetIntegerv(GL_VIEWPORT, s.viewport);
}

void gui_detail::ForgetScreen(TGUIscreen& screen) {
  auto& screens = State().screens;
  screens.erase(
      std::remove_if(screens.begin(), screens.end(), [&](const DrawnScreen& s) { return s.screen == &screen; }),
      screens.end());
}

void gui_detail::EndGUIFrame() {
  AccessState& st = State();

  // The tree and the focus order, from what was drawn.
  st.focusables.clear();
  st.panels.clear();
  st.nodeCount = 0;
  if (++st.frame == 0) {  // after 2^32 frames the marks start again
    std::fill(st.metIn.begin(), st.metIn.end(), 0);
    st.frame = 1;
  }
  st.treeChanged = false;
  st.shownNow.clear();
  for (const DrawnScreen& s : st.screens) {
    TGUIscreen& screen = *s.screen;
    const auto index = static_cast<int32_t>(st.nodeCount);
    TAccessNode& node = NextNode(st, screen, -1, AccessRoleScreen, screen.Name);
    Finish(st, node, s, PlaneRectOf(screen), 0, 0);
    if (!screen.Name.empty()) st.shownNow.push_back(screen.ID);
    Walk(st, s, screen.Children, index);
  }
  st.screens.clear();
  if (st.tree.Nodes.size() != st.nodeCount) {
    st.tree.Nodes.resize(st.nodeCount);
    st.treeChanged = true;
  }
  std::sort(st.focusables.begin(), st.focusables.end(),  // IDs are unique: the walk skips repeats
            [](const TGUIobject* a, const TGUIobject* b) { return a->ID < b->ID; });

  // A hidden element keeps no focus, and a press of one that went is dropped.
  if (!Focusable(st, FocusedID)) FocusedID = -1;
  if (!Focusable(st, st.pressID)) st.pressID = -1;

  // A pointer press hides the ring, as a browser's :focus-visible goes with a click, and the focus
  // goes where the press went: to the element under the pointer that takes the focus (the topmost),
  // or nowhere, so that Enter after a click elsewhere presses nothing unseen.
  const bool pointerDown = MouseLeft || MouseMiddle || MouseRight;
  if (pointerDown && !st.pointerWasDown) {
    FocusVisible = false;
    FocusedID = -1;
    for (size_t i = 0; i < st.nodeCount; ++i) {
      const TAccessNode& node = st.tree.Nodes[i];
      if ((node.States & (AccessFocusable | AccessHovered)) == (AccessFocusable | AccessHovered)) FocusedID = node.ID;
    }
  }
  st.pointerWasDown = pointerDown;

  // What a screen reader asked for, then the keys, in the order they came.
  if (TGUIobject* e = Focusable(st, st.askedFocus)) {
    FocusedID = e->ID;
    FocusVisible = true;
  }
  if (TGUIobject* e = Focusable(st, st.askedPress)) {
    FocusedID = e->ID;
    FocusVisible = true;
    StartPress(st, e);
  }
  st.askedFocus = st.askedPress = -1;
  for (TKeyPress key{}; PopKeyPress(key);) TakeKey(st, key);
  if (FocusedID < 0) FocusVisible = false;

  // The focus as it now is (a key may have moved it).
  for (size_t i = 0; i < st.nodeCount; ++i) {
    TAccessNode& node = st.tree.Nodes[i];
    if (!(node.States & AccessFocusable)) continue;
    const uint8_t states =
        static_cast<uint8_t>((node.States & ~AccessFocused) | (node.ID == FocusedID ? AccessFocused : 0));
    if (states != node.States) st.treeChanged = true;
    node.States = states;
  }

  // A named screen that comes into view is news.
  const bool hadAnnouncement = !st.tree.Announcement.empty();
  st.tree.Announcement.clear();
  if (!st.firstFrame) {
    for (size_t i = 0; i < st.nodeCount; ++i) {
      const TAccessNode& node = st.tree.Nodes[i];
      if (node.Role == AccessRoleScreen && !node.Name.empty() && !Contains(st.namedScreens, node.ID)) {
        st.tree.Announcement = node.Name;
        ++st.tree.AnnouncementSerial;
      }
    }
  }
  st.namedScreens.swap(st.shownNow);
  st.firstFrame = false;

  if (st.treeChanged) ++st.tree.Version;
  if (st.treeChanged || !st.tree.Announcement.empty() || hadAnnouncement) PublishAccessTree(st.tree);
}

void gui_detail::AdjustTap(int32_t& vx, int32_t& vy) {
  AccessState& st = State();
  // The finger's distance in window pixels from a rectangle, and from an element: from where its
  // hit test has it or from where the view draws it, whichever is nearer (the two part while the
  // plane leans).
  const auto distance = [](double left, double top, double right, double bottom) {
    return std::hypot(std::max({left - MouseX, 0.0, MouseX - right}), std::max({top - MouseY, 0.0, MouseY - bottom}));
  };
  const double sx = ScreenWidth / double(gui_plane::kVirtualWidth),
               sy = ScreenHeight / double(gui_plane::kVirtualHeight);
  const auto away = [&](const TGUIobject& e, const TGUISlot& parent) {
    const int32_t left = ParentLeft(parent) + e.Left, top = ParentTop(parent) + e.Top;
    double d = distance(left * sx, top * sy, (left + e.Width) * sx, (top + e.Height) * sy);
    for (size_t i = 0; i < st.nodeCount; ++i) {
      const TAccessNode& n = st.tree.Nodes[i];
      if (n.ID == e.ID) d = std::min(d, distance(n.Left, n.Top, n.Right, n.Bottom));
    }
    return d;
  };
  TGUIButton* nearest = nullptr;
  if (st.tapButton >= 0 && MouseX == st.tapX && MouseY == st.tapY)
    nearest = static_cast<TGUIButton*>(Focusable(st, st.tapButton));
  st.tapButton = -1;
  if (nearest) return TakeInto(*nearest, vx, vy, st);
  for (TGUIpanel* panel : st.panels)
    if (panel->MouseInside() || away(*panel, panel->Parent) == 0) return;
  double best = HUGE_VAL, second = HUGE_VAL;
  for (TGUIobject* e : st.focusables) {
    if (e->Kind != KindButton) continue;
    auto* button = static_cast<TGUIButton*>(e);
    if (button->MouseInside()) return;
    const double d = away(*button, button->Parent);
    if (d < best) {
      second = best;
      best = d;
      nearest = button;
    } else if (d < second) {
      second = d;
    }
  }
  if (nearest && best <= TouchSlop && best < second) TakeInto(*nearest, vx, vy, st);
}

gui_detail::KeyPress gui_detail::TakeKeyPress(int32_t id) {
  AccessState& st = State();
  if (id != st.pressID) return KeyPress::None;
  const KeyPress now = st.pressNext;
  if (now == KeyPress::Down) {
    st.pressNext = KeyPress::Up;
  } else {
    st.pressID = -1;
    st.pressNext = KeyPress::None;
  }
  return now;
}

void gui_detail::DrawFocusRing() {
  if (!FocusVisible) return;
  TGUIobject* e = Focusable(State(), FocusedID);
  if (!e) return;
  const PlaneRect r = PlaneRectOf(*e);
  glBindTexture(GL_TEXTURE_2D, 0);
  glBegin(GL_QUADS);
  glColor4f(0, 0, 0, 0.85f);  // a dark edge outside, so that the ring shows on light art as on dark
  Band(r, 4, 6);
  glColor4f(1, 0.8f, 0, 1);
  Band(r, 1, 4);
  glEnd();
}

void gui_detail::ResetFocusAndTree() {
  AccessState& st = State();
  st.screens.clear();
  st.focusables.clear();
  st.namedScreens.clear();
  st.pressID = st.askedFocus = st.askedPress = st.tapButton = -1;
  st.pressNext = gui_detail::KeyPress::None;
  st.firstFrame = true;
  st.pointerWasDown = false;  // a button held as the scene starts is a press in its first frame
  FocusedID = -1;
  FocusVisible = false;
  SetAccessActionHandler(AccessibilityAction);
}

const TAccessTree& AccessibilityTree() { return State().tree; }

bool AccessibilityAction(int32_t id, uint8_t action) {
  AccessState& st = State();
  for (const TAccessNode& node : st.tree.Nodes) {
    if (node.ID != id || !(node.Actions & action)) continue;
    if (action == AccessActionPress)
      st.askedPress = id;
    else if (action == AccessActionFocus)
      st.askedFocus = id;
    else
      return false;
    return true;
  }
  return false;
}
