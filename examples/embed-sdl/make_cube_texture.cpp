// Writes the cube's texture: a 128 x 128 uncompressed 24-bit TGA, a checkerboard of 16-texel
// squares over a diagonal colour ramp, in a white frame.
//   make_cube_texture OUTPUT.tga
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.tga\n", argv[0]);
    return 2;
  }
  const int size = 128;
  // Type 2 (uncompressed true colour), 24 bits per pixel, rows bottom first (descriptor 0).
  const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, size, 0, size, 0, 24, 0};
  std::vector<unsigned char> pixels;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const bool frame = x < 4 || y < 4 || x >= size - 4 || y >= size - 4;
      const bool dark = ((x / 16) + (y / 16)) % 2 == 1;
      int r = 40 + x * 215 / (size - 1), g = 90 + (x + y) * 120 / (2 * size - 2), b = 255 - y * 200 / (size - 1);
      if (dark) r /= 2, g /= 2, b /= 2;
      if (frame) r = g = b = 255;
      pixels.push_back(static_cast<unsigned char>(b));  // TGA stores B, G, R
      pixels.push_back(static_cast<unsigned char>(g));
      pixels.push_back(static_cast<unsigned char>(r));
    }
  }
  FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(header, 1, sizeof header, out) == sizeof header &&
                  std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  return std::fclose(out) == 0 && ok ? 0 : 1;
}
