// Window handlers: objects that attach to any window handle and take its messages first.
// TacMainWnd hooks in (a control's message procedure or a plain window's procedure) and
// answers the skin commands; the scroll-bar handler (acScrollWnd.h), the edit handler
// (acEditWnd.h), the push-button handler (acBtnWnd.h) and the dialog handlers build on it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "skin/render/sCommonData_win.h"

class TsSkinManager;

// Skin commands only handlers and their windows use.
namespace SkinCommand {
inline constexpr uint16_t GetDisabledKind = 35;  // result: the window's DisabledKind
inline constexpr uint16_t ScrollItself = 51;     // lParam: MAKELPARAM(code, message); 1 = it scrolls itself
inline constexpr uint16_t AfterScroll = 52;
}  // namespace SkinCommand

// The window property that holds a window's handler.
inline constexpr const char* kHandlerProp = "ACSBSC";

class TacMainWnd : public TObject {
 public:
  TacMainWnd();
  ~TacMainWnd() override;
  FRAMEWORK_CLASS(TacMainWnd)

  // Attaches to wnd. Without a binding the handler makes and owns one; without a manager it
  // takes the binding's.
  void Create(HWND wnd, bool repaintFrame, const std::string& section, TsSkinManager* manager,
              TsCommonData* binding);
  // Lets go of the window: the previous procedure back, the property removed, the look restored.
  void Detach();

  HWND Wnd() const { return wnd_; }
  bool Detached() const { return detached_; }
  TsCommonData& Binding() { return *binding_; }
  // The handler attached to a window, or nullptr.
  static TacMainWnd* Of(HWND wnd);

  // Every message of the window comes here first.
  virtual void WndProc(TMessage& m);

  bool DialogMode = false;
  std::wstring WindowText;

 protected:
  // Descendants' parts of Create, before the window's messages come here.
  virtual void CreateParts(bool repaintFrame) { (void)repaintFrame; }
  virtual void FreeParts() {}
  virtual void SaveLook() {}
  virtual void RestoreLook() {}
  virtual void ApplyColours() { coloursApplied_ = true; }
  // Hands the message to the previous procedure. False when the handler was destroyed
  // meanwhile: the caller must not touch it again.
  bool PassOn(TMessage& m);
  // The skin commands the base answers; false when they are to be passed on.
  bool SkinCommand(TMessage& m);
  // The window's control, when a control owns it.
  TWinControl* Control() const { return control_; }
  // The window's position in its parent's client area.
  POINT PosInParent() const;
  // Stays true while the handler exists (hold a copy across calls that may free it).
  std::shared_ptr<bool> AliveToken() const { return alive_; }

  TsSkinManager* manager_ = nullptr;
  TsCommonData* binding_ = nullptr;
  bool busy_ = false;
  bool coloursApplied_ = false;

 private:
  friend LRESULT CALLBACK HandlerThunk(HWND, UINT, WPARAM, LPARAM);
  HWND wnd_ = nullptr;
  TWinControl* control_ = nullptr;
  TWndMethod savedControlProc_;
  WNDPROC savedWndProc_ = nullptr;
  std::unique_ptr<TsCommonData> ownBinding_;
  bool detached_ = true;
  std::shared_ptr<bool> alive_;
};
