// Web backend: the accessibility tree mirrored into the page. Each published tree goes to the page
// in one call, as a compact JSON text; the page (WebLibrary.js) keeps a layer of real HTML elements
// over the canvas in step with it, which screen readers read. What they ask of an element (a press,
// the focus) comes back through glgui_access_action, the one entry of the program that the page
// calls; it only queues the action for the toolkit's next frame, so it is safe while the program
// waits for a frame or a box.
#include "AccessWindow.h"
#include "Accessibility.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

extern "C" void glgui_mirror_access_tree(const char* json);  // WebLibrary.js

namespace {

// The text, kept from one publication to the next so that its storage is reused.
std::string gJson;

void AppendString(std::string& out, const std::string& text) {
  out += '"';
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += ch;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += ch;  // UTF-8 passes as it is
    }
  }
  out += '"';
}

void AppendNumber(std::string& out, double value) {
  // Whole pixels; a rectangle far off the window is kept to a size a page can place.
  const double clamped = std::isfinite(value) ? std::clamp(value, -1e6, 1e6) : 0.0;
  char text[16];
  std::snprintf(text, sizeof text, "%ld,", std::lround(clamped));
  out += text;
}

}  // namespace

// The tree as {"said": serial, "say": text, "nodes": [[id, parent, role, states, actions,
// left, top, right, bottom, name], ...]}, nodes in the tree's order.
void PublishAccessTree(const TAccessTree& tree) {
  std::string& out = gJson;
  out.clear();
  out += "{\"said\":";
  out += std::to_string(tree.AnnouncementSerial);
  out += ",\"say\":";
  AppendString(out, tree.Announcement);
  out += ",\"nodes\":[";
  for (size_t i = 0; i < tree.Nodes.size(); ++i) {
    const TAccessNode& n = tree.Nodes[i];
    out += i == 0 ? "[" : ",[";
    for (const int value : {n.ID, n.Parent, int{n.Role}, int{n.States}, int{n.Actions}}) {
      out += std::to_string(value);
      out += ',';
    }
    for (const double value : {n.Left, n.Top, n.Right, n.Bottom}) AppendNumber(out, value);
    AppendString(out, n.Name);
    out += ']';
  }
  out += "]}";
  glgui_mirror_access_tree(out.c_str());
}

extern "C" EMSCRIPTEN_KEEPALIVE int glgui_access_action(int id, int action) {
  if (action != AccessActionPress && action != AccessActionFocus) return 0;
  return RunAccessAction(id, static_cast<uint8_t>(action)) ? 1 : 0;
}

// The page is the window: the mirror lies over the canvas wherever the page puts it.
void SetAccessWindow(HWND) {}
