#include "skin/frame/acCtrlAdapter.h"

#include <algorithm>
#include <string_view>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/controls/acBtnWnd.h"
#include "skin/controls/acEditWnd.h"
#include "skin/data/sColorShift.h"
#include "skin/data/sSkinManager_win.h"

namespace {

constexpr intptr_t kEngineTag = -98;
constexpr intptr_t kNoRecolourTag = 98;
constexpr int kButtonsList = 1;  // ThirdButtons
constexpr int kEditsList = 0;    // ThirdEdits

// One class name per line; the comparison keeps letter case.
bool Listed(std::string_view list, std::string_view className) {
  while (!list.empty()) {
    const size_t end = list.find('\n');
    std::string_view line = list.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line == className) return true;
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return false;
}

// A label of the framework's own class, not a skinned one.
bool IsStandardLabel(const TControl* c) { return c->ClassName() == "TLabel"; }

}  // namespace

TacCtrlAdapter::TacCtrlAdapter(TForm* form, TsSkinManager* manager) : form_(form), manager_(manager) {}

TacCtrlAdapter::~TacCtrlAdapter() {
  // Handlers detach as they go.
  items_.clear();
}

int TacCtrlAdapter::ListOf(const std::string& className) const {
  if (!manager_) return -1;
  for (int i = 0; i < TacThirdPartyList::kCount; ++i)
    if (Listed(manager_->ThirdParty.Item(i), className)) return i;
  return -1;
}

void TacCtrlAdapter::DropGoneItems() {
  items_.erase(std::remove_if(items_.begin(), items_.end(),
                              [](const Item& item) { return !item.Handler || item.Handler->Detached(); }),
               items_.end());
}

void TacCtrlAdapter::Adapt(TWinControl* container) {
  if (!manager_ || !(manager_->SkinningRules & srThirdParty) || adapting_) return;
  adapting_ = true;
  DropGoneItems();
  TWinControl* root = container ? container : form_;
  for (int i = 0; i < root->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TControl*>(root->Components(i))) Consider(c, true);
  for (int i = 0; i < root->ControlCount(); ++i) Consider(root->Controls(i), false);
  adapting_ = false;
  for (int i = 0; i < root->ControlCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(root->Controls(i));
    if (w && w->HandleAllocated() && w->Parent()) Adapt(w);
  }
}

void TacCtrlAdapter::Consider(TControl* control, bool fromComponents) {
  if (control->Tag() == kEngineTag) return;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    if (!w->HandleAllocated() || !w->Parent() || HandlesSkinCommands(w->Handle())) return;
    const int list = ListOf(w->ClassName());
    if (list >= 0) AdaptWindowed(w, list);
    return;
  }
  if (IsStandardLabel(control) && !(fromComponents && control->Tag() == kNoRecolourTag)) RecolourLabel(control);
}

void TacCtrlAdapter::AdaptWindowed(TWinControl* control, int list) {
  bool allow = true;
  std::string section;
  if (OnSkinItem) OnSkinItem(control, allow, section);
  if (!allow) return;
  auto it = std::find_if(items_.begin(), items_.end(), [&](const Item& i) { return i.Control == control; });
  if (it == items_.end()) {
    items_.push_back(Item{control, {}, nullptr});
    it = items_.end() - 1;
  }
  it->Section = section;
  // Other kinds of third-party controls have no handler in this engine: they stay as they are.
  if (list == kButtonsList) {
    it->Handler = std::make_unique<TacBtnWnd>();
    it->Handler->Create(control->Handle(), false, section.empty() ? "BUTTON" : section, manager_, nullptr);
  } else if (list == kEditsList) {
    it->Handler = std::make_unique<TacEditWnd>();
    it->Handler->Create(control->Handle(), true, section.empty() ? "EDIT" : section, manager_, nullptr);
  }
  if (!it->Handler || it->Handler->Detached()) {
    items_.erase(it);
    return;
  }
  InvalidateRect(control->Handle(), nullptr, TRUE);
}

void TacCtrlAdapter::RecolourLabel(TControl* control) {
  auto* label = static_cast<TLabel*>(control);
  label->SetTransparent(true);
  const TColor colour = manager_->GetGlobalFontColor();
  if (!IsKeyColor(colour)) label->Font().SetColor(colour);
}
