// The GUI toolkit: element base class, object slots, screens, cursor, fonts, panels, labels, buttons.
// Elements are drawn on the z = 0 plane of the caller's modelview; their geometry is given in a
// fixed 1024 x 768 space of virtual pixels, origin top-left, relative to the parent's Left and Top.
#pragma once

#include "Accessibility.h"
#include "WinTypes.h"

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// A text the toolkit shows or names an element by, in code page 1250: a std::string that takes a
// null `const char*` as the empty text, where std::string would crash or throw. A literal nullptr
// does not compile.
class TGUIText : public std::string {
 public:
  TGUIText() = default;
  TGUIText(const std::string& text) : std::string(text) {}
  TGUIText(std::string&& text) : std::string(std::move(text)) {}
  TGUIText(const char* text) : std::string(text ? text : "") {}
  TGUIText(std::nullptr_t) = delete;
  using std::string::operator=;
  TGUIText& operator=(const char* text) {
    std::string::assign(text ? text : "");
    return *this;
  }
  TGUIText& operator=(std::nullptr_t) = delete;
  using std::string::assign;
  TGUIText& assign(const char* text) {
    std::string::assign(text ? text : "");
    return *this;
  }
  TGUIText& assign(std::nullptr_t) = delete;
};

class TGUIobject {
 public:
  int32_t ID = 0;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t CenterX = 0;
  int32_t CenterY = 0;
  double Red = 0;
  double Green = 0;
  double Blue = 0;
  double Alpha = 0;
  bool Visible = false;
  int32_t Tag = 0;
  int32_t Kind = 0;
  // What a screen reader calls the element when it shows no text of its own (a panel, a screen,
  // a button without a caption); code page 1250, as the program's texts. A button's caption and a
  // label's text name them otherwise.
  TGUIText Name;

  virtual void Draw() = 0;
  virtual void UpdatePosition() = 0;
  virtual ~TGUIobject() = default;
};

// The largest distance from the parent's corner, either way, at which the constructors place an
// element, in virtual pixels: coordinates beyond it are taken as this far. It is 2^24, the largest
// range in which a float (the plane's vertices) holds every integer, and sums of nested positions
// stay far from int32's limits.
constexpr int32_t GUICoordinateLimit = 1 << 24;

// Kind codes.
constexpr int32_t KindScreen = 0;
constexpr int32_t KindPanel = 1;
constexpr int32_t KindSysLabel = 2;
constexpr int32_t KindBmpLabel = 3;
constexpr int32_t KindButton = 4;

// An object slot: the address of the application's variable that holds an element pointer.
// Every use reads the variable again, so replacing the element in the variable makes every
// container that holds the slot use the new element from then on.
class TGUISlot {
 public:
  TGUISlot() = default;
  TGUISlot(std::nullptr_t) {}
  template <class T, class = std::enable_if_t<std::is_base_of_v<TGUIobject, T>>>
  TGUISlot(T** variable) : variable_(variable), read_(variable ? &ReadAs<T> : nullptr) {}

  // The element the variable holds now; null for a null slot or an empty variable.
  TGUIobject* Get() const { return variable_ ? read_(variable_) : nullptr; }
  TGUIobject* operator->() const { return Get(); }
  bool IsNull() const { return variable_ == nullptr; }
  bool operator==(const TGUISlot& other) const { return variable_ == other.variable_; }

 private:
  template <class T>
  static TGUIobject* ReadAs(const void* variable) {
    return *static_cast<T* const*>(variable);
  }
  const void* variable_ = nullptr;
  TGUIobject* (*read_)(const void*) = nullptr;
};

// ---- fonts ---------------------------------------------------------------------------------------

// The built-in proportional bitmap font (BFF layout): glyphs in equal cells of one texture.
struct TGUIBFFont {
  uint8_t BaseChar = 0;
  int32_t CellsPerRow = 0;
  int32_t GlyphHeight = 0;
  int32_t CellWidth = 0;
  int32_t CellHeight = 0;
  double CellTexHeight = 0;
  double CellTexWidth = 0;
  std::vector<uint8_t> Widths;  // 256 advances in texels, indexed by character code; empty when not loaded
  GLuint Texture = 0;
};

// A texture-grid font: 256 display lists, one per cell of a 16 x 16 grid texture.
struct TGUIBMPFONT {
  int32_t ListBase = 0;
  uint8_t Size = 0;
};

// A system outline font: the base of 256 consecutive display lists of glyphs in em units.
using TGUISYSFONT = int32_t;

extern TGUIBFFont BuiltinFont;
extern GLYPHMETRICSFLOAT SystemFontMetrics[256];

