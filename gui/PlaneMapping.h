// Where the toolkit's virtual pixels land on the GUI plane: every element's mapping in one place.
//
// The common rule maps the 1024 x 768 virtual space onto the plane's visible rectangle
// (GUIPlaneHalfWidth by GUIPlaneHalfHeight, GLGUI.h); panels, buttons and the clip rectangle use
// it. The cursor and each kind of text use variants tuned by eye, whose constants differ a little
// from the common ones on purpose (a centre at 522 rather than 512, 0.4135 rather than 0.414,
// 0.551 rather than 0.552): each is kept as it is and named for what it places.
//
// The functions keep each computation's operations in their order and types (integer sums first,
// then one conversion; a quotient in parentheses stays one), so that every coordinate is the same
// to the last bit: `(x - c) * h / c` and `(x - c) * (h / c)` round differently.
#pragma once

#include "GLGUI.h"

#include <cstdint>

namespace gui_plane {

// ---- the common rule: panels, buttons, the clip rectangle ---------------------------------------

// The virtual space and its centre, which lies on the plane's origin.
constexpr int32_t kVirtualWidth = 1024;
constexpr int32_t kVirtualHeight = 768;
constexpr int32_t kCentreX = kVirtualWidth / 2;
constexpr int32_t kCentreY = kVirtualHeight / 2;

constexpr double kHalfWidth = GUIPlaneHalfWidth;
constexpr double kHalfHeight = GUIPlaneHalfHeight;
// The half-width while WideScreen is set, fitting a 16:9 view: about tan 22.5 degrees times 16/9.
constexpr double kWideHalfWidth = 0.736;
// One virtual pixel in plane units on the 4:3 plane, the same both ways: 0.552 / 512 = 0.414 / 384.
constexpr double kUnitsPerPixel = 0.001078125;

// Plane x of virtual x, for the half-width of the view's aspect (kHalfWidth or kWideHalfWidth).
inline double FromVirtualX(int32_t vx, double halfWidth) {
  return static_cast<double>(vx - kCentreX) / kCentreX * halfWidth;
}
// Plane y of virtual y.
inline double FromVirtualY(int32_t vy) { return static_cast<double>(kCentreY - vy) / kCentreY * kHalfHeight; }

// The textured vertices' form: one factor for both axes, always 4:3, in single precision.
inline float VertexX(int32_t vx) { return static_cast<float>((vx - kCentreX) * kUnitsPerPixel); }
inline float VertexY(int32_t vy) { return static_cast<float>((kCentreY - vy) * kUnitsPerPixel); }

// ---- the cursor ---------------------------------------------------------------------------------

// Placed from window pixels directly, not from the virtual position, across a rectangle a
// thousandth inside the plane's on each side.
constexpr double kCursorHalfWidth = 0.551;
constexpr double kCursorHalfHeight = 0.413;
constexpr double kCursorWidth = 1.102;
constexpr double kCursorHeight = 0.826;

// The plane position of the cursor's corner for a mouse position in a window of the given size.
inline double CursorPlaneX(int32_t mouseX, int32_t screenWidth) {
  return kCursorWidth / screenWidth * mouseX - kCursorHalfWidth;
}
inline double CursorPlaneY(int32_t mouseY, int32_t screenHeight) {
  return kCursorHalfHeight - kCursorHeight / screenHeight * mouseY;
}

// ---- text in the built-in font (DrawText) and in grid fonts -------------------------------------

// Text is centred horizontally on virtual x 522 with the plane's half-width, and spreads 0.395
// plane units over 358 rows vertically.
constexpr int32_t kTextCentreX = 522;
constexpr double kTextHalfWidth = kHalfWidth;
constexpr int32_t kTextSpanRows = 358;
constexpr double kTextSpanHeight = 0.395;
// DrawText's centre row: the glyphs of a text placed there stand on plane y 0.
constexpr int32_t kTextCentreY = 350;

// The lower left corner of DrawText's first glyph for a text at pixel (x, y).
inline double TextOriginX(int32_t x) { return (static_cast<double>(x) - kTextCentreX) * kTextHalfWidth / kTextCentreX; }
inline double TextOriginY(int32_t y) {
  return (kTextCentreY - static_cast<double>(y)) * kTextSpanHeight / kTextSpanRows;
}

// A grid-font label's centre row, and how its two factors follow the font's size: the half-width
// grows and the span's height shrinks by these per unit of size.
constexpr int32_t kGridLabelCentreY = 358;
constexpr double kGridLabelWidthPerSize = 0.000288;
constexpr double kGridLabelHeightPerSize = 0.001788;

// A grid-font label's origin for its absolute x, its own and its parent's y, and the font's size.
inline double GridLabelOriginX(int32_t vx, double size) {
  return (kTextHalfWidth + kGridLabelWidthPerSize * size) * (vx - kTextCentreX) / kTextCentreX;
}
inline double GridLabelOriginY(int32_t top, int32_t parentTop, double size) {
  return (kTextSpanHeight - kGridLabelHeightPerSize * size) * (kGridLabelCentreY - top - parentTop) / kTextSpanRows;
}

// A button's caption starts 30 virtual pixels inside the button and is spread vertically over its
// own 353 rows around row 350.
constexpr int32_t kCaptionIndent = 30;
constexpr int32_t kCaptionCentreY = 350;
constexpr int32_t kCaptionSpanRows = 353;
constexpr double kCaptionSpanHeight = 0.385;

// The lower left corner of a caption's first glyph for a button at absolute (vx, vy).
inline double CaptionOriginX(int32_t vx) {
  return (vx + kCaptionIndent - kTextCentreX) * kTextHalfWidth / kTextCentreX;
}
inline double CaptionOriginY(int32_t vy) { return (kCaptionCentreY - vy) * kCaptionSpanHeight / kCaptionSpanRows; }

// ---- text in system outline fonts (TGUISysLabel) ------------------------------------------------

// Outline glyphs stand on their baseline at their origin: a label is centred on virtual x 485 with
// a half-width of 0.522 (492 and 0.706 while WideScreen is set), and its virtual y 0 lies at plane
// y -0.313, below which it spreads 0.4135 plane units over 384 rows.
constexpr int32_t kOutlineLabelCentreX = 485;
constexpr double kOutlineLabelHalfWidth = 0.522;
constexpr int32_t kOutlineLabelWideCentreX = 492;
constexpr double kOutlineLabelWideHalfWidth = 0.706;
constexpr double kOutlineLabelTopY = -0.313;
constexpr double kOutlineLabelSpanHeight = 0.4135;

inline double OutlineLabelOriginX(int32_t vx) {
  return (vx - kOutlineLabelCentreX) * (kOutlineLabelHalfWidth / kOutlineLabelCentreX);
}
inline double OutlineLabelWideOriginX(int32_t vx) {
  return (vx - kOutlineLabelWideCentreX) * (kOutlineLabelWideHalfWidth / kOutlineLabelWideCentreX);
}
inline double OutlineLabelOriginY(int32_t vy) { return kOutlineLabelTopY - vy * (kOutlineLabelSpanHeight / kCentreY); }

// A label drawn smaller than its font moves by these for each hundredth of scale it lacks (the
// x shift is taken off the origin, the y shift added to it).
constexpr int32_t kOutlineLabelShrinkDivisorX = 3500;
constexpr double kOutlineLabelShrinkY = 0.356;
constexpr int32_t kOutlineLabelShrinkDivisorY = 49;

inline double OutlineLabelShiftX(double scaleX) { return (100 - 100 * scaleX) / kOutlineLabelShrinkDivisorX; }
inline double OutlineLabelShiftY(double scaleY) {
  return (100 - 100 * scaleY) * (kOutlineLabelShrinkY / kOutlineLabelShrinkDivisorY);
}

}  // namespace gui_plane
