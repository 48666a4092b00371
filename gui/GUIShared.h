// Small helpers shared by the element implementations of the toolkit.
#pragma once

#include "GLGUI.h"

namespace gui_detail {

// The parent's current Left and Top, read through the slot; 0 when the slot names nothing.
inline int32_t ParentLeft(const TGUISlot& parent) {
  const TGUIobject* p = parent.Get();
  return p ? p->Left : 0;
}
inline int32_t ParentTop(const TGUISlot& parent) {
  const TGUIobject* p = parent.Get();
  return p ? p->Top : 0;
}

// The child list of a container element, told apart by its Kind code; null for other kinds.
std::vector<TGUISlot>* ChildListOf(TGUIobject* container);

inline void SetColour(double r, double g, double b, double a) {
  glColor4f(static_cast<GLfloat>(r), static_cast<GLfloat>(g), static_cast<GLfloat>(b), static_cast<GLfloat>(a));
}

}  // namespace gui_detail
