#include "framework/ComCtrls.h"

#include <commctrl.h>

#include <cstring>
#include <optional>

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& p) {
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)initialised;
  TWinControl::CreateParams(p);
  CreateSubClass(p, PROGRESS_CLASSA);
  if (orientation_ == TProgressBarOrientation::pbVertical) p.Style |= PBS_VERTICAL;
  if (smooth_) p.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateHandleDone() {
  SendMessageA(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetRange(int min, int max) {
  if (max < min) max = min;
  min_ = min;
  max_ = max;
  if (position_ < min_) position_ = min_;
  if (position_ > max_) position_ = max_;
  if (HandleAllocated()) CreateHandleDone();
}

void TProgressBar::SetPosition(int v) {
  if (v < min_) v = min_;
  if (v > max_) v = max_;
  if (v == position_) return;
  position_ = v;
  if (HandleAllocated()) SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(v), 0);
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  if (HandleAllocated()) RecreateWnd();
}

void TProgressBar::SetSmooth(bool v) {
  if (v == smooth_) return;
  smooth_ = v;
  if (HandleAllocated()) RecreateWnd();
}

void TProgressBar::SetBorderWidth(int v) {
  if (v < 0) v = 0;
  if (v == borderWidth_) return;
  borderWidth_ = v;
  Invalidate();
}

// ---------------------------------------------------------------- TCustomTreeView

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TWinControl(AOwner) {
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 97);
}

void TCustomTreeView::CreateParams(TCreateParams& p) {
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)initialised;
  TWinControl::CreateParams(p);
  CreateSubClass(p, WC_TREEVIEWA);
  p.Style |= TVS_HASBUTTONS | TVS_SHOWSELALWAYS | TVS_HASLINES;
  if (showRoot_) p.Style |= TVS_LINESATROOT;
  if (!readOnly_) p.Style |= TVS_EDITLABELS;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateHandleDone() {
  SendMessageA(handle_, TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
  ApplyColours();
}

void TCustomTreeView::ApplyColours() {
  if (!HandleAllocated()) return;
  SendMessageA(handle_, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ToColorRef(Color())));
  SendMessageA(handle_, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ToColorRef(Font().Color())));
}

void TCustomTreeView::SetIndent(int v) {
  indent_ = v;
  if (HandleAllocated()) SendMessageA(handle_, TVM_SETINDENT, static_cast<WPARAM>(v), 0);
}

void TCustomTreeView::SetShowRoot(bool v) {
  if (v == showRoot_) return;
  showRoot_ = v;
  RecreateWnd();
}

void TCustomTreeView::SetReadOnly(bool v) {
  if (v == readOnly_) return;
  readOnly_ = v;
  RecreateWnd();
}

