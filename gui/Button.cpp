// The push button: a three-piece bar from the shared button art with a cross-faded hover look,
// a caption in a copy of the built-in font, and click/enter/leave handlers.
#include "GLGUI.h"

#include "GLGlobal.h"
#include "GUIShared.h"
#include "PlaneMapping.h"

#include <cstdio>

using gui_detail::ParentLeft;
using gui_detail::ParentTop;

void DoNothing(TGUIButton* /*button*/) {}

namespace {

// Rows of the button art, top to bottom of the image (single-precision thirds).
constexpr float kThird = 1.0f / 3.0f;
constexpr float kTwoThirds = 2.0f / 3.0f;

void Call(ButtonHandler handler, TGUIButton* button) {
  if (handler) handler(button);
}

// A button copies the built-in font when it is made, so one made before InitGUI has loaded it
// never shows its caption. The first of a run of such buttons says so.
bool toldFontMissing = false;
void NoteFontAtCreation() {
  if (BuiltinFont.Texture != 0) {
    toldFontMissing = false;
  } else if (!toldFontMissing) {
    toldFontMissing = true;
    std::fputs(
        "glgui: a TGUIButton was made before InitGUI loaded the built-in font; its caption will not "
        "show\n",
        stderr);
  }
}

}  // namespace

TGUIButton::TGUIButton(int32_t left, int32_t top, int32_t right, int32_t bottom, double red, double green,
                       double blue, double alpha, TGUISlot parent) {
  gui_detail::StartElement(*this, KindButton, red, green, blue, alpha, parent);
  Caption = "button";
  OnClick = OnEnter = OnLeave = DoNothing;
  Blend = 0.01;
  Font = BuiltinFont;
  NoteFontAtCreation();
  TextRed = 1.0;
  TextGreen = 1.0;
  TextBlue = 0.5;
  TextAlpha = 1.0;
  gui_detail::PlaceRectangle(*this, left, top, right, bottom);
  UpdatePosition();
}

void TGUIButton::UpdatePosition() {}

bool TGUIButton::MouseInside() {
  const int32_t x = ParentLeft(Parent) + Left, y = ParentTop(Parent) + Top;
  return x < MouseVirtualX && MouseVirtualX < x + Width && y < MouseVirtualY && MouseVirtualY < y + Height;
}

float TGUIButton::PlaneX(int32_t dx) { return gui_plane::VertexX(ParentLeft(Parent) + Left + dx); }

float TGUIButton::PlaneY(int32_t dy) { return gui_plane::VertexY(ParentTop(Parent) + Top + dy); }

void TGUIButton::Draw() {
  if (!Visible || Alpha == 0) return;

  // The press step, run whenever the mouse is over the button. A panel dragged onto the button
  // brings the held mouse button with it: that hold belongs to the drag, so the button neither
  // presses nor arms, and the drop does not click it. (A press that starts over the button is
  // its own, whatever a panel beneath it does.)
  auto press = [this] {
    if (MouseLeft && Dragging && State == Normal) {
      ClickArmed = false;
    } else if (MouseLeft) {
      State = Pressed;
      ClickArmed = true;
    } else if (State == Pressed || State == Released) {
      State = Released;
      if (ClickArmed) {
        ClickArmed = false;
        Call(OnClick, this);
      }
    } else {
      State = Hover;
    }
  };

  TGUIobject* parent = Parent.Get();
  if (parent && parent->Kind == KindPanel) {
    if (static_cast<TGUIpanel*>(parent)->IsHotIgnoringButtons() && MouseInside())
      press();
    else
      State = Normal;
  } else if (parent && parent->Kind == KindScreen) {
    if (MouseInside()) {
      Inside = true;
      if (EnterArmed) {
        Call(OnEnter, this);
        EnterArmed = false;
      }
      press();
    } else {
      State = Normal;
      EnterArmed = true;
      if (Inside) {
        Call(OnLeave, this);
        Inside = false;
      }
    }
  }

  // The keyboard's press (Enter or Space on the focused button, or a screen reader's): a frame in
  // the pressed look, then the release with its click, whatever the mouse does meanwhile.
  switch (gui_detail::TakeKeyPress(ID)) {
    case gui_detail::KeyPress::Down:
      State = Pressed;
      break;
    case gui_detail::KeyPress::Up:
      State = Released;
      ClickArmed = false;
      Call(OnClick, this);
      break;
    case gui_detail::KeyPress::None:
      break;
  }

  glBindTexture(GL_TEXTURE_2D, ButtonTexture);

  const uint32_t t = FrameTime;
  switch (State) {
    case Normal:
      if (Blend < 1) Blend = Blend + t * 0.004;
      break;
    case Hover:
      if (Blend > 0) Blend = Blend - t * 0.008;
      break;
    case Pressed:
      if (Blend < 1) Blend = Blend + t * 0.006;
      break;
    case Released:
      if (Blend > 0) Blend = Blend - t * 0.004;
      break;
    default:
      break;
  }
  // A long frame (a modal box held open) must not carry the fade far past its ends.
  if (Blend < 0) Blend = 0;
  if (Blend > 1) Blend = 1;

  const float xs[4] = {PlaneX(0), PlaneX(20), PlaneX(Width - 20), PlaneX(Width)};
  const float ss[4] = {0.0f, 0.33203125f, 0.6640625f, 1.0f};
  const float top = PlaneY(0), bottom = PlaneY(Height);
  auto row = [&](float t0, float t1) {
    glBegin(GL_QUADS);
    for (int i = 0; i < 3; ++i) {
      glTexCoord2f(ss[i], t0);
      glVertex2f(xs[i], top);
      glTexCoord2f(ss[i], t1);
      glVertex2f(xs[i], bottom);
      glTexCoord2f(ss[i + 1], t1);
      glVertex2f(xs[i + 1], bottom);
      glTexCoord2f(ss[i + 1], t0);
      glVertex2f(xs[i + 1], top);
    }
    glEnd();
  };

  gui_detail::SetColour(Red, Green, Blue, Blend);
  if (State == Pressed || State == Released)
    row(kThird, 0.0f);
  else
    row(1.0f, kTwoThirds);
  gui_detail::SetColour(Red, Green, Blue, 1 - Blend);
  row(kTwoThirds, kThird);

  DrawCaption();
}

void TGUIButton::DrawCaption() {
  if (Font.Texture == 0 || Caption.empty()) return;
  // A font record without a cell grid cannot place any glyph.
  if (Font.CellsPerRow <= 0) return;
  const double ox = gui_plane::CaptionOriginX(ParentLeft(Parent) + Left);
  const double oy = gui_plane::CaptionOriginY(ParentTop(Parent) + Top);
  gui_detail::SetColour(TextRed, TextGreen, TextBlue, TextAlpha);
  glBindTexture(GL_TEXTURE_2D, Font.Texture);
  glBegin(GL_QUADS);
  gui_detail::EmitBFFontRun(Font, Caption, ox, oy, 500);
  glEnd();
}
