// Floating-point RGBA canvases for the art generator: straight (not premultiplied) alpha, row 0 at
// the top. Everything the generator paints goes through here before it is quantised to bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Rgba {
  float R = 0, G = 0, B = 0, A = 0;
};

Rgba MakeRgb(int r, int g, int b, float a = 1.0f);
Rgba Mix(const Rgba& a, const Rgba& b, float t);  // component-wise, t in 0..1
float Clamp01(float v);
float SmoothStep(float e0, float e1, float x);

struct Canvas {
  int Width = 0;
  int Height = 0;
  std::vector<Rgba> Pixels;

  Canvas() = default;
  Canvas(int width, int height, Rgba fill = Rgba());

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  Rgba& At(int x, int y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
  const Rgba& At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }

  // Source-over with straight alpha.
  void BlendOver(int x, int y, const Rgba& src);
  // Copies another canvas in at (x, y); with blend set it is composited, otherwise replaced.
  void Paste(const Canvas& src, int x, int y, bool blend);
  void FillRect(int x0, int y0, int x1, int y1, const Rgba& c);  // x1, y1 exclusive, blended
  // Gives every fully transparent texel the average colour of its visible neighbours (repeated
  // so colour spreads a few texels), so that bilinear sampling never pulls in a dark fringe.
  void BleedColourIntoTransparent(int passes);
  // 8-bit RGBA, row 0 at the top.
  std::vector<uint8_t> ToBytes() const;
};

// Bilinear sampling with OpenGL's texel-centre convention: s, t in texture units, t = 0 at the
// BOTTOM row (as an image stored bottom row first arrives in GL). Wrap: repeat or clamp-to-edge.
enum class Wrap { Repeat, ClampToEdge, ClampToBorder };
Rgba SampleBilinear(const Canvas& image, double s, double t, Wrap wrap);

// Rasterises an axis-aligned textured quad onto a canvas in canvas pixels: the texture
// coordinates run linearly from (s0, t0) at (x0, y0) to (s1, t1) at (x1, y1); the sample is
// modulated by the colour and blended over. Pixels whose centre lies inside are covered, as in GL.
void DrawTexturedQuad(Canvas& target, const Canvas& texture, Wrap wrap, double x0, double y0,
                      double x1, double y1, double s0, double t0, double s1, double t1,
                      const Rgba& colour);
