// Decoding throughput in megapixels per second, without the GL upload: our TGA, BMP and JPEG
// decoders against stb_image on the same bytes, and the JPEG decoder against a bare libjpeg-turbo
// decode of the same file. Images are 1024 x 1024 and made in memory at start-up.
#include "ImageDecoders.h"

#include <benchmark/benchmark.h>
#include <stb_image.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include <jpeglib.h>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kSide = 1024;

// ---- test images ----------------------------------------------------------------------------

// UI-like art, BGRA top row first: a backdrop with banded gradients, framed panels with header bars
// and soft alpha at their corners, as the toolkit's own art looks.
Bytes UiArt() {
  Bytes px(static_cast<size_t>(kSide) * kSide * 4);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      uint8_t* p = &px[(static_cast<size_t>(y) * kSide + x) * 4];
      const int cx = x % 256, cy = y % 192;
      uint8_t b = 40, g = 44, r = static_cast<uint8_t>(48 + (y / 32) * 4), a = 0;
      if (cx >= 16 && cx < 240 && cy >= 16 && cy < 176) {
        const bool frame = cx < 19 || cx >= 237 || cy < 19 || cy >= 173;
        const bool header = cy < 40;
        a = 255;
        if (frame) {
          b = 200, g = 200, r = 210;
        } else if (header) {
          b = static_cast<uint8_t>(120 + cy), g = 90, r = 60;  // one colour a row
        } else {
          b = 90, g = 96, r = 100, a = 224;
        }
        const bool corner = (cx < 20 || cx >= 236) && (cy < 20 || cy >= 172);
        if (corner) a = 128;
      }
      p[0] = b, p[1] = g, p[2] = r, p[3] = a;
    }
  }
  return px;
}

// Noise: every pixel differs from its neighbours, so run-length coding gains nothing.
Bytes Noise() {
  Bytes px(static_cast<size_t>(kSide) * kSide * 4);
  std::mt19937 rng(1234);
  for (auto& v : px) v = static_cast<uint8_t>(rng());
  return px;
}

// A photograph stand-in for JPEG: smooth shading with fine grain, RGB top row first.
Bytes PhotoLike() {
  Bytes px(static_cast<size_t>(kSide) * kSide * 3);
  std::mt19937 rng(99);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      uint8_t* p = &px[(static_cast<size_t>(y) * kSide + x) * 3];
      const int grain = static_cast<int>(rng() % 24) - 12;
      auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
      p[0] = clamp((x * 255) / kSide + grain);
      p[1] = clamp(128 + ((x ^ y) & 63) + grain);
      p[2] = clamp((y * 255) / kSide - grain);
    }
  }
  return px;
}

Bytes TgaHeader(uint8_t type, int depth) {
  Bytes h(18, 0);
  h[2] = type;
  h[12] = kSide & 0xFF, h[13] = kSide >> 8;
  h[14] = kSide & 0xFF, h[15] = kSide >> 8;
  h[16] = static_cast<uint8_t>(depth);
  h[17] = depth == 32 ? 8 : 0;
  return h;
}

Bytes RawTga(const Bytes& bgra) {
  Bytes out = TgaHeader(2, 32);
  out.insert(out.end(), bgra.begin(), bgra.end());
  return out;
}

// Run-length TGA the usual way: runs of 2 or more identical pixels become run packets, the rest raw
// packets; packets may cross rows.
Bytes RleTga(const Bytes& bgra) {
  Bytes out = TgaHeader(10, 32);
  const size_t n = bgra.size() / 4;
  auto same = [&](size_t a, size_t b) { return std::memcmp(&bgra[a * 4], &bgra[b * 4], 4) == 0; };
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 128 && same(i, i + run)) ++run;
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(127 + run));
      out.insert(out.end(), &bgra[i * 4], &bgra[i * 4] + 4);
      i += run;
      continue;
    }
    size_t raw = 1;
    while (i + raw < n && raw < 128 && !(i + raw + 1 < n && same(i + raw, i + raw + 1))) ++raw;
    out.push_back(static_cast<uint8_t>(raw - 1));
    out.insert(out.end(), &bgra[i * 4], &bgra[(i + raw) * 4]);
    i += raw;
  }
  return out;
}

