// Controls: windowless (TGraphicControl) and windowed (TWinControl, TCustomControl).
//
// Every message of a control goes through its WindowProc, a replaceable handler that
// defaults to the virtual WndProc; WndProc passes what it does not handle to
// DefaultHandler, which for a windowed control is the window class's own procedure.
// Windowed controls create their window on demand; the window class name is the C++
// class name (standard controls superclass the Windows class: "TButton" over "BUTTON").
// Windowless controls are painted by their parent during its WM_PAINT, in z-order and
// clipped to their bounds, and get their mouse messages from the parent.
#pragma once

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"

#include <string>
#include <vector>

// Set by a layer above: asked before a window of the framework handles a message that came
// through the system; false refuses the message (answered 0).
using TMessageAdmission = bool (*)(UINT msg, WPARAM wParam, LPARAM lParam);
extern TMessageAdmission MessageAdmission;

// Marks work the thread does for its own process while it handles a message sent from another
// thread (a worker's synchronized call, a wait before the session ends): what it sends itself
// meanwhile is its own, although the system reports a message from elsewhere in progress.
class TOwnWork {
 public:
  TOwnWork();
  ~TOwnWork();
  TOwnWork(const TOwnWork&) = delete;
  TOwnWork& operator=(const TOwnWork&) = delete;
  static bool Active();
};

class TWinControl;
class TForm;

// ControlStyle flags.
enum : uint32_t {
  csAcceptsControls = 0x1,  // may be a parent
  csCaptureMouse = 0x2,     // keeps the mouse while a button is down on it
  csClickEvents = 0x4,      // a press and release of the left button inside it clicks it
  csOpaque = 0x8,           // paints all of its area (the parent need not erase behind it)
  csSetCaption = 0x10,
  csDoubleClicks = 0x20,
};

// ControlState flags.
enum : uint32_t {
  csLButtonDown = 0x1,
  csFocusing = 0x4,
  csCreating = 0x8,
  csPainting = 0x10,
  csRecreating = 0x20,
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// Which edges of its parent a control keeps its distance to when the parent is resized. A
// control anchored to both opposite edges stretches; to neither edge of an axis, it stays.
enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;

// The size a control may take (0 = no limit). A form hands the minimum to Windows as its
// minimum tracking size, so the user cannot drag it smaller.
struct TSizeConstraints {
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
  // Width and height brought within the limits.
  void Apply(int& width, int& height) const;
};
enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  FRAMEWORK_CLASS(TControl)

  TWinControl* Parent() const { return parent_; }
  // Moves the control into another parent's list (on top of its z-order); nullptr removes it.
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  // Position relative to the parent's client area (a form: the screen).
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  void SetBoundsRect(const RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  RECT ClientRect() const { return RECT{0, 0, ClientWidth(), ClientHeight()}; }

  TAnchors Anchors() const { return anchors_; }
  // Takes the present distances to the parent's edges as the ones to keep.
  void SetAnchors(TAnchors value);
  const TSizeConstraints& Constraints() const { return constraints_; }
  void SetConstraints(const TSizeConstraints& value);
  // Screen position of the client area's top-left corner.
  virtual POINT ClientOrigin() const;
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to a showing form is visible.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);

  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& value) { SetText(value); }
  virtual std::string Text() const;
  virtual void SetText(const std::string& value);

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);

  uint32_t ControlStyle() const { return controlStyle_; }
  void SetControlStyle(uint32_t value) { controlStyle_ = value; }
  uint32_t ControlState() const { return controlState_; }

  // Every message the control receives, from Windows or from Perform, goes through here.
  TWndMethod WindowProc;
  // Sends a message straight through WindowProc and gives back its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  // Top (or bottom) of the parent's z-order.
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }

  bool MouseInControl() const { return mouseInControl_; }

  TNotifyEvent OnClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;

  virtual void Click();

  // Leaves the parent while still whole (see TObject::Free).
  void BeforeDestruction() override;

 protected:
  friend class TWinControl;
  friend class TApplication;

  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
  virtual void SetZOrder(bool topmost);
  // Moves the control to the end (topmost) or start of its parent's list; false without one.
  bool MoveInParentOrder(bool topmost);
  virtual void Resize();
  virtual void MouseEnter();
  virtual void MouseLeave();
  // Text as stored (windowed controls read their window instead).
  const std::string& StoredText() const { return text_; }
  void SetStoredText(const std::string& value) { text_ = value; }
  void SetControlState(uint32_t flags, bool on);
  // Invalidates this control's rectangle on its parent (windowless controls).
  void InvalidateOnParent(const RECT& r, bool erase);
  bool IsLoading() const { return HasState(csLoading) || HasState(csReading); }
  void Loaded() override;
  // The bounds changed by other means than anchoring: they become the ones anchoring keeps
  // to, with the parent's present client size.
  void UpdateAnchorRules();
  // The parent's client size became (w, h): moves and sizes the control as its anchors say.
  void AnchorTo(int parentWidth, int parentHeight);

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;

 private:
  void FontChanged();
  void ParentFontChanged();
  void ParentColorChanged();

  TWinControl* parent_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  bool parentFont_ = true;
  bool parentColor_ = true;
  bool mouseInControl_ = false;
  bool fontSync_ = false;
  TAnchors anchors_ = akLeft | akTop;
  TSizeConstraints constraints_;
  RECT anchorBounds_{};             // the bounds anchoring starts from
  SIZE anchorParent_{-1, -1};       // the parent's client size then (-1: not known)
  TColor color_ = clBtnFace;
  TFont font_;
  std::string text_;
  uint32_t controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  uint32_t controlState_ = 0;
};

