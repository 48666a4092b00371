// Panel, button and cursor art. Each picture is described as a colour function of a continuous
// position and sampled 4 x 4 times per texel, so edges come out anti-aliased.
#include <algorithm>
#include <cmath>
#include <functional>

#include "Art.h"

namespace {

using ColourAt = std::function<Rgba(double x, double y)>;

// Averages 4 x 4 samples of the texel [x, x+1) x [y, y+1) with premultiplied alpha. The sums
// are rounded to 1/65536, so mirrored texels (whose samples add up in another order) come out
// bit-identical.
Rgba Supersample(const ColourAt& colour, double x, double y) {
  double r = 0, g = 0, b = 0, a = 0;
  Rgba anyColour;
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) {
      const Rgba p = colour(x + (i + 0.5) / 4.0, y + (j + 0.5) / 4.0);
      r += double(p.R) * p.A;
      g += double(p.G) * p.A;
      b += double(p.B) * p.A;
      a += p.A;
      anyColour = p;
    }
  auto tidy = [](double v) { return static_cast<float>(std::round(v * 65536.0) / 65536.0); };
  if (a <= 0.0) return Rgba{anyColour.R, anyColour.G, anyColour.B, 0.0f};
  return Rgba{tidy(r / a), tidy(g / a), tidy(b / a), tidy(a / 16.0)};
}

// Signed distance from the outline of a rounded rectangle [x0, x1] x [y0, y1] with corner radius
// r: positive inside, negative outside.
double RoundedRectDepth(double x, double y, double x0, double y0, double x1, double y1, double r) {
  const bool cornerX = x < x0 + r || x > x1 - r;
  const bool cornerY = y < y0 + r || y > y1 - r;
  if (cornerX && cornerY) {
    const double cx = std::clamp(x, x0 + r, x1 - r);
    const double cy = std::clamp(y, y0 + r, y1 - r);
    return r - std::hypot(x - cx, y - cy);
  }
  return std::min(std::min(x - x0, x1 - x), std::min(y - y0, y1 - y));
}

// ---- Panel -----------------------------------------------------------------------------------

struct PanelShape {
  double Width, Height;
  bool Header, Footer;
};

constexpr double kPanelRadius = 6.0;

const Rgba kOutline = MakeRgb(14, 18, 27);
const Rgba kRing = MakeRgb(112, 132, 164);
const Rgba kHeaderRing = MakeRgb(164, 188, 226);
const Rgba kBodyOuter = MakeRgb(76, 90, 116);
const Rgba kBodyInner = MakeRgb(56, 68, 90);
const Rgba kInnerShadow = MakeRgb(24, 30, 42);
const Rgba kFill = MakeRgb(44, 53, 70);

Rgba HeaderBar(double y) {
  // A soft glossy title bar: lighter upper half, a small step, deeper lower half.
  if (y < 12.5) return Mix(MakeRgb(108, 136, 182), MakeRgb(84, 110, 156), static_cast<float>((y - 2) / 10.5));
  return Mix(MakeRgb(66, 92, 138), MakeRgb(52, 76, 120), static_cast<float>((y - 12.5) / 10.5));
}

Rgba FooterBar(double fromBottom) {
  return Mix(MakeRgb(44, 54, 74), MakeRgb(62, 75, 99), static_cast<float>((fromBottom - 2) / 21));
}

Rgba PanelColour(const PanelShape& p, double x, double y) {
  // Rounded to 1/1024 so that mirrored positions give bit-identical colours.
  const double d = std::round(RoundedRectDepth(x, y, 0, 0, p.Width, p.Height, kPanelRadius) * 1024) / 1024;
  if (d < 0) return Rgba{kOutline.R, kOutline.G, kOutline.B, 0.0f};
  if (d < 1) return kOutline;
  const double fromBottom = p.Height - y;
  const bool inHeader = p.Header && y < 25;
  const bool inFooter = p.Footer && fromBottom < 25;
  if (d < 2) return inHeader ? kHeaderRing : kRing;
  if (inHeader) {
    if (y < 23) return HeaderBar(y);
    if (y < 24) return MakeRgb(36, 50, 80);
    return kOutline;
  }
  if (inFooter) {
    if (fromBottom < 23) return FooterBar(fromBottom);
    if (fromBottom < 24) return MakeRgb(86, 102, 132);
    return kOutline;
  }
  if (d < 6) return Mix(kBodyOuter, kBodyInner, static_cast<float>((d - 2) / 4));
  if (d < 7) return kInnerShadow;
  return kFill;
}

