// The window-creation hook. The installer's code never names the skin: every top-level window
// of the application that is created or activated while a skin is active gets its skin
// handler here — a run-time provider for a form of ours, a dialog handler for a native
// dialog — unless it has one already, is one of the engine's own windows, or the skin
// manager's rules leave its kind alone.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/Classes.h"

class TForm;
class TsSkinProvider;

// One top-level window the hook skinned. A form's entry is owned by the form and goes with
// it; a native dialog's entry holds the dialog's handlers and goes when the dialog does.
class TacProvider : public TComponent {
 public:
  TacProvider(TForm* form, TsSkinProvider* provider);
  explicit TacProvider(HWND dialog);
  ~TacProvider() override;
  FRAMEWORK_CLASS(TacProvider)

  HWND Wnd() const;
  TForm* Form() const { return form_; }
  TsSkinProvider* Provider() const { return provider_; }

  // A native dialog's handler and its children's handlers (the dialog skinning's objects).
  std::unique_ptr<TObject> DialogHandler;
  std::vector<std::unique_ptr<TObject>> ChildHandlers;
  // Set by the dialog handler when its window is gone; the next destruction notice drops
  // the entry.
  bool DialogDestroyed = false;

 private:
  TForm* form_ = nullptr;
  TsSkinProvider* provider_ = nullptr;
  HWND dialog_ = nullptr;
};

// The thread's CBT hook procedure; set while the default manager's skin is active.
LRESULT CALLBACK acCbtHookProc(int code, WPARAM wParam, LPARAM lParam);
// Gives the window its skin handler when the rules allow; true when something was attached.
// `created` is the creation record while the window is being created.
bool acAttach(HWND wnd, const CREATESTRUCTA* created = nullptr);
// Frees every entry: the skin has gone. Forms keep their providers (unskinned until a new
// skin comes); dialogs lose their handlers.
void acClearProviders();
// The entry of a window, or nullptr.
TacProvider* acFindProvider(HWND wnd);
// How many entries are alive.
int acProviderCount();
// Makes the hook follow the engine's default manager from now on (once per process).
void acJoinHook();
