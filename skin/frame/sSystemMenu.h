// The system menu of a skinned form: which title buttons and menu commands the form's border
// style and icons allow, and the menu itself, built from the window's own system menu texts
// and shown where the skinned title bar asks for it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Forms.h"

// One entry of a skinned system menu.
struct TsSysMenuItem {
  std::string Name;     // "acIM", ...; empty for separators and the window's own items
  UINT Command = 0;     // 0 for a separator
  std::string Caption;  // the system's text, the part after a tab being the shortcut
  bool Visible = true;
  bool Enabled = true;
};

// The window's own system-menu text for a command (its shortcut after a tab), else `fallback`.
std::string SystemCommandText(HWND wnd, UINT command, const char* fallback);
// Shows the visible items as a popup menu at a screen point and sends the chosen command to
// the window (commands of the window's own items are posted).
void ShowSysMenuItems(HWND wnd, const std::vector<TsSysMenuItem>& items, int x, int y);

class TsCustomSysMenu : public TObject {
 public:
  explicit TsCustomSysMenu(TForm* form) : form_(form) {}
  FRAMEWORK_CLASS(TsCustomSysMenu)

  virtual bool VisibleClose() const;
  virtual bool VisibleMax() const;
  virtual bool VisibleMin() const;
  virtual bool EnabledMax() const;
  virtual bool EnabledMin() const;
  virtual bool EnabledRestore() const;

  // The form's style had WS_SYSMENU when the skin took the frame over.
  bool HadSystemMenu = false;

 protected:
  bool Maximized() const;
  bool Minimized() const;
  TForm* form_;
};

class TsSystemMenu : public TsCustomSysMenu {
 public:
  explicit TsSystemMenu(TForm* form) : TsCustomSysMenu(form) {}
  FRAMEWORK_CLASS(TsSystemMenu)

  using Item = TsSysMenuItem;
  // Rebuilds the items from the window's system menu and the form's present state.
  void UpdateItems();
  const std::vector<Item>& Items() const { return items_; }

  // Shows the menu at a screen point and sends the chosen command to the form (the window's
  // own commands are posted).
  void Show(int x, int y);

 private:
  std::vector<Item> items_;
};
