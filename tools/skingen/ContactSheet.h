// A contact sheet of the generated skin for people to look at: the master bitmap, the big
// button and the glow pictures enlarged, and a small mock window painted from the skin's
// own pieces (nine-piece frames, state cells) the way the engine lays them out.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "image/Bitmap32.h"
#include "tools/skingen/SkinLayout.h"

namespace skingen {

struct NamedImage {
  std::string name;
  const Bitmap32* bmp = nullptr;
};

Bitmap32 BuildContactSheet(const SkinLayout& layout, const Bitmap32& master, const Bitmap32& huge,
                           const std::vector<NamedImage>& glows);

}  // namespace skingen
