/// \file
/// The GUI toolkit: element base class, object slots, screens, cursor, fonts, panels, labels, buttons.
/// Elements are drawn on the z = 0 plane of the caller's modelview; their geometry is given in a
/// fixed 1024 x 768 space of virtual pixels, origin top-left, relative to the parent's Left and Top.
/// Call InitGUI once per GL context before making fonts and elements; draw the screens each frame,
/// then call DrawCursor once. Each screen clips what it draws to the plane's 1024 x 768 rectangle
/// (ClipPlanes), not to panels: a label or button reaching past its panel's edge shows outside it.
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

/// A text the toolkit shows or names an element by, in code page 1250: a std::string that takes a
/// null `const char*` as the empty text, where std::string would crash or throw. A literal nullptr
/// does not compile.
class TGUIText : public std::string {
 public:
  /// The empty text.
  TGUIText() = default;
  /// A copy of `text`.
  TGUIText(const std::string& text) : std::string(text) {}
  /// Takes over `text`.
  TGUIText(std::string&& text) : std::string(std::move(text)) {}
  /// A copy of the C string; empty for a null pointer.
  TGUIText(const char* text) : std::string(text ? text : "") {}
  TGUIText(std::nullptr_t) = delete;
  using std::string::operator=;
  /// Replaces the text with the C string; empty for a null pointer.
  TGUIText& operator=(const char* text) {
    std::string::assign(text ? text : "");
    return *this;
  }
  TGUIText& operator=(std::nullptr_t) = delete;
  using std::string::assign;
  /// Replaces the text with the C string; empty for a null pointer.
  TGUIText& assign(const char* text) {
    std::string::assign(text ? text : "");
    return *this;
  }
  TGUIText& assign(std::nullptr_t) = delete;
};

/// What every element is: its place, colour, visibility and kind. There are no getters or setters:
/// a program sets the public fields between frames. A container holds TGUISlot, not elements.
class TGUIobject {
 public:
  /// A number unique among the elements made since InitGUI (from ObjectCount); the keyboard's focus
  /// order and the accessibility tree's node IDs.
  int32_t ID = 0;
  /// Left edge in virtual pixels, from the parent's Left (the 1024 x 768 space, x to the right).
  int32_t Left = 0;
  /// Top edge in virtual pixels, from the parent's Top (y down). For a label, (Left, Top) is its x and y.
  int32_t Top = 0;
  /// Right edge, as Left; the constructors keep Left <= Right. Keep Right = Left + Width when moving it.
  int32_t Right = 0;
  /// Bottom edge, as Top; the constructors keep Top <= Bottom. Keep Bottom = Top + Height when moving it.
  int32_t Bottom = 0;
  /// Right - Left; buttons are hit-tested and panels framed by Width and Height. 0 for labels.
  int32_t Width = 0;
  /// Bottom - Top, as Width.
  int32_t Height = 0;
  /// Left + Width / 2, set by the constructor; not updated when the element moves, nor read by the toolkit.
  int32_t CenterX = 0;
  /// Top + Height / 2, as CenterX.
  int32_t CenterY = 0;
  /// @{
  /// The colour, each part 0 to 1, modulating the element's art: a panel's frame, a button's tint, a
  /// label's text. A button draws nothing with Alpha 0 and ignores other Alpha values.
  double Red = 0;
  double Green = 0;
  double Blue = 0;
  double Alpha = 0;
  /// @}
  /// False hides the element: it draws nothing, takes no input and loses the focus; a hidden panel
  /// hides its children. A label draws only while its parent is visible too. The constructors set true.
  bool Visible = false;
  /// Free for the program; the toolkit never reads it. It is where a handler keeps its own state,
  /// as a button's OnClick reading `button->Tag` to know which of several buttons called it.
  int32_t Tag = 0;
  /// What the element is, one of the Kind codes (KindScreen ... KindButton), set by its constructor;
  /// containers and hit tests go by it. Do not change it.
  int32_t Kind = 0;
  /// What a screen reader calls the element when it shows no text of its own (a panel, a screen,
  /// a button without a caption); code page 1250, as the program's texts. A button's caption and a
  /// label's text name them otherwise.
  TGUIText Name;