void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// 24-bit bottom-up BMP of the BGRA art (alpha dropped).
Bytes Bmp24(const Bytes& bgra) {
  const size_t stride = (kSide * 3 + 3) & ~size_t(3);
  Bytes out(54 + stride * kSide, 0);
  out[0] = 'B', out[1] = 'M';
  Put32(out, 2, static_cast<uint32_t>(out.size()));
  Put32(out, 10, 54);
  Put32(out, 14, 40);
  Put32(out, 18, kSide);
  Put32(out, 22, kSide);
  out[26] = 1, out[28] = 24;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const uint8_t* p = &bgra[(static_cast<size_t>(kSide - 1 - y) * kSide + x) * 4];
      std::memcpy(&out[54 + y * stride + x * 3], p, 3);
    }
  }
  return out;
}

Bytes Jpeg90(const Bytes& rgb, bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &mem, &size);
  info.image_width = kSide;
  info.image_height = kSide;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[static_cast<size_t>(info.next_scanline) * kSide * 3]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  Bytes out(mem, mem + size);
  jpeg_destroy_compress(&info);
  std::free(mem);
  return out;
}

struct Images {
  Bytes rleUi, rleNoise, rawTga, bmp, jpeg;
  Images() {
    const Bytes ui = UiArt();
    rleUi = RleTga(ui);
    rleNoise = RleTga(Noise());
    rawTga = RawTga(ui);
    bmp = Bmp24(ui);
    jpeg = Jpeg90(PhotoLike());
  }
};

const Images& TheImages() {
  static const Images images;
  return images;
}

void Report(benchmark::State& state) {
  const double pixels = static_cast<double>(kSide) * kSide * static_cast<double>(state.iterations());
  state.counters["MPix/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
}

// ---- ours -----------------------------------------------------------------------------------

template <typename Status, Status (*Decode)(const uint8_t*, size_t, DecodedImage&, const DecodeLimits&)>
void Ours(benchmark::State& state, const Bytes Images::*which) {
  const Bytes& data = TheImages().*which;
  for (auto _ : state) {
    DecodedImage image;
    if (Decode(data.data(), data.size(), image, DecodeLimits()) != Status::Ok) {
      state.SkipWithError("decode failed");
      break;
    }
    benchmark::DoNotOptimize(image.Pixels.get());
  }
  Report(state);
}

JpegStatus DecodeJpegDefault(const uint8_t* d, size_t n, DecodedImage& out, const DecodeLimits& l) {
  return DecodeJpeg(d, n, out, l);
}

void OursTga(benchmark::State& state, const Bytes Images::*which) { Ours<TgaStatus, DecodeTga>(state, which); }
void OursBmp(benchmark::State& state, const Bytes Images::*which) { Ours<BmpStatus, DecodeBmp>(state, which); }
void OursJpeg(benchmark::State& state, const Bytes Images::*which) {
  Ours<JpegStatus, DecodeJpegDefault>(state, which);
}

// ---- files that end early ---------------------------------------------------------------------
// A file cut short decodes with libjpeg's grey filler where the data is missing: the photo cut at
// half its bytes, and its first `keep` bytes declaring 8192 x 8192, the pixel budget, which is what
// a cut-short file at the limit costs. Below a byte per 65536 declared pixels (a few hundred bytes
// posing as that size) the file is refused as soon as its data runs out.

// The first `keep` bytes of the photo (baseline or progressive), declaring side x side pixels.
Bytes CutPhoto(size_t keep, int side, bool progressive) {
  Bytes jpeg = Jpeg90(PhotoLike(), progressive);
  jpeg.resize(std::min(keep, jpeg.size()));
  for (size_t at = 0; at + 9 < jpeg.size(); ++at) {
    if (jpeg[at] == 0xFF && (jpeg[at + 1] == 0xC0 || jpeg[at + 1] == 0xC2)) {
      for (size_t field : {at + 5, at + 7}) {
        jpeg[field] = static_cast<uint8_t>(side >> 8);
        jpeg[field + 1] = static_cast<uint8_t>(side & 0xFF);
      }
      break;
    }
  }
  return jpeg;
}

void JpegCut(benchmark::State& state, size_t keep, int side, bool progressive, JpegStatus expected) {
  const Bytes data = CutPhoto(keep, side, progressive);
  for (auto _ : state) {
    DecodedImage image;
    if (DecodeJpeg(data.data(), data.size(), image) != expected) {
      state.SkipWithError("unexpected status");
      break;
    }
    benchmark::DoNotOptimize(image.Pixels.get());
  }
  state.counters["bytes"] = static_cast<double>(data.size());
  state.counters["MPix"] = static_cast<double>(side) * side / 1e6;
}

// ---- peers ----------------------------------------------------------------------------------

void Stb(benchmark::State& state, const Bytes Images::*which, int channels) {
  const Bytes& data = TheImages().*which;
  for (auto _ : state) {
    int w = 0, h = 0, n = 0;
    stbi_uc* px = stbi_load_from_memory(data.data(), static_cast<int>(data.size()), &w, &h, &n, channels);
    if (!px) {
      state.SkipWithError(stbi_failure_reason());
      break;
    }
    benchmark::DoNotOptimize(px);
    stbi_image_free(px);
  }
  Report(state);
}

struct BareError {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

// libjpeg-turbo on its own: RGBA out, top row first, into a fresh buffer, default settings.
bool BareLibjpeg(const Bytes& data, std::unique_ptr<uint8_t[]>& out) {
  jpeg_decompress_struct info;
  BareError err;
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<BareError*>(c->err)->jump, 1); };
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_RGBA;
  out.reset(new uint8_t[static_cast<size_t>(info.image_width) * info.image_height * 4]);
  jpeg_start_decompress(&info);
  const size_t stride = static_cast<size_t>(info.output_width) * 4;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.get() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

void BareJpeg(benchmark::State& state) {
  const Bytes& data = TheImages().jpeg;
  for (auto _ : state) {
    std::unique_ptr<uint8_t[]> out;
    if (!BareLibjpeg(data, out)) {
      state.SkipWithError("libjpeg failed");
      break;
    }
    benchmark::DoNotOptimize(out.get());
  }
  Report(state);
}

}  // namespace

