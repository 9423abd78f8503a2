#include "skin/data/sSkinModelJpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h: the message codes.
#include <jerror.h>

namespace {

// Huffman coding spends at least one bit on every 8 x 8 block of the full-resolution
// component, so a file holds at least one byte per eight blocks; a header claiming more
// describes data the file does not have.
constexpr uint64_t kMaxBlocksPerByte = 8;

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

// Warnings of damaged data are not printed. The library makes up the blocks of a scan whose
// data ends early (the file ends, or a marker comes where coded data should be); a picture
// whose data ends before its last row of blocks is refused instead, so that decoding stops
// where the data does. (A missing end marker alone is let pass.)
void OnMessage(j_common_ptr cinfo, int level) {
  const int code = cinfo->err->msg_code;
  if (level >= 0 || cinfo->is_decompressor == FALSE || (code != JWRN_JPEG_EOF && code != JWRN_HIT_MARKER)) return;
  const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_iMCU_row + 1 < d->total_iMCU_rows) OnError(cinfo);
}

// The decoded rows, made as the library delivers them so that memory follows the data the
// file holds rather than the size its header claims.
struct Rows {
  std::vector<Pixel32> Pixels;
  int Width = 0, Height = 0;

  Pixel32* Row(int y) {
    const std::size_t w = static_cast<std::size_t>(Width), need = (static_cast<std::size_t>(y) + 1) * w;
    if (need > Pixels.size()) {
      const std::size_t grown = std::min(w * static_cast<std::size_t>(Height), std::max(need, 2 * Pixels.size()));
      Pixels.reserve(grown);
      Pixels.resize(grown);
    }
    return Pixels.data() + static_cast<std::size_t>(y) * w;
  }
};

// Only trivially destructible locals live here, so that the long jump out of libjpeg
// skips no destructor; the rows live in the caller and are filled through `out`.
bool Decode(const uint8_t* data, unsigned long size, Rows* out) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), size);
  jpeg_read_header(&cinfo, TRUE);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  if (cmyk)
    cinfo.out_color_space = JCS_CMYK;
  else if (cinfo.jpeg_color_space == JCS_GRAYSCALE)
    cinfo.out_color_space = JCS_GRAYSCALE;
  else
    cinfo.out_color_space = JCS_RGB;
  const uint64_t pixels = uint64_t{cinfo.image_width} * cinfo.image_height;
  const uint64_t blocks = uint64_t{(cinfo.image_width + 7) / 8} * ((cinfo.image_height + 7) / 8);
  if (pixels == 0 || pixels > kMaxJpegPixels || blocks > kMaxBlocksPerByte * size) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_start_decompress(&cinfo);
  const int w = static_cast<int>(cinfo.output_width), h = static_cast<int>(cinfo.output_height);
  const int comps = cinfo.output_components;
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              static_cast<JDIMENSION>(w * comps), 1);
  out->Width = w;
  out->Height = h;
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, row, 1);
    Pixel32* dst = out->Row(y);
    const JSAMPLE* src = row[0];
    for (int x = 0; x < w; ++x, src += comps) {
      Pixel32& p = dst[x];
      if (comps == 1) {
        p.R = p.G = p.B = src[0];
      } else if (comps == 4) {
        // Adobe writes CMYK inverted: each channel is (255 - ink); colour = c * k / 255.
        const unsigned k = src[3];
        p.R = static_cast<uint8_t>((src[0] * k + 127) / 255);
        p.G = static_cast<uint8_t>((src[1] * k + 127) / 255);
        p.B = static_cast<uint8_t>((src[2] * k + 127) / 255);
      } else {
        p.R = src[0];
        p.G = src[1];
        p.B = src[2];
      }
      p.A = 255;
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

bool LooksLikeJpeg(std::span<const uint8_t> bytes) {
  return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

Bitmap32 DecodeJpeg(std::span<const uint8_t> bytes) {
  Rows rows;
  if (bytes.empty() || !Decode(bytes.data(), static_cast<unsigned long>(bytes.size()), &rows)) return Bitmap32();
  return Bitmap32::Adopt(std::move(rows.Pixels), rows.Width, rows.Height);
}