  /// Draws the element (and its children) for this frame and handles the mouse over it; the
  /// program calls it on its screens, containers on their children.
  virtual void Draw() = 0;
  /// Recomputes where the element lies on the plane from its Left and Top and its parent's, after
  /// either has changed; a panel passes it on to its children.
  virtual void UpdatePosition() = 0;
  /// Elements are deleted by the program; containers only hold slots to them.
  virtual ~TGUIobject() = default;
};

/// The largest distance from the parent's corner, either way, at which the constructors place an
/// element, in virtual pixels: coordinates beyond it are taken as this far. It is 2^24, the largest
/// range in which a float (the plane's vertices) holds every integer, and sums of nested positions
/// stay far from int32's limits.
constexpr int32_t GUICoordinateLimit = 1 << 24;

// Kind codes (TGUIobject::Kind).
/// Kind of a TGUIscreen.
constexpr int32_t KindScreen = 0;
/// Kind of a TGUIpanel.
constexpr int32_t KindPanel = 1;
/// Kind of a TGUISysLabel (system outline font).
constexpr int32_t KindSysLabel = 2;
/// Kind of a TGUIBmpLabel (texture-grid font).
constexpr int32_t KindBmpLabel = 3;
/// Kind of a TGUIButton.
constexpr int32_t KindButton = 4;

/// An object slot: the address of the application's variable that holds an element pointer.
/// Every use reads the variable again, so replacing the element in the variable makes every
/// container that holds the slot use the new element from then on. Made from `&variable` where the
/// toolkit takes a TGUISlot (a parent, Add, AddChild).
class TGUISlot {
 public:
  /// A null slot: no variable.
  TGUISlot() = default;
  /// A null slot, from nullptr.
  TGUISlot(std::nullptr_t) {}
  /// The slot of `variable`, a pointer to an element (TGUIobject or derived) variable; null for null.
  template <class T, class = std::enable_if_t<std::is_base_of_v<TGUIobject, T>>>
  TGUISlot(T** variable) : variable_(variable), read_(variable ? &ReadAs<T> : nullptr) {}

