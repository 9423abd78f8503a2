#include "skin/frame/acDialogWnd.h"

#include <windowsx.h>

#include <algorithm>
#include <cctype>

#include "framework/Handles.h"
#include "skin/controls/acBtnWnd.h"
#include "skin/data/sColorShift.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/frame/acProviderList.h"
#include "skin/frame/sSystemMenu.h"
#include "skin/render/acGlow_win.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sGraphUtils_win.h"
#include "skin/render/sStateImage.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sStyleSimply_win.h"

namespace {

constexpr int32_t kMissingButtonSize = 21;
constexpr TsTitleButton kOrder[kSystemButtons] = {tbClose, tbMaximize, tbMinimize, tbHelp};
constexpr int32_t kCodes[kSystemButtons] = {kHtClose, kHtMaxButton, kHtMinButton, kHtHelp};

std::string LowerClass(HWND wnd) {
  char name[128] = {};
  GetClassNameA(wnd, name, sizeof name);
  std::string s(name);
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

struct ClassSearch {
  const char* name;
  bool found;
};

BOOL CALLBACK FindClass(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<ClassSearch*>(p);
  if (LowerClass(w) == s->name) s->found = true;
  return !s->found;
}

bool HasDescendantOfClass(HWND parent, const char* lowerName) {
  ClassSearch search{lowerName, false};
  EnumChildWindows(parent, &FindClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}


const TsMaskData* ImageOf(const TsSkinModel* model, int32_t index) {
  return model && index >= 0 && index < static_cast<int32_t>(model->Images.size())
             ? &model->Images[static_cast<size_t>(index)]
             : nullptr;
}

}  // namespace

// ---- Attaching ----------------------------------------------------------------------------

TacProvider* acSkinNativeDialog(HWND dialog) {
  // Two skinned dialogs on screen already: a third is skinned only when it holds a toolbar.
  int visible = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr))
    if (w != dialog && IsWindowVisible(w) && dynamic_cast<TacDialogWnd*>(TacMainWnd::Of(w))) ++visible;
  if (visible > 1 && !HasDescendantOfClass(dialog, "toolbarwindow32")) return nullptr;
  auto* entry = new TacProvider(dialog);  // the hook's list owns it
  auto handler = std::make_unique<TacDialogWnd>(entry);
  handler->Create(dialog, false, "DIALOG", DefaultManager(), nullptr);
  if (handler->Detached()) {
    entry->Free();
    return nullptr;
  }
  TacDialogWnd* h = handler.get();
  entry->DialogHandler = std::move(handler);
  h->AttachChildren();
  SendMessageA(dialog, SM_ALPHACMD, MakeSkinCommand(SkinCommand::NewSkin), reinterpret_cast<LPARAM>(DefaultManager()));
  return entry;
}

// ---- The dialog ---------------------------------------------------------------------------

TacDialogWnd::TacDialogWnd(TacProvider* entry) : entry_(entry) {}

// Detached here, while the dialog's own parts of the handler are still there.
TacDialogWnd::~TacDialogWnd() { Detach(); }

void TacDialogWnd::RestoreLook() {
  frame_.StopAnimations();
  const HWND wnd = Wnd();
  if (!IsWindow(wnd)) return;
  if (style_ & WS_SYSMENU) SetWindowLongPtrA(wnd, GWL_STYLE, GetWindowLongPtrA(wnd, GWL_STYLE) | WS_SYSMENU);
  SetWindowRgn(wnd, nullptr, FALSE);
  RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TacDialogWnd::CreateParts(bool) {
  const HWND wnd = Wnd();
  style_ = GetWindowLongPtrA(wnd, GWL_STYLE);
  exStyle_ = GetWindowLongPtrA(wnd, GWL_EXSTYLE);
  ChooseImages();
  // Windows is to draw no buttons or system menu of its own; the skinned menu takes its texts
  // from the window's own one, which the window has only while the style asks for it.
  if (style_ & WS_SYSMENU) GetSystemMenu(wnd, FALSE);
  if (style_ & WS_SYSMENU) SetWindowLongPtrA(wnd, GWL_STYLE, style_ & ~static_cast<LONG_PTR>(WS_SYSMENU));
  binding_->CacheStale = true;
}

void TacDialogWnd::ChooseImages() {
  const bool sizeable = (style_ & WS_THICKFRAME) != 0;
  frame_.ChooseButtonImages(sizeable, !(style_ & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)));
  // A dialog's buttons count as big icons by its frame alone, whichever set they came from.
  for (int b = 0; b < kSystemButtons; ++b) frame_.ButtonAt(static_cast<TsTitleButton>(b)).BigIcon = sizeable;
}