BENCHMARK_CAPTURE(OursTga, TgaRleUi, &Images::rleUi)->Name("TgaRleUi/ours");
BENCHMARK_CAPTURE(Stb, TgaRleUi, &Images::rleUi, 0)->Name("TgaRleUi/stb_image");
BENCHMARK_CAPTURE(OursTga, TgaRleNoise, &Images::rleNoise)->Name("TgaRleNoise/ours");
BENCHMARK_CAPTURE(Stb, TgaRleNoise, &Images::rleNoise, 0)->Name("TgaRleNoise/stb_image");
BENCHMARK_CAPTURE(OursTga, TgaRaw, &Images::rawTga)->Name("TgaRaw32/ours");
BENCHMARK_CAPTURE(Stb, TgaRaw, &Images::rawTga, 0)->Name("TgaRaw32/stb_image");
BENCHMARK_CAPTURE(OursBmp, Bmp, &Images::bmp)->Name("Bmp24/ours");
BENCHMARK_CAPTURE(Stb, Bmp, &Images::bmp, 0)->Name("Bmp24/stb_image");
BENCHMARK_CAPTURE(OursJpeg, Jpeg, &Images::jpeg)->Name("Jpeg90/ours");
BENCHMARK_CAPTURE(Stb, Jpeg, &Images::jpeg, 4)->Name("Jpeg90/stb_image");
BENCHMARK(BareJpeg)->Name("Jpeg90/libjpeg_turbo");

BENCHMARK_CAPTURE(JpegCut, half, size_t{40000}, kSide, false, JpegStatus::Ok)->Name("JpegCut/photo_at_40000_bytes");
BENCHMARK_CAPTURE(JpegCut, budget, size_t{1100}, 8192, false, JpegStatus::Ok)
    ->Name("JpegCut/8192x8192_in_1100_bytes")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(JpegCut, budgetProgressive, size_t{1100}, 8192, true, JpegStatus::Ok)
    ->Name("JpegCut/8192x8192_progressive_in_1100_bytes")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(JpegCut, bomb, size_t{900}, 8192, false, JpegStatus::DecodeError)
    ->Name("JpegCut/8192x8192_in_900_bytes_refused");

BENCHMARK_MAIN();