  /// The element the variable holds now; null for a null slot or an empty variable.
  TGUIobject* Get() const { return variable_ ? read_(variable_) : nullptr; }
  /// Get(), for `slot->Left`; the slot must hold an element.
  TGUIobject* operator->() const { return Get(); }
  /// True for a slot without a variable (not for a variable that holds null).
  bool IsNull() const { return variable_ == nullptr; }
  /// True when both slots name the same variable.
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

/// The built-in proportional bitmap font (BFF layout): glyphs in equal cells of one texture.
/// InitGUI loads it into BuiltinFont; each button draws its caption with a copy.
struct TGUIBFFont {
  /// The character code of the first cell; code c lies in cell c - BaseChar.
  uint8_t BaseChar = 0;
  /// Cells in a row of the texture.
  int32_t CellsPerRow = 0;
  /// Height of a drawn glyph in texels (the cell height).
  int32_t GlyphHeight = 0;
  /// Width of a cell in texels.
  int32_t CellWidth = 0;
  /// Height of a cell in texels.
  int32_t CellHeight = 0;
  /// Height of a cell in texture coordinates (CellHeight / image height).
  double CellTexHeight = 0;
  /// Width of a cell in texture coordinates (CellWidth / image width).
  double CellTexWidth = 0;
  /// The pen's advance for each of the 256 character codes, in texels.
  std::vector<uint8_t> Widths;  // 256 advances in texels, indexed by character code; empty when not loaded
  /// The font's texture; 0 when the font is not loaded (nothing is drawn with it then).
  GLuint Texture = 0;
};

/// A texture-grid font: 256 display lists, one per cell of a 16 x 16 grid texture. CreateGridFont
/// makes it; a TGUIBmpLabel draws with it and the texture given to the label.
struct TGUIBMPFONT {
  /// The first of the 256 display lists; 0 when the font has none (labels then draw nothing).
  int32_t ListBase = 0;
  /// The size given to CreateGridFont: each glyph is Size / 500 plane units square (16: about 30
  /// virtual pixels), and the pen advances Size / 760.
  uint8_t Size = 0;
};

/// A system outline font: the base of 256 consecutive display lists of glyphs in em units, made by
/// CreateSystemFont; 0 is no font. A TGUISysLabel draws with it.
using TGUISYSFONT = int32_t;

/// The built-in font, loaded by InitGUI from the program's resources (characters 32 to 255); DrawText
/// draws with it, and a button copies it when made.
extern TGUIBFFont BuiltinFont;
/// The glyph metrics, in em units, of the system font that CreateSystemFont made last (codes 0 to
/// 254); the accessibility tree measures outline-font labels with them.
extern GLYPHMETRICSFLOAT SystemFontMetrics[256];

/// Fills `font` from a BFF blob of `length` bytes and creates its texture (left bound). A blob that
/// is too short or describes no usable image leaves the font without a texture.
void LoadBFFont(TGUIBFFont& font, const uint8_t* blob, size_t length);
/// Draws `text` with BuiltinFont at pixel (x, y), seen straight on whatever the modelview is.
/// (x, y) are about virtual pixels, the top-left corner of the first glyph ((0, 0): the plane's
/// top-left); the text takes the current colour and is not clipped.
/// `<windows.h>` makes DrawText a macro for its DrawTextA or DrawTextW; the declaration steps round
/// it and leaves it as it was.
/// A null `text` draws nothing.
#pragma push_macro("DrawText")
#undef DrawText
void DrawText(int32_t x, int32_t y, const std::string& text);
/// DrawText for a C string; a null `text` draws nothing.
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
/// Builds the 256 display lists of a grid font of the given size. False, with ListBase 0, when
/// no lists could be had. Call after InitGUI, once per GL context; the lists are never deleted.
bool CreateGridFont(TGUIBMPFONT& font, uint8_t size);
/// Builds the 256 display lists of a system outline font. False when no lists could be had (the
/// font is then 0) or the outlines could not be made. `face` is a family name (on Linux fontconfig
/// picks it or its nearest substitute), `weight` a Win32 weight (400 normal, 700 bold), `outline`
/// true for line outlines and false for filled glyphs, `extrusion` the glyphs' depth, `dc` the
/// window's device context (on Linux any value). Call after InitGUI, once per GL context.
bool CreateSystemFont(TGUISYSFONT& font, const std::string& face, int32_t weight, bool outline,
                      double extrusion, HDC dc);

// ---- the GUI plane -------------------------------------------------------------------------------

/// @{
/// The part of the z = 0 plane that the GUI fills, as a camera at distance 1 with a 45 degree
/// vertical field of view sees it in a 4:3 view: x from -GUIPlaneHalfWidth (virtual x 0) to
/// GUIPlaneHalfWidth (1024), y from GUIPlaneHalfHeight (virtual y 0) down to -GUIPlaneHalfHeight
/// (768). 0.414 is tan 22.5 degrees to three decimals and 0.552 is 4/3 of it; ClipPlanes holds
/// this rectangle.
constexpr double GUIPlaneHalfWidth = 0.552;
constexpr double GUIPlaneHalfHeight = 0.414;
/// @}

// ---- global GUI state ------------------------------------------------------------------------------

/// InitGUI's `wideScreen`: outline-font labels (and panels drawn without the art) are then placed
/// for a 16:9 view; grid-font labels are not placed at all (they stay at the plane's centre).
extern bool WideScreen;
/// The ID the next element gets; each constructor takes one, InitGUI restarts it at 0.
extern int32_t ObjectCount;
/// The cursor's side on the plane, in plane units (0.04, about 37 virtual pixels).
extern double CursorSize;
/// The four planes (GL_CLIP_PLANE1 to 4) that bound the GUI's 1024 x 768 rectangle on the plane:
/// each screen's Draw clips everything it draws to them, under the modelview of that moment.
extern double ClipPlanes[4][4];
/// The panel art, loaded by InitGUI; 0 before, and panels are then plain quads of their colour.
extern GLuint PanelTexture;
/// The button art (normal, hover and pressed looks), loaded by InitGUI.
extern GLuint ButtonTexture;
/// The cursor's picture, loaded by InitGUI.
extern GLuint CursorTexture;
/// The cursor's picture while a mouse button is held, loaded by InitGUI.
extern GLuint CursorPressedTexture;
/// The mouse's x in virtual pixels (0 to 1024), which DrawCursor maps from MouseX for the next
/// frame's hit tests (a tap may be moved onto a nearby button).
extern int32_t MouseVirtualX;
/// The mouse's y in virtual pixels (0 to 768), as MouseVirtualX.
extern int32_t MouseVirtualY;
/// The x of the cursor's tip (its top-left corner) on the plane, set by DrawCursor.
extern double CursorX;
/// The y of the cursor's tip on the plane, set by DrawCursor.
extern double CursorY;
/// A system font for the program's own use (the demo keeps its outline font here); the toolkit
/// neither sets nor reads it.
extern int32_t DefaultSystemFont;

/// Loads the built-in font and the art textures; call once per GL context before building elements.
/// Call it with the context current, after ScreenWidth and ScreenHeight are set, and before making
/// fonts and elements (a button made earlier has no caption font); again after the context is lost
/// or re-created. It also restarts element IDs, clears the focus, sets WideScreen and sets TouchSlop
/// from `dc` (may be null). `dataFolder`, `screenWidth` and `screenHeight` are not used.
void InitGUI(const std::string& dataFolder, int32_t screenWidth, int32_t screenHeight, HDC dc, bool wideScreen);
/// Maps the mouse into virtual pixels and draws the cursor; once per frame, after the screens.
/// It also ends the frame's GUI: takes the queued key presses, moves the focus, runs presses and
/// draws the focus ring, and makes the accessibility tree. The cursor is drawn under the current
/// modelview, CursorSize square, with its tip at the mouse.
void DrawCursor();

// ---- keyboard focus and the accessibility tree ------------------------------------------------

// The keyboard reaches every element the mouse can use. Tab and Shift+Tab move the focus through
// the buttons and draggable panels of the screens drawn in the frame, in the order they were made
// (their ID), and wrap; Enter or Space presses the focused button (its pressed look for a frame,
// then its click); the arrow keys move a focused draggable panel and bring it to the front. A ring
// marks the focus after a key; a pointer press hides it and gives the focus to what it pressed. DrawCursor does this
// once a frame, from the key presses the shell queues (PushKeyPress, GLGlobal.h).
/// ID of the element with the keyboard focus (a button or a draggable panel); -1 for none. Tab and
/// Shift+Tab move it through the frame's focusable elements in ID order, Enter or Space presses a
/// focused button, the arrow keys move a focused panel; the program may set it between frames.
extern int32_t FocusedID;  // ID of the element with the focus; -1 for none
/// True while the focus ring shows: after a key, until a pointer press.
extern bool FocusVisible;  // the ring shows
/// How near a button, in window pixels, a tap that hits nothing else still presses it, when it is
/// nearer to that button than to any other (as browsers widen taps near links); mouse clicks stay
/// exact. InitGUI sets it to 12 pixels at 96 per inch, scaled by its device context's LOGPIXELSX.
extern int32_t TouchSlop;
/// How far an arrow key moves a focused panel, in virtual pixels (with Shift held: 1).
constexpr int32_t KeyboardMoveStep = 8;

/// What the frame showed, as a screen reader is told it (Accessibility.h): a node per drawn screen,
/// visible panel, label with text and visible button, with its role, name (UTF-8), states and its
/// rectangle projected through the frame's view into the window's pixels. DrawCursor makes it anew
/// each frame and hands it to the platform when it has changed.
const TAccessTree& AccessibilityTree();
/// A press or a focus asked for from outside (a screen reader), run as the keyboard's would be from
/// the next frame on; false when the last frame had no such element or it offers no such action.
/// `action` is AccessActionPress or AccessActionFocus.
bool AccessibilityAction(int32_t id, uint8_t action);

// ---- screen --------------------------------------------------------------------------------------

/// A page of GUI: the root container, drawn by the program each frame it shows. Its elements'
/// Left and Top are virtual pixels from the plane's top-left corner. Draw clips everything under
/// it to the plane's 1024 x 768 rectangle (ClipPlanes).
class TGUIscreen : public TGUIobject {
 public:
  /// The slots of its elements, drawn first to last (later ones on top).
  std::vector<TGUISlot> Children;

