#include "Writers.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <csetjmp>
#include <memory>

#include <jpeglib.h>
#include <zlib.h>

namespace {

void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void Put32BigEndian(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutText(Bytes& out, const char* text) {
  out.insert(out.end(), text, text + std::strlen(text));
}

}  // namespace

Bytes EncodeTgaRle32(const Canvas& image) {
  const Bytes rgba = image.ToBytes();
  Bytes out;
  out.push_back(0);   // image ID length
  out.push_back(0);   // no colour map
  out.push_back(10);  // run-length-encoded true colour
  for (int i = 0; i < 5; ++i) out.push_back(0); // colour-map fields (unused)
  Put16(out, 0);                                 // x origin
  Put16(out, 0);                                 // y origin
  Put16(out, static_cast<uint32_t>(image.Width));
  Put16(out, static_cast<uint32_t>(image.Height));
  out.push_back(32);
  out.push_back(8);  // 8 alpha bits, bottom-left origin

  auto pixelAt = [&](int x, int storedRow) {
    // Stored row 0 is the bottom row of the picture.
    const int y = image.Height - 1 - storedRow;
    return &rgba[(static_cast<size_t>(y) * image.Width + x) * 4];
  };
  auto putPixel = [&](const uint8_t* p) {
    out.push_back(p[2]);
    out.push_back(p[1]);
    out.push_back(p[0]);
    out.push_back(p[3]);
  };
  auto same = [](const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, 4) == 0; };

  for (int row = 0; row < image.Height; ++row) {
    int x = 0;
    while (x < image.Width) {
      int run = 1;
      while (x + run < image.Width && run < 128 && same(pixelAt(x, row), pixelAt(x + run, row)))
        ++run;
      if (run >= 2) {
        out.push_back(static_cast<uint8_t>(127 + run));
        putPixel(pixelAt(x, row));
        x += run;
        continue;
      }
      // Raw packet: up to the next pair of equal pixels.
      int count = 1;
      while (x + count < image.Width && count < 128) {
        if (x + count + 1 < image.Width && same(pixelAt(x + count, row), pixelAt(x + count + 1, row)))
          break;
        ++count;
      }
      out.push_back(static_cast<uint8_t>(count - 1));
      for (int i = 0; i < count; ++i) putPixel(pixelAt(x + i, row));
      x += count;
    }
  }
  Put32(out, 0);  // extension area offset
  Put32(out, 0);  // developer directory offset
  PutText(out, "TRUEVISION-XFILE.");
  out.push_back(0);
  return out;
}

Bytes EncodeBff(const Canvas& image, int cellWidth, int cellHeight, uint8_t baseChar,
                const uint8_t (&widths)[256]) {
  Bytes out;
  out.push_back(0xBF);
  out.push_back(0xF2);
  Put32(out, static_cast<uint32_t>(image.Width));
  Put32(out, static_cast<uint32_t>(image.Height));
  Put32(out, static_cast<uint32_t>(cellWidth));
  Put32(out, static_cast<uint32_t>(cellHeight));
  out.push_back(32);
  out.push_back(baseChar);
  out.insert(out.end(), widths, widths + 256);
  const Bytes rgba = image.ToBytes();
  out.insert(out.end(), rgba.begin(), rgba.end());
  return out;
}

