#include "skin/data/sSkinModelJpeg.h"

#include <csetjmp>
#include <cstdio>

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

// Warnings of damaged data are not printed. The library makes up the rows of a file that
// ends early; a file that ends before its last row of blocks is refused instead, so that
// decoding stops where the data does. (A missing end marker alone is let pass.)
void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0 || cinfo->is_decompressor == FALSE || cinfo->err->msg_code != JWRN_JPEG_EOF) return;
  const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_iMCU_row + 1 < d->total_iMCU_rows) OnError(cinfo);
}

// Only trivially destructible locals live here, so that the long jump out of libjpeg
// skips no destructor; the bitmap lives in the caller and is filled through `out`.
bool Decode(const uint8_t* data, unsigned long size, Bitmap32* out) {
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
  out->Allocate(w, h);
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
  Bitmap32 out;
  if (bytes.empty()) return out;
  if (!Decode(bytes.data(), static_cast<unsigned long>(bytes.size()), &out)) return Bitmap32();
  return out;
}
