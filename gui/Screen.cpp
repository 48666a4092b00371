// The root container: one per page of GUI.
#include "GLGUI.h"

#include "GLGlobal.h"

TGUIscreen::TGUIscreen() {
  Kind = KindScreen;
  ID = ObjectCount++;
  Left = 0;
  Top = 0;
  Right = Width = ScreenWidth;
  Bottom = Height = ScreenHeight;
  CenterX = Width / 2;
  CenterY = Height / 2;
  Visible = true;
}

void TGUIscreen::Add(TGUISlot slot) {
  if (!slot.IsNull()) Children.push_back(slot);
}

void TGUIscreen::Draw() {
  if (!Visible) return;
  for (int i = 0; i < 4; ++i) glClipPlane(GL_CLIP_PLANE1 + i, ClipPlanes[i]);
  glPushMatrix();
  for (int i = 0; i < 4; ++i) glEnable(GL_CLIP_PLANE1 + i);
  // A child may reorder this list while it draws (a panel raising itself); walk by index up to
  // the count read here, so the walk stays inside the list whatever happens to it.
  const size_t count = Children.size();
  for (size_t i = 0; i < count && i < Children.size(); ++i)
    if (TGUIobject* child = Children[i].Get()) child->Draw();
  for (int i = 0; i < 4; ++i) glDisable(GL_CLIP_PLANE1 + i);
  glPopMatrix();
}

void TGUIscreen::UpdatePosition() {}
