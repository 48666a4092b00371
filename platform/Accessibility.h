// What a screen reader is told about the program's window: a tree of nodes, each with a role, a
// name, states and a rectangle in the window's pixels, which the toolkit makes anew each frame and
// hands to the platform with PublishAccessTree. Each platform shows it to its screen readers in its
// own way (the browser as HTML over the canvas); what they ask of a node (a press, the focus) comes
// back through RunAccessAction to whoever set the handler. Nothing here draws or decides what is
// on the screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Node roles.
constexpr uint8_t AccessRoleScreen = 0;  // a page of elements; named when the program names it
constexpr uint8_t AccessRoleGroup = 1;   // a panel
constexpr uint8_t AccessRoleText = 2;    // a label: static text
constexpr uint8_t AccessRoleButton = 3;

// Node states, as bits.
constexpr uint8_t AccessFocusable = 1;
constexpr uint8_t AccessFocused = 2;
constexpr uint8_t AccessPressed = 4;
constexpr uint8_t AccessHovered = 8;

// Actions a node offers, as bits; RunAccessAction takes one of them.
constexpr uint8_t AccessActionPress = 1;
constexpr uint8_t AccessActionFocus = 2;

struct TAccessNode {
  int32_t ID = 0;       // the element's ID: stable while the element lives
  int32_t Parent = -1;  // index of the parent node in the tree, -1 for a screen
  uint8_t Role = AccessRoleScreen;
  uint8_t States = 0;
  uint8_t Actions = 0;
  std::string Name;  // UTF-8
  // The rectangle the node covers, in the window's client pixels from its top-left corner.
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct TAccessTree {
  std::vector<TAccessNode> Nodes;   // a parent before its children, siblings in reading order
  uint32_t Version = 0;             // changes whenever Nodes does
  std::string Announcement;         // UTF-8; what to say now (a page shown), empty when nothing new
  uint32_t AnnouncementSerial = 0;  // counts announcements, so that one said twice is told apart
};

// Hands the tree to the platform's screen-reader side; called when it has changed.
void PublishAccessTree(const TAccessTree& tree);

// The toolkit's side: runs an action asked for from outside; false when there is no such node or
// it does not offer the action. Set by whoever makes the tree (the GUI toolkit sets it in InitGUI).
using AccessActionHandler = bool (*)(int32_t id, uint8_t action);
void SetAccessActionHandler(AccessActionHandler handler);
// What a platform's adapter calls for a screen reader's request; false without a handler.
bool RunAccessAction(int32_t id, uint8_t action);