bool TacDialogWnd::ButtonShown(TsTitleButton b) const {
  switch (b) {
    case tbClose: return (style_ & WS_SYSMENU) != 0;
    case tbMaximize: return (style_ & WS_MAXIMIZEBOX) != 0;
    case tbMinimize: return (style_ & WS_MINIMIZEBOX) != 0;
    case tbHelp: return (exStyle_ & WS_EX_CONTEXTHELP) != 0;
  }
  return false;
}

bool TacDialogWnd::BigSetSpacing() const {
  const TsSkinModel* model = binding_->Model();
  const int32_t close = frame_.ButtonAt(tbClose).ImageIndex;
  return (style_ & WS_THICKFRAME) ||
         (model && ImageOf(model, close) && close == model->FindImage(model->Cache.GlobalInfo, "GLOBALINFO", "BICONCLOSE"));
}

std::string TacDialogWnd::FrameCaption() const {
  const int len = GetWindowTextLengthW(Wnd());
  std::wstring wide(static_cast<size_t>(std::max(len, 0)) + 1, L'\0');
  wide.resize(static_cast<size_t>(GetWindowTextW(Wnd(), wide.data(), len + 1)));
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
  return text;
}

TacCaptionLook TacDialogWnd::CaptionLook() const {
  TacCaptionLook look;
  look.Fitted = false;
  if (exStyle_ & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL)) look.ExtraFormat = DT_RIGHT | DT_RTLREADING;
  return look;
}

bool TacDialogWnd::RegionWanted() const {
  const LONG_PTR style = GetWindowLongPtrA(Wnd(), GWL_STYLE);
  if ((style & WS_POPUP) && !(style & (WS_CAPTION | WS_THICKFRAME))) return false;
  return SendMessageA(Wnd(), 0xBC4D, 16802, 0) != 16802;
}

bool TacDialogWnd::TitleAnimationsAllowed() const { return GlowingAllowed(manager_); }

