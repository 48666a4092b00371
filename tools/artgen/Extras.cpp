// The hover sound and the two "about" pictures.
#include <cmath>

#include "Art.h"

std::vector<int16_t> MakeHoverSound(int sampleRate) {
  // A soft, short "tick": a sine gliding from 1320 Hz down to 880 Hz with a quieter octave above,
  // a 3 ms raised-cosine attack, an exponential decay and a fade to silence at 0.14 s.
  const double kPi = 3.14159265358979323846;
  const double duration = 0.14;
  const int count = static_cast<int>(duration * sampleRate);
  std::vector<int16_t> samples(static_cast<size_t>(count));
  double phase = 0.0;
  for (int i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / sampleRate;
    const double frequency = 880.0 + 440.0 * std::exp(-t / 0.018);
    phase += 2.0 * kPi * frequency / sampleRate;
    const double attack = t < 0.003 ? 0.5 - 0.5 * std::cos(kPi * t / 0.003) : 1.0;
    const double release = t > duration - 0.02 ? 0.5 + 0.5 * std::cos(kPi * (t - (duration - 0.02)) / 0.02) : 1.0;
    const double envelope = attack * release * std::exp(-t / 0.032);
    const double wave = std::sin(phase) + 0.22 * std::sin(2.0 * phase) * std::exp(-t / 0.012);
    samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(9000.0 * envelope * wave));
  }
  return samples;
}

namespace {

Canvas Backdrop(int width, int height, Rgba top, Rgba bottom) {
  Canvas c(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Rgba p = Mix(top, bottom, static_cast<float>(y) / (height - 1));
      // A faint diagonal sheen.
      const float sheen = 0.06f * std::exp(-std::pow((x - 1.6f * y - 20.0f) / 28.0f, 2.0f));
      p = Mix(p, MakeRgb(255, 255, 255), sheen);
      p.A = 1;
      c.At(x, y) = p;
    }
  return c;
}

void Disc(Canvas& c, double cx, double cy, double radius, const Rgba& colour) {
  for (int y = 0; y < c.Height; ++y)
    for (int x = 0; x < c.Width; ++x) {
      float coverage = 0;
      for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
          if (std::hypot(x + (i + 0.5) / 4 - cx, y + (j + 0.5) / 4 - cy) <= radius) coverage += 1.0f / 16;
      Rgba p = colour;
      p.A *= coverage;
      c.BlendOver(x, y, p);
    }
}

}  // namespace

Canvas MakeAboutPicture(const FontFace& bold, const FontFace& regular) {
  Canvas c = Backdrop(128, 64, MakeRgb(52, 72, 112), MakeRgb(18, 24, 38));
  Disc(c, 104, 18, 26, MakeRgb(120, 160, 230, 0.18f));
  Disc(c, 112, 44, 14, MakeRgb(255, 214, 120, 0.22f));
  c.FillRect(8, 40, 120, 41, MakeRgb(150, 180, 230, 0.6f));
  DrawFaceText(c, bold, 20, 9, 33, "GUI demo", MakeRgb(255, 255, 200));
  DrawFaceText(c, regular, 9, 9, 53, "OpenGL toolkit", MakeRgb(200, 214, 240));
  return c;
}

Canvas MakeEngineAboutPicture(const FontFace& bold, const FontFace& regular) {
  Canvas c = Backdrop(128, 64, MakeRgb(30, 34, 44), MakeRgb(70, 80, 100));
  // A receding floor grid, the engine's perspective plane.
  const Rgba line = MakeRgb(140, 190, 255, 0.35f);
  for (int i = -8; i <= 8; ++i) {
    for (int y = 36; y < 64; ++y) {
      const double depth = (y - 30.0) / 34.0;
      const double x = 64.0 + i * 9.0 * depth * 1.8;
      c.BlendOver(static_cast<int>(std::lround(x)), y, line);
    }
  }
  for (int k = 0; k < 6; ++k) {
    const int y = 36 + static_cast<int>(std::lround(28.0 * (k * k) / 25.0));
    c.FillRect(0, y, 128, y + 1, line);
  }
  DrawFaceText(c, bold, 17, 8, 24, "engine", MakeRgb(255, 255, 255));
  DrawFaceText(c, regular, 8, 72, 24, "GL / GLU", MakeRgb(170, 200, 240));
  return c;
}
