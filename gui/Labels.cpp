// Static one-line texts: system outline font labels and texture-grid font labels.
#include "GLGUI.h"

#include "GUIShared.h"

using gui_detail::ParentLeft;
using gui_detail::ParentTop;

namespace {

// A label draws only while it and its parent are visible; a label without a parent never draws.
bool ShownWithParent(const TGUIobject& label, const TGUISlot& parent) {
  const TGUIobject* p = parent.Get();
  return label.Visible && p && p->Visible;
}

}  // namespace

TGUISysLabel::TGUISysLabel(int32_t x, int32_t y, double scaleX, double scaleY, TGUISYSFONT font,
                           const std::string& text, double red, double green, double blue, double alpha,
                           TGUISlot parent) {
  Kind = KindSysLabel;
  ID = ObjectCount++;
  Left = x;
  Top = y;
  ScaleX = scaleX;
  ScaleY = scaleY;
  FontBase = font;
  Text = text;
  Red = red;
  Green = green;
  Blue = blue;
  Alpha = alpha;
  Parent = parent;
  Visible = true;
  UpdatePosition();
}

void TGUISysLabel::UpdatePosition() {
  const int32_t pl = ParentLeft(Parent), pt = ParentTop(Parent);
  if (WideScreen) {
    OriginX = (pl + Left - 492) * (0.706 / 492);
    OriginY = -0.313 - Top * (0.4135 / 384);
  } else {
    OriginX = (pl + Left - 485) * (0.522 / 485);
    OriginY = -0.313 - (pt + Top) * (0.4135 / 384);
  }
  OriginX = OriginX - (100 - 100 * ScaleX) / 3500;
  OriginY = OriginY + (100 - 100 * ScaleY) * (0.356 / 49);
}

void TGUISysLabel::Draw() {
  if (!ShownWithParent(*this, Parent) || Text.empty()) return;
  glPushMatrix();
  glBindTexture(GL_TEXTURE_2D, 0);
  gui_detail::SetColour(Red, Green, Blue, Alpha);
  glTranslated(OriginX, OriginY, 0);
  glScaled(ScaleX, ScaleY, 0);
  glPushAttrib(GL_LIST_BIT);
  glListBase(static_cast<GLuint>(FontBase));
  glCallLists(static_cast<GLsizei>(Text.size()), GL_UNSIGNED_BYTE, Text.data());
  glPopAttrib();
  glPopMatrix();
}

TGUIBmpLabel::TGUIBmpLabel(int32_t x, int32_t y, TGUIBMPFONT font, GLuint texture, const std::string& text,
                           double red, double green, double blue, double alpha, TGUISlot parent) {
  Kind = KindBmpLabel;
  ID = ObjectCount++;
  Left = x;
  Top = y;
  Font = font;
  Texture = texture;
  Text = text;
  Red = red;
  Green = green;
  Blue = blue;
  Alpha = alpha;
  Parent = parent;
  Visible = true;
  UpdatePosition();
}

void TGUIBmpLabel::UpdatePosition() {
  if (Parent.Get() == nullptr || WideScreen) return;
  const int32_t pl = ParentLeft(Parent), pt = ParentTop(Parent);
  const double s = Font.Size;
  OriginX = (0.552 + 0.000288 * s) * (pl + Left - 522) / 522;
  OriginY = (0.395 - 0.001788 * s) * (358 - Top - pt) / 358;
}

void TGUIBmpLabel::Draw() {
  if (Text.empty() || !ShownWithParent(*this, Parent)) return;
  glPushMatrix();
  glPushAttrib(GL_LIST_BIT);
  glBindTexture(GL_TEXTURE_2D, Texture);
  glDisable(GL_DEPTH_TEST);
  gui_detail::SetColour(Red, Green, Blue, Alpha);
  glTranslated(OriginX, OriginY, 0);
  // Bytes are passed signed: character c calls list ListBase - 32 + c, so only 32 .. 127 reach the font.
  glListBase(static_cast<GLuint>(Font.ListBase - 32));
  glCallLists(static_cast<GLsizei>(Text.size()), GL_BYTE, Text.data());
  glEnable(GL_DEPTH_TEST);
  glPopAttrib();
  glPopMatrix();
}