Rgba CloseIconColour(double x, double y) {
  const double r = std::hypot(x - 8.0, y - 8.0);
  if (r > 6.6) return Rgba{0.55f, 0.2f, 0.18f, 0.0f};
  if (r > 5.6) return MakeRgb(48, 14, 14);
  Rgba body = Mix(MakeRgb(204, 92, 82), MakeRgb(140, 42, 38), static_cast<float>((y - 2) / 12));
  if (r > 4.6 && y < 8) body = Mix(body, MakeRgb(240, 170, 160), 0.45f * static_cast<float>((8 - y) / 6));
  // The cross: two strokes of half-width 0.85 from (5.3, 5.3) to (10.7, 10.7) and mirrored.
  auto strokeDistance = [](double px, double py, double ax, double ay, double bx, double by) {
    const double vx = bx - ax, vy = by - ay;
    const double t = std::clamp(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    return std::hypot(px - (ax + t * vx), py - (ay + t * vy));
  };
  const double cross = std::min(strokeDistance(x, y, 5.3, 5.3, 10.7, 10.7),
                                strokeDistance(x, y, 10.7, 5.3, 5.3, 10.7));
  if (cross < 0.85) return MakeRgb(250, 240, 236);
  return body;
}

// Paints texels [c0, c1] x [r0, r1] (rows counted from the bottom) of the panel art from a
// colour function of the texel's top-left corner.
void PaintTexels(Canvas& art, int c0, int c1, int r0, int r1,
                 const std::function<Rgba(int c, int r)>& texel) {
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) art.At(c, art.Height - 1 - r) = texel(c, r);
}

void PaintPanelPiece(Canvas& art, const PanelShape& shape, int c0, int c1, int r0, int r1,
                     const std::function<double(int)>& columnToX,
                     const std::function<double(int)>& rowToY) {
  const ColourAt colour = [&](double x, double y) { return PanelColour(shape, x, y); };
  PaintTexels(art, c0, c1, r0, r1, [&](int c, int r) {
    return Supersample(colour, columnToX(c), rowToY(r));
  });
}

}  // namespace

Canvas MakePanelArt() {
  Canvas art(128, 128);
  // The whole image is a 128 x 128 panel with header and footer: the header band (rows 101-127),
  // the footer band (rows 0-26) and the side strips (columns 0-6 and 121-127) fall out of it,
  // and its inside is the fill colour around all the small pieces.
  const PanelShape full{128, 128, true, true};
  PaintPanelPiece(art, full, 0, 127, 0, 127, [](int c) { return double(c); },
                  [](int r) { return 127.0 - r; });

  // Small frame pieces for panels without header or footer, cut from a plain 200 x 200 panel.
  // Each is painted one texel wider on every side with what lies next to it in that panel, so
  // that bilinear sampling at a piece's boundary meets the right neighbour.
  const PanelShape plain{200, 200, false, false};
  auto topRow = [](int r) { return 58.0 - r; };       // row 58 is the panel's top texel row
  auto bottomRow = [](int r) { return 229.0 - r; };   // row 30 is the panel's bottom texel row
  PaintPanelPiece(art, plain, 27, 48, 30, 59, [](int c) { return c - 28.0; }, topRow);    // top left
  PaintPanelPiece(art, plain, 21, 26, 30, 59, [](int) { return 100.0; }, topRow);         // top middle
  PaintPanelPiece(art, plain, 52, 73, 30, 59, [](int c) { return 180.0 + c - 53; }, topRow);  // top right
  PaintPanelPiece(art, plain, 73, 94, 29, 58, [](int c) { return c - 74.0; }, bottomRow);  // bottom left
  PaintPanelPiece(art, plain, 98, 119, 29, 58, [](int c) { return 180.0 + c - 99; }, bottomRow);  // bottom right
  PaintPanelPiece(art, plain, 9, 19, 49, 58, [](int c) { return c - 10.0; }, [](int) { return 100.0; });  // side edge

  // Close icon, 16 x 16 texels at columns 104-119, rows 80-95, with a transparent margin.
  const ColourAt icon = CloseIconColour;
  PaintTexels(art, 103, 120, 79, 96, [&](int c, int r) {
    return Supersample(icon, c - 104.0, 95.0 - r);
  });

  art.BleedColourIntoTransparent(4);
  return art;
}

// ---- Button ----------------------------------------------------------------------------------

