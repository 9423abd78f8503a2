#include "skin/render/sTitleLayout.h"

#include <algorithm>

#include "skin/render/sBorderMask.h"

namespace {

bool Contains(const TsRect& r, TsPoint p) {
  return !IsRectEmpty(r) && p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

int32_t ButtonTop(const TsTitleLayoutInput& in, bool big) {
  if (big && in.VAlign == 1) return in.Maximized ? 3 : 0;
  int32_t top = (in.Metrics.TitleBandHeight() - in.ButtonHeight) / 2;
  if (in.BigSetSpacing && in.ButtonHeight < 16) top += 2;
  return top;
}

}  // namespace

TsTitleLayout LayOutTitleButtons(const TsTitleLayoutInput& in) {
  TsTitleLayout out;
  const int32_t spacing = in.BigSetSpacing ? in.Space : 0;
  int32_t right = in.WindowWidth - in.Right - in.Metrics.SideBorder;
  out.BlockWidth = in.Right;
  for (int i = 0; i < kSystemButtons; ++i) {
    const TsTitleButtonSpec& b = in.System[static_cast<size_t>(i)];
    if (!b.Visible) continue;
    const int32_t top = ButtonTop(in, b.BigIcon);
    out.System[static_cast<size_t>(i)] = TsRect{right - b.Width, top, right, top + in.ButtonHeight};
    right -= b.Width + spacing;
    out.BlockWidth += b.Width + (i == tbClose ? 0 : spacing);
  }
  if (!in.UserWidths.empty()) {
    right -= 8;
    out.BlockWidth += 8;
    const int32_t top = ButtonTop(in, false);
    for (int32_t w : in.UserWidths) {
      out.User.push_back(TsRect{right - w, top, right, top + in.ButtonHeight});
      right -= w + spacing;
      out.BlockWidth += w + spacing;
    }
  }
  return out;
}

TsRect CaptionTextArea(int32_t windowWidth, const TsFrameMetrics& m, int32_t iconWidth, int32_t leftMargin,
                       bool captionSection, int32_t blockWidth, bool maximized) {
  TsRect r{m.SideBorder + iconWidth + leftMargin + 4 + (captionSection ? 2 : 0), maximized ? 3 : 2,
           windowWidth - blockWidth - 12, m.TitleBandHeight()};
  return IsRectEmpty(r) ? TsRect{} : r;
}

TsRect PlaceCaptionText(TsRect area, int32_t textWidth, int32_t addedWidth, int32_t textHeight,
                        TsCaptionAlign align) {
  TsRect r = area;
  r.Top = area.Top + (area.Height() - textHeight) / 2;
  r.Bottom = r.Top + textHeight;
  const int32_t whole = textWidth + addedWidth + 4;
  if (align == TsCaptionAlign::Right) {
    if (whole < area.Width()) r.Left = area.Right - whole;
  } else if (align == TsCaptionAlign::Centre) {
    r.Left = std::max(area.Left, area.Left + (area.Width() - whole) / 2);
    r.Right = std::min(r.Left + textWidth, area.Right);
  }
  return r;
}

int32_t TitleHitTest(const TsHitTestInput& in) {
  const TsPoint p = in.Point;
  if (in.Layout) {
    int32_t code = kHtClient;
    for (int i = 0; i < kSystemButtons && code == kHtClient; ++i) {
      if (!in.Shown[static_cast<size_t>(i)] || !Contains(in.Layout->System[static_cast<size_t>(i)], p)) continue;
      switch (i) {
        case tbClose: code = kHtClose; break;
        case tbMaximize:
          code = in.EnabledMax || (in.EnabledRestore && !in.Minimized) ? kHtMaxButton : kHtCaption;
          break;
        case tbMinimize: code = in.EnabledMin || in.Minimized ? kHtMinButton : kHtCaption; break;
        default: code = kHtHelp; break;
      }
    }
    for (size_t i = 0; i < in.Layout->User.size() && code == kHtClient; ++i) {
      const bool enabled = i < in.UserEnabled.size() && in.UserEnabled[i];
      if (enabled && Contains(in.Layout->User[i], p)) code = kHtUserButton + static_cast<int32_t>(i);
    }
    if (code != kHtClient) return code;
  }
  const int32_t side = in.Metrics.SideBorder;
  if (!in.Maximized && in.SizingFrame) {
    const bool left = p.X < side, right = p.X >= in.WindowWidth - side;
    const bool top = p.Y < side, bottom = p.Y >= in.WindowHeight - side;
    if (top) return left ? kHtTopLeft : right ? kHtTopRight : kHtTop;
    if (bottom) return left ? kHtBottomLeft : right ? kHtBottomRight : kHtBottom;
    if (left) return kHtLeft;
    if (right) return kHtRight;
  }
  const int32_t band = in.Metrics.TitleBandHeight();
  if (in.Metrics.MenuHeight > 0 && p.Y >= band && p.Y <= band + in.Metrics.MenuHeight) return kHtMenu;
  if (p.Y >= 0 && p.Y <= band) return Contains(in.Icon, p) ? kHtSysMenu : kHtCaption;
  if (!IsRectEmpty(in.Grip) && p.X >= in.Grip.Left && p.Y >= in.Grip.Top) return kHtBottomRight;
  return kHtClient;
}

std::vector<TsRect> FrameRegionCuts(int32_t width, int32_t height, const TsMaskData* formBorder,
                                    const TsMaskData* titleBorder) {
  std::vector<TsRect> cuts;
  if (formBorder) {
    KeyColorRects(cuts, width, *formBorder, false, 0);
    KeyColorRects(cuts, width, *formBorder, true, height - formBorder->WB);
  }
  if (titleBorder) KeyColorRects(cuts, width, *titleBorder, false, 0);
  return cuts;
}
