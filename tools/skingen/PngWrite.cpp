#include "tools/skingen/PngWrite.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

namespace skingen {

void WritePng(const std::string& path, const Bitmap32& bmp) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) throw std::runtime_error("cannot write " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    throw std::runtime_error("libpng: out of memory");
  }
  std::vector<png_byte> row(static_cast<size_t>(bmp.Width()) * 4);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("libpng failed writing " + path);
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, bmp.Width(), bmp.Height(), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < bmp.Height(); ++y) {
    const Pixel32* p = bmp.Row(y);
    for (int x = 0; x < bmp.Width(); ++x) {
      row[x * 4 + 0] = p[x].R;
      row[x * 4 + 1] = p[x].G;
      row[x * 4 + 2] = p[x].B;
      row[x * 4 + 3] = p[x].A;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file.get()) != 0) throw std::runtime_error("cannot write " + path);
}

}  // namespace skingen
