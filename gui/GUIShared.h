// Small helpers shared by the element implementations of the toolkit.
#pragma once

#include "GLGUI.h"

#include <utility>

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

// A coordinate given to a constructor, within GUICoordinateLimit of the parent's corner.
inline int32_t ClampCoordinate(int32_t v) {
  return v < -GUICoordinateLimit ? -GUICoordinateLimit : v > GUICoordinateLimit ? GUICoordinateLimit : v;
}

// Puts a rectangular element's corners in order (reversed ones are exchanged) and derives its
// Width, Height, CenterX and CenterY, the divisions truncating toward zero.
inline void PlaceRectangle(TGUIobject& element, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  left = ClampCoordinate(left);
  top = ClampCoordinate(top);
  right = ClampCoordinate(right);
  bottom = ClampCoordinate(bottom);
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  element.Left = left;
  element.Right = right;
  element.Top = top;
  element.Bottom = bottom;
  element.Width = right - left;
  element.Height = bottom - top;
  element.CenterX = left + element.Width / 2;
  element.CenterY = top + element.Height / 2;
}

// What every element sets from its constructor's arguments: its kind, the next object number, its
// colour and parent, and visible.
template <class Element>
void StartElement(Element& element, int32_t kind, double red, double green, double blue, double alpha,
                  TGUISlot parent) {
  element.Kind = kind;
  element.ID = ObjectCount++;
  element.Red = red;
  element.Green = green;
  element.Blue = blue;
  element.Alpha = alpha;
  element.Parent = parent;
  element.Visible = true;
}

// The child list of a container element, told apart by its Kind code; null for other kinds.
std::vector<TGUISlot>* ChildListOf(TGUIobject* container);

// Draws every child of a container once, first to last. A child may raise itself while it draws
// (a panel moving to the end of this list): the sibling that moves into its place is drawn next,
// and the raised child, already drawn, is not drawn again at the end.
void DrawChildren(std::vector<TGUISlot>& children);

// Emits, inside an open GL_QUADS batch, one whole-cell quad per byte of `text` in a bitmap font,
// counter-clockwise with the cell's top texel row at the top. The run starts at (ox, oy), the
// quads' lower edge; one font texel is 1 / texelsPerUnit plane units; each byte advances the pen by
// its own code's width (not at all while the font has no widths).
void EmitBFFontRun(const TGUIBFFont& font, const std::string& text, double ox, double oy, double texelsPerUnit);

// The keyboard's side of a frame (Access.cpp). A screen says when it draws, with the view it is
// drawn in; DrawCursor then ends the frame: the key presses are taken, the focus moved and the
// accessibility tree made.
void NoteScreenDrawn(TGUIscreen& screen);
// A screen going away before the frame that drew it has ended.
void ForgetScreen(TGUIscreen& screen);
// A new scene (InitGUI): no focus, and no screen yet that would be news.
void ResetFocusAndTree();
void EndGUIFrame();
// A tap (MouseTouch) on nothing that takes the pointer, near enough to one button (where it is hit
// or where it is drawn): the virtual position moved just inside that button.
void AdjustTap(int32_t& virtualX, int32_t& virtualY);
// Draws the focus ring, if it shows, under the current modelview.
void DrawFocusRing();
// Where a button is in the keyboard's press: none, the frame of the pressed look, or the release.
enum class KeyPress { None, Down, Up };
KeyPress TakeKeyPress(int32_t id);

inline void SetColour(double r, double g, double b, double a) {
  glColor4f(static_cast<GLfloat>(r), static_cast<GLfloat>(g), static_cast<GLfloat>(b), static_cast<GLfloat>(a));
}

}  // namespace gui_detail