// Fills `font` from a BFF blob of `length` bytes and creates its texture (left bound).
void LoadBFFont(TGUIBFFont& font, const uint8_t* blob, size_t length);
// Draws `text` with BuiltinFont at pixel (x, y), seen straight on whatever the modelview is.
// <windows.h> makes DrawText a macro for its DrawTextA or DrawTextW; the declaration steps round
// it and leaves it as it was.
// A null `text` draws nothing.
#pragma push_macro("DrawText")
#undef DrawText
void DrawText(int32_t x, int32_t y, const std::string& text);
inline void DrawText(int32_t x, int32_t y, const char* text) {
  if (text) DrawText(x, y, std::string(text));
}
void DrawText(int32_t x, int32_t y, std::nullptr_t) = delete;
#pragma pop_macro("DrawText")
#ifdef DrawText
// Where the macro stands, DrawText(x, y, text) becomes a call of DrawTextA (or DrawTextW): these
// overloads of the system's name pass it on to ours, while DrawText(dc, ...) stays the system's.
inline void DrawText(int32_t x, int32_t y, const std::string& text) {
#pragma push_macro("DrawText")
#undef DrawText
  DrawText(x, y, text);
#pragma pop_macro("DrawText")
}
inline void DrawText(int32_t x, int32_t y, const char* text) {
#pragma push_macro("DrawText")
#undef DrawText
  DrawText(x, y, text);
#pragma pop_macro("DrawText")
}
#endif
// Builds the 256 display lists of a grid font of the given size. False, with ListBase 0, when
// no lists could be had.
bool CreateGridFont(TGUIBMPFONT& font, uint8_t size);
// Builds the 256 display lists of a system outline font. False when no lists could be had (the
// font is then 0) or the outlines could not be made.
bool CreateSystemFont(TGUISYSFONT& font, const std::string& face, int32_t weight, bool outline,
                      double extrusion, HDC dc);

// ---- the GUI plane -------------------------------------------------------------------------------

// The part of the z = 0 plane that the GUI fills, as a camera at distance 1 with a 45 degree
// vertical field of view sees it in a 4:3 view: x from -GUIPlaneHalfWidth (virtual x 0) to
// GUIPlaneHalfWidth (1024), y from GUIPlaneHalfHeight (virtual y 0) down to -GUIPlaneHalfHeight
// (768). 0.414 is tan 22.5 degrees to three decimals and 0.552 is 4/3 of it; ClipPlanes holds
// this rectangle.
constexpr double GUIPlaneHalfWidth = 0.552;
constexpr double GUIPlaneHalfHeight = 0.414;

// ---- global GUI state ------------------------------------------------------------------------------

extern bool WideScreen;
extern int32_t ObjectCount;
extern double CursorSize;
extern double ClipPlanes[4][4];
extern GLuint PanelTexture;
extern GLuint ButtonTexture;
extern GLuint CursorTexture;
extern GLuint CursorPressedTexture;
extern int32_t MouseVirtualX;
extern int32_t MouseVirtualY;
extern double CursorX;
extern double CursorY;
extern int32_t DefaultSystemFont;

// Loads the built-in font and the art textures; call once per GL context before building elements.
void InitGUI(const std::string& dataFolder, int32_t screenWidth, int32_t screenHeight, HDC dc, bool wideScreen);
// Maps the mouse into virtual pixels and draws the cursor; once per frame, after the screens.
void DrawCursor();

// ---- keyboard focus and the accessibility tree ------------------------------------------------

// The keyboard reaches every element the mouse can use. Tab and Shift+Tab move the focus through
// the buttons and draggable panels of the screens drawn in the frame, in the order they were made
// (their ID), and wrap; Enter or Space presses the focused button (its pressed look for a frame,
// then its click); the arrow keys move a focused draggable panel and bring it to the front. A ring
// marks the focus after a key; a pointer press hides it and gives the focus to what it pressed. DrawCursor does this
// once a frame, from the key presses the shell queues (PushKeyPress, GLGlobal.h).
extern int32_t FocusedID;  // ID of the element with the focus; -1 for none
extern bool FocusVisible;  // the ring shows
// How near a button, in window pixels, a tap that hits nothing else still presses it, when it is
// nearer to that button than to any other (as browsers widen taps near links); mouse clicks stay
// exact. InitGUI sets it to 12 pixels at 96 per inch, scaled by its device context's LOGPIXELSX.
extern int32_t TouchSlop;
// How far an arrow key moves a focused panel, in virtual pixels (with Shift held: 1).
constexpr int32_t KeyboardMoveStep = 8;

