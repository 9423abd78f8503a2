// libpng as the reference peer of the PNG decoder's tests and benchmark:
// writes PNGs into memory and reads them back as raw samples.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace pngref {

struct Image {
  uint32_t width = 0, height = 0;
  int colorType = 0, depth = 8;
  bool interlaced = false;
  // One entry per sample, row by row: unpacked to one sample per entry and not
  // scaled (a 2-bit sample is 0..3, a 16-bit sample 0..65535).
  std::vector<uint16_t> samples;
  std::vector<png_color> palette;
  std::vector<uint8_t> paletteAlpha;        // tRNS of a palette image
  bool hasTransparentSample = false;         // tRNS of a grey or RGB image
  png_color_16 transparentSample{};
  int Channels() const {
    switch (colorType) {
      case PNG_COLOR_TYPE_RGB: return 3;
      case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
      case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
      default: return 1;
    }
  }
  uint16_t At(uint32_t x, uint32_t y, int c) const {
    return samples[(size_t(y) * width + x) * size_t(Channels()) + size_t(c)];
  }
};

namespace detail {
inline void Fail(png_structp, png_const_charp msg) { throw std::runtime_error(std::string("libpng: ") + msg); }
inline void Warn(png_structp, png_const_charp) {}
struct Reader {
  const uint8_t* data;
  size_t size, pos;
};
inline void ReadFn(png_structp p, png_bytep out, png_size_t n) {
  auto* r = static_cast<Reader*>(png_get_io_ptr(p));
  if (n > r->size - r->pos) png_error(p, "read past end");
  std::memcpy(out, r->data + r->pos, n);
  r->pos += n;
}
inline void WriteFn(png_structp p, png_bytep in, png_size_t n) {
  auto* v = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
  v->insert(v->end(), in, in + n);
}
inline void FlushFn(png_structp) {}
}  // namespace detail

// Packs img.samples into PNG rows; filters: PNG_FILTER_* mask, or 0 for libpng's default.
inline std::vector<uint8_t> Write(const Image& img, int filters = 0, int gammaFixed = 0,
                                  int compressionLevel = 6) {
  std::vector<uint8_t> out;
  png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, detail::Fail, detail::Warn);
  png_infop info = png_create_info_struct(p);
  try {
    png_set_write_fn(p, &out, detail::WriteFn, detail::FlushFn);
    png_set_IHDR(p, info, img.width, img.height, img.depth, img.colorType,
                 img.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!img.palette.empty())
      png_set_PLTE(p, info, img.palette.data(), static_cast<int>(img.palette.size()));
    if (!img.paletteAlpha.empty())
      png_set_tRNS(p, info, img.paletteAlpha.data(), static_cast<int>(img.paletteAlpha.size()), nullptr);
    if (img.hasTransparentSample) {
      png_color_16 t = img.transparentSample;
      png_set_tRNS(p, info, nullptr, 0, &t);
    }
    if (gammaFixed) png_set_gAMA_fixed(p, info, gammaFixed);
    if (filters) png_set_filter(p, PNG_FILTER_TYPE_BASE, filters);
    png_set_compression_level(p, compressionLevel);
    png_write_info(p, info);
    const int channels = img.Channels();
    const size_t rowBytes = (size_t(img.width) * channels * img.depth + 7) / 8;
    std::vector<std::vector<uint8_t>> rows(img.height, std::vector<uint8_t>(rowBytes, 0));
    for (uint32_t y = 0; y < img.height; ++y) {
      uint8_t* r = rows[y].data();
      for (uint32_t i = 0; i < img.width * uint32_t(channels); ++i) {
        const uint16_t s = img.samples[size_t(y) * img.width * channels + i];
        if (img.depth == 16) {
          r[2 * i] = uint8_t(s >> 8);
          r[2 * i + 1] = uint8_t(s);
        } else if (img.depth == 8) {
          r[i] = uint8_t(s);
        } else {
          const size_t bit = size_t(i) * img.depth;
          r[bit / 8] |= uint8_t(s << (8 - img.depth - bit % 8));
        }
      }
    }
    std::vector<png_bytep> ptrs;
    for (auto& r : rows) ptrs.push_back(r.data());
    png_write_image(p, ptrs.data());
    png_write_end(p, info);
  } catch (...) {
    png_destroy_write_struct(&p, &info);
    throw;
  }
  png_destroy_write_struct(&p, &info);
  return out;
}

// Reads raw samples (no gamma, no expansion, 16 bits kept). Throws on libpng errors.
inline Image Read(const uint8_t* data, size_t size) {
  Image img;
  detail::Reader reader{data, size, 0};
  png_structp p = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, detail::Fail, detail::Warn);
  png_infop info = png_create_info_struct(p);
  try {
    png_set_read_fn(p, &reader, detail::ReadFn);
    png_read_info(p, info);
    png_uint_32 w, h;
    int depth, colorType, interlace;
    png_get_IHDR(p, info, &w, &h, &depth, &colorType, &interlace, nullptr, nullptr);
    img.width = w, img.height = h, img.depth = depth, img.colorType = colorType;
    img.interlaced = interlace != PNG_INTERLACE_NONE;
    png_colorp pal;
    int n = 0;
    if (png_get_PLTE(p, info, &pal, &n)) img.palette.assign(pal, pal + n);
    png_bytep trnsAlpha = nullptr;
    int trnsCount = 0;
    png_color_16p trnsColor = nullptr;
    if (png_get_tRNS(p, info, &trnsAlpha, &trnsCount, &trnsColor)) {
      if (colorType == PNG_COLOR_TYPE_PALETTE) {
        img.paletteAlpha.assign(trnsAlpha, trnsAlpha + trnsCount);
      } else if (trnsColor) {
        img.hasTransparentSample = true;
        img.transparentSample = *trnsColor;
      }
    }
    if (depth < 8) png_set_packing(p);
    png_set_interlace_handling(p);
    png_read_update_info(p, info);
    const size_t rowBytes = png_get_rowbytes(p, info);
    std::vector<uint8_t> buf(rowBytes * h);
    std::vector<png_bytep> rows(h);
    for (uint32_t y = 0; y < h; ++y) rows[y] = buf.data() + y * rowBytes;
    png_read_image(p, rows.data());
    const size_t count = size_t(w) * h * img.Channels();
    img.samples.resize(count);
    for (uint32_t y = 0; y < h; ++y)
      for (size_t i = 0; i < size_t(w) * img.Channels(); ++i)
        img.samples[y * size_t(w) * img.Channels() + i] =
            depth == 16 ? uint16_t((rows[y][2 * i] << 8) | rows[y][2 * i + 1]) : rows[y][i];
  } catch (...) {
    png_destroy_read_struct(&p, &info, nullptr);
    throw;
  }
  png_destroy_read_struct(&p, &info, nullptr);
  return img;
}

}  // namespace pngref
