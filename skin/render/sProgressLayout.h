// Where a skinned progress bar puts its filled part: the fill rectangle, the block size, how many
// blocks fit and how many are filled, and the rectangle of every block to paint.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/data/sMaskData.h"

struct ProgressBarState {
  int32_t Width = 0, Height = 0;
  int32_t Min = 0, Max = 100, Position = 0;
  int32_t BorderWidth = 0;
  bool Vertical = false;
  bool Smooth = false;
  bool Marquee = false;
  int32_t MarqueeOffset = 0;
};

inline constexpr int32_t kMarqueeExtent = 40;
inline constexpr int32_t kMarqueeBlockLength = 9;
inline constexpr int32_t kMarqueeBlocks = 5;

struct ProgressLayout {
  TsRect Fill;
  int32_t BlockWidth = 0, BlockHeight = 0;
  int32_t Count = 0;   // blocks that fit in the bar
  int32_t Gap = 0;     // pixels between blocks
  int32_t Filled = 0;  // blocks the position fills
  std::vector<TsRect> Blocks;  // what to paint, in order
};

// Blocks the position fills (0 for smooth and marquee bars' purposes too: callers ask only for
// block bars). Cheap: no block rectangles are made.
int32_t FilledProgressBlocks(const ProgressBarState& bar);

// Everything a paint needs; Blocks is empty when nothing but the frame is to be painted.
ProgressLayout LayoutProgressBar(const ProgressBarState& bar);
