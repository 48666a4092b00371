// The panel: a framed, optionally draggable container drawn from the shared panel art.
#include "GLGUI.h"

#include "GLGlobal.h"
#include "GUIShared.h"
#include "PlaneMapping.h"

using gui_detail::ParentLeft;
using gui_detail::ParentTop;

bool Dragging = false;
int32_t DragOffsetX = 0;
int32_t DragOffsetY = 0;
int32_t DraggedID = 0;

namespace {

// One textured quad of a panel: virtual-pixel offsets from the panel's corner and texture extents.
struct Piece {
  int32_t x0, x1, y0, y1;
  float s0, s1, t0, t1;
};

// Fills `out` with the frame pieces for the panel's header/footer combination, in drawing order;
// returns how many there are (8, or 9 with the close icon).
int FramePieces(const TGUIpanel& p, Piece out[9]) {
  const int32_t W = p.Width, H = p.Height;
  const bool header = p.HasHeader, footer = p.HasFooter;
  int n = 0;
  if (header) {
    out[n++] = {0, 63, 0, 27, 0.0f, 0.5f, 1.0f, 0.7890625f};
    out[n++] = {63, W - 32, 0, 27, 0.5f, 0.75f, 1.0f, 0.7890625f};
    out[n++] = {W - 32, W, 0, 27, 0.75f, 1.0f, 1.0f, 0.7890625f};
  } else {
    out[n++] = {0, 20, 0, 27, 0.21875f, 0.375f, 0.4609375f, 0.2421875f};
    out[n++] = {20, W - 20, 0, 27, 0.171875f, 0.203125f, 0.4609375f, 0.2421875f};
    out[n++] = {W - 20, W, 0, 27, 0.4140625f, 0.5703125f, 0.4609375f, 0.2421875f};
  }
  if (header && footer) {
    out[n++] = {0, 7, 27, H - 27, 0.0f, 0.0546875f, 0.7890625f, 0.2109375f};
    out[n++] = {W - 7, W, 27, H - 27, 0.9453125f, 1.0f, 0.7890625f, 0.2109375f};
  } else {
    out[n++] = {0, 9, 27, H - 27, 0.078125f, 0.1484375f, 0.453125f, 0.390625f};
    out[n++] = {W - 9, W, 27, H - 27, 0.1484375f, 0.078125f, 0.453125f, 0.390625f};
  }
  if (footer) {
    out[n++] = {0, 63, H - 27, H, 0.0f, 0.5f, 0.2109375f, 0.0f};
    out[n++] = {63, W - 32, H - 27, H, 0.5f, 0.75f, 0.2109375f, 0.0f};
    out[n++] = {W - 32, W, H - 27, H, 0.75f, 1.0f, 0.2109375f, 0.0f};
  } else {
    out[n++] = {0, 20, H - 27, H, 0.578125f, 0.734375f, 0.453125f, 0.234375f};
    out[n++] = {20, W - 20, H - 27, H, 0.203125f, 0.171875f, 0.2421875f, 0.4609375f};
    out[n++] = {W - 20, W, H - 27, H, 0.7734375f, 0.9296875f, 0.453125f, 0.234375f};
  }
  if (header) out[n++] = {W - 22, W - 6, 8, 24, 0.8125f, 0.9375f, 0.75f, 0.625f};
  return n;
}

// The inner area's rectangle as offsets from the corner.
struct Rect {
  int32_t x0, x1, y0, y1;
};

Rect OwnTextureArea(const TGUIpanel& p) {
  const int32_t W = p.Width, H = p.Height;
  if (p.HasHeader && p.HasFooter) return {6, W - 6, 25, H - 25};
  if (p.HasFooter) return {5, W - 5, 5, H - 26};
  if (p.HasHeader) return {5, W - 5, 26, H - 5};
  return {5, W - 5, 5, H - 5};
}

Rect FillTexelArea(const TGUIpanel& p) {
  const int32_t W = p.Width, H = p.Height;
  if (p.HasHeader && p.HasFooter) return {7, W - 7, 26, H - 26};
  if (p.HasFooter) return {9, W - 9, 27, H - 26};
  return {9, W - 9, 27, H - 27};
}

// Emits one quad inside an open GL_QUADS batch: (x0,y0) (x0,y1) (x1,y1) (x1,y0).
void EmitPiece(TGUIpanel& p, const Piece& q) {
  const float left = p.PlaneX(q.x0), right = p.PlaneX(q.x1);
  const float top = p.PlaneY(q.y0), bottom = p.PlaneY(q.y1);
  glTexCoord2f(q.s0, q.t0);
  glVertex2f(left, top);
  glTexCoord2f(q.s0, q.t1);
  glVertex2f(left, bottom);
  glTexCoord2f(q.s1, q.t1);
  glVertex2f(right, bottom);
  glTexCoord2f(q.s1, q.t0);
  glVertex2f(right, top);
}

TGUIpanel* AsPanel(TGUIobject* o) { return static_cast<TGUIpanel*>(o); }

// The mouse strictly inside a button child, measured from this panel's Left and Top.
bool ButtonChildAtMouse(const TGUIpanel& p, const TGUIobject& b) {
  const int32_t x = p.Left + b.Left, y = p.Top + b.Top;
  return x < MouseVirtualX && MouseVirtualX < x + b.Width && y < MouseVirtualY && MouseVirtualY < y + b.Height;
}

}  // namespace

