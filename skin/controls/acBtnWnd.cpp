#include "skin/controls/acBtnWnd.h"

#include <algorithm>
#include <string>

#include "skin/data/sColorShift.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sGraphUtils_win.h"
#include "skin/render/sStateImage.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sStyleSimply_win.h"

namespace {

// The font a plain window reports, as a framework font.
void AssignWindowFont(TFont& font, HWND wnd) {
  auto handle = reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (!handle || !GetObjectA(handle, sizeof lf, &lf)) handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (!GetObjectA(handle, sizeof lf, &lf)) return;
  font.SetName(lf.lfFaceName);
  font.SetHeight(lf.lfHeight);
  font.SetCharset(lf.lfCharSet);
  TFontStyles style = 0;
  if (lf.lfWeight >= FW_BOLD) style |= fsBold;
  if (lf.lfItalic) style |= fsItalic;
  if (lf.lfUnderline) style |= fsUnderline;
  if (lf.lfStrikeOut) style |= fsStrikeOut;
  font.SetStyle(style);
}

std::string CaptionOf(HWND wnd) {
  const int n = GetWindowTextLengthA(wnd);
  std::string text(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(wnd, text.data(), n + 1)));
  return text;
}

}  // namespace

void TacBtnWnd::CreateParts(bool) {
  if (binding_->SkinSection().empty()) binding_->SetSkinSection("BUTTON");
  binding_->CacheStale = true;
}

// ---- State ------------------------------------------------------------------------------

bool TacBtnWnd::HotTracked() const {
  TsSkinManager* m = manager_ ? manager_ : DefaultManager();
  return m && m->ActiveControl() == Wnd();
}

int TacBtnWnd::ButtonState() const {
  const HWND wnd = Wnd();
  if (SendMessageA(wnd, BM_GETSTATE, 0, 0) & BST_PUSHED) return 2;
  if (!IsWindowEnabled(wnd)) return 0;
  if (GetFocus() == wnd || HotTracked()) return 1;
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
  const bool isDefault = Control() ? (style & 0xF) == BS_DEFPUSHBUTTON : (style & 1) != 0;
  return isDefault ? 1 : 0;
}

// ---- Painting ---------------------------------------------------------------------------

HFONT TacBtnWnd::Font() const {
  return reinterpret_cast<HFONT>(SendMessageA(Wnd(), WM_GETFONT, 0, 0));
}

// A multi-line button breaks its caption into lines; any other keeps one line, as the
// platform's own button does.
UINT TacBtnWnd::TextFlags() const {
  const LONG_PTR style = GetWindowLongPtrA(Wnd(), GWL_STYLE);
  return DT_CENTER | DT_EXPANDTABS | ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE);
}

