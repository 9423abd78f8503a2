// Window handlers: objects that attach to any window handle and take its messages first.
// TacMainWnd hooks in (a control's message procedure or a plain window's procedure) and
// answers the skin commands; TacScrollWnd draws and operates the window's scroll bars in its
// non-client area from the skin; TacEditWnd adds the edit colours and the skinned frame.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "skin/render/acScrollGeometry.h"
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

// Timer ids of the bars: hover, first repeat, later repeats.
inline constexpr UINT_PTR kHoverTimer = 0xFFF2;
inline constexpr UINT_PTR kFirstRepeatTimer = 0xFFFD;
inline constexpr UINT_PTR kRepeatTimer = 0xFFFE;
inline constexpr UINT kHoverInterval = 20, kFirstRepeatDelay = 300, kRepeatInterval = 55;

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

class TacEditWnd : public TacScrollWnd {
 public:
  FRAMEWORK_CLASS(TacEditWnd)
  void WndProc(TMessage& m) override;
  // Paints the frame into the handler's frame cache.
  void PrepareCache();

 protected:
  void CreateParts(bool repaintFrame) override;
  void SaveLook() override;
  void RestoreLook() override;
  void ApplyColours() override;

 private:
  bool HotLook() const;
  void NcPaint(HDC given);
  bool applying_ = false;

  TColor savedColor_ = clWindow;
  TColor savedFontColor_ = clWindowText;
  TColor savedFocusColor_ = clFuchsia;
  TBitmap frame_;
};

// Keeps an edit handler on a control's window while its binding is skinned: a skinned control
// with a window gets one (a detached one, or one of an old window, is replaced); an unskinned
// one loses it.
void KeepEditHandler(std::unique_ptr<TacEditWnd>& handler, TWinControl& control, TsCommonData& binding);
// The skin is gone: the handler lets go, and the platform's own frame and bars come back with
// a new window.
void DropEditHandler(std::unique_ptr<TacEditWnd>& handler, TWinControl& control);

