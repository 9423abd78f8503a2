// A 32-bit BGRA pixel view: width, height, the start of row 0 and a signed row
// delta in bytes. It either owns its pixels (top-down, rows packed) or views
// memory owned elsewhere, such as a bottom-up DIB section.
#pragma once

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

struct Pixel32 {
  uint8_t B = 0, G = 0, R = 0, A = 0;
  friend bool operator==(const Pixel32&, const Pixel32&) = default;
};
static_assert(sizeof(Pixel32) == 4);

class Bitmap32 {
 public:
  Bitmap32() = default;

  // An owning, top-down bitmap; every pixel starts as all-zero.
  Bitmap32(int width, int height) { Allocate(width, height); }

  // An owning, top-down bitmap that takes over `pixels` (rows packed, top row first), as a
  // decoder that grows its rows while its data arrives hands them over. Empty when the
  // count does not match width x height.
  static Bitmap32 Adopt(std::vector<Pixel32> pixels, int width, int height) {
    Bitmap32 b;
    if (width > 0 && height > 0 &&
        pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
      b.storage_ = std::move(pixels);
      b.width_ = width;
      b.height_ = height;
      b.rowDelta_ = static_cast<std::ptrdiff_t>(width) * 4;
      b.row0_ = reinterpret_cast<uint8_t*>(b.storage_.data());
    }
    return b;
  }

  // A view of pixels owned elsewhere; rowDelta may be negative (bottom-up).
  static Bitmap32 View(void* row0, int width, int height, std::ptrdiff_t rowDelta) {
    Bitmap32 b;
    if (row0 && width > 0 && height > 0) {
      b.row0_ = static_cast<uint8_t*>(row0);
      b.width_ = width;
      b.height_ = height;
      b.rowDelta_ = rowDelta;
    }
    return b;
  }

  // Copies of an owning bitmap own their own pixels; copies of a view view the same memory.
  Bitmap32(const Bitmap32& o) { CopyFrom(o); }
  Bitmap32& operator=(const Bitmap32& o) {
    if (this != &o) CopyFrom(o);
    return *this;
  }
  Bitmap32(Bitmap32&& o) noexcept { MoveFrom(std::move(o)); }
  Bitmap32& operator=(Bitmap32&& o) noexcept {
    if (this != &o) MoveFrom(std::move(o));
    return *this;
  }

  void Allocate(int width, int height) {
    if (width <= 0 || height <= 0) {
      *this = Bitmap32();
      return;
    }
    storage_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), Pixel32{});
    width_ = width;
    height_ = height;
    rowDelta_ = static_cast<std::ptrdiff_t>(width) * 4;
    row0_ = reinterpret_cast<uint8_t*>(storage_.data());
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return row0_ == nullptr; }
  bool Owning() const { return !storage_.empty(); }
  std::ptrdiff_t RowDelta() const { return rowDelta_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  Pixel32* Row(int y) { return reinterpret_cast<Pixel32*>(row0_ + rowDelta_ * y); }
  const Pixel32* Row(int y) const { return reinterpret_cast<const Pixel32*>(row0_ + rowDelta_ * y); }
  Pixel32& At(int x, int y) { return Row(y)[x]; }
  const Pixel32& At(int x, int y) const { return Row(y)[x]; }

  void Fill(Pixel32 p) {
    for (int y = 0; y < height_; ++y) {
      Pixel32* r = Row(y);
      for (int x = 0; x < width_; ++x) r[x] = p;
    }
  }

 private:
  void CopyFrom(const Bitmap32& o) {
    if (o.Owning()) {
      Allocate(o.width_, o.height_);
      for (int y = 0; y < height_; ++y)
        std::copy(o.Row(y), o.Row(y) + width_, Row(y));
    } else {
      storage_.clear();
      row0_ = o.row0_;
      width_ = o.width_;
      height_ = o.height_;
      rowDelta_ = o.rowDelta_;
    }
  }
  void MoveFrom(Bitmap32&& o) {
    storage_ = std::move(o.storage_);
    row0_ = o.row0_;
    width_ = o.width_;
    height_ = o.height_;
    rowDelta_ = o.rowDelta_;
    o.row0_ = nullptr;
    o.width_ = o.height_ = 0;
    o.rowDelta_ = 0;
  }

  std::vector<Pixel32> storage_;
  uint8_t* row0_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::ptrdiff_t rowDelta_ = 0;
};