RECT TacBtnWnd::CaptionRect(HDC measure, int state) const {
  RECT wr;
  GetWindowRect(Wnd(), &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  const std::string text = CaptionOf(Wnd());
  int tw = 0, th = 0;
  if (!text.empty()) {
    RECT m{0, 0, std::max(w - 2, 0), 0};
    DrawTextA(measure, text.c_str(), static_cast<int>(text.size()), &m, DT_CALCRECT | DT_NOPREFIX | TextFlags());
    tw = m.right - m.left;
    th = m.bottom - m.top;
  }
  const int dx = (w - tw) / 2, dy = (h - th) / 2;
  RECT r{dx - 1, dy, w - dx + 2, h - dy};
  if (state == 2) OffsetRect(&r, 1, 1);
  return r;
}

void TacBtnWnd::DrawCaption(int state) {
  TsCommonData& sd = *binding_;
  TCanvas& canvas = cache_.Canvas();
  if (Control())
    canvas.Font().Assign(Control()->Font());
  else
    AssignWindowFont(canvas.Font(), Wnd());
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  RECT r = CaptionRect(canvas.Handle(), state);
  const std::string text = CaptionOf(Wnd());
  UINT format = TextFlags();
  if (GetWindowLongPtrA(Wnd(), GWL_EXSTYLE) & WS_EX_RTLREADING) format |= DT_RTLREADING;
  WriteSkinText(canvas, text, true, state != 0, sd, format, r);
  const TsGeneralData* g = sd.Section();
  const bool focused = SendMessageA(Wnd(), BM_GETSTATE, 0, 0) & BST_FOCUS;
  if (IsWindowEnabled(Wnd()) && focused && !text.empty() && g && g->ShowFocus) {
    Bitmap32 view = cache_.View();
    DrawFocusDots(view, TsRect{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1});
  }
}

void TacBtnWnd::PrepareCache() {
  TsCommonData& sd = *binding_;
  RECT wr;
  GetWindowRect(Wnd(), &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  if (cache_.Width() != w || cache_.Height() != h) cache_.SetSize(w, h);
  ParentBgQuery q;
  const HWND parent = GetParent(Wnd());
  if (parent) GetParentBg(q, parent, false);
  const BackgroundSource bg = BgInfoFromQueryWin(q);
  const POINT pos = PosInParent();
  const TsPoint origin{pos.x, pos.y};
  const int state = ButtonState();
  Bitmap32 view = cache_.View();
  PaintSection(sd.Binding(), bg, true, view, origin, TsRect{0, 0, w, h}, state);
  DrawCaption(state);
  if (!IsWindowEnabled(Wnd())) {
    PaintDisabledOverBackground(view, dkBlended, GetControlColor(parent), origin, bg);
  }
  sd.CacheStale = false;
}

void TacBtnWnd::Paint(TMessage& m) {
  TsCommonData& sd = *binding_;
  const HWND wnd = Wnd();
  const bool printing = m.Msg == WM_PRINT;
  PAINTSTRUCT ps{};
  HDC given = reinterpret_cast<HDC>(m.WParam);
  HDC dc = printing ? given : BeginPaint(wnd, &ps);
  if (!printing && given) dc = given;
  if (dc && (printing || !acEngine().EffectRunning)) {
    sd.PaintingSuspended = sd.IsPaintingSuspended();
    if (!sd.PaintingSuspended) {
      sd.CacheStale = true;
      PrepareCache();
      if (!cache_.Empty())
        BitBlt(dc, 0, 0, cache_.Width(), cache_.Height(), cache_.Canvas().Handle(), 0, 0, SRCCOPY);
    }
  }
  if (!printing) EndPaint(wnd, &ps);
  m.Result = 0;
}

void TacBtnWnd::Redraw(UINT flags) {
  binding_->CacheStale = true;
  RedrawWindow(Wnd(), nullptr, nullptr, flags);
}

void TacBtnWnd::QuietStateChange(TMessage& m, UINT redrawFlags) {
  const HWND wnd = Wnd();
  SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
  const std::shared_ptr<bool> alive = AliveToken();
  const bool stillHere = PassOn(m);
  if (!IsWindow(wnd)) return;
  SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
  if (!stillHere || !*alive) return;
  Redraw(redrawFlags);
}

// ---- Messages ---------------------------------------------------------------------------

void TacBtnWnd::WndProc(TMessage& m) {
  TsCommonData& sd = *binding_;
  const HWND wnd = Wnd();
  if (!sd.IsSkinned() || Detached()) {
    TacMainWnd::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_PAINT:
      if (IsWindowVisible(wnd)) {
        Paint(m);
        return;
      }
      break;
    case WM_PRINT:
      Paint(m);
      return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_UPDATEUISTATE:
      m.Result = 1;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (IsWindowEnabled(wnd)) {
        QuietStateChange(m, RDW_UPDATENOW | RDW_INVALIDATE | RDW_FRAME);
        return;
      }
      break;
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETSTATE:
      if (IsWindowVisible(wnd)) {
        if (m.Msg == WM_SETTEXT) {
          // The base keeps the caption the handler paints.
          SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
          const std::shared_ptr<bool> alive = AliveToken();
          TacMainWnd::WndProc(m);
          if (!IsWindow(wnd)) return;
          SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
          if (*alive) Redraw(RDW_UPDATENOW | RDW_INVALIDATE);
          return;
        }
        QuietStateChange(m, RDW_UPDATENOW | RDW_INVALIDATE);
        return;
      }
      break;
    case WM_MOVE: {
      const TsGeneralData* g = sd.Section();
      if (g && (g->StateProps[0].Transparency > 0 || (g->StateProps[1].Transparency > 0 && ButtonState() != 0))) {
        if (!PassOn(m)) return;
        Redraw(RDW_INVALIDATE);
        return;
      }
      break;
    }
    case WM_MOUSEMOVE: {
      const std::shared_ptr<bool> alive = AliveToken();
      if (!PassOn(m) || !*alive) return;
      TsSkinManager* manager = manager_ ? manager_ : DefaultManager();
      if (!manager || !IsWindowEnabled(wnd)) return;
      RECT wr;
      GetWindowRect(wnd, &wr);
      POINT p;
      GetCursorPos(&p);
      if (PtInRect(&wr, p)) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, wnd, 0};
        TrackMouseEvent(&t);
        manager->SetActiveControl(wnd);
      } else if (manager->ActiveControl() == wnd) {
        manager->SetActiveControl(nullptr);
      }
      return;
    }
    case WM_MOUSEHOVER:
      SendSkinCommand(wnd, SkinCommand::ActiveControlEnter);
      break;
    case WM_MOUSELEAVE: {
      TsSkinManager* manager = manager_ ? manager_ : DefaultManager();
      if (manager && manager->ActiveControl() == wnd) manager->SetActiveControl(nullptr);
      break;
    }
    case SM_ALPHACMD:
      switch (m.WParamHi()) {
        case SkinCommand::ActiveControlEnter: {
          RECT wr;
          GetWindowRect(wnd, &wr);
          POINT p;
          GetCursorPos(&p);
          if (PtInRect(&wr, p) && HotTracked()) {
            sd.MouseOver = true;
            sd.PaintingSuspended = false;
            Redraw(RDW_INVALIDATE);
          }
          return;
        }
        case SkinCommand::ActiveControlLeave:
          if (sd.MouseOver) {
            sd.MouseOver = false;
            Redraw(RDW_INVALIDATE);
          }
          return;
        case SkinCommand::ResumePainting:
          if (sd.PaintingSuspended) {
            sd.PaintingSuspended = sd.IsPaintingSuspended();
            if (!sd.PaintingSuspended)
              RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
          }
          return;
        default:
          break;
      }
      break;
    default:
      break;
  }
  TacMainWnd::WndProc(m);
}
