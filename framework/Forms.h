// Forms, the screen's form list and the application object.
//
// A form is built in code: its constructor puts it in the loading state and the subclass's
// constructor creates its controls in order (each `new TX(this)`, then SetParent and the
// properties). AfterConstruction() then calls Loaded() on every component and fires
// OnCreate. Application->CreateForm does that for the application's forms; NewForm<T>()
// for other forms; Show/ShowModal do it too if nobody has.
#pragma once

#include "framework/Controls.h"
#include "framework/StdCtrls.h"

#include <exception>
#include <functional>
#include <string>
#include <vector>

// Forms and other windows that scroll their contents (the skin engine treats them alike).
class TScrollingWinControl : public TWinControl {
 public:
  explicit TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {}
  FRAMEWORK_CLASS(TScrollingWinControl)
};

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = uint8_t;
enum class TFormStyle { fsNormal, fsStayOnTop };
enum class TPosition { poDesigned, poDesktopCenter, poScreenCenter, poMainFormCenter };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TForm : public TScrollingWinControl {
 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;
  FRAMEWORK_CLASS(TForm)

  // Ends loading (Loaded() on every owned component and the form) and fires OnCreate.
  // Runs once; later calls do nothing.
  void AfterConstruction();

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle v);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }

  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
  void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
  // The window is sized so that its client area has this size for its present style.
  void SetClientSize(int width, int height);

  TIcon& Icon() { return icon_; }
  // Attached while OnPaint runs.
  TCanvas& Canvas() { return canvas_; }

  TWinControl* ActiveControl() const { return activeControl_; }
  // The keyboard focus to the active control (or the first that can take it, else the form).
  void SetWindowFocus();
  void SetActiveControl(TWinControl* control);

  // Asks CloseQuery and OnClose; hides, frees or (main form) ends the application.
  void Close();
  bool CloseQuery();
  // Frees the form once the messages now queued have been handled.
  void Release();
  // Shows the form and makes it the only enabled window until ModalResult is set.
  int ShowModal();
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }
  bool IsModal() const { return modal_; }
  bool Showing() const override { return showing_; }
  // OnDestroy, then components, controls and window go while the form is still whole.
  void BeforeDestruction() override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // Runs last in CreateParams, for the window's first creation, a recreation and a style
  // change alike: a component that paints the frame keeps styles it replaces off here.
  std::function<void(TCreateParams& params)> CreateParamsFilter;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;
  void PaintWindow(HDC dc) override;
  void Loaded() override;
  virtual void DoCreate();

 private:
  void ApplyPosition();
  void FitClientSize();
  void ApplyIcon();
  void ShowingChanged();
  void UpdateWindowStyle();

  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  TPosition position_ = TPosition::poDesigned;
  TIcon icon_;
  TCanvas canvas_;
  TWinControl* activeControl_ = nullptr;
  int modalResult_ = mrNone;
  int clientWidth_ = -1, clientHeight_ = -1;  // wanted client size until the window exists
  bool constructed_ = false;
  bool showing_ = false;
  bool modal_ = false;
  bool positioned_ = false;
  bool destroyingForm_ = false;
};

// Creates a form that is not the application's main form, runs AfterConstruction.
template <class T>
T* NewForm(TComponent* owner) {
  T* form = new T(owner);
  form->AfterConstruction();
  return form;
}

class TScreen {
 public:
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
  int CustomFormCount() const { return FormCount(); }
  TForm* CustomForms(int index) const { return Forms(index); }
  TForm* ActiveForm() const;
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  int PixelsPerInch() const { return ScreenPixelsPerInch(); }
  RECT WorkArea() const;

 private:
  friend class TForm;
  std::vector<TForm*> forms_;
};
extern TScreen* Screen;

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;
  FRAMEWORK_CLASS(TApplication)

  void Initialize();
  // Creates a form owned by the application; the first one becomes the main form.
  template <class T>
  void CreateForm(T*& reference) {
    T* form = new T(this);
    reference = form;
    form->AfterConstruction();
    FormCreated(form);
  }
  TForm* MainForm() const { return mainForm_; }
  // Shows the main form and handles messages until Terminate (or the main form closes).
  void Run();
  // Ends Run's loop (posts WM_QUIT).
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every message waiting now.
  void ProcessMessages();
  // Handles one message, or waits for one when there is none.
  void HandleMessage();

  // The title: set, or else made from the executable's name (TitleFromExeName).
  std::string Title() const;
  void SetTitle(const std::string& value) { title_ = value; titleSet_ = true; }
  // "C:\x\install_KESTAMOR.exe" -> "Install_kestamor": the name after the last "\", cut at
  // its first ".", every character after the first lower-cased.
  static std::string TitleFromExeName(const std::string& exeName);
  std::string ExeName() const;

  // The hidden application window (class "TApplication"); hand-offs from threads arrive here.
  HWND Handle() const { return handle_; }
  DWORD MainThreadId() const { return mainThreadId_; }

  // Shows the exception being handled (call from a catch block): OnException if set, else an
  // error box with the title as caption. EAbort is silent.
  void HandleException(TObject* sender);
  void ShowException(const std::exception& e);
  TExceptionEvent OnException;

  int MessageBox(const std::string& text, const std::string& caption, UINT flags);

  // The windowless or windowed control under the mouse (CM_MOUSEENTER/CM_MOUSELEAVE).
  TControl* MouseControl() const { return mouseControl_; }

 private:
  friend class TControl;
  friend class TWinControl;
  friend class TForm;
  void FormCreated(TForm* form);
  bool ProcessMessage(MSG& msg);
  bool IsKeyMsg(MSG& msg);
  void SetMouseControl(TControl* control);
  void MouseLeftWindow(TWinControl* control);
  void ControlDestroyed(TControl* control);
  static LRESULT CALLBACK AppWndProc(HWND, UINT, WPARAM, LPARAM);

  HWND handle_ = nullptr;
  DWORD mainThreadId_ = 0;
  TForm* mainForm_ = nullptr;
  TControl* mouseControl_ = nullptr;
  std::string title_;
  bool titleSet_ = false;
  bool terminated_ = false;
};
extern TApplication* Application;
