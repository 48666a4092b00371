// Static one-line texts: system outline font labels and texture-grid font labels.
#include "GLGUI.h"

#include "GUIShared.h"
#include "PlaneMapping.h"

#include <cstdint>

using gui_detail::ParentLeft;
using gui_detail::ParentTop;

namespace {

// A label draws only while it and its parent are visible; a label without a parent never draws.
bool ShownWithParent(const TGUIobject& label, const TGUISlot& parent) {
  const TGUIobject* p = parent.Get();
  return label.Visible && p && p->Visible;
}

}  // namespace

TGUISysLabel::TGUISysLabel(int32_t x, int32_t y, double scaleX, double scaleY, TGUISYSFONT font, const TGUIText& text,
                           double red, double green, double blue, double alpha, TGUISlot parent) {
  gui_detail::StartElement(*this, KindSysLabel, red, green, blue, alpha, parent);
  Left = gui_detail::ClampCoordinate(x);
  Top = gui_detail::ClampCoordinate(y);
  ScaleX = scaleX;
  ScaleY = scaleY;
  FontBase = font;
  Text = text;
  UpdatePosition();
}

void TGUISysLabel::UpdatePosition() {
  const int32_t pl = ParentLeft(Parent), pt = ParentTop(Parent);
  if (WideScreen) {
    // The parent's Top does not enter in this mode.
    OriginX = gui_plane::OutlineLabelWideOriginX(pl + Left);
    OriginY = gui_plane::OutlineLabelOriginY(Top);
  } else {
    OriginX = gui_plane::OutlineLabelOriginX(pl + Left);
    OriginY = gui_plane::OutlineLabelOriginY(pt + Top);
  }
  OriginX = OriginX - gui_plane::OutlineLabelShiftX(ScaleX);
  OriginY = OriginY + gui_plane::OutlineLabelShiftY(ScaleY);
}

void TGUISysLabel::Draw() {
  if (!ShownWithParent(*this, Parent) || Text.empty() || FontBase <= 0) return;
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

TGUIBmpLabel::TGUIBmpLabel(int32_t x, int32_t y, TGUIBMPFONT font, GLuint texture, const TGUIText& text, double red,
                           double green, double blue, double alpha, TGUISlot parent) {
  gui_detail::StartElement(*this, KindBmpLabel, red, green, blue, alpha, parent);
  Left = gui_detail::ClampCoordinate(x);
  Top = gui_detail::ClampCoordinate(y);
  Font = font;
  Texture = texture;
  Text = text;
  UpdatePosition();
}

void TGUIBmpLabel::UpdatePosition() {
  if (Parent.Get() == nullptr || WideScreen) return;
  const int32_t pl = ParentLeft(Parent), pt = ParentTop(Parent);
  const double s = Font.Size;
  OriginX = gui_plane::GridLabelOriginX(pl + Left, s);
  OriginY = gui_plane::GridLabelOriginY(Top, pt, s);
}

void TGUIBmpLabel::Draw() {
  // A font without lists (it could not get any) draws nothing rather than other fonts' glyphs.
  if (Text.empty() || Font.ListBase <= 0 || !ShownWithParent(*this, Parent)) return;
  glPushMatrix();
  glPushAttrib(GL_LIST_BIT | GL_ENABLE_BIT);
  glBindTexture(GL_TEXTURE_2D, Texture);
  glDisable(GL_DEPTH_TEST);
  gui_detail::SetColour(Red, Green, Blue, Alpha);
  glTranslated(OriginX, OriginY, 0);
  // Codes 32 .. 255 draw cells 0 .. 223 of this font's own lists; codes below 32 draw nothing.
  glListBase(static_cast<GLuint>(Font.ListBase));
  uint8_t cells[64];
  size_t n = 0;
  for (const char ch : Text) {
    const uint8_t c = static_cast<uint8_t>(ch);
    if (c < 32) continue;
    cells[n++] = static_cast<uint8_t>(c - 32);
    if (n == sizeof cells) {
      glCallLists(static_cast<GLsizei>(n), GL_UNSIGNED_BYTE, cells);
      n = 0;
    }
  }
  if (n > 0) glCallLists(static_cast<GLsizei>(n), GL_UNSIGNED_BYTE, cells);
  glPopAttrib();
  glPopMatrix();
}