TGUIpanel::TGUIpanel(int32_t left, int32_t top, int32_t right, int32_t bottom, double red, double green,
                     double blue, double alpha, TGUISlot parent) {
  gui_detail::StartElement(*this, KindPanel, red, green, blue, alpha, parent);
  TextureRepeat = 1.0f;
  Highlight = 0;
  HasFooter = false;
  HasHeader = false;
  const TGUIobject* p = Parent.Get();
  Draggable = p && p->Kind == KindScreen;
  gui_detail::PlaceRectangle(*this, left, top, right, bottom);
  UpdatePosition();
}

void TGUIpanel::AddChild(TGUISlot slot) { Children.push_back(slot); }

void TGUIpanel::UpdatePosition() {
  const double h = WideScreen ? gui_plane::kWideHalfWidth : gui_plane::kHalfWidth;
  const int32_t pl = ParentLeft(Parent), pt = ParentTop(Parent);
  PlaneLeft = gui_plane::FromVirtualX(pl + Left, h);
  PlaneRight = gui_plane::FromVirtualX(pl + Right, h);
  PlaneTop = gui_plane::FromVirtualY(pt + Top);
  PlaneBottom = gui_plane::FromVirtualY(pt + Bottom);
  for (size_t i = 0; i < Children.size(); ++i)
    if (TGUIobject* child = Children[i].Get()) child->UpdatePosition();
}

float TGUIpanel::PlaneX(int32_t dx) { return gui_plane::VertexX(ParentLeft(Parent) + Left + dx); }

float TGUIpanel::PlaneY(int32_t dy) { return gui_plane::VertexY(ParentTop(Parent) + Top + dy); }

bool TGUIpanel::MouseInside() {
  const int32_t pl = ParentLeft(Parent), pt = ParentTop(Parent);
  return pl + Left < MouseVirtualX && MouseVirtualX < pl + Right && pt + Top < MouseVirtualY &&
         MouseVirtualY < pt + Bottom;
}

bool TGUIpanel::IsTopmostAtMouse() {
  const std::vector<TGUISlot>* list = gui_detail::ChildListOf(Parent.Get());
  if (!list) return false;
  const size_t n = list->size();
  size_t own = n;
  for (size_t i = 0; i < n; ++i) {
    const TGUIobject* e = (*list)[i].Get();
    if (e && e->ID == ID) {
      own = i;
      break;
    }
  }
  size_t last = 0;
  for (size_t i = n; i-- > 0;) {
    TGUIobject* e = (*list)[i].Get();
    if (e && e->Kind == KindPanel && e->Visible && AsPanel(e)->MouseInside()) {
      last = i;
      break;
    }
  }
  return own >= last;
}

