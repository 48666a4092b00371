// Global GUI state, toolkit initialisation and the mouse cursor.
#include "GLGUI.h"

#include "GLGlobal.h"
#include "GLTextures.h"
#include "GUIShared.h"
#include "PlaneMapping.h"
#include "Resources.h"

#include <cmath>
#include <cstdint>

bool WideScreen = false;
int32_t ObjectCount = 0;
double CursorSize = 0.04;
double ClipPlanes[4][4] = {
    {0, 1, 0, gui_plane::kHalfHeight},
    {1, 0, 0, gui_plane::kHalfWidth},
    {-1, 0, 0, gui_plane::kHalfWidth},
    {0, -1, 0, gui_plane::kHalfHeight},
};
GLuint PanelTexture = 0;
GLuint ButtonTexture = 0;
GLuint CursorTexture = 0;
GLuint CursorPressedTexture = 0;
int32_t MouseVirtualX = 0;
int32_t MouseVirtualY = 0;
double CursorX = 0;
double CursorY = 0;
int32_t DefaultSystemFont = 0;

namespace {

// GL_CLAMP is not in the core headers of every GL version; the value is fixed.
constexpr GLint kClamp = 0x2900;

void ClampBoundTexture() {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, kClamp);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, kClamp);
}

// pixel * virtualSize / screenSize, to the nearest integer with halves to even.
int32_t ToVirtual(int32_t pixel, int32_t virtualSize, int32_t screenSize) {
  const double q = static_cast<double>(static_cast<int64_t>(pixel) * virtualSize) / screenSize;
  const double r = std::nearbyint(q);
  if (r >= 2147483647.0) return INT32_MAX;
  if (r <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(r);
}

}  // namespace

std::vector<TGUISlot>* gui_detail::ChildListOf(TGUIobject* container) {
  if (!container) return nullptr;
  if (container->Kind == KindScreen) return &static_cast<TGUIscreen*>(container)->Children;
  if (container->Kind == KindPanel) return &static_cast<TGUIpanel*>(container)->Children;
  return nullptr;
}

void gui_detail::DrawChildren(std::vector<TGUISlot>& children) {
  size_t end = children.size();
  for (size_t i = 0; i < end && i < children.size();) {
    const TGUISlot slot = children[i];
    if (TGUIobject* child = slot.Get()) child->Draw();
    if (i < children.size() && children[i] == slot)
      ++i;
    else
      --end;  // it went to the end of the list: its successor now stands at i
  }
}

void InitGUI(const std::string& /*dataFolder*/, int32_t /*screenWidth*/, int32_t /*screenHeight*/, HDC dc,
             bool wideScreen) {
  WideScreen = wideScreen;
  ObjectCount = 0;
  gui_detail::ResetFocusAndTree();
  const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
  TouchSlop = 12 * (dpi > 0 ? dpi : 96) / 96;
  ResourceBlob blob{};
  if (FindProgramResource("BFF", "BUILTINFONT", &blob)) LoadBFFont(BuiltinFont, blob.Data, blob.Size);
  LoadImageTexture("panel.tga", PanelTexture, true);
  LoadImageTexture("button.tga", ButtonTexture, true);
  LoadImageTexture("cursor_normal.tga", CursorTexture, true);
  ClampBoundTexture();
  LoadImageTexture("cursor2_normal.tga", CursorPressedTexture, true);
  ClampBoundTexture();
  glBindTexture(GL_TEXTURE_2D, 0);
}

void DrawCursor() {
  gui_detail::EndGUIFrame();
  gui_detail::DrawFocusRing();
  glBindTexture(GL_TEXTURE_2D, (MouseLeft || MouseMiddle || MouseRight) ? CursorPressedTexture : CursorTexture);
  // Without a window size there is nothing to map from: keep the last position.
  if (ScreenWidth != 0 && ScreenHeight != 0) {
    MouseVirtualX = ToVirtual(MouseX, gui_plane::kVirtualWidth, ScreenWidth);
    MouseVirtualY = ToVirtual(MouseY, gui_plane::kVirtualHeight, ScreenHeight);
    if (MouseTouch) gui_detail::AdjustTap(MouseVirtualX, MouseVirtualY);
    CursorX = gui_plane::CursorPlaneX(MouseX, ScreenWidth);
    CursorY = gui_plane::CursorPlaneY(MouseY, ScreenHeight);
  }
  const double s = CursorSize;
  glColor4f(1, 1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex3d(CursorX, CursorY - s, 0);
  glTexCoord2f(1, 0);
  glVertex3d(CursorX + s, CursorY - s, 0);
  glTexCoord2f(1, 1);
  glVertex3d(CursorX + s, CursorY, 0);
  glTexCoord2f(0, 1);
  glVertex3d(CursorX, CursorY, 0);
  glEnd();
}