  /// An empty, visible screen with the next ID; Right and Width are ScreenWidth, Bottom and Height
  /// ScreenHeight (window pixels, read now). Make it after InitGUI.
  TGUIscreen();
  /// Forgets the screen in the frame's keyboard and accessibility records; its elements live on.
  ~TGUIscreen() override;
  /// Appends a slot to Children (a null slot is ignored); the same slot added twice is drawn twice.
  void Add(TGUISlot slot);
  /// Draws the children with clip planes 1 to 4 set from ClipPlanes under the current modelview,
  /// and notes the screen and its view for DrawCursor (focus, accessibility tree).
  void Draw() override;
  /// Does nothing: a screen has no parent.
  void UpdatePosition() override;
};

// ---- panel ---------------------------------------------------------------------------------------

/// True while a panel is dragged with the left mouse button.
extern bool Dragging;
/// The mouse's virtual x minus the dragged panel's Left when the drag began.
extern int32_t DragOffsetX;
/// The mouse's virtual y minus the dragged panel's Top when the drag began.
extern int32_t DragOffsetY;
/// ID of the panel being dragged (or last dragged).
extern int32_t DraggedID;

/// A framed container drawn from the panel art, holding labels, buttons and other panels.
/// Its frame is 27 virtual pixels deep at the top and at the bottom. With HasHeader the top 27 are
/// a title band with a close icon near its right end (drawn only; it closes nothing), with HasFooter
/// the bottom 27 a band of its own; without them those rows are a plain edge. Children are not
/// clipped to the panel (only the screen clips): place them from Top 27 down with a header.
class TGUIpanel : public TGUIobject {
 public:
  /// The left edge on the plane, in plane units, set by UpdatePosition (used when PanelTexture is 0).
  double PlaneLeft = 0;
  /// The top edge on the plane, as PlaneLeft.
  double PlaneTop = 0;
  /// The right edge on the plane, as PlaneLeft.
  double PlaneRight = 0;
  /// The bottom edge on the plane, as PlaneLeft.
  double PlaneBottom = 0;
  /// The left mouse drags the panel (and brings it to the front) and the keyboard can focus it and
  /// move it with the arrow keys. The constructor sets it when the parent is a screen.
  bool Draggable = false;
  /// Added to each colour part (Alpha too) while the panel is hot (IsHot); 0 for no highlight.
  double Highlight = 0;
  /// A texture of the program's for the inner area, instead of the art's plain fill; 0 for none.
  GLuint Texture = 0;
  /// How many times Texture repeats across the inner area, both ways.
  float TextureRepeat = 1.0f;
  /// Draws the bottom 27 virtual pixels as a footer band; Texture then ends 26 pixels above the
  /// bottom edge instead of 5 (25 with a header too).
  bool HasFooter = false;
  /// Draws the top 27 virtual pixels as a title band with a close icon (drawn only); Texture then
  /// starts 26 pixels below the top edge instead of 5 (25 with a footer too).
  bool HasHeader = false;
  /// The container it lies in (a screen or a panel): its Left and Top are from that one's.
  TGUISlot Parent;
  /// The slots of its elements, drawn after the panel, first to last; their Left and Top are from
  /// the panel's.
  std::vector<TGUISlot> Children;

