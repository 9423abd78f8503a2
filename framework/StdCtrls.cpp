#include "framework/StdCtrls.h"

#include "framework/Forms.h"
#include "framework/Handles.h"

namespace {

constexpr uint32_t kNoMouseClicks = csClickEvents | csCaptureMouse;

// Windows' own button and edit controls click and capture by themselves.
void UseSystemMouse(TControl* c) { c->SetControlStyle(c->ControlStyle() & ~kNoMouseClicks); }

}  // namespace

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() | csOpaque);
  SetBounds(0, 0, 65, 17);
}

void TLabel::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  SetControlStyle(v ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
  Invalidate();
}

void TLabel::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout v) {
  if (v == layout_) return;
  layout_ = v;
  Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
  if (v == showAccelChar_) return;
  showAccelChar_ = v;
  AdjustBounds();
  Invalidate();
}

UINT TLabel::DrawTextFlags() const {
  UINT flags = DT_EXPANDTABS;
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  switch (alignment_) {
    case TAlignment::taLeftJustify: flags |= DT_LEFT; break;
    case TAlignment::taRightJustify: flags |= DT_RIGHT; break;
    case TAlignment::taCenter: flags |= DT_CENTER; break;
  }
  return flags;
}

void TLabel::DoDrawText(RECT& rect, UINT flags) {
  std::string text = Caption();
  // An empty caption still measures one line high.
  if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(Font());
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  if (!Enabled() && !(flags & DT_CALCRECT)) {
    RECT shifted = rect;
    OffsetRect(&shifted, 1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(text, shifted, flags);
    canvas.Font().SetColor(clBtnShadow);
  }
  canvas.DrawText(text, rect, flags);
}

void TLabel::Paint() {
  TCanvas& canvas = Canvas();
  RECT r = ClientRect();
  if (!transparent_) {
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
  }
  const UINT flags = DrawTextFlags();
  if (layout_ != TTextLayout::tlTop) {
    RECT calc = r;
    DoDrawText(calc, flags | DT_CALCRECT);
    const int h = calc.bottom - calc.top;
    const int offset = layout_ == TTextLayout::tlBottom ? (r.bottom - r.top) - h : ((r.bottom - r.top) - h) / 2;
    OffsetRect(&r, 0, offset);
  }
  DoDrawText(r, flags);
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || IsLoading()) return;
  RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  {
    WindowDC screen(nullptr);
    if (!screen.get()) return;
    Canvas().SetHandle(screen.get());
    DoDrawText(r, DrawTextFlags() | DT_CALCRECT);
    Canvas().SetHandle(nullptr);
  }
  int left = Left();
  const int width = wordWrap_ ? Width() : r.right - r.left;
  if (!wordWrap_ && alignment_ == TAlignment::taRightJustify) left += Width() - width;
  SetBounds(left, Top(), width, r.bottom - r.top);
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) {
    AdjustBounds();
    Invalidate();
  }
  TGraphicControl::WndProc(m);
}

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  UseSystemMouse(this);
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  // A focused button stays the default one; otherwise the new Default setting shows.
  TForm* form = GetParentForm(this);
  if (!form || !dynamic_cast<TButton*>(form->ActiveControl())) SetButtonStyle(v);
}

