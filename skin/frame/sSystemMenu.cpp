#include "skin/frame/sSystemMenu.h"

#include "framework/Handles.h"

namespace {

struct MenuDeleter {
  void operator()(HMENU h) const { DestroyMenu(h); }
};
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;

bool BigFrame(TFormBorderStyle bs) { return bs == TFormBorderStyle::bsSingle || bs == TFormBorderStyle::bsSizeable; }

// The window menu's text for a command (its shortcut after a tab), or "" when it has none.
std::string SystemText(HMENU sys, UINT command) {
  if (!sys) return {};
  char buf[256] = {};
  const int n = GetMenuStringA(sys, command, buf, 255, MF_BYCOMMAND);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

}  // namespace

std::string SystemCommandText(HWND wnd, UINT command, const char* fallback) {
  const std::string text = SystemText(wnd ? GetSystemMenu(wnd, FALSE) : nullptr, command);
  return text.empty() ? std::string(fallback) : text;
}

void ShowSysMenuItems(HWND wnd, const std::vector<TsSysMenuItem>& items, int x, int y) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu || !IsWindow(wnd)) return;
  for (const TsSysMenuItem& item : items) {
    if (!item.Visible) continue;
    if (item.Command == 0) {
      AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu.get(), MF_STRING | (item.Enabled ? 0 : MF_GRAYED), item.Command, item.Caption.c_str());
    }
  }
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, wnd, nullptr));
  if (chosen == 0 || !IsWindow(wnd)) return;
  if (chosen < 0xF000)
    PostMessageA(wnd, WM_SYSCOMMAND, chosen, 0);
  else
    SendMessageA(wnd, WM_SYSCOMMAND, chosen, 0);
}

bool TsCustomSysMenu::Maximized() const { return form_->HandleAllocated() && IsZoomed(form_->Handle()); }
bool TsCustomSysMenu::Minimized() const { return form_->HandleAllocated() && IsIconic(form_->Handle()); }

bool TsCustomSysMenu::VisibleClose() const { return HadSystemMenu; }

bool TsCustomSysMenu::VisibleMax() const {
  return VisibleClose() && (Minimized() || (BigFrame(form_->BorderStyle()) && (form_->BorderIcons() & biMaximize)));
}

bool TsCustomSysMenu::VisibleMin() const {
  return VisibleClose() && (Minimized() || (BigFrame(form_->BorderStyle()) && (form_->BorderIcons() & biMinimize)));
}

bool TsCustomSysMenu::EnabledMax() const {
  return !Maximized() && BigFrame(form_->BorderStyle()) && (form_->BorderIcons() & biMaximize);
}

bool TsCustomSysMenu::EnabledMin() const { return (form_->BorderIcons() & biMinimize) && !Minimized(); }

bool TsCustomSysMenu::EnabledRestore() const {
  return ((form_->BorderIcons() & biMaximize) && (Maximized() || Minimized())) || Minimized();
}

void TsSystemMenu::UpdateItems() {
  items_.clear();
  const HWND wnd = form_->HandleAllocated() ? form_->Handle() : nullptr;
  HMENU sys = wnd ? GetSystemMenu(wnd, FALSE) : nullptr;
  const TFormBorderStyle bs = form_->BorderStyle();
  auto add = [&](const char* name, UINT command, const char* own, bool visible, bool enabled) {
    items_.push_back(Item{name, command, SystemCommandText(wnd, command, own), visible, enabled});
  };
  add("acIR", SC_RESTORE, "Restore", VisibleClose() && BigFrame(bs), EnabledRestore());
  add("acIM", SC_MOVE, "Move", true, !Maximized());
  add("acIS", SC_SIZE, "Size", BigFrame(bs) || bs == TFormBorderStyle::bsSizeToolWin,
      bs != TFormBorderStyle::bsSingle && !Minimized());
  add("acIN", SC_MINIMIZE, "Minimize", VisibleMin(), EnabledMin());
  add("acIX", SC_MAXIMIZE, "Maximize", VisibleMax(), EnabledMax());
  items_.push_back(Item{});
  bool own = false;
  for (int i = 0; sys && i < GetMenuItemCount(sys); ++i) {
    const UINT id = GetMenuItemID(sys, i);
    if (id == static_cast<UINT>(-1) || id == 0 || id >= 0xF000) continue;
    const std::string text = SystemText(sys, id);
    if (text.empty()) continue;
    items_.push_back(Item{"", id, text, true, true});
    own = true;
  }
  if (own) items_.push_back(Item{});
  add("acIC", SC_CLOSE, "Close", VisibleClose(), true);
}

void TsSystemMenu::Show(int x, int y) {
  if (!form_->HandleAllocated()) return;
  UpdateItems();
  ShowSysMenuItems(form_->Handle(), items_, x, y);
}