HTREEITEM TCustomTreeView::Related(HTREEITEM item, UINT relation) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(handle_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM TCustomTreeView::Selected() const { return Related(nullptr, TVGN_CARET); }

void TCustomTreeView::Select(HTREEITEM item) {
  if (!HandleAllocated()) return;
  SendMessageA(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  if (item) SendMessageA(handle_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

std::string TCustomTreeView::ItemText(HTREEITEM item) const {
  if (!handle_ || !item) return {};
  char text[MAX_PATH * 2] = {};
  TVITEMA tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = sizeof text;
  SendMessageA(handle_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
  return text;
}

LPARAM TCustomTreeView::ItemData(HTREEITEM item) const {
  if (!handle_ || !item) return 0;
  TVITEMA tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  SendMessageA(handle_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
  return tv.lParam;
}

void TCustomTreeView::SetHasChildren(HTREEITEM item, bool value) {
  if (!handle_ || !item) return;
  TVITEMA tv{};
  tv.mask = TVIF_CHILDREN;
  tv.hItem = item;
  tv.cChildren = value ? 1 : 0;
  SendMessageA(handle_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

void TCustomTreeView::Expand(HTREEITEM item) {
  if (HandleAllocated() && item) SendMessageA(handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

HTREEITEM TCustomTreeView::InsertItem(HTREEITEM parent, HTREEITEM after, const std::string& text, LPARAM data,
                                      int image, int selectedImage, bool hasChildren) {
  TVINSERTSTRUCTA ins{};
  ins.hParent = parent ? parent : TVI_ROOT;
  ins.hInsertAfter = after ? after : TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  ins.item.pszText = const_cast<char*>(text.c_str());
  ins.item.lParam = data;
  ins.item.iImage = image;
  ins.item.iSelectedImage = selectedImage;
  ins.item.cChildren = hasChildren ? 1 : 0;
  return reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

bool TCustomTreeView::IsEditing() const {
  return handle_ && SendMessageA(handle_, TVM_GETEDITCONTROL, 0, 0) != 0;
}

void TCustomTreeView::EditLabel(HTREEITEM item) {
  if (HandleAllocated() && item) SendMessageA(handle_, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item));
}

void TCustomTreeView::EndEditing(bool cancel) {
  if (IsEditing()) SendMessageA(handle_, TVM_ENDEDITLABELNOW, cancel ? TRUE : FALSE, 0);
}

void TCustomTreeView::Change() {
  if (OnChange && !IsLoading()) OnChange(this);
}

namespace {

// The label a user typed, from the narrow or the wide notification (nullptr: cancelled).
std::optional<std::string> TypedLabel(const NMHDR* h) {
  if (h->code == TVN_ENDLABELEDITA) {
    const auto* n = reinterpret_cast<const NMTVDISPINFOA*>(h);
    if (!n->item.pszText) return std::nullopt;
    return std::string(n->item.pszText);
  }
  const auto* n = reinterpret_cast<const NMTVDISPINFOW*>(h);
  if (!n->item.pszText) return std::nullopt;
  const int size = WideCharToMultiByte(CP_ACP, 0, n->item.pszText, -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_ACP, 0, n->item.pszText, -1, s.data(), size, nullptr, nullptr);
  s.resize(std::strlen(s.c_str()));
  return s;
}

}  // namespace

void TCustomTreeView::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: {
      const auto* h = reinterpret_cast<const NMHDR*>(m.LParam);
      switch (h->code) {
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW:
          Change();
          return;
        case TVN_ITEMEXPANDINGA:
        case TVN_ITEMEXPANDINGW: {
          // Both forms carry the item at the same place.
          const auto* n = reinterpret_cast<const NMTREEVIEWA*>(h);
          m.Result = (n->action & TVE_EXPAND) && !CanExpand(n->itemNew.hItem) ? TRUE : FALSE;
          return;
        }
        case TVN_BEGINLABELEDITA:
        case TVN_BEGINLABELEDITW:
          m.Result = readOnly_ ? TRUE : FALSE;
          return;
        case TVN_ENDLABELEDITA:
        case TVN_ENDLABELEDITW: {
          const auto* n = reinterpret_cast<const NMTVDISPINFOA*>(h);
          const std::optional<std::string> text = TypedLabel(h);
          m.Result = text && Edited(n->item.hItem, *text) ? TRUE : FALSE;
          return;
        }
        case TVN_DELETEITEMA:
        case TVN_DELETEITEMW: {
          const auto* n = reinterpret_cast<const NMTREEVIEWA*>(h);
          ItemDeleted(n->itemOld.hItem, n->itemOld.lParam);
          return;
        }
        default:
          break;
      }
      break;
    }
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
      TWinControl::WndProc(m);
      ApplyColours();
      return;
    case WM_CTLCOLOREDIT:
      // The label editor in the tree's own colours.
      if (handle_ && m.LParam == SendMessageA(handle_, TVM_GETEDITCONTROL, 0, 0)) {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ToColorRef(Font().Color()));
        SetBkColor(dc, ToColorRef(Color()));
        m.Result = reinterpret_cast<LRESULT>(Brush().Handle());
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}
