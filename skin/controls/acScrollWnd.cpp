// TacScrollWnd: the window's scroll bars laid out in its non-client area, drawn from the
// skin's scroll-bar sections and operated by the handler itself.
#include <windowsx.h>

#include <algorithm>

#include "skin/controls/acScrollWnd.h"
#include "framework/Handles.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/data/sSkinModel.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sStateImage.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sStyleSimply_win.h"

namespace {

// Only one bar in the process is hot or pressed at a time.
struct BarMouseState {
  HWND HotWnd = nullptr;
  int HotBar = -1;
  int HotElement = seNone;
  HWND PressedWnd = nullptr;
  int PressedBar = -1;
  int PressedElement = seNone;
  bool PressedShown = false;  // the cursor is on the pressed element
  UINT ScrollMsg = 0;
  int DragThumbStart = 0;  // from the bar's start while the thumb is dragged
  int GrabOffset = 0;
  int LastPos = 0;
};

BarMouseState& Bars() { return acEngine().Part<BarMouseState>(); }

int DefaultArrowLength() {
  static const int a = GetSystemMetrics(SM_CXHSCROLL);
  return a;
}

int BarCode(int kind) { return kind == 1 ? SB_VERT : SB_HORZ; }

TacScrollNumbers Numbers(const SCROLLINFO& si) { return TacScrollNumbers{si.nMin, si.nMax, static_cast<int32_t>(si.nPage), si.nPos}; }

bool IsOurTimer(WPARAM id) { return id == kHoverTimer || id == kFirstRepeatTimer || id == kRepeatTimer; }

}  // namespace

void TacScrollWnd::CreateParts(bool /*repaintFrame*/) {
  for (int k = 0; k < 2; ++k) {
    bars_[k] = TacScrollBar{};
    bars_[k].Kind = k;
  }
  ReadInfo();
  const LONG_PTR style = GetWindowLongPtrA(Wnd(), GWL_STYLE);
  leftScroll_ = (GetWindowLongPtrA(Wnd(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  if (style & WS_HSCROLL) bars_[0].Flags |= TacScrollBar::fWanted;
  if (style & WS_VSCROLL) bars_[1].Flags |= TacScrollBar::fWanted;
}

void TacScrollWnd::FreeParts() {
  HWND wnd = Wnd();
  if (Bars().HotWnd == wnd) Bars().HotWnd = nullptr, Bars().HotBar = -1;
  if (Bars().PressedWnd == wnd) {
    Bars().PressedWnd = nullptr;
    Bars().PressedBar = -1;
    tracking_ = false;
  }
  if (IsWindow(wnd)) {
    KillTimer(wnd, kHoverTimer);
    KillTimer(wnd, kFirstRepeatTimer);
    KillTimer(wnd, kRepeatTimer);
  }
  for (TacScrollBar& b : bars_) b.Visible = false;
  barBmp_.SetSize(0, 0);
}

int TacScrollWnd::ArrowLength(int kind) const {
  if (bars_[kind].ArrowLength >= 0) return bars_[kind].ArrowLength;
  int a = DefaultArrowLength();
  // Skins whose arrow buttons are pictures of their own size ask for that size.
  const TsSkinModel* model = binding_->Model();
  if (model && model->Cache.ScrollBtn[sbLeft].Section >= 0) {
    const TsGeneralData& left = model->Sections[static_cast<size_t>(model->Cache.ScrollBtn[sbLeft].Section)];
    const int32_t border = model->Cache.ScrollBtn[kind == 1 ? sbTop : sbLeft].BorderMask;
    if (left.ReservedBoolean && left.BorderMaskIndex >= 0 && border >= 0) {
      const TsMaskData& img = model->Images[static_cast<size_t>(border)];
      a = std::max(a, kind == 1 ? img.CellHeight() : img.CellWidth());
    }
  }
  return a;
}

int TacScrollWnd::Thickness(int kind) const {
  if (bars_[kind].Thickness >= 0) return bars_[kind].Thickness;
  return GetSystemMetrics(kind == 1 ? SM_CXVSCROLL : SM_CYHSCROLL);
}

void TacScrollWnd::ReadInfo() {
  for (int k = 0; k < 2; ++k) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (GetScrollInfo(Wnd(), BarCode(k), &si)) bars_[k].Info = si;
  }
}

bool TacScrollWnd::InfoChanged() {
  bool changed = false;
  for (int k = 0; k < 2; ++k) {
    if (!bars_[k].Visible) continue;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(Wnd(), BarCode(k), &si)) continue;
    const SCROLLINFO& old = bars_[k].Info;
    if (si.nMin != old.nMin || si.nMax != old.nMax || si.nPage != old.nPage || si.nPos != old.nPos) changed = true;
    bars_[k].Info = si;
  }
  return changed;
}

bool TacScrollWnd::BarEnabled(int kind) {
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof sbi;
  TacScrollBar& bar = bars_[kind];
  bar.Flags &= ~static_cast<uint32_t>(TacScrollBar::fFirstArrowOff | TacScrollBar::fLastArrowOff);
  if (!GetScrollBarInfo(Wnd(), kind == 1 ? static_cast<LONG>(OBJID_VSCROLL) : static_cast<LONG>(OBJID_HSCROLL), &sbi))
    return (bar.Flags & TacScrollBar::fWanted) != 0;
  if (sbi.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) bar.Flags |= TacScrollBar::fFirstArrowOff;
  if (sbi.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) bar.Flags |= TacScrollBar::fLastArrowOff;
  if (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) return false;
  return (bar.Flags & (TacScrollBar::fFirstArrowOff | TacScrollBar::fLastArrowOff)) !=
         (TacScrollBar::fFirstArrowOff | TacScrollBar::fLastArrowOff);
}

void TacScrollWnd::CalcSize(TMessage& m) {
  HWND wnd = Wnd();
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
  const LONG_PTR bars = WS_HSCROLL | WS_VSCROLL;
  RECT* client = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0] : reinterpret_cast<RECT*>(m.LParam);
  const RECT window = *client;
  // The platform must reserve no bars of its own: the handler lays them out below.
  if (style & bars) {
    preventStyleChange_ = true;
    SetWindowLongPtrA(wnd, GWL_STYLE, style & ~bars);
  }
  const auto alive = AliveToken();
  PassOn(m);
  if (style & bars) SetWindowLongPtrA(wnd, GWL_STYLE, style);
  if (!*alive) return;
  preventStyleChange_ = false;
  edges_ = RECT{client->left - window.left, client->top - window.top, window.right - client->right,
                window.bottom - client->bottom};
  bars_[0].Visible = (style & WS_HSCROLL) && client->bottom - client->top >= Thickness(0);
  if (bars_[0].Visible) client->bottom -= Thickness(0);
  bars_[1].Visible = (style & WS_VSCROLL) && client->right - client->left >= Thickness(1);
  if (bars_[1].Visible) {
    if (leftScroll_)
      client->left += Thickness(1);
    else
      client->right -= Thickness(1);
  }
}

