// The root container: one per page of GUI.
#include "GLGUI.h"

#include "GLGlobal.h"
#include "GUIShared.h"

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

TGUIscreen::~TGUIscreen() { gui_detail::ForgetScreen(*this); }

void TGUIscreen::Add(TGUISlot slot) {
  if (!slot.IsNull()) Children.push_back(slot);
}

void TGUIscreen::Draw() {
  if (!Visible) return;
  gui_detail::NoteScreenDrawn(*this);
  for (int i = 0; i < 4; ++i) glClipPlane(GL_CLIP_PLANE1 + i, ClipPlanes[i]);
  glPushMatrix();
  for (int i = 0; i < 4; ++i) glEnable(GL_CLIP_PLANE1 + i);
  gui_detail::DrawChildren(Children);
  for (int i = 0; i < 4; ++i) glDisable(GL_CLIP_PLANE1 + i);
  glPopMatrix();
}

void TGUIscreen::UpdatePosition() {}
