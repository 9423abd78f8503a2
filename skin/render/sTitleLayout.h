// The geometry of a skinned window frame: where the title buttons go, where the caption text
// may stand, which hit code a point of the window gets, and which pixels the frame's
// key-coloured corners cut out of the window region. All positions are window coordinates
// (the frame cache's coordinates), right and bottom exclusive.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "skin/data/sMaskData.h"
#include "skin/render/sGeometry.h"

// Sizes the platform gives the frame for the window's style.
struct TsFrameMetrics {
  int32_t SideBorder = 0;     // left, right and bottom frame; the top border is as high
  int32_t CaptionHeight = 0;  // 0 without a caption band
  int32_t MenuHeight = 0;     // main-menu line under the caption, 0 without one
  int32_t TitleBandHeight() const { return SideBorder + CaptionHeight; }
};

// The system buttons in the order they are laid out from the right and hit-tested.
enum TsTitleButton : int { tbClose = 0, tbMaximize = 1, tbMinimize = 2, tbHelp = 3 };
inline constexpr int kSystemButtons = 4;

// Windows' hit codes, by value (the neutral layer has no windows.h).
enum : int32_t {
  kHtNowhere = 0, kHtClient = 1, kHtCaption = 2, kHtSysMenu = 3, kHtMenu = 5, kHtMinButton = 8,
  kHtMaxButton = 9, kHtLeft = 10, kHtRight = 11, kHtTop = 12, kHtTopLeft = 13, kHtTopRight = 14,
  kHtBottom = 15, kHtBottomLeft = 16, kHtBottomRight = 17, kHtClose = 20, kHtHelp = 21,
  kHtUserButton = 1000,  // + the user button's index
};

struct TsTitleButtonSpec {
  bool Visible = false;
  int32_t Width = 21;    // one state of its image; 21 without an image
  bool BigIcon = false;  // from the big image set
};

struct TsTitleLayoutInput {
  int32_t WindowWidth = 0;
  TsFrameMetrics Metrics;
  bool BigSetSpacing = false;  // bsSingle and bsSizeable forms keep BISPACE between buttons
  int32_t Space = 0, Right = 0, VAlign = 0;  // BISPACE, BIRIGHT, BIVALIGN
  int32_t ButtonHeight = 21;  // the close image's height
  bool Maximized = false;
  std::array<TsTitleButtonSpec, kSystemButtons> System;  // by TsTitleButton
  std::vector<int32_t> UserWidths;                       // visible user buttons, in order
};

struct TsTitleLayout {
  std::array<TsRect, kSystemButtons> System;  // empty for a button that is not shown
  std::vector<TsRect> User;
  int32_t BlockWidth = 0;  // what the buttons take from the caption's width
};

// Buttons from right to left, each vertically centred in the title band (big-set images
// with BIVALIGN 1 sit at the top instead).
TsTitleLayout LayOutTitleButtons(const TsTitleLayoutInput& in);

// Where the caption text may be drawn; empty when the window is too narrow.
TsRect CaptionTextArea(int32_t windowWidth, const TsFrameMetrics& m, int32_t iconWidth, int32_t leftMargin,
                       bool captionSection, int32_t blockWidth, bool maximized);

enum class TsCaptionAlign { Left, Right, Centre };
// The text's own rectangle inside `area`: centred vertically, moved by the alignment.
TsRect PlaceCaptionText(TsRect area, int32_t textWidth, int32_t addedWidth, int32_t textHeight, TsCaptionAlign align);

struct TsHitTestInput {
  TsPoint Point;  // window coordinates
  int32_t WindowWidth = 0, WindowHeight = 0;
  TsFrameMetrics Metrics;
  const TsTitleLayout* Layout = nullptr;
  std::array<bool, kSystemButtons> Shown{};  // the buttons counted (visible)
  bool EnabledMax = false, EnabledRestore = false, EnabledMin = false;
  bool Minimized = false, Maximized = false;
  bool SizingFrame = false;  // WS_THICKFRAME
  std::vector<bool> UserEnabled;
  TsRect Icon;  // empty without an icon
  TsRect Grip;  // empty without a grip
};

// The code a point gets; button codes come first, then sizing borders, the caption band and
// the client area.
int32_t TitleHitTest(const TsHitTestInput& in);

// True for codes of a title button (system or user).
inline bool IsTitleButtonCode(int32_t code) {
  return code == kHtMinButton || code == kHtMaxButton || code == kHtClose || code == kHtHelp ||
         code >= kHtUserButton;
}

// The one-pixel-high rectangles the key-coloured corners of the frame cut from a window of
// width x height: the form border's top and bottom bands and the title border's top band.
// Either image may be null.
std::vector<TsRect> FrameRegionCuts(int32_t width, int32_t height, const TsMaskData* formBorder,
                                    const TsMaskData* titleBorder);