  /// A visible panel with corners (left, top) and (right, bottom) in virtual pixels from the parent's
  /// Left and Top (swapped if reversed), its colour (0 to 1) and its parent; no header, footer or
  /// highlight, draggable when the parent is a screen. Add it to the parent yourself (Add, AddChild).
  TGUIpanel(int32_t left, int32_t top, int32_t right, int32_t bottom, double red, double green, double blue,
            double alpha, TGUISlot parent);
  /// Appends a slot to Children.
  void AddChild(TGUISlot slot);
  /// Follows the mouse while dragged, starts a drag on a press when hot and Draggable, draws the
  /// frame (colour plus Highlight when hot) and the inner area while Alpha > 0, then the children.
  void Draw() override;
  /// Recomputes PlaneLeft ... PlaneBottom and passes the call on to the children.
  void UpdatePosition() override;

  /// True when the mouse (MouseVirtualX, MouseVirtualY) is strictly inside the panel's rectangle.
  bool MouseInside();
  /// True unless a visible panel later in the parent's list (drawn over this one) is under the mouse.
  bool IsTopmostAtMouse();
  /// True when no visible child panel (or anything in it) and no visible child button is under the mouse.
  bool NoChildAtMouse();
  /// True when no visible child panel (or anything in it) is under the mouse; buttons do not count.
  bool NoChildPanelAtMouse();
  /// The mouse is over this panel and nothing drawn over it: MouseInside, IsTopmostAtMouse and NoChildAtMouse.
  bool IsHot();
  /// IsHot, with the panel's own buttons not counting: its buttons take the mouse when this holds.
  bool IsHotIgnoringButtons();
  /// Moves its slot to the end of the parent's child list, so that it is drawn over its siblings.
  void BringToFront();
  /// The plane x of a point `dx` virtual pixels right of the panel's left edge.
  float PlaneX(int32_t dx);
  /// The plane y of a point `dy` virtual pixels below the panel's top edge.
  float PlaneY(int32_t dy);
};

// ---- labels --------------------------------------------------------------------------------------

/// A line of text in a system outline font (CreateSystemFont). It draws only while it and its
/// parent are visible, is clipped to the screen rather than to its panel, and takes no input.
class TGUISysLabel : public TGUIobject {
 public:
  /// The plane x where the text's baseline starts, set by UpdatePosition.
  double OriginX = 0;
  /// The plane y of the text's baseline, set by UpdatePosition.
  double OriginY = 0;
  /// The glyphs' width scale: plane units per em (0.05: an em of about 46 virtual pixels).
  double ScaleX = 0;
  /// The glyphs' height scale: plane units per em.
  double ScaleY = 0;
  /// The font; 0 or less draws nothing.
  TGUISYSFONT FontBase = 0;
  /// The text, bytes of code page 1250 (0 to 254); an empty text draws nothing.
  TGUIText Text;
  /// The container it lies in; without one the label never draws.
  TGUISlot Parent;

