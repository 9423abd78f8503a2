// The Garnet look: dark greys, garnet-red accents, pink hot text. Draws every image the
// options name into the master bitmap at the rectangle its descriptor gives, the big
// button bitmap and the title-button glow pictures.
#pragma once

#include <string>
#include <vector>

#include "image/Bitmap32.h"
#include "tools/skingen/SkinLayout.h"

namespace skingen {

inline constexpr int kMasterWidth = 634;
inline constexpr int kMasterHeight = 117;

// Draws the master bitmap. Every master-bitmap image of the layout must be drawn by a
// painter of its own or share its rectangle with one that is (the same picture used with
// other widths or draw modes); painted rectangles may only overlap where the skin shares
// pixels on purpose. Anything else is an error (std::runtime_error naming the images),
// so the options and the art cannot drift apart. Free pixels keep the key colour.
Bitmap32 DrawMaster(const SkinLayout& layout);

// The big button picture named by a file descriptor (three 64 x 64 cells: normal, hot,
// pressed).
Bitmap32 DrawHugeButton(const ImageDesc& desc);

// A glow picture for a big title button: the button's hot cell (taken from the finished
// master bitmap) in the middle of a soft garnet halo, `margin` pixels on every side;
// straight alpha.
Bitmap32 DrawGlow(const Bitmap32& master, const ImageDesc& button, int margin, bool close);

}  // namespace skingen
