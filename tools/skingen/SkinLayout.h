// Where the Garnet skin's images lie: read from the skin's own options text with the
// engine's own options and descriptor parsers, so that the pictures the generator draws, the
// rectangles the options name and what the engine makes of them cannot drift apart.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "skin/data/sMaskData.h"
#include "skin/data/sSkinOptions.h"

namespace skingen {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Intersects(const Rect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// One image value of the options: a rectangle of the master bitmap ("@", "^", "~", "#")
// or a picture file of the skin ("!", "name.bmp").
struct ImageDesc {
  std::string section;
  std::string key;
  TsValueShape shape = TsValueShape::None;
  Rect rect;          // master-bitmap shapes only
  int count = 1;      // state cells side by side
  int maskType = 0;   // 1: the lower half is an alpha mask
  int wl = 0, wt = 0, wr = 0, wb = 0;
  int drawMode = 0;
  std::string file;   // file shapes: the file name the engine looks up

  std::string Name() const { return section + "/" + key; }
  bool IsFile() const { return shape == TsValueShape::File || shape == TsValueShape::BitmapFile; }
  int CellWidth() const { return count > 0 ? rect.Width() / count : 0; }
  int CellHeight() const { return maskType < 0 ? 0 : rect.Height() / (maskType + 1); }
  Rect Cell(int i) const {
    return {rect.left + i * CellWidth(), rect.top, rect.left + (i + 1) * CellWidth(),
            rect.top + CellHeight()};
  }
};

struct SkinLayout {
  TsSkinOptions options;
  std::vector<ImageDesc> images;  // in the order the engine loads them

  const ImageDesc* Find(std::string_view section, std::string_view key) const;
  std::string Global(std::string_view key) const;
};

// Parses the options text. Every value the engine takes for an image becomes an entry
// (GLOBALINFO MASTERBITMAP names the master bitmap itself and is none). Throws
// std::runtime_error naming the section and key of a malformed descriptor, and of a file
// descriptor that names no picture (the engine would drop it without a word).
SkinLayout ParseSkinLayout(std::string_view text);

}  // namespace skingen
