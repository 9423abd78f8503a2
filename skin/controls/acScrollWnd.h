// The scroll-bar handler: draws and operates a window's scroll bars in its non-client area
// from the skin, in place of the platform's.
#pragma once

#include "skin/controls/acSBUtils.h"
#include "skin/render/acScrollGeometry.h"

// Timer ids of the bars: hover, first repeat, later repeats.
inline constexpr UINT_PTR kHoverTimer = 0xFFF2;
inline constexpr UINT_PTR kFirstRepeatTimer = 0xFFFD;
inline constexpr UINT_PTR kRepeatTimer = 0xFFFE;
inline constexpr UINT kHoverInterval = 20, kFirstRepeatDelay = 300, kRepeatInterval = 55;

// One scroll bar of a window.
struct TacScrollBar {
  enum : uint32_t { fFirstArrowOff = 1, fLastArrowOff = 2, fWanted = 8 };
  int Kind = 0;  // 0 horizontal, 1 vertical
  uint32_t Flags = 0;
  bool Visible = false;
  SCROLLINFO Info{};
  int ArrowLength = -1;  // -1: the default
  int Thickness = -1;    // -1: the system's
  int MinThumb = kMinThumbLength;
};

class TacScrollWnd : public TacMainWnd {
 public:
  FRAMEWORK_CLASS(TacScrollWnd)
  void WndProc(TMessage& m) override;

  TacScrollBar& Bar(int kind) { return bars_[kind]; }
  // The bar's rectangle in window coordinates (empty when not visible).
  RECT BarRect(int kind) const;
  // The bar's track and thumb as it is drawn now.
  TacScrollLayout Layout(int kind) const;
  // Asks the platform; notes which arrows it has disabled.
  bool BarEnabled(int kind);
  // Reads the scroll information again and paints the bars.
  void UpdateBars();
  // Paints the visible bars onto the window.
  void PaintBars(HDC windowDc = nullptr);

 protected:
  void CreateParts(bool repaintFrame) override;
  void FreeParts() override;
  // Non-client edge widths without the bars.
  RECT Edges() const { return edges_; }
  bool ScrollMessage(TMessage& m);
  // Reads the scroll information; true when it differs from what the bars show.
  bool InfoChanged();

 private:
  int ArrowLength(int kind) const;
  int Thickness(int kind) const;
  void ReadInfo();
  void CalcSize(TMessage& m);
  int HitBar(POINT windowPoint) const;
  TacScrollElement ElementAt(int kind, POINT windowPoint) const;
  POINT CursorInWindow() const;
  void PaintBar(HDC dc, int kind);
  void PaintArrow(Bitmap32& bmp, int kind, bool first, const TsRect& r, const BackgroundSource& bg, TsPoint origin);
  void SendScroll(int code, int pos);
  void ButtonDown(TMessage& m);
  void ButtonUp();
  void DragTo(POINT windowPoint);
  void Timer(UINT_PTR id);
  void EndPress();
  bool releasing_ = false;

  TacScrollBar bars_[2];
  bool tracking_ = false;
  bool leftScroll_ = false;
  RECT edges_{0, 0, 0, 0};
  bool preventStyleChange_ = false;
  TBitmap barBmp_;
};