Bytes EncodeWav16Mono(const std::vector<int16_t>& samples, int sampleRate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  Bytes out;
  PutText(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutText(out, "WAVE");
  PutText(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, static_cast<uint32_t>(sampleRate));
  Put32(out, static_cast<uint32_t>(sampleRate) * 2);
  Put16(out, 2);   // block align
  Put16(out, 16);  // bits per sample
  PutText(out, "data");
  Put32(out, dataBytes);
  for (int16_t s : samples) Put16(out, static_cast<uint16_t>(s));
  return out;
}

namespace {

struct JpegErrorTrap {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
  auto* trap = reinterpret_cast<JpegErrorTrap*>(info->err);
  (*info->err->format_message)(info, trap->Message);
  std::longjmp(trap->Jump, 1);
}

// The libjpeg state lives outside the function that calls setjmp, so nothing with a destructor
// is skipped by the long jump.
struct JpegJob {
  jpeg_compress_struct Info;
  JpegErrorTrap Trap;
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
};

bool RunJpeg(JpegJob& job, const Bytes& rgb, int width, int height, int quality) {
  job.Info.err = jpeg_std_error(&job.Trap.Manager);
  job.Trap.Manager.error_exit = JpegErrorExit;
  if (setjmp(job.Trap.Jump)) {
    jpeg_destroy_compress(&job.Info);
    return false;
  }
  jpeg_create_compress(&job.Info);
  jpeg_mem_dest(&job.Info, &job.Buffer, &job.Size);
  job.Info.image_width = static_cast<JDIMENSION>(width);
  job.Info.image_height = static_cast<JDIMENSION>(height);
  job.Info.input_components = 3;
  job.Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&job.Info);
  jpeg_set_quality(&job.Info, quality, TRUE);
  job.Info.dct_method = JDCT_ISLOW;
  job.Info.optimize_coding = TRUE;
  job.Info.write_JFIF_header = TRUE;
  job.Info.density_unit = 1;
  job.Info.X_density = 72;
  job.Info.Y_density = 72;
  jpeg_start_compress(&job.Info, TRUE);
  while (job.Info.next_scanline < job.Info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[static_cast<size_t>(job.Info.next_scanline) * width * 3]);
    jpeg_write_scanlines(&job.Info, &row, 1);
  }
  jpeg_finish_compress(&job.Info);
  jpeg_destroy_compress(&job.Info);
  return true;
}

}  // namespace

Bytes EncodeJpeg(const Canvas& image, int quality, std::string& error) {
  const Bytes rgba = image.ToBytes();
  Bytes rgb(static_cast<size_t>(image.Width) * image.Height * 3);
  for (size_t i = 0, n = static_cast<size_t>(image.Width) * image.Height; i < n; ++i)
    std::memcpy(&rgb[i * 3], &rgba[i * 4], 3);
  auto job = std::make_unique<JpegJob>();
  const bool ok = RunJpeg(*job, rgb, image.Width, image.Height, quality);
  Bytes out;
  if (ok && job->Buffer) out.assign(job->Buffer, job->Buffer + job->Size);
  if (!ok) error = std::string("JPEG encoding failed: ") + job->Trap.Message;
  std::free(job->Buffer);
  return out;
}

namespace {

void PutChunk(Bytes& png, const char* type, const Bytes& data) {
  Put32BigEndian(png, static_cast<uint32_t>(data.size()));
  const size_t start = png.size();
  PutText(png, type);
  png.insert(png.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, &png[start], static_cast<uInt>(png.size() - start));
  Put32BigEndian(png, static_cast<uint32_t>(crc));
}

}  // namespace

Bytes EncodePngRgb(const Canvas& image, std::string& error) {
  const Bytes rgba = image.ToBytes();
  Bytes raw;
  raw.reserve(static_cast<size_t>(image.Height) * (image.Width * 3 + 1));
  for (int y = 0; y < image.Height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < image.Width; ++x) {
      const uint8_t* p = &rgba[(static_cast<size_t>(y) * image.Width + x) * 4];
      raw.insert(raw.end(), p, p + 3);
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
    error = "PNG compression failed";
    return Bytes();
  }
  packed.resize(packedSize);

  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  Put32BigEndian(header, static_cast<uint32_t>(image.Width));
  Put32BigEndian(header, static_cast<uint32_t>(image.Height));
  header.push_back(8);  // bit depth
  header.push_back(2);  // RGB
  header.push_back(0);
  header.push_back(0);
  header.push_back(0);
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", Bytes());
  return png;
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes, std::string& error) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) {
    error = "cannot create " + path + ": " + std::strerror(errno);
    return false;
  }
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    error = "cannot write " + path;
    return false;
  }
  if (std::fclose(file.release()) != 0) {
    error = "cannot finish writing " + path;
    return false;
  }
  return true;
}
