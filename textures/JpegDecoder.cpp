// JPEG decoding through libjpeg. libjpeg reports errors through a callback that must not return;
// ours jumps back with longjmp. The two functions that call setjmp (header and full decode) hold
// no C++ object with a destructor, so the jump never skips one: everything that needs releasing is
// owned by DecodeJpeg, outside the jumps.
#include "ImageDecoders.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <new>

#include <jpeglib.h>
// Message codes, after jpeglib.h.
#include <jerror.h>

namespace {

// A genuine progressive file has a dozen scans; a damaged one can announce thousands and make
// the decode crawl through them.
constexpr int kMaxScans = 500;

struct JpegErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
  int Code;
  uint64_t FileBytes;  // the whole file's size
};

struct JpegSession {
  jpeg_decompress_struct Info;
  JpegErrorManager Error;
  jpeg_progress_mgr Progress;
  bool Created = false;

  JpegSession() = default;
  JpegSession(const JpegSession&) = delete;
  JpegSession& operator=(const JpegSession&) = delete;
  ~JpegSession() {
    if (Created) jpeg_destroy_decompress(&Info);
  }
};

void ErrorExit(j_common_ptr info) {
  auto* err = reinterpret_cast<JpegErrorManager*>(info->err);
  err->Code = info->err->msg_code;
  std::longjmp(err->Jump, 1);
}

// Data that ends early is decoded on with filler (grey), as libjpeg does: a file cut short shows
// what it has. Only a file far too small for the pixels it declares is refused when its data runs
// out, so that a few hundred bytes cannot make the decoder fill tens of millions of pixels. A whole
// Huffman-coded file needs a bit or more per 8x8 block of each component, at most 512 pixels a
// byte; below one byte per 65536 pixels nothing of the picture can be in the file.
constexpr uint64_t kMaxPixelsPerByte = uint64_t{1} << 16;

// Trace messages are of no interest, and warnings only when the data runs out (the file ends, or
// the entropy-coded data meets a marker before the scan is complete).
void OutputMessage(j_common_ptr) {}
void EmitMessage(j_common_ptr info, int level) {
  const int code = info->err->msg_code;
  if (level >= 0 || !info->is_decompressor || (code != JWRN_JPEG_EOF && code != JWRN_HIT_MARKER)) return;
  const auto& d = *reinterpret_cast<j_decompress_ptr>(info);
  if (d.total_iMCU_rows == 0) return;  // still in the header
  const uint64_t pixels = static_cast<uint64_t>(d.image_width) * d.image_height;
  const uint64_t fileBytes = reinterpret_cast<const JpegErrorManager*>(info->err)->FileBytes;
  if (pixels / kMaxPixelsPerByte >= fileBytes) info->err->error_exit(info);
}

void LimitScans(j_common_ptr info) {
  if (!info->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
    info->err->msg_code = JERR_BAD_PROGRESSION;
    info->err->error_exit(info);
  }
}

// Creates the decompressor over the data and reads the header. False on any libjpeg error.
bool ReadHeaderGuarded(JpegSession* s, const uint8_t* data, size_t size) {
  s->Info.err = jpeg_std_error(&s->Error.Base);
  s->Error.Base.error_exit = ErrorExit;
  s->Error.Base.output_message = OutputMessage;
  s->Error.Base.emit_message = EmitMessage;
  s->Error.Code = 0;
  s->Error.FileBytes = size;
  if (setjmp(s->Error.Jump)) return false;
  // Safe to destroy even if creation fails half-way: libjpeg then owns no memory yet.
  s->Created = true;
  jpeg_create_decompress(&s->Info);
  s->Progress.progress_monitor = LimitScans;
  s->Info.progress = &s->Progress;
  jpeg_mem_src(&s->Info, data, static_cast<unsigned long>(size));
  return jpeg_read_header(&s->Info, TRUE) == JPEG_HEADER_OK;
}

// Decodes into `pixels` (width x height RGBA, allocated by the caller for the header's size),
// writing each scanline straight to its row counted from the bottom. False on any libjpeg error.
bool DecodeGuarded(JpegSession* s, uint8_t* pixels, bool grey) {
  if (setjmp(s->Error.Jump)) return false;
  j_decompress_ptr info = &s->Info;
  const JDIMENSION width = info->image_width;
  const JDIMENSION height = info->image_height;
  jpeg_start_decompress(info);
  if (info->output_width != width || info->output_height != height) return false;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  uint8_t* const bottomRow = pixels + rowBytes * (height - 1);

  if (!grey) {
    // libjpeg hands out up to rec_outbuf_height rows a call (at most 4).
    JSAMPROW rows[4];
    while (info->output_scanline < height) {
      const JDIMENSION first = info->output_scanline;
      JDIMENSION count = height - first;
      if (count > 4) count = 4;
      for (JDIMENSION i = 0; i < count; ++i) rows[i] = bottomRow - rowBytes * (first + i);
      if (jpeg_read_scanlines(info, rows, count) == 0) return false;
    }
  } else {
    // Quantised grey: palette indices through the colour map to grey pixels.
    JSAMPARRAY line = info->mem->alloc_sarray(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                              width, 1);
    const JSAMPLE* const map = info->colormap[0];
    while (info->output_scanline < height) {
      uint8_t* dst = bottomRow - rowBytes * info->output_scanline;
      if (jpeg_read_scanlines(info, line, 1) == 0) return false;
      const JSAMPLE* src = line[0];
      for (JDIMENSION x = 0; x < width; ++x) {
        const uint8_t g = map[src[x]];
        dst[4 * x] = g;
        dst[4 * x + 1] = g;
        dst[4 * x + 2] = g;
        dst[4 * x + 3] = 255;
      }
    }
  }
  jpeg_finish_decompress(info);
  return true;
}

}  // namespace

JpegStatus DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out, const DecodeLimits& limits,
                      int* libjpegCode) {
  if (libjpegCode) *libjpegCode = 0;
  if (!data || size == 0) return JpegStatus::BadHeader;
  JpegSession session;
  if (!ReadHeaderGuarded(&session, data, size)) {
    if (libjpegCode) *libjpegCode = session.Error.Code;
    return JpegStatus::BadHeader;
  }
  jpeg_decompress_struct& info = session.Info;
  const uint64_t width = info.image_width, height = info.image_height;
  if (width == 0 || height == 0 || width > limits.MaxSide || height > limits.MaxSide ||
      width * height > limits.MaxPixels) {
    return JpegStatus::TooLarge;
  }
  if (width * height > SIZE_MAX / 4) return JpegStatus::TooLarge;

  // Full size, block smoothing, no progressive display; colour comes out as RGB with an opaque
  // fourth byte, grey through the quantiser.
  info.scale_num = 1;
  info.scale_denom = 1;
  info.do_block_smoothing = TRUE;
  info.buffered_image = FALSE;
  const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
  if (grey) {
    info.out_color_space = JCS_GRAYSCALE;
    info.quantize_colors = TRUE;
    info.desired_number_of_colors = 236;
  } else {
    info.out_color_space = JCS_EXT_RGBA;
  }

  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[static_cast<size_t>(width * height * 4)]);
  if (!pixels) return JpegStatus::OutOfMemory;
  if (!DecodeGuarded(&session, pixels.get(), grey)) {
    if (libjpegCode) *libjpegCode = session.Error.Code;
    return JpegStatus::DecodeError;
  }
  out.Pixels = std::move(pixels);
  out.Width = static_cast<uint32_t>(width);
  out.Height = static_cast<uint32_t>(height);
  out.BytesPerPixel = 4;
  return JpegStatus::Ok;
}