// A windowless control: it draws on its parent's window during the parent's paint.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  FRAMEWORK_CLASS(TGraphicControl)

  // The canvas is only attached while the control paints.
  TCanvas& Canvas() { return canvas_; }

 protected:
  void WndProc(TMessage& message) override;
  virtual void Paint() {}

 private:
  TCanvas canvas_;
};

// What a windowed control asks of CreateWindowEx.
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  UINT ClassStyle = CS_DBLCLKS;     // for a class of our own
  HCURSOR Cursor = nullptr;         // for a class of our own (default arrow)
  std::string WinClassName;         // the registered class name (ClassName())
  std::string BaseClassName;        // the Windows class that is superclassed ("" = our own)
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  FRAMEWORK_CLASS(TWinControl)

  // The window, created (with the parent's) on first use.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys and creates the window again (after CM_RECREATEWND); keeps text and focus.
  void RecreateWnd();
  // The control that owns a window created by the framework, or nullptr.
  static TWinControl* FindControl(HWND wnd);
  // The control whose window is being created on this thread right now (for hooks that
  // see the window before CreateWindowEx returns), or nullptr.
  static TWinControl* CreatingControl();

  // Children in z-order, bottom first.
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  bool ContainsControl(const TControl* control) const;  // a descendant (or itself)
  // Topmost visible child at p (client coordinates); windowed children only when asked.
  TControl* ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls = false) const;

  int TabOrder() const;
  void SetTabOrder(int value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // Whether Tab stops here now; a control kind may decide by more than its TabStop.
  virtual bool TakesTab() const { return tabStop_; }
  // How a form's keys find their control without knowing control kinds: Enter clicks a push
  // button that has the focus, else the form's Default button; Escape clicks its Cancel
  // button; every push button hears which one is the form's default.
  virtual bool IsPushButton() const { return false; }
  virtual bool IsDefaultButton() const { return false; }
  virtual bool IsCancelButton() const { return false; }
  // An arrow key moved the focus here (a radio button checks itself).
  virtual void ArrowKeyReached() {}
  // Every focusable descendant in tab order (each child, then its own list).
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop, bool checkParent) const;
  // Focuses the next (or previous) control after `current`; arrows use checkTabStop false,
  // which keeps to this control's own children.
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

  virtual void SetFocus();
  bool Focused() const;
  virtual bool CanFocus() const;

  // Paints the windowless children (from `first` upwards, all when nullptr) onto dc.
  void PaintControls(HDC dc, TControl* first);

  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value);

  // The brush of the control's colour, for WM_CTLCOLOR* answers and erasing.
  TBrush& Brush() { return brush_; }

  void SetBounds(int left, int top, int width, int height) override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  POINT ClientOrigin() const override;
  bool Showing() const override;
  std::string Text() const override;
  void SetText(const std::string& value) override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Frees owned components and children and destroys the window while still whole.
  void BeforeDestruction() override;

 protected:
  friend class TControl;
  friend class TApplication;

  virtual void CreateParams(TCreateParams& params);
  // Sets the base Windows class to superclass.
  static void CreateSubClass(TCreateParams& params, const char* baseClassName);
  void CreateHandle();
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  void DestroyHandle();
  virtual void DestroyWnd();
  // Called after the window exists and its children have theirs.
  virtual void CreateHandleDone() {}
  // Paints the control's own surface (custom controls); the windowless children follow.
  virtual void PaintWindow(HDC dc);
  void PaintHandler(TMessage& message);

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void SetZOrder(bool topmost) override;
  void Loaded() override;

  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // Stops the child window procedures from running into a half-destroyed object.
  void DestroyChildren();

  // Reads the window's bounds back into Left/Top/Width/Height.
  void UpdateBoundsFromWindow();
  // Moves the anchored children after a change of this control's size.
  void Resize() override;
  // Set while the children follow their anchors (their moves are not new anchor rules).
  bool Anchoring() const { return anchoring_; }

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;

 private:
  friend LRESULT CALLBACK FrameworkWndProc(HWND, UINT, WPARAM, LPARAM);
  void UpdateWindowZOrder();
  void HandleMouse(TMessage& message);
  bool ReflectToChild(TMessage& message);
  void FillBackground(HDC dc);

  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  TBrush brush_;
  bool tabStop_ = false;
  bool doubleBuffered_ = false;
  bool anchoring_ = false;
  TControl* mouseCapture_ = nullptr;  // windowless child holding the mouse
};

// A windowed control that paints itself on a canvas (panels, group boxes).
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  FRAMEWORK_CLASS(TCustomControl)
  // Attached while the control paints.
  TCanvas& Canvas() { return canvas_; }

 protected:
  void PaintWindow(HDC dc) override;
  virtual void Paint() {}

 private:
  TCanvas canvas_;
};

// The form a control stands on (its top-level parent that is a form), or nullptr.
TForm* GetParentForm(const TControl* control);
