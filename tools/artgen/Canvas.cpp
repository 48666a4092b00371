#include "Canvas.h"

#include <algorithm>
#include <cmath>

Rgba MakeRgb(int r, int g, int b, float a) {
  return Rgba{r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Rgba Mix(const Rgba& a, const Rgba& b, float t) {
  return Rgba{a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t,
              a.A + (b.A - a.A) * t};
}

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float SmoothStep(float e0, float e1, float x) {
  const float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3.0f - 2.0f * t);
}

Canvas::Canvas(int width, int height, Rgba fill)
    : Width(width), Height(height), Pixels(static_cast<size_t>(width) * height, fill) {}

void Canvas::BlendOver(int x, int y, const Rgba& src) {
  if (!Inside(x, y) || src.A <= 0.0f) return;
  Rgba& dst = At(x, y);
  const float outA = src.A + dst.A * (1.0f - src.A);
  if (outA <= 0.0f) {
    dst = Rgba();
    return;
  }
  const float k = dst.A * (1.0f - src.A);
  dst.R = (src.R * src.A + dst.R * k) / outA;
  dst.G = (src.G * src.A + dst.G * k) / outA;
  dst.B = (src.B * src.A + dst.B * k) / outA;
  dst.A = outA;
}

void Canvas::Paste(const Canvas& src, int x, int y, bool blend) {
  for (int j = 0; j < src.Height; ++j)
    for (int i = 0; i < src.Width; ++i) {
      if (!Inside(x + i, y + j)) continue;
      if (blend)
        BlendOver(x + i, y + j, src.At(i, j));
      else
        At(x + i, y + j) = src.At(i, j);
    }
}

void Canvas::FillRect(int x0, int y0, int x1, int y1, const Rgba& c) {
  for (int y = std::max(0, y0); y < std::min(Height, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(Width, x1); ++x) BlendOver(x, y, c);
}

void Canvas::BleedColourIntoTransparent(int passes) {
  // Quantised alpha decides what counts as transparent, so the test matches the stored bytes.
  auto visible = [](const Rgba& p) { return std::lround(Clamp01(p.A) * 255.0f) > 0; };
  std::vector<char> known(Pixels.size());
  for (size_t i = 0; i < Pixels.size(); ++i) known[i] = visible(Pixels[i]) ? 1 : 0;
  for (int pass = 0; pass < passes; ++pass) {
    std::vector<char> next = known;
    std::vector<Rgba> out = Pixels;
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x) {
        const size_t idx = static_cast<size_t>(y) * Width + x;
        if (known[idx]) continue;
        float r = 0, g = 0, b = 0, w = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if ((dx == 0 && dy == 0) || !Inside(nx, ny)) continue;
            const size_t n = static_cast<size_t>(ny) * Width + nx;
            if (!known[n]) continue;
            const float weight = (dx == 0 || dy == 0) ? 2.0f : 1.0f;
            r += Pixels[n].R * weight;
            g += Pixels[n].G * weight;
            b += Pixels[n].B * weight;
            w += weight;
          }
        if (w > 0) {
          out[idx] = Rgba{r / w, g / w, b / w, 0.0f};
          next[idx] = 1;
        }
      }
    Pixels.swap(out);
    known.swap(next);
  }
}

std::vector<uint8_t> Canvas::ToBytes() const {
  std::vector<uint8_t> bytes(Pixels.size() * 4);
  for (size_t i = 0; i < Pixels.size(); ++i) {
    const Rgba& p = Pixels[i];
    bytes[i * 4 + 0] = static_cast<uint8_t>(std::lround(Clamp01(p.R) * 255.0f));
    bytes[i * 4 + 1] = static_cast<uint8_t>(std::lround(Clamp01(p.G) * 255.0f));
    bytes[i * 4 + 2] = static_cast<uint8_t>(std::lround(Clamp01(p.B) * 255.0f));
    bytes[i * 4 + 3] = static_cast<uint8_t>(std::lround(Clamp01(p.A) * 255.0f));
  }
  return bytes;
}

namespace {

Rgba Texel(const Canvas& image, int x, int rowFromBottom, Wrap wrap) {
  int y = rowFromBottom;
  if (wrap == Wrap::Repeat) {
    x = ((x % image.Width) + image.Width) % image.Width;
    y = ((y % image.Height) + image.Height) % image.Height;
  } else if (wrap == Wrap::ClampToEdge) {
    x = std::clamp(x, 0, image.Width - 1);
    y = std::clamp(y, 0, image.Height - 1);
  } else if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) {
    return Rgba();
  }
  return image.At(x, image.Height - 1 - y);
}

}  // namespace

Rgba SampleBilinear(const Canvas& image, double s, double t, Wrap wrap) {
  const double u = s * image.Width - 0.5;
  const double v = t * image.Height - 0.5;
  const int x0 = static_cast<int>(std::floor(u));
  const int y0 = static_cast<int>(std::floor(v));
  const float fx = static_cast<float>(u - x0);
  const float fy = static_cast<float>(v - y0);
  const Rgba a = Texel(image, x0, y0, wrap), b = Texel(image, x0 + 1, y0, wrap);
  const Rgba c = Texel(image, x0, y0 + 1, wrap), d = Texel(image, x0 + 1, y0 + 1, wrap);
  return Mix(Mix(a, b, fx), Mix(c, d, fx), fy);
}

void DrawTexturedQuad(Canvas& target, const Canvas& texture, Wrap wrap, double x0, double y0,
                      double x1, double y1, double s0, double t0, double s1, double t1,
                      const Rgba& colour) {
  if (x1 == x0 || y1 == y0) return;
  const double left = std::min(x0, x1), right = std::max(x0, x1);
  const double top = std::min(y0, y1), bottom = std::max(y0, y1);
  for (int y = static_cast<int>(std::floor(top)); y <= static_cast<int>(std::ceil(bottom)); ++y) {
    const double cy = y + 0.5;
    if (cy < top || cy >= bottom) continue;
    for (int x = static_cast<int>(std::floor(left)); x <= static_cast<int>(std::ceil(right));
         ++x) {
      const double cx = x + 0.5;
      if (cx < left || cx >= right || !target.Inside(x, y)) continue;
      const double fx = (cx - x0) / (x1 - x0), fy = (cy - y0) / (y1 - y0);
      Rgba p = SampleBilinear(texture, s0 + (s1 - s0) * fx, t0 + (t1 - t0) * fy, wrap);
      p.R = Clamp01(p.R * colour.R);
      p.G = Clamp01(p.G * colour.G);
      p.B = Clamp01(p.B * colour.B);
      p.A = Clamp01(p.A * colour.A);
      target.BlendOver(x, y, p);
    }
  }
}
