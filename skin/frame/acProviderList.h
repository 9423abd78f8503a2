// The windows the hook skinned, one entry each: a form with the skin provider the hook gave
// it, or a native dialog with its handlers. The dialog handler marks its own entry when its
// window goes; the hook adds entries and drops the marked ones.
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

// Adds an entry the hook made (the list forgets entries that went first).
void acAddProvider(TacProvider* entry);
// Frees the entries of dialogs whose windows have gone.
void acDropDestroyedDialogs();
// Frees every entry: the skin has gone. Forms keep their providers (unskinned until a new
// skin comes); dialogs lose their handlers.
void acClearProviders();
// The entry of a window, or nullptr.
TacProvider* acFindProvider(HWND wnd);
// How many entries are alive.
int acProviderCount();
// The live entries, in the order they came (a copy: freeing one while walking is safe).
std::vector<TacProvider*> acLiveProviders();
