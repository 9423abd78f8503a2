// Messages as they travel through a control's WindowProc, and the framework's own
// notifications.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <functional>

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;

  WORD WParamLo() const { return LOWORD(WParam); }
  WORD WParamHi() const { return HIWORD(WParam); }
  WORD LParamLo() const { return LOWORD(LParam); }
  WORD LParamHi() const { return HIWORD(LParam); }
};

using TWndMethod = std::function<void(TMessage& Message)>;

// Framework notifications. They are performed on controls (never posted) unless noted.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;          // wParam key; result 1 = handled
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;         // wParam character; result 1 = handled
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;       // to the form; lParam the focused control
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;    // wParam 1 = now visible
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;        // lParam the control the mouse entered
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;        // lParam the control the mouse left
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;    // a window is about to be shown or hidden
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_RELEASE = CM_BASE + 33;           // posted to a form: free it
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44; // to the parent; wParam control, lParam 1 = inserted
constexpr UINT CM_RECREATEWND = CM_BASE + 51;       // the window is about to be recreated
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;        // as WM_MOUSEWHEEL; result 1 = handled
constexpr UINT CM_SYNCHRONIZE = CM_BASE + 200;      // to the application window: run a hand-off

// Notifications a parent reflects back to the child window they concern:
// CN_BASE + WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM, WM_HSCROLL, WM_VSCROLL.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
