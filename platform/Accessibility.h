/// \file
/// What a screen reader is told about the program's window: a tree of nodes, each with a role, a
/// name, states and a rectangle in the window's pixels, which the toolkit makes anew each frame and
/// hands to the platform with PublishAccessTree. Each platform shows it to its screen readers in its
/// own way (the browser as HTML over the canvas); what they ask of a node (a press, the focus) comes
/// back through RunAccessAction to whoever set the handler. Nothing here draws or decides what is
/// on the screen. The toolkit's side is in GLGUI.h (AccessibilityTree, AccessibilityAction).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Node roles (TAccessNode::Role).
constexpr uint8_t AccessRoleScreen = 0;  ///< Role: a page of elements (a screen); named when the program names it.
constexpr uint8_t AccessRoleGroup = 1;   ///< Role: a panel.
constexpr uint8_t AccessRoleText = 2;    ///< Role: a label, static text.
constexpr uint8_t AccessRoleButton = 3;  ///< Role: a button.

// Node states, as bits (TAccessNode::States).
constexpr uint8_t AccessFocusable = 1;  ///< State bit: the keyboard can focus it (buttons, draggable panels).
constexpr uint8_t AccessFocused = 2;    ///< State bit: it has the keyboard focus.
constexpr uint8_t AccessPressed = 4;    ///< State bit: a button in its pressed look.
constexpr uint8_t AccessHovered = 8;    ///< State bit: the pointer is over it.

// Actions a node offers, as bits (TAccessNode::Actions); RunAccessAction takes one of them.
constexpr uint8_t AccessActionPress = 1;  ///< Action bit: press it, as Enter on the focused button.
constexpr uint8_t AccessActionFocus = 2;  ///< Action bit: give it the keyboard focus.

/// One element as a screen reader is told it.
struct TAccessNode {
  int32_t ID = 0;                   ///< The element's ID (TGUIobject::ID): stable while the element lives.
  int32_t Parent = -1;              ///< Index of the parent node in TAccessTree::Nodes, -1 for a screen.
  uint8_t Role = AccessRoleScreen;  ///< One of the AccessRole... codes.
  uint8_t States = 0;               ///< AccessFocusable, AccessFocused, AccessPressed, AccessHovered bits.
  uint8_t Actions = 0;              ///< AccessActionPress, AccessActionFocus bits.
  std::string Name;                 ///< What it is called, in UTF-8 (caption, text or TGUIobject::Name).
  /// @{
  /// The rectangle the node covers (left, top, right and bottom edge), in the window's client
  /// pixels from its top-left corner.
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  /// @}
};

/// What the frame showed: the nodes, and what to announce.
struct TAccessTree {
  std::vector<TAccessNode> Nodes;   ///< A parent before its children, siblings in reading order.
  uint32_t Version = 0;             ///< Changes whenever Nodes does.
  std::string Announcement;         ///< UTF-8; what to say now (a page shown), empty when nothing new.
  uint32_t AnnouncementSerial = 0;  ///< Counts announcements, so that one said twice is told apart.
};

/// Hands the tree to the platform's screen-reader side; called when it has changed.
void PublishAccessTree(const TAccessTree& tree);

/// The toolkit's side: runs an action asked for from outside; false when there is no such node or
/// it does not offer the action. Set by whoever makes the tree (the GUI toolkit sets it in InitGUI).
using AccessActionHandler = bool (*)(int32_t id, uint8_t action);
/// Sets the handler RunAccessAction calls (InitGUI sets AccessibilityAction).
void SetAccessActionHandler(AccessActionHandler handler);
/// What a platform's adapter calls for a screen reader's request; false without a handler.
bool RunAccessAction(int32_t id, uint8_t action);