// What the frame showed, as a screen reader is told it (Accessibility.h): a node per drawn screen,
// visible panel, label with text and visible button, with its role, name (UTF-8), states and its
// rectangle projected through the frame's view into the window's pixels. DrawCursor makes it anew
// each frame and hands it to the platform when it has changed.
const TAccessTree& AccessibilityTree();
// A press or a focus asked for from outside (a screen reader), run as the keyboard's would be from
// the next frame on; false when the last frame had no such element or it offers no such action.
bool AccessibilityAction(int32_t id, uint8_t action);

// ---- screen --------------------------------------------------------------------------------------

class TGUIscreen : public TGUIobject {
 public:
  std::vector<TGUISlot> Children;

  TGUIscreen();
  ~TGUIscreen() override;
  void Add(TGUISlot slot);
  void Draw() override;
  void UpdatePosition() override;
};

// ---- panel ---------------------------------------------------------------------------------------

extern bool Dragging;
extern int32_t DragOffsetX;
extern int32_t DragOffsetY;
extern int32_t DraggedID;

class TGUIpanel : public TGUIobject {
 public:
  double PlaneLeft = 0;
  double PlaneTop = 0;
  double PlaneRight = 0;
  double PlaneBottom = 0;
  bool Draggable = false;
  double Highlight = 0;
  GLuint Texture = 0;
  float TextureRepeat = 1.0f;
  bool HasFooter = false;
  bool HasHeader = false;
  TGUISlot Parent;
  std::vector<TGUISlot> Children;

  TGUIpanel(int32_t left, int32_t top, int32_t right, int32_t bottom, double red, double green, double blue,
            double alpha, TGUISlot parent);
  void AddChild(TGUISlot slot);
  void Draw() override;
  void UpdatePosition() override;

  bool MouseInside();
  bool IsTopmostAtMouse();
  bool NoChildAtMouse();
  bool NoChildPanelAtMouse();
  bool IsHot();
  bool IsHotIgnoringButtons();
  void BringToFront();
  float PlaneX(int32_t dx);
  float PlaneY(int32_t dy);
};

// ---- labels --------------------------------------------------------------------------------------

class TGUISysLabel : public TGUIobject {
 public:
  double OriginX = 0;
  double OriginY = 0;
  double ScaleX = 0;
  double ScaleY = 0;
  TGUISYSFONT FontBase = 0;
  TGUIText Text;
  TGUISlot Parent;

  TGUISysLabel(int32_t x, int32_t y, double scaleX, double scaleY, TGUISYSFONT font, const TGUIText& text, double red,
               double green, double blue, double alpha, TGUISlot parent);
  void Draw() override;
  void UpdatePosition() override;
};

class TGUIBmpLabel : public TGUIobject {
 public:
  double OriginX = 0;
  double OriginY = 0;
  TGUIBMPFONT Font;
  TGUIText Text;
  GLuint Texture = 0;
  TGUISlot Parent;

  TGUIBmpLabel(int32_t x, int32_t y, TGUIBMPFONT font, GLuint texture, const TGUIText& text, double red, double green,
               double blue, double alpha, TGUISlot parent);
  void Draw() override;
  void UpdatePosition() override;
};

// ---- button --------------------------------------------------------------------------------------

class TGUIButton;
using ButtonHandler = void (*)(TGUIButton* button);
// The toolkit's default handler.
void DoNothing(TGUIButton* button);

class TGUIButton : public TGUIobject {
 public:
  static constexpr uint8_t Normal = 0;
  static constexpr uint8_t Hover = 1;
  static constexpr uint8_t Pressed = 2;
  static constexpr uint8_t Released = 3;

  double Blend = 0.01;
  uint8_t State = Normal;
  TGUISlot Parent;
  TGUIBFFont Font;
  double TextRed = 1.0;
  double TextGreen = 1.0;
  double TextBlue = 0.5;
  double TextAlpha = 1.0;
  TGUIText Caption = "button";
  ButtonHandler OnClick = DoNothing;
  ButtonHandler OnEnter = DoNothing;
  ButtonHandler OnLeave = DoNothing;
  bool ClickArmed = false;
  bool EnterArmed = false;
  bool Inside = false;

  TGUIButton(int32_t left, int32_t top, int32_t right, int32_t bottom, double red, double green, double blue,
             double alpha, TGUISlot parent);
  void Draw() override;
  void UpdatePosition() override;

  bool MouseInside();
  float PlaneX(int32_t dx);
  float PlaneY(int32_t dy);
  void DrawCaption();
};