  /// A visible label at (x, y), virtual pixels from the parent's Left and Top: about the top-left of
  /// its capital letters (the placement was tuned by eye; while WideScreen is set the parent's Top
  /// does not count). scaleX and scaleY give the glyph size, then the font, text, colour and parent.
  TGUISysLabel(int32_t x, int32_t y, double scaleX, double scaleY, TGUISYSFONT font, const TGUIText& text, double red,
               double green, double blue, double alpha, TGUISlot parent);
  /// Draws the text in its colour at its origin, when it and its parent are visible.
  void Draw() override;
  /// Recomputes OriginX and OriginY from Left, Top, the parent's and the scale.
  void UpdatePosition() override;
};

/// A line of text in a texture-grid font (CreateGridFont) and a 16 x 16 cell texture. It draws only
/// while it and its parent are visible, is clipped to the screen rather than to its panel, and takes
/// no input. It is not placed while WideScreen is set.
class TGUIBmpLabel : public TGUIobject {
 public:
  /// The plane x of the first glyph's lower-left corner, set by UpdatePosition.
  double OriginX = 0;
  /// The plane y of the glyphs' lower edge, set by UpdatePosition.
  double OriginY = 0;
  /// The font (a copy of the record); ListBase 0 draws nothing.
  TGUIBMPFONT Font;
  /// The text, bytes of code page 1250: code c draws cell c - 32 of the texture, codes below 32
  /// nothing; an empty text draws nothing.
  TGUIText Text;
  /// The grid texture whose 16 x 16 cells are the glyphs (space in the top-left cell).
  GLuint Texture = 0;
  /// The container it lies in; without one the label never draws.
  TGUISlot Parent;