void TButton::SetButtonStyle(bool isDefault) {
  if (!HandleAllocated()) return;
  const DWORD type = static_cast<DWORD>(GetWindowLongPtrA(handle_, GWL_STYLE)) & BS_TYPEMASK;
  const DWORD wanted = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) && type != wanted)
    SendMessageA(handle_, BM_SETSTYLE, wanted, TRUE);
}

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  TWinControl::Click();
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  if (m.Msg == CM_FOCUSCHANGED) {
    auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
    SetButtonStyle(dynamic_cast<TButton*>(focused) ? focused == this : default_);
    return;
  }
  if (m.Msg == BM_SETSTYLE && HandleAllocated()) {
    // Someone asking for a (default) push button must not undo owner drawing: the owner-drawn
    // face shows the default state itself.
    const DWORD type = static_cast<DWORD>(GetWindowLongPtrA(handle_, GWL_STYLE)) & BS_TYPEMASK;
    const DWORD asked = static_cast<DWORD>(m.WParam) & BS_TYPEMASK;
    if (type == BS_OWNERDRAW && (asked == BS_PUSHBUTTON || asked == BS_DEFPUSHBUTTON)) {
      m.WParam = (m.WParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW;
      TWinControl::WndProc(m);
      SetButtonStyle(asked == BS_DEFPUSHBUTTON);
      return;
    }
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
  UseSystemMouse(this);
  SetTabStop(true);
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= BS_3STATE;
  if (alignment_ == TAlignment::taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TCheckBox::CreateHandleDone() {
  SendMessageA(handle_, BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCheckBox::SetState(TCheckBoxState v) {
  if (v == state_) return;
  state_ = v;
  if (HandleAllocated()) SendMessageA(handle_, BM_SETCHECK, static_cast<WPARAM>(v), 0);
  if (!IsLoading()) Click();
}

void TCheckBox::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  RecreateWnd();
}

void TCheckBox::Toggle() {
  switch (state_) {
    case TCheckBoxState::cbUnchecked:
      SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
      break;
    case TCheckBoxState::cbGrayed:
      SetState(TCheckBoxState::cbChecked);
      break;
    case TCheckBoxState::cbChecked:
      SetState(TCheckBoxState::cbUnchecked);
      break;
  }
}

void TCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Toggle();
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner) {
  UseSystemMouse(this);
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= BS_RADIOBUTTON;
  if (alignment_ == TAlignment::taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateHandleDone() {
  SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  if (v && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
      if (sibling && sibling != this) sibling->SetChecked(false);
    }
  }
  checked_ = v;
  SetTabStop(v);
  if (HandleAllocated()) SendMessageA(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (v && !IsLoading()) Click();
}

bool TRadioButton::TakesTab() const {
  if (TabStop() || !Parent()) return TabStop();
  // The group is the parent's radio buttons; the first in tab order stands for an unchecked one.
  std::vector<TWinControl*> order;
  Parent()->GetTabOrderList(order);
  const TRadioButton* first = nullptr;
  for (TWinControl* c : order) {
    auto* radio = dynamic_cast<TRadioButton*>(c);
    if (!radio || radio->Parent() != Parent()) continue;
    if (radio->Checked()) return false;
    if (!first) first = radio;
  }
  return first == this;
}

void TRadioButton::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  RecreateWnd();
}

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    SetChecked(true);
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TCustomEdit, TEdit, TMemo

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  UseSystemMouse(this);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "EDIT");
  p.Style |= ES_AUTOHSCROLL;
  if (readOnly_) p.Style |= ES_READONLY;
  p.ExStyle |= WS_EX_CLIENTEDGE;
  p.Cursor = LoadCursorA(nullptr, IDC_IBEAM);
}

void TCustomEdit::CreateHandleDone() {
  SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetMaxLength(int v) {
  if (v < 0) v = 0;
  maxLength_ = v;
  if (HandleAllocated()) SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(v), 0);
}

void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (HandleAllocated()) SendMessageA(handle_, EM_SETREADONLY, v ? TRUE : FALSE, 0);
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageA(handle_, EM_SETSEL, 0, -1);
}

void TCustomEdit::SetText(const std::string& value) {
  if (value == Text()) return;
  // The edit window reports the change itself (EN_CHANGE) for single-line edits; without
  // a window, or where Windows stays silent, we report it.
  sawChange_ = false;
  TWinControl::SetText(value);
  if (!sawChange_) Change();
}

void TCustomEdit::Change() {
  if (IsLoading()) return;
  if (OnChange) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    sawChange_ = true;
    Change();
    return;
  }
  TWinControl::WndProc(m);
}

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

TMemo::TMemo(TComponent* AOwner) : TCustomEdit(AOwner) { SetBounds(0, 0, 185, 89); }

void TMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  p.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
  if (!wordWrap_) p.Style |= ES_AUTOHSCROLL;
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) p.Style |= WS_VSCROLL;
  if (!wordWrap_ && (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth))
    p.Style |= WS_HSCROLL;
}

void TMemo::SetText(const std::string& value) {
  std::string text;
  text.reserve(value.size() + value.size() / 16);
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\r') {
      text += "\r\n";
      if (i + 1 < value.size() && value[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      text += "\r\n";
    } else {
      text += c;
    }
  }
  TCustomEdit::SetText(text);
}

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  const std::string text = Text();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  SetText(text);
}

void TMemo::SetScrollBars(TScrollStyle v) {
  if (v == scrollBars_) return;
  scrollBars_ = v;
  RecreateWnd();
}

void TMemo::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  RecreateWnd();
}

void TMemo::WndProc(TMessage& m) {
  TCustomEdit::WndProc(m);
  if (m.Msg == WM_GETDLGCODE && !wantTabs_) {
    // Tab and Escape move on or close, as in any dialog.
    m.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
    if (m.WParam == VK_TAB || m.WParam == VK_ESCAPE) m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
  }
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetBounds(0, 0, 185, 105);
}

void TGroupBox::Paint() {
  TCanvas& canvas = Canvas();
  const RECT client = ClientRect();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(client);
  const std::string text = Caption();
  const int h = canvas.TextHeight("0");
  RECT frame{0, h / 2 - 1, client.right, client.bottom};
  DrawEdge(canvas.Handle(), &frame, EDGE_ETCHED, BF_RECT);
  if (!text.empty()) {
    RECT r{8, 0, 0, h};
    canvas.DrawText(text, r, DT_SINGLELINE | DT_CALCRECT);
    r.left -= 2;
    r.right += 2;
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.FillRect(r);
    r.left += 2;
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetColor(Enabled() ? Font().Color() : clGrayText);
    canvas.DrawText(text, r, DT_SINGLELINE);
  }
}

void TGroupBox::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) Invalidate();
  TCustomControl::WndProc(m);
}