bool TGUIpanel::NoChildAtMouse() {
  for (size_t i = 0; i < Children.size(); ++i) {
    TGUIobject* c = Children[i].Get();
    if (!c || !c->Visible) continue;  // a hidden child takes no input
    if (c->Kind == KindPanel) {
      if (AsPanel(c)->MouseInside() || !AsPanel(c)->NoChildAtMouse()) return false;
    } else if (c->Kind == KindButton) {
      if (ButtonChildAtMouse(*this, *c)) return false;
    }
  }
  return true;
}

bool TGUIpanel::NoChildPanelAtMouse() {
  for (size_t i = 0; i < Children.size(); ++i) {
    TGUIobject* c = Children[i].Get();
    if (c && c->Visible && c->Kind == KindPanel && (AsPanel(c)->MouseInside() || !AsPanel(c)->NoChildAtMouse())) return false;
  }
  return true;
}

bool TGUIpanel::IsHot() { return MouseInside() && IsTopmostAtMouse() && NoChildAtMouse(); }

bool TGUIpanel::IsHotIgnoringButtons() { return MouseInside() && IsTopmostAtMouse() && NoChildPanelAtMouse(); }

void TGUIpanel::BringToFront() {
  std::vector<TGUISlot>* list = gui_detail::ChildListOf(Parent.Get());
  if (!list || list->size() < 2) return;
  const size_t n = list->size();
  for (size_t own = 0; own < n; ++own) {
    const TGUIobject* e = (*list)[own].Get();
    if (e && e->ID == ID) {
      const TGUISlot mine = (*list)[own];
      for (size_t i = own; i + 1 < n; ++i) (*list)[i] = (*list)[i + 1];
      (*list)[n - 1] = mine;
      return;
    }
  }
}

void TGUIpanel::Draw() {
  if (!Visible) return;

  // Follow the mouse while this panel is being dragged; the drag ends once the left button is up.
  if (Dragging && DraggedID == ID) {
    if (MouseLeft) {
      Left = MouseVirtualX - DragOffsetX;
      Top = MouseVirtualY - DragOffsetY;
      Right = Left + Width;
      Bottom = Top + Height;
      UpdatePosition();
    } else {
      Dragging = false;
    }
  }

  if (IsHot()) {
    if (Highlight > 0)
      gui_detail::SetColour(Red + Highlight, Green + Highlight, Blue + Highlight, Alpha + Highlight);
    else
      gui_detail::SetColour(Red, Green, Blue, Alpha);
    if (MouseLeft) {
      if (Draggable) {
        BringToFront();
        if (!Dragging) {
          Dragging = true;
          DragOffsetX = MouseVirtualX - Left;
          DragOffsetY = MouseVirtualY - Top;
          DraggedID = ID;
        }
      }
    } else {
      Dragging = false;
    }
  } else {
    gui_detail::SetColour(Red, Green, Blue, Alpha);
  }

  glBindTexture(GL_TEXTURE_2D, 0);

  if (Alpha > 0) {
    if (PanelTexture == 0) {
      glBegin(GL_QUADS);
      glVertex2d(PlaneLeft, PlaneTop);
      glVertex2d(PlaneLeft, PlaneBottom);
      glVertex2d(PlaneRight, PlaneBottom);
      glVertex2d(PlaneRight, PlaneTop);
      glEnd();
    } else {
      glBindTexture(GL_TEXTURE_2D, PanelTexture);
      Piece pieces[9];
      const int n = FramePieces(*this, pieces);
      glBegin(GL_QUADS);
      for (int i = 0; i < n; ++i) EmitPiece(*this, pieces[i]);
      glEnd();

      Piece inner;
      if (Texture != 0) {
        glBindTexture(GL_TEXTURE_2D, Texture);
        const Rect r = OwnTextureArea(*this);
        inner = {r.x0, r.x1, r.y0, r.y1, 0.0f, TextureRepeat, TextureRepeat, 0.0f};
      } else {
        const Rect r = FillTexelArea(*this);
        inner = {r.x0, r.x1, r.y0, r.y1, 0.2890625f, 0.296875f, 0.3203125f, 0.3125f};
      }
      glBegin(GL_QUADS);
      EmitPiece(*this, inner);
      glEnd();
    }
  }

  gui_detail::DrawChildren(Children);
}