RECT TacScrollWnd::BarRect(int kind) const {
  if (!bars_[kind].Visible) return RECT{0, 0, 0, 0};
  RECT wr;
  GetWindowRect(Wnd(), &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (kind == 1) {
    const int t = Thickness(1);
    const int left = leftScroll_ ? edges_.left : w - edges_.right - t;
    const int bottom = h - edges_.bottom - (bars_[0].Visible ? Thickness(0) : 0);
    return RECT{left, edges_.top, left + t, bottom};
  }
  const int t = Thickness(0);
  const int v = bars_[1].Visible ? Thickness(1) : 0;
  return RECT{edges_.left + (leftScroll_ ? v : 0), h - edges_.bottom - t, w - edges_.right - (leftScroll_ ? 0 : v),
              h - edges_.bottom};
}

TacScrollLayout TacScrollWnd::Layout(int kind) const {
  const RECT r = BarRect(kind);
  const int length = kind == 1 ? r.bottom - r.top : r.right - r.left;
  TacScrollLayout l = ScrollLayout(Numbers(bars_[kind].Info), length, ArrowLength(kind), bars_[kind].MinThumb);
  if (tracking_ && Bars().PressedWnd == Wnd() && Bars().PressedBar == kind) l.ThumbStart = Bars().DragThumbStart;
  return l;
}

int TacScrollWnd::HitBar(POINT p) const {
  for (int k = 1; k >= 0; --k) {
    const RECT r = BarRect(k);
    if (bars_[k].Visible && PtInRect(&r, p)) return k;
  }
  return -1;
}

TacScrollElement TacScrollWnd::ElementAt(int kind, POINT p) const {
  const RECT r = BarRect(kind);
  const bool across = kind == 1 ? (p.x >= r.left && p.x < r.right) : (p.y >= r.top && p.y < r.bottom);
  if (!across) return seNone;
  return ScrollElementAt(Layout(kind), kind == 1 ? p.y - r.top : p.x - r.left);
}

POINT TacScrollWnd::CursorInWindow() const {
  POINT p;
  GetCursorPos(&p);
  RECT wr;
  GetWindowRect(Wnd(), &wr);
  return POINT{p.x - wr.left, p.y - wr.top};
}

void TacScrollWnd::UpdateBars() {
  ReadInfo();
  PaintBars();
}

void TacScrollWnd::PaintBars(HDC windowDc) {
  HWND wnd = Wnd();
  TsCommonData& sd = *binding_;
  if (!IsWindowVisible(wnd) || sd.PaintingSuspended || !sd.IsSkinned() || sd.OwnerDestroying()) return;
  if (!bars_[0].Visible && !bars_[1].Visible) return;
  if (sd.CacheStale) SendSkinCommand(wnd, SkinCommand::PrepareCache);
  FrameDC frameDc(wnd, windowDc);
  HDC dc = frameDc.get();
  if (!dc) return;
  for (int k = 0; k < 2; ++k)
    if (bars_[k].Visible) PaintBar(dc, k);
  if (bars_[0].Visible && bars_[1].Visible) {
    // The square between the bars shows what lies behind the window there.
    const RECT v = BarRect(1), hr = BarRect(0);
    const RECT corner{v.left, hr.top, v.right, hr.bottom};
    ParentBgQuery q;
    if (HWND parent = GetParent(wnd)) GetParentBg(q, parent, false);
    const BackgroundSource bg = BgInfoFromQueryWin(q);
    const POINT pos = PosInParent();
    if (bg.Ready && bg.Bmp)
      BlitBitmap32(dc, corner.left, corner.top, *bg.Bmp,
                   RECT{bg.X + pos.x + corner.left, bg.Y + pos.y + corner.top, bg.X + pos.x + corner.right,
                        bg.Y + pos.y + corner.bottom});
    else
      FillDcRect(dc, corner, bg.FillColor);
  }
}

void TacScrollWnd::PaintArrow(Bitmap32& bmp, int kind, bool first, const TsRect& r, const BackgroundSource& bg,
                              TsPoint origin) {
  const TsSkinModel* model = binding_->Model();
  const TsSectionCache& sc = model->Cache.ScrollBtn[kind == 1 ? (first ? sbTop : sbBottom) : (first ? sbLeft : sbRight)];
  const int element = first ? seLineUp : seLineDown;
  int state = 0;
  if (Bars().PressedWnd == Wnd() && Bars().PressedBar == kind && Bars().PressedElement == element && Bars().PressedShown)
    state = 2;
  else if (Bars().HotWnd == Wnd() && Bars().HotBar == kind && Bars().HotElement == element && manager_ == DefaultManager())
    state = 1;
  const TsPoint at{origin.X + r.Left, origin.Y + r.Top};
  PaintSectionWithIndexes(sc.Section, sc.BorderMask, sc.Pattern, sc.HotPattern, model, bmp, at, r, state, bg, "");
  if (sc.GlyphMask >= 0 && sc.GlyphMask < static_cast<int32_t>(model->Images.size())) {
    const TsMaskData& glyph = model->Images[static_cast<size_t>(sc.GlyphMask)];
    const TsPoint pt{r.Left + (r.Width() - glyph.CellWidth()) / 2, r.Top + (r.Height() - glyph.CellHeight()) / 2};
    PaintStateImage(bmp, pt, state, ShiftedBg(bg, origin), glyph, 1);
  }
}

void TacScrollWnd::PaintBar(HDC dc, int kind) {
  const TsSkinModel* model = binding_->Model();
  if (!model) return;
  const bool vert = kind == 1;
  const TsSectionCache& s1 = model->Cache.ScrollBar[vert ? sb1V : sb1H];
  if (s1.Section < 0) return;
  const TsSectionCache& s2raw = model->Cache.ScrollBar[vert ? sb2V : sb2H];
  const TsSectionCache& s2 = s2raw.Section >= 0 ? s2raw : s1;
  const RECT r = BarRect(kind);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int length = vert ? h : w;
  if (w <= 0 || h <= 0 || length <= 1) return;
  if (barBmp_.Width() != w || barBmp_.Height() != h) barBmp_.SetSize(w, h);
  Bitmap32 bmp = barBmp_.View();

  ParentBgQuery q;
  if (HWND parent = GetParent(Wnd())) GetParentBg(q, parent, false);
  const BackgroundSource bg = BgInfoFromQueryWin(q);
  const POINT pos = PosInParent();
  const TsPoint origin{pos.x + r.left, pos.y + r.top};
  auto along = [&](int a0, int a1) { return vert ? TsRect{0, a0, w, a1} : TsRect{a0, 0, a1, h}; };
  auto paint = [&](const TsSectionCache& sc, const TsRect& part, int state) {
    PaintSectionWithIndexes(sc.Section, sc.BorderMask, sc.Pattern, sc.HotPattern, model, bmp,
                            TsPoint{origin.X + part.Left, origin.Y + part.Top}, part, state, bg, "");
  };
  const bool pressedHere = Bars().PressedWnd == Wnd() && Bars().PressedBar == kind && Bars().PressedShown;
  const bool hotHere = Bars().HotWnd == Wnd() && Bars().HotBar == kind && manager_ == DefaultManager();
  const bool enabled = BarEnabled(kind);
  const TacScrollLayout l = Layout(kind);
  const int a = l.Arrow;
  if (2 * a < length) {
    const int mid = l.HasThumb ? l.ThumbStart + l.Thumb / 2 : length / 2;
    paint(s1, along(0, mid), pressedHere && Bars().PressedElement == sePageUp ? 2 : 0);
    paint(s2, along(mid, length), pressedHere && Bars().PressedElement == sePageDown ? 2 : 0);
    PaintArrow(bmp, kind, true, along(0, a), bg, origin);
    PaintArrow(bmp, kind, false, along(length - a, length), bg, origin);
    if (enabled && l.HasThumb && l.Track >= std::max(l.Thumb, kMinThumbLength)) {
      const TsSectionCache& sc = model->Cache.ScrollSlider[vert ? ssV : ssH];
      const int state = tracking_ && pressedHere ? 2 : hotHere && Bars().HotElement == seThumb ? 1 : 0;
      const TsRect part = along(l.ThumbStart, l.ThumbStart + l.Thumb);
      paint(sc, part, state);
      if (sc.GlyphMask >= 0 && sc.GlyphMask < static_cast<int32_t>(model->Images.size())) {
        const TsMaskData& glyph = model->Images[static_cast<size_t>(sc.GlyphMask)];
        const TsPoint pt{part.Left + (part.Width() - glyph.CellWidth()) / 2,
                         part.Top + (part.Height() - glyph.CellHeight()) / 2};
        PaintStateImage(bmp, pt, state, ShiftedBg(bg, origin), glyph, 1);
      }
    }
  } else {
    const int half = length / 2;
    paint(s1, along(0, half), 0);
    paint(s2, along(half, length), 0);
    PaintArrow(bmp, kind, true, along(0, half), bg, origin);
    PaintArrow(bmp, kind, false, along(half, length), bg, origin);
  }
  if (!enabled) {
    if (bg.Ready) {
      PaintDisabledLook(bmp, dkBlended, origin, bg, clFuchsia);
    } else if (bg.FillColor != clFuchsia) {
      const Pixel32 p = ColorToPixel(bg.FillColor);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          Pixel32& c = bmp.At(x, y);
          c.R = static_cast<uint8_t>((c.R * 40 + p.R * 60 + 50) / 100);
          c.G = static_cast<uint8_t>((c.G * 40 + p.G * 60 + 50) / 100);
          c.B = static_cast<uint8_t>((c.B * 40 + p.B * 60 + 50) / 100);
        }
    }
  }
  BitBlt(dc, r.left, r.top, w, h, barBmp_.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TacScrollWnd::SendScroll(int code, int pos) {
  HWND wnd = Wnd();
  const auto alive = AliveToken();
  const UINT msg = Bars().ScrollMsg ? Bars().ScrollMsg : WM_VSCROLL;
  const int bar = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
  busy_ = true;
  if (SendSkinCommand(wnd, SkinCommand::ScrollItself, 0, MAKELPARAM(code, msg)) == 1) {
    SendMessageA(wnd, msg, static_cast<WPARAM>(code), pos);
  } else {
    if (code == SB_THUMBTRACK) {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_POS;
      si.nPos = pos;
      SetScrollInfo(wnd, bar, &si, FALSE);
    }
    SendMessageA(wnd, msg, MAKEWPARAM(code, std::min(pos, 0xFFFF)), 0);
  }
  SendSkinCommand(wnd, SkinCommand::AfterScroll);
  if (!*alive) return;
  busy_ = false;
  // The platform drew its own bar while scrolling: ours goes back over it.
  UpdateBars();
}

void TacScrollWnd::ButtonDown(TMessage& m) {
  const int kind = m.WParam == HTVSCROLL ? 1 : 0;
  RECT wr;
  GetWindowRect(Wnd(), &wr);
  const POINT p{GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top};
  ReadInfo();
  const bool enabled = BarEnabled(kind);
  const TacScrollElement el = ElementAt(kind, p);
  if (el == seNone || !enabled) return;
  if ((el == seLineUp && (bars_[kind].Flags & TacScrollBar::fFirstArrowOff)) ||
      (el == seLineDown && (bars_[kind].Flags & TacScrollBar::fLastArrowOff)))
    return;
  Bars().PressedWnd = Wnd();
  Bars().PressedBar = kind;
  Bars().ScrollMsg = kind == 1 ? WM_VSCROLL : WM_HSCROLL;
  Bars().PressedElement = el;
  Bars().PressedShown = true;
  if (el == seThumb) {
    const TacScrollLayout l = Layout(kind);
    const RECT r = BarRect(kind);
    tracking_ = true;
    Bars().DragThumbStart = l.ThumbStart;
    Bars().GrabOffset = (kind == 1 ? p.y - r.top : p.x - r.left) - l.ThumbStart;
    Bars().LastPos = bars_[kind].Info.nPos;
    bars_[kind].Info.nTrackPos = bars_[kind].Info.nPos;
    PaintBars();
  } else {
    PaintBars();
    const auto alive = AliveToken();
    SendScroll(el, bars_[kind].Info.nPos);
    if (!*alive) return;
    SetTimer(Wnd(), kFirstRepeatTimer, kFirstRepeatDelay, nullptr);
  }
  SetCapture(Wnd());
}

void TacScrollWnd::DragTo(POINT p) {
  const int kind = Bars().PressedBar;
  const RECT r = BarRect(kind);
  const TacScrollLayout l = Layout(kind);
  const int along = kind == 1 ? p.y - r.top : p.x - r.left;
  const int start = std::clamp(along - Bars().GrabOffset, l.Arrow, std::max(l.Arrow, l.Arrow + l.Track - l.Thumb));
  Bars().DragThumbStart = start;
  const int pos = ScrollPosFromThumb(Numbers(bars_[kind].Info), l, start - l.Arrow);
  if (pos != Bars().LastPos) {
    Bars().LastPos = pos;
    bars_[kind].Info.nTrackPos = pos;
    SendScroll(SB_THUMBTRACK, pos);
  } else {
    PaintBars();
  }
}

void TacScrollWnd::EndPress() {
  KillTimer(Wnd(), kFirstRepeatTimer);
  KillTimer(Wnd(), kRepeatTimer);
  tracking_ = false;
  Bars().PressedWnd = nullptr;
  Bars().PressedBar = -1;
  Bars().PressedElement = seNone;
  Bars().PressedShown = false;
}

void TacScrollWnd::ButtonUp() {
  releasing_ = true;
  ReleaseCapture();
  releasing_ = false;
  const bool thumb = tracking_;
  const int last = Bars().LastPos;
  KillTimer(Wnd(), kFirstRepeatTimer);
  KillTimer(Wnd(), kRepeatTimer);
  const auto alive = AliveToken();
  if (thumb) {
    SendScroll(SB_THUMBPOSITION, last);
    if (!*alive) return;
    tracking_ = false;
  }
  SendScroll(SB_ENDSCROLL, thumb ? last : 0);
  if (!*alive) return;
  EndPress();
  PaintBars();
}

void TacScrollWnd::Timer(UINT_PTR id) {
  HWND wnd = Wnd();
  if (id == kHoverTimer) {
    if (Bars().HotWnd != wnd) {
      KillTimer(wnd, kHoverTimer);
      return;
    }
    const POINT p = CursorInWindow();
    if (HitBar(p) != Bars().HotBar) {
      KillTimer(wnd, kHoverTimer);
      Bars().HotWnd = nullptr;
      Bars().HotBar = -1;
      Bars().HotElement = seNone;
      PaintBars();
      return;
    }
    const int el = ElementAt(Bars().HotBar, p);
    if (el != Bars().HotElement) {
      Bars().HotElement = el;
      PaintBars();
    }
    return;
  }
  if (id == kFirstRepeatTimer) {
    KillTimer(wnd, kFirstRepeatTimer);
    SetTimer(wnd, kRepeatTimer, kRepeatInterval, nullptr);
    return;
  }
  if (id == kRepeatTimer && Bars().PressedWnd == wnd && !tracking_) {
    const bool on = ElementAt(Bars().PressedBar, CursorInWindow()) == Bars().PressedElement;
    if (on != Bars().PressedShown) Bars().PressedShown = on;
    if (!on) return;
    ReadInfo();
    SendScroll(Bars().PressedElement, bars_[Bars().PressedBar].Info.nPos);
  }
}

bool TacScrollWnd::ScrollMessage(TMessage& m) {
  HWND wnd = Wnd();
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      CalcSize(m);
      return true;
    case WM_NCHITTEST: {
      RECT wr;
      GetWindowRect(wnd, &wr);
      const POINT p{GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top};
      const int k = HitBar(p);
      if (k >= 0) {
        m.Result = BarEnabled(k) ? (k == 1 ? HTVSCROLL : HTHSCROLL) : HTNOWHERE;
        return true;
      }
      if (bars_[0].Visible && bars_[1].Visible) {
        const RECT v = BarRect(1), h = BarRect(0);
        const RECT corner{v.left, h.top, v.right, h.bottom};
        HWND parent = GetParent(wnd);
        RECT pc{};
        if (parent) GetClientRect(parent, &pc);
        const POINT pos = PosInParent();
        const bool inCorner = parent && pos.y + (wr.bottom - wr.top) == pc.bottom &&
                              (leftScroll_ ? pos.x == 0 : pos.x + (wr.right - wr.left) == pc.right);
        if (PtInRect(&corner, p) && inCorner) {
          m.Result = HTBOTTOMRIGHT;
          return true;
        }
      }
      return false;
    }
    case WM_NCMOUSEMOVE:
      if (m.WParam == HTVSCROLL || m.WParam == HTHSCROLL) {
        const int kind = m.WParam == HTVSCROLL ? 1 : 0;
        if (Bars().HotWnd != wnd || Bars().HotBar != kind) {
          Bars().HotWnd = wnd;
          Bars().HotBar = kind;
          Bars().HotElement = seNone;
          SetTimer(wnd, kHoverTimer, kHoverInterval, nullptr);
          PaintBars();
        }
        return true;
      }
      return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (m.WParam == HTVSCROLL || m.WParam == HTHSCROLL) {
        ButtonDown(m);
        return true;
      }
      return false;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
      return m.WParam == HTVSCROLL || m.WParam == HTHSCROLL;
    case WM_MOUSEMOVE:
      if (Bars().PressedWnd != wnd) return false;
      {
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        ClientToScreen(wnd, &p);
        RECT wr;
        GetWindowRect(wnd, &wr);
        p.x -= wr.left;
        p.y -= wr.top;
        if (tracking_) {
          DragTo(p);
        } else {
          const bool on = ElementAt(Bars().PressedBar, p) == Bars().PressedElement;
          if (on != Bars().PressedShown) {
            Bars().PressedShown = on;
            PaintBars();
          }
        }
      }
      return true;
    case WM_LBUTTONUP:
      if (Bars().PressedWnd != wnd) return false;
      ButtonUp();
      return true;
    case WM_CAPTURECHANGED:
      if (Bars().PressedWnd == wnd && !releasing_ && reinterpret_cast<HWND>(m.LParam) != wnd) {
        EndPress();
        PaintBars();
      }
      return false;
    case WM_SYSCOMMAND:
      return m.WParam == 0xF077;
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
      if (preventStyleChange_) {
        m.Result = 0;
        return true;
      }
      if (m.Msg == WM_STYLECHANGED && m.WParam == static_cast<WPARAM>(GWL_EXSTYLE))
        leftScroll_ = (reinterpret_cast<STYLESTRUCT*>(m.LParam)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
      return false;
    default:
      return false;
  }
}

void TacScrollWnd::WndProc(TMessage& m) {
  if (ScrollMessage(m)) return;
  const auto alive = AliveToken();
  switch (m.Msg) {
    case WM_TIMER:
      if (IsOurTimer(m.WParam)) {
        Timer(m.WParam);
      } else {
        TacMainWnd::WndProc(m);
        if (!*alive) return;
      }
      if (!tracking_ && !busy_) UpdateBars();
      return;
    case WM_MOUSEWHEEL:
    case CM_MOUSEWHEEL:
      TacMainWnd::WndProc(m);
      if (*alive && !busy_) UpdateBars();
      return;
    case CM_FOCUSCHANGED:
      TacMainWnd::WndProc(m);
      if (*alive) UpdateBars();
      return;
    default:
      TacMainWnd::WndProc(m);
  }
}
