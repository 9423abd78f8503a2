#include "skin/frame/acDials.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "framework/Forms.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/frame/acDialogWnd.h"
#include "skin/frame/sSkinProvider.h"

namespace {

constexpr uintptr_t kDialogAtom = 32770;
constexpr intptr_t kEngineTag = -98;


// Forms the hook never skins, by window class (sorted).
constexpr std::array<const char*, 2> kExcludedClasses = {"TApplication", "TfcPopup"};

bool Excluded(const std::string& className) {
  return std::any_of(kExcludedClasses.begin(), kExcludedClasses.end(),
                     [&](const char* c) { return className == c; });
}

bool ApplicationGoing() { return !Application || Application->HasState(csDestroying); }

std::string ClassOf(HWND wnd, const CREATESTRUCTA* created) {
  if (created && created->lpszClass && !IS_INTRESOURCE(created->lpszClass)) return created->lpszClass;
  if (created && created->lpszClass && reinterpret_cast<uintptr_t>(created->lpszClass) == kDialogAtom) return "#32770";
  char name[128] = {};
  GetClassNameA(wnd, name, sizeof name);
  return name;
}

// The application's form that owns the window, last made first; forms being destroyed are
// passed over.
TForm* FormOf(HWND wnd) {
  if (!Screen) return nullptr;
  for (int i = Screen->CustomFormCount() - 1; i >= 0; --i) {
    TForm* f = Screen->CustomForms(i);
    if (f->HasState(csDestroying)) continue;
    if (f->HandleAllocated() && f->Handle() == wnd) return f;
  }
  return nullptr;
}



bool AttachForm(TForm* form, HWND wnd, const std::string& className, bool creating) {
  TsSkinManager* manager = DefaultManager();
  if ((form->Tag() & kEngineTag) == kEngineTag || Excluded(className)) return false;
  const uint8_t rule = className == "TMessageForm" ? srStdDialogs : srStdForms;
  if (!(manager->SkinningRules & rule)) return false;
  auto* provider = new TsSkinProvider(form, true);  // owned by the form
  provider->UseGlobalColor = false;
  provider->MakeSkinMenu = false;
  acAddProvider(new TacProvider(form, provider));  // owned by the form
  if (!creating) {
    // Whatever Windows painted of the window so far goes.
    UpdateWindow(wnd);
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  return true;
}

}  // namespace


// ---- Attaching ----------------------------------------------------------------------------

bool acAttach(HWND wnd, const CREATESTRUCTA* created) {
  TsSkinManager* manager = DefaultManager();
  if (!manager || ApplicationGoing() || !wnd) return false;
  // Asking also binds a window of ours that is being created to its form.
  if (HandlesSkinCommands(wnd)) return false;
  const std::string className = ClassOf(wnd, created);
  const LONG_PTR style = created ? static_cast<LONG_PTR>(created->style) : GetWindowLongPtrA(wnd, GWL_STYLE);
  if ((style & WS_POPUP) && !(style & WS_BORDER)) return false;
  if (acFindProvider(wnd)) return false;
  TForm* form = FormOf(wnd);
  if (!form || form->HasState(csLoading | csReading)) {
    // A dialog inside another window (a property page) is not one to skin; an owner is fine.
    const bool child = (style & WS_CHILD) != 0;
    if (className != "#32770" || child || !(manager->SkinningRules & srStdDialogs)) return false;
    TacProvider* entry = acSkinNativeDialog(wnd);
    if (!entry) return false;
    acAddProvider(entry);
    return true;
  }
  return AttachForm(form, wnd, className, created != nullptr);
}

LRESULT CALLBACK acCbtHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallNextHookEx(nullptr, code, wParam, lParam);
  if (code < 0 || ApplicationGoing()) return result;
  switch (code) {
    case HCBT_DESTROYWND:
      acDropDestroyedDialogs();
      break;
    case HCBT_ACTIVATE:
      acAttach(reinterpret_cast<HWND>(wParam));
      break;
    case HCBT_CREATEWND: {
      const auto* cw = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
      const CREATESTRUCTA* cs = cw ? cw->lpcs : nullptr;
      if (!cs) break;
      const HWND wnd = reinterpret_cast<HWND>(wParam);
      if (IS_INTRESOURCE(cs->lpszClass)) {
        // Popup menus (atom 32768) are left to the system: this skin engine does not skin them.
        if (reinterpret_cast<uintptr_t>(cs->lpszClass) == kDialogAtom) acAttach(wnd, cs);
        break;
      }
      // A popup's "parent" in the creation record is its owner: owned forms (the installer's
      // messages) are skinned as they are made, so that they appear from a finished picture.
      if (std::strcmp(cs->lpszClass, "TPUtilWindow") == 0 || !cs->dwExStyle || !cs->style || (cs->style & WS_CHILD))
        break;
      TForm* main = Application->MainForm();
      if (!main || !main->HandleAllocated() || main->Handle() != wnd) acAttach(wnd, cs);
      break;
    }
    default:
      break;
  }
  return result;
}

// ---- Following the manager ----------------------------------------------------------------

namespace {

// The hook for the whole run: set while the default manager's skin is active; its going frees
// every entry. The skinned system dialogs hear the manager's skin commands as the forms do.
class THookKeeper final : public TacSkinListener {
 public:
  THookKeeper() = default;
  THookKeeper(const THookKeeper&) = delete;
  THookKeeper& operator=(const THookKeeper&) = delete;
  ~THookKeeper() override { Unhook(); }

  void HookWanted(bool wanted) override {
    if (!wanted) {
      if (!hook_) return;
      Unhook();
      acClearProviders();
    } else if (!hook_) {
      hook_ = SetWindowsHookExA(WH_CBT, acCbtHookProc, nullptr, GetCurrentThreadId());
    }
  }

  void SkinAnnounced(TsSkinManager& manager, uint16_t command) override {
    // A removed skin frees the dialogs' handlers instead (acClearProviders).
    if (command == SkinCommand::RemoveSkin) return;
    std::vector<HWND> dialogs;
    for (TacProvider* p : acLiveProviders())
      if (!p->Form() && p->DialogHandler && !p->DialogDestroyed && IsWindow(p->Wnd())) dialogs.push_back(p->Wnd());
    const WPARAM wp = MakeSkinCommand(command);
    const LPARAM lp = reinterpret_cast<LPARAM>(&manager);
    for (HWND d : dialogs) SendMessageA(d, SM_ALPHACMD, wp, lp);
  }

 private:
  void Unhook() {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
  }

  HHOOK hook_ = nullptr;
  TacListening listening_{*this};
};

}  // namespace

void acJoinHook() { acEngine().Part<THookKeeper>(); }