namespace {

enum class ButtonLook { Normal, Hover, Pressed };

// One bar is 256 x 128 texels, drawn about four times smaller, so every detail spans several
// texels and every change is gradual: thin lines would flicker under plain linear filtering.
Rgba ButtonColour(ButtonLook look, double x, double y) {
  constexpr double kMarginX = 3, kMarginY = 5, kRadius = 30;
  const double d = RoundedRectDepth(x, y, kMarginX, kMarginY, 256 - kMarginX, 128 - kMarginY, kRadius);
  const Rgba outline = MakeRgb(10, 13, 22);
  if (d < 0) return Rgba{outline.R, outline.G, outline.B, 0.0f};
  const float v = Clamp01(static_cast<float>((y - kMarginY) / (128 - 2 * kMarginY)));
  const float rim = 1.0f - SmoothStep(7.0f, 16.0f, static_cast<float>(d));
  const float gloss = 1.0f - SmoothStep(0.44f, 0.54f, v);
  Rgba body;
  switch (look) {
    case ButtonLook::Normal:
      body = Mix(MakeRgb(80, 98, 132), MakeRgb(40, 50, 72), v);
      body = Mix(body, MakeRgb(255, 255, 255), 0.09f * gloss);
      body = Mix(body, MakeRgb(190, 210, 245), 0.40f * rim * (1.0f - SmoothStep(0.1f, 0.6f, v)));
      break;
    case ButtonLook::Hover:
      body = Mix(MakeRgb(102, 132, 186), MakeRgb(54, 76, 118), v);
      body = Mix(body, MakeRgb(255, 255, 255), 0.12f * gloss);
      body = Mix(body, MakeRgb(150, 200, 255), 0.60f * (1.0f - SmoothStep(6.0f, 26.0f, static_cast<float>(d))));
      break;
    case ButtonLook::Pressed:
      body = Mix(MakeRgb(26, 33, 50), MakeRgb(50, 62, 88), v);
      body = Mix(body, MakeRgb(4, 6, 12),
                 0.55f * (1.0f - SmoothStep(6.0f, 28.0f, static_cast<float>(d))) * (1.0f - 0.5f * v));
      body = Mix(body, MakeRgb(150, 180, 230), 0.18f * SmoothStep(0.82f, 0.96f, v));
      break;
  }
  const float edge = SmoothStep(5.0f, 8.0f, static_cast<float>(d));
  return Mix(outline, body, edge);
}

}  // namespace

Canvas MakeButtonArt() {
  Canvas art(256, 384);
  const ButtonLook looks[3] = {ButtonLook::Normal, ButtonLook::Hover, ButtonLook::Pressed};
  for (int bar = 0; bar < 3; ++bar) {
    const ColourAt colour = [&](double x, double y) { return ButtonColour(looks[bar], x, y); };
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 256; ++x) art.At(x, bar * 128 + y) = Supersample(colour, x, y);
  }
  art.BleedColourIntoTransparent(4);
  return art;
}

// ---- Cursor ----------------------------------------------------------------------------------

namespace {

struct Point {
  double X, Y;
};

// The arrow, in texels with y downwards; its tip sits in the top-left texel.
const Point kArrow[] = {{0.55, 0.55}, {0.55, 22.5}, {6.0, 17.6}, {10.2, 26.6},
                        {13.8, 25.0}, {9.7, 16.4},  {16.8, 16.4}};

bool InsidePolygon(double x, double y) {
  bool inside = false;
  const int n = sizeof(kArrow) / sizeof(kArrow[0]);
  for (int i = 0, j = n - 1; i < n; j = i++) {
    const Point& a = kArrow[i];
    const Point& b = kArrow[j];
    if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) inside = !inside;
  }
  return inside;
}

double EdgeDistance(double x, double y) {
  double best = 1e9;
  const int n = sizeof(kArrow) / sizeof(kArrow[0]);
  for (int i = 0, j = n - 1; i < n; j = i++) {
    const Point& a = kArrow[j];
    const Point& b = kArrow[i];
    const double vx = b.X - a.X, vy = b.Y - a.Y;
    const double t = std::clamp(((x - a.X) * vx + (y - a.Y) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    best = std::min(best, std::hypot(x - (a.X + t * vx), y - (a.Y + t * vy)));
  }
  return best;
}

// Depth inside the arrow (negative outside).
double ArrowDepth(double x, double y) {
  const double e = EdgeDistance(x, y);
  return InsidePolygon(x, y) ? e : -e;
}

}  // namespace

Canvas MakeCursorArt(bool pressed) {
  Canvas art(32, 32);
  const double shadowX = pressed ? 0.8 : 1.6, shadowY = pressed ? 1.0 : 2.0;
  const ColourAt colour = [&](double x, double y) {
    const double depth = ArrowDepth(x, y);
    const Rgba outline = MakeRgb(16, 20, 30);
    if (depth > 1.1) {
      const float v = static_cast<float>(y / 27.0);
      return pressed ? Mix(MakeRgb(214, 232, 255), MakeRgb(140, 178, 236), v)
                     : Mix(MakeRgb(255, 255, 255), MakeRgb(206, 214, 228), v);
    }
    if (depth > -0.6) return outline;
    // Soft drop shadow: the arrow moved down and right, faded out over two texels.
    const double shadowDepth = ArrowDepth(x - shadowX, y - shadowY);
    const float a = 0.38f * SmoothStep(-2.2f, 0.6f, static_cast<float>(shadowDepth));
    return Rgba{0, 0, 0, a};
  };
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) art.At(x, y) = Supersample(colour, x, y);
  // The pointer's hot spot is the very corner; its texel is always solid outline.
  art.At(0, 0) = MakeRgb(16, 20, 30);
  art.BleedColourIntoTransparent(2);
  return art;
}