  /// A visible label at (x, y), virtual pixels from the parent's Left and Top: roughly the top-left
  /// of its glyph cells (the placement was tuned by eye and shifts a little with the font's size),
  /// with its font, texture, text, colour and parent.
  TGUIBmpLabel(int32_t x, int32_t y, TGUIBMPFONT font, GLuint texture, const TGUIText& text, double red, double green,
               double blue, double alpha, TGUISlot parent);
  /// Draws the text in its colour at its origin, when it and its parent are visible; turns the depth
  /// test off while it draws and restores it.
  void Draw() override;
  /// Recomputes OriginX and OriginY from Left, Top, the parent's and the font's size; does nothing
  /// without a parent or while WideScreen is set.
  void UpdatePosition() override;
};

// ---- button --------------------------------------------------------------------------------------

class TGUIButton;
/// A button's handler, called with the button; it tells buttons apart by their Tag.
using ButtonHandler = void (*)(TGUIButton* button);
/// The toolkit's default handler.
void DoNothing(TGUIButton* button);

/// A push button: a bar from the button art whose looks cross-fade by FrameTime (normal, hover,
/// pressed), a caption in the built-in font, and handlers. Its caption is not clipped to it, nor
/// it to its panel.
class TGUIButton : public TGUIobject {
 public:
  /// State: the mouse is elsewhere.
  static constexpr uint8_t Normal = 0;
  /// State: the mouse is over it.
  static constexpr uint8_t Hover = 1;
  /// State: the left button is held over it.
  static constexpr uint8_t Pressed = 2;
  /// State: it was pressed and let go (clicked), until the mouse leaves.
  static constexpr uint8_t Released = 3;

  /// The cross-fade, 0 to 1: 1 shows the normal look (the pressed look while Pressed or Released),
  /// 0 the hover look; it moves toward its state's end by FrameTime.
  double Blend = 0.01;
  /// Normal, Hover, Pressed or Released, as the last Draw found it.
  uint8_t State = Normal;
  /// The container it lies in (a screen or a panel): its Left and Top are from that one's.
  TGUISlot Parent;
  /// The caption's font: a copy of BuiltinFont when the button was made.
  TGUIBFFont Font;
  /// @{
  /// The caption's colour, each part 0 to 1 (pale yellow by default).
  double TextRed = 1.0;
  double TextGreen = 1.0;
  double TextBlue = 0.5;
  double TextAlpha = 1.0;
  /// @}
  /// The caption, bytes of code page 1250; it starts 30 virtual pixels in from the left edge, its
  /// glyphs (about 31 pixels tall) hanging from the top edge. Empty draws none.
  TGUIText Caption = "button";
  /// Called when the left button, pressed over the button, is let go over it, and for Enter or Space
  /// on the focused button or a screen reader's press. `button->Tag` tells which button it was.
  ButtonHandler OnClick = DoNothing;
  /// Called when the mouse comes over the button; only for a button whose parent is a screen.
  ButtonHandler OnEnter = DoNothing;
  /// Called when the mouse leaves the button; only for a button whose parent is a screen.
  ButtonHandler OnLeave = DoNothing;
  /// A press began over the button: letting go over it will click.
  bool ClickArmed = false;
  /// The mouse was seen outside the button: its next entry calls OnEnter.
  bool EnterArmed = false;
  /// The mouse was over the button at the last Draw (kept for buttons on a screen).
  bool Inside = false;

  /// A visible button with corners (left, top) and (right, bottom) in virtual pixels from the
  /// parent's Left and Top (swapped if reversed), its tint (Alpha 0 hides it) and its parent; the
  /// caption "button", handlers DoNothing. Make it after InitGUI (one made before has no caption and
  /// says so on standard error), and add it to the parent yourself.
  TGUIButton(int32_t left, int32_t top, int32_t right, int32_t bottom, double red, double green, double blue,
             double alpha, TGUISlot parent);
  /// Handles the mouse and the keyboard's press (running the handlers), then draws the looks and
  /// the caption. Over a panel it takes the mouse only while the panel IsHotIgnoringButtons.
  void Draw() override;
  /// Does nothing: a button reads its parent's place whenever it draws.
  void UpdatePosition() override;

  /// True when the mouse (MouseVirtualX, MouseVirtualY) is strictly inside the button.
  bool MouseInside();
  /// The plane x of a point `dx` virtual pixels right of the button's left edge.
  float PlaneX(int32_t dx);
  /// The plane y of a point `dy` virtual pixels below the button's top edge.
  float PlaneY(int32_t dy);
  /// Draws Caption in Font and the caption colour; nothing when the font is not loaded.
  void DrawCaption();
};