TsFrameMetrics TacDialogWnd::Metrics() const {
  TsFrameMetrics m;
  const LONG_PTR style = GetWindowLongPtrA(Wnd(), GWL_STYLE);
  if (style & WS_THICKFRAME)
    m.SideBorder = GetSystemMetrics(SM_CXFRAME);
  else if (style & WS_BORDER)
    m.SideBorder = GetSystemMetrics(SM_CXDLGFRAME);
  if ((style & WS_CAPTION) == WS_CAPTION)
    m.CaptionHeight = GetSystemMetrics((exStyle_ & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  return m;
}

POINT TacDialogWnd::ClientOrigin() const {
  POINT p{0, 0};
  ClientToScreen(Wnd(), &p);
  RECT wr;
  GetWindowRect(Wnd(), &wr);
  return POINT{p.x - wr.left, p.y - wr.top};
}

void TacDialogWnd::RepaintFrame() { frame_.Repaint(); }

void TacDialogWnd::EraseClient(HDC dc) {
  if (binding_->CacheStale || !frame_.CacheMatchesWindow()) frame_.PrepareCache();
  const TBitmap* cache = binding_->Cache();
  RECT c;
  GetClientRect(Wnd(), &c);
  if (!cache || cache->Empty()) {
    FillDcRect(dc, c, binding_->GetBgColor(0, Wnd()));
    return;
  }
  const POINT o = ClientOrigin();
  BitBlt(dc, 0, 0, c.right, c.bottom, const_cast<TBitmap*>(cache)->Canvas().Handle(), o.x, o.y, SRCCOPY);
}

void TacDialogWnd::AttachChildren() {
  if (entry_) EnumChildWindows(Wnd(), &AttachChild, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK TacDialogWnd::AttachChild(HWND w, LPARAM p) {
  auto* self = reinterpret_cast<TacDialogWnd*>(p);
  if (!(GetWindowLongPtrA(w, GWL_STYLE) & WS_CHILD) || HandlesSkinCommands(w)) return TRUE;
  const std::string cls = LowerClass(w);
  const LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
  std::unique_ptr<TacMainWnd> handler;
  std::string section;
  if (cls == "button") {
    const LONG_PTR kind = style & BS_TYPEMASK;
    // Group boxes, check boxes and radio buttons have no handler of their own here.
    if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) {
      handler = std::make_unique<TacBtnWnd>();
      section = "BUTTON";
    }
  } else if (cls == "static") {
    const LONG_PTR kind = style & SS_TYPEMASK;
    const bool skipped = kind == SS_OWNERDRAW || kind == SS_ENHMETAFILE || kind == SS_BLACKRECT ||
                         kind == SS_GRAYRECT || kind == SS_WHITERECT || kind == SS_BLACKFRAME || kind == SS_GRAYFRAME ||
                         kind == SS_WHITEFRAME || kind == SS_SIMPLE || kind == SS_ETCHEDHORZ ||
                         kind == SS_ETCHEDVERT || kind == SS_ETCHEDFRAME;
    if (!skipped) {
      handler = std::make_unique<TacStaticWnd>();
      section = "CHECKBOX";
    }
  }
  // The engine's handlers for other kinds of children are not part of this program.
  if (!handler) return TRUE;
  handler->Create(w, false, section, self->manager_, nullptr);
  if (!handler->Detached()) self->entry_->ChildHandlers.push_back(std::move(handler));
  return TRUE;
}

// ---- Hit testing and the title buttons ----------------------------------------------------

int32_t TacDialogWnd::HitTest(POINT screen) {
  RECT wr;
  GetWindowRect(Wnd(), &wr);
  const int x = screen.x - wr.left, y = screen.y - wr.top;
  const TsFrameMetrics fm = Metrics();
  const TsMaskData* close = ImageOf(binding_->Model(), frame_.ButtonAt(tbClose).ImageIndex);
  const int closeHeight = close ? close->CellHeight() : kMissingButtonSize;
  const int bandTop = (fm.TitleBandHeight() - closeHeight) / 2;
  if (fm.CaptionHeight <= 0 || y < bandTop || y > bandTop + closeHeight) return kHtNowhere;
  if (x >= fm.SideBorder && x <= fm.SideBorder + GetSystemMetrics(SM_CXSMICON) && (style_ & WS_SYSMENU)) return HTSYSMENU;
  for (TsTitleButton b : kOrder) {
    const TsRect& rect = frame_.ButtonAt(b).Rect;
    if (!ButtonShown(b) || IsRectEmpty(rect)) continue;
    if (x >= rect.Left && x <= rect.Right - 1) {
      const bool enabled = b != tbMaximize && b != tbMinimize;  // a dialog's boxes need the platform's rules
      return enabled ? kCodes[b] : kHtCaption;
    }
  }
  return kHtCaption;
}

void TacDialogWnd::StopAnimations() {
  if (frame_.StopAnimations()) RepaintFrame();
}

void TacDialogWnd::ShowSystemMenu(int x, int y) { frame_.ShowSystemMenu(x, y); }

std::optional<std::vector<TsSysMenuItem>> TacDialogWnd::SystemMenuItems() {
  const HWND wnd = Wnd();
  const bool zoomed = IsZoomed(wnd) != FALSE, iconic = IsIconic(wnd) != FALSE;
  const bool maxBox = (style_ & WS_MAXIMIZEBOX) != 0, minBox = (style_ & WS_MINIMIZEBOX) != 0;
  // A popup without a caption has no frame to size; a modal frame is a dialog's; any other
  // counts as sizeable.
  const bool dialogFrame = (style_ & DS_MODALFRAME) && !(style_ & WS_THICKFRAME);
  const bool noFrame = (style_ & WS_POPUP) && (style_ & WS_CAPTION) != WS_CAPTION;
  const bool sizeable = !dialogFrame && !noFrame;
  auto item = [&](UINT command, const char* own, bool visible, bool enabled) {
    return TsSysMenuItem{"", command, SystemCommandText(wnd, command, own), visible, enabled};
  };
  const std::vector<TsSysMenuItem> items = {
      item(SC_RESTORE, "Restore", maxBox && (zoomed || iconic), maxBox && (zoomed || iconic)),
      item(SC_MOVE, "Move", true, !zoomed),
      item(SC_SIZE, "Size", sizeable, sizeable && !iconic),
      item(SC_MINIMIZE, "Minimize", minBox, !iconic),
      item(SC_MAXIMIZE, "Maximize", maxBox, !zoomed && sizeable),
      TsSysMenuItem{},
      item(SC_CLOSE, "Close", (style_ & WS_SYSMENU) != 0, true)};
  return items;
}

// ---- Skin commands and messages -----------------------------------------------------------

namespace {

// A skin command the dialog heard, passed on to its child's handler (the system calls this
// back, so it has the system's calling convention).
BOOL CALLBACK ForwardSkinCommand(HWND child, LPARAM command) {
  const auto* c = reinterpret_cast<const TMessage*>(command);
  if (TacMainWnd::Of(child)) SendMessageA(child, SM_ALPHACMD, c->WParam, c->LParam);
  return TRUE;
}

}  // namespace

bool TacDialogWnd::AnswerSkinCommand(TMessage& m) {
  auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
  TsCommonData& sd = *binding_;
  switch (m.WParamHi()) {
    case SkinCommand::NewSkin:
    case SkinCommand::RefreshSkin:
      if (manager && manager != manager_) return true;
      frame_.StopAnimations();
      sd.UpdateIndexes();
      ChooseImages();
      sd.CacheStale = true;
      frame_.MarkRegionChanged();
      // The buttons and texts keep pictures of their own.
      EnumChildWindows(Wnd(), &ForwardSkinCommand, reinterpret_cast<LPARAM>(&m));
      if (IsWindowVisible(Wnd()))
        RedrawWindow(Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return true;
    case SkinCommand::GetNeedsRepaint:
      m.Result = sd.CacheStale;
      return true;
    case SkinCommand::GetTransparency:
      m.Result = 0;
      return true;
    case SkinCommand::GetBackgroundColor:
      m.Result = static_cast<LRESULT>(static_cast<uint32_t>(ColorToRGB(sd.GetBgColor(active_ ? 1 : 0, Wnd()))));
      return true;
    case SkinCommand::GetBackgroundInfo: {
      auto* q = reinterpret_cast<ParentBgQuery*>(m.LParam);
      if (!q) return true;
      if (sd.CacheStale || !frame_.CacheMatchesWindow()) frame_.PrepareCache();
      sd.FillBgQuery(*q, active_ ? 1 : 0, Wnd());
      if (q->AnswerKind == akBitmap) {
        const POINT o = ClientOrigin();
        q->Offset.X += o.x;
        q->Offset.Y += o.y;
      }
      return true;
    }
    case SkinCommand::ClientOrigin: {
      const POINT o = ClientOrigin();
      m.Result = MAKELONG(o.x, o.y);
      return true;
    }
    default:
      return false;
  }
}

void TacDialogWnd::WndProc(TMessage& m) {
  TsCommonData& sd = *binding_;
  const HWND wnd = Wnd();
  if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) {
    frame_.StopAnimations();
    TacProvider* entry = entry_;
    TacMainWnd::WndProc(m);  // gives the window its own procedure back
    if (entry) entry->DialogDestroyed = true;
    return;
  }
  if (m.Msg == SM_ALPHACMD && AnswerSkinCommand(m)) return;
  if (!sd.IsSkinned()) {
    TacMainWnd::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_NCPAINT:
      frame_.PaintNow();
      m.Result = 1;
      return;
    case WM_NCACTIVATE:
      if (IsWindowVisible(wnd)) {
        SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
        if (!PassOn(m)) return;
        active_ = m.WParam != 0;
        SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
        RepaintFrame();
        m.Result = TRUE;
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (!childrenAttached_) {
        childrenAttached_ = true;
        AttachChildren();
      }
      EraseClient(reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return;
    case WM_CTLCOLORDLG: {
      const TColor colour = ColorToRGB(manager_ ? manager_->GetGlobalColor() : clBtnFace);
      if (!backgroundBrush_ || colour != backgroundColour_) {
        backgroundBrush_.reset(CreateSolidBrush(colour));
        backgroundColour_ = colour;
      }
      m.Result = reinterpret_cast<LRESULT>(backgroundBrush_.get());
      return;
    }
    case WM_SIZE:
      sd.CacheStale = true;
      frame_.MarkRegionChanged();
      break;
    case WM_MOVE:
      StopAnimations();
      break;
    case WM_SHOWWINDOW:
      if (!m.WParam) StopAnimations();
      break;
    case WM_ENABLE:
    case WM_SETTEXT:
      if (IsWindowVisible(wnd)) {
        if (!PassOn(m)) return;
        RepaintFrame();
        return;
      }
      break;
    case WM_NCHITTEST: {
      const int32_t code = HitTest(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      if (code == kHtNowhere || code == kHtCaption) {
        if (!frame_.Pressed()) frame_.SetHot(0, false);
        if (!PassOn(m)) return;
        return;
      }
      if (!frame_.Pressed() || code != frame_.HotCode())
        frame_.SetHot(code, frame_.Pressed() && code == frame_.HotCode());
      m.Result = code;
      return;
    }
    case WM_NCLBUTTONDOWN:
      if (m.WParam == HTCLOSE) {
        SetCapture(wnd);
        frame_.SetHot(kHtClose, true);
        return;
      }
      if (m.WParam == HTSYSMENU) {
        RECT wr;
        GetWindowRect(wnd, &wr);
        const TsFrameMetrics fm = Metrics();
        ShowSystemMenu(wr.left + fm.SideBorder, wr.top + fm.SideBorder + GetSystemMetrics(SM_CYSMICON));
        return;
      }
      break;
    case WM_NCLBUTTONDBLCLK:
      if (m.WParam == HTSYSMENU) {
        PostMessageA(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
      }
      break;
    case WM_NCRBUTTONUP:
      if (m.WParam == HTCAPTION || m.WParam == HTSYSMENU) {
        frame_.SetHot(0, false);
        ShowSystemMenu(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        return;
      }
      break;
    case WM_SETFOCUS:
      if (!PassOn(m)) return;
      RedrawWindow(GetActiveWindow(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      return;
    case 0x0401:
    case 0x052E:
      // Some dialogs make further controls on these.
      if (!PassOn(m)) return;
      AttachChildren();
      return;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP:
      if (frame_.Pressed()) {
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        if (m.Msg == WM_LBUTTONUP) ClientToScreen(wnd, &p);
        const bool onClose = HitTest(p) == kHtClose;
        ReleaseCapture();
        frame_.SetHot(0, false);
        if (onClose) PostMessageA(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
      }
      break;
    case WM_CANCELMODE:
      if (frame_.Pressed() && GetCapture() == wnd) ReleaseCapture();
      if (frame_.Pressed()) frame_.SetHot(0, false);
      break;
    case WM_CAPTURECHANGED:
      // Whoever took the mouse ends the press.
      if (frame_.Pressed()) frame_.SetHot(0, false);
      break;
    case WM_MOUSEMOVE:
      if (frame_.Pressed()) {
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        ClientToScreen(wnd, &p);
        // Leaving the pressed button lets go of it; coming back does not press it again.
        if (HitTest(p) != kHtClose) ReleaseCapture();
      }
      if (IsWindowEnabled(wnd))
        if (TsSkinManager* dm = DefaultManager()) dm->SetActiveControl(nullptr);
      break;
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
      if (!frame_.Pressed()) frame_.SetHot(0, false);
      break;
    case WM_NCRBUTTONDOWN:
      if (m.WParam == HTCAPTION || m.WParam == HTSYSMENU) return;
      break;
    default:
      break;
  }
  TacMainWnd::WndProc(m);
}

// ---- Static texts and icons ---------------------------------------------------------------

void TacStaticWnd::Paint(HDC dc) {
  const HWND wnd = Wnd();
  RECT c;
  GetClientRect(wnd, &c);
  if (c.right <= 0 || c.bottom <= 0) return;
  if (picture_.Width() != c.right || picture_.Height() != c.bottom) picture_.SetSize(c.right, c.bottom);
  ParentBgQuery q;
  const HWND parent = GetParent(wnd);
  if (parent) GetParentBg(q, parent, false);
  const POINT pos = PosInParent();
  Bitmap32 view = picture_.View();
  PaintSection(binding_->Binding(), BgInfoFromQueryWin(q), true, view, TsPoint{pos.x, pos.y},
               TsRect{0, 0, c.right, c.bottom}, 0);
  HDC mem = picture_.Canvas().Handle();
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
  if ((style & SS_TYPEMASK) == SS_ICON) {
    if (auto icon = reinterpret_cast<HICON>(SendMessageA(wnd, STM_GETICON, 0, 0)))
      DrawIconEx(mem, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  } else {
    const int n = GetWindowTextLengthA(wnd);
    std::string text(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(wnd, text.data(), n + 1)));
    UINT format = DT_EXPANDTABS;
    const LONG_PTR kind = style & SS_TYPEMASK;
    if (kind == SS_CENTER) format |= DT_CENTER | DT_WORDBREAK;
    else if (kind == SS_RIGHT) format |= DT_RIGHT | DT_WORDBREAK;
    else if (kind == SS_LEFTNOWORDWRAP) format |= DT_LEFT;
    else format |= DT_LEFT | DT_WORDBREAK;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    TsSkinManager* m = manager_ ? manager_ : DefaultManager();
    const TColor colour = m ? m->GetGlobalFontColor() : clWindowText;
    SelectedObject font(mem, reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0)));
    SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, ColorToRGB(IsKeyColor(colour) ? clWindowText : colour));
    RECT r = c;
    DrawTextA(mem, text.c_str(), static_cast<int>(text.size()), &r, format);
  }
  BitBlt(dc, 0, 0, c.right, c.bottom, mem, 0, 0, SRCCOPY);
}

// Texts and icons are drawn on the skin's background; pictures, frames and rectangles are the
// system's to draw.
bool TacStaticWnd::DrawnBySkin() const {
  switch (GetWindowLongPtrA(Wnd(), GWL_STYLE) & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_ICON:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
      return true;
    default:
      return false;
  }
}

void TacStaticWnd::WndProc(TMessage& m) {
  if (!binding_->IsSkinned() || !DrawnBySkin()) {
    TacMainWnd::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (HDC given = reinterpret_cast<HDC>(m.WParam)) {
        Paint(given);
      } else {
        PaintDC dc(Wnd());
        Paint(dc.get());
      }
      m.Result = 0;
      return;
    case WM_SETTEXT:
    case STM_SETICON:
    case STM_SETIMAGE:
      if (!PassOn(m)) return;
      InvalidateRect(Wnd(), nullptr, FALSE);
      return;
    default:
      TacMainWnd::WndProc(m);
      return;
  }
}
