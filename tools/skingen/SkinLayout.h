// Where the Garnet skin's images lie: read from the skin's own options text, so that the
// pictures the generator draws and the rectangles the options name cannot drift apart.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

// One image value of the options: a rectangle of the master bitmap ("@", "^", "~") or a
// picture file ("!").
struct ImageDesc {
  std::string section;
  std::string key;
  char shape = 0;     // '@' glyph, '^' border, '~' texture, '!' file
  Rect rect;          // master-bitmap shapes only
  int count = 1;      // state cells side by side
  int maskType = 0;   // 1: the lower half is an alpha mask
  int wl = 0, wt = 0, wr = 0, wb = 0;
  int drawMode = 0;
  std::string file;   // '!' shape: the file name as written

  std::string Name() const { return section + "/" + key; }
  int CellWidth() const { return count > 0 ? rect.Width() / count : 0; }
  int CellHeight() const { return maskType == 1 ? rect.Height() / 2 : rect.Height(); }
  Rect Cell(int i) const {
    return {rect.left + i * CellWidth(), rect.top, rect.left + (i + 1) * CellWidth(),
            rect.top + CellHeight()};
  }
};

struct SkinLayout {
  std::vector<std::string> sections;  // file order
  std::vector<ImageDesc> images;      // file order
  std::vector<std::pair<std::string, std::string>> globals;  // GLOBALINFO keys and values

  const ImageDesc* Find(std::string_view section, std::string_view key) const;
  std::string Global(std::string_view key) const;
};

// Parses the options text (CR LF, CR or LF line ends; ";" comments; "[SECTION]";
// "KEY=VALUE"). Throws std::runtime_error naming the section and key of a malformed
// descriptor.
SkinLayout ParseSkinLayout(std::string_view text);

}  // namespace skingen
