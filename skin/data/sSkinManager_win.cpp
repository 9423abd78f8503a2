#include "skin/data/sSkinManager_win.h"

#include <shellapi.h>

#include <algorithm>
#include <exception>

#include "framework/Controls.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "skin/data/acPreviewRecord.h"
#include "skin/data/acntUtils.h"
#include "skin/data/sSkinManager.h"

namespace {

uint32_t WinSysColor(int index) { return GetSysColor(index); }

TsSkinPlatform PlatformFacts() {
  TsSkinPlatform p;
  p.SysColor = &WinSysColor;
  p.SizingFrameWidth = GetSystemMetrics(SM_CXFRAME);
  return p;
}

std::string ApplicationFolder() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  const auto cut = s.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : s.substr(0, cut + 1);
}

bool FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Sends to one form and its controls, unless it is being destroyed or loaded.
void SendToForm(TForm* form, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (form->HasState(csDestroying | csLoading | csReading)) return;
  if (form->HandleAllocated() && HandlesSkinCommands(form->Handle())) {
    SendMessageA(form->Handle(), msg, wParam, lParam);
    return;
  }
  TMessage m{msg, wParam, lParam, 0};
  form->WindowProc(m);
  SendToChildren(form, msg, wParam, lParam);
}

}  // namespace

TsSkinManager* DefaultManager() { return acEngine().DefaultManager; }

// ---- Stored skins and lists --------------------------------------------------------

TsStoredSkin& TsStoredSkins::Add() {
  items_.push_back(std::make_unique<TsStoredSkin>());
  return *items_.back();
}

TsStoredSkin* TsStoredSkins::Find(const std::string& name) const {
  for (const auto& s : items_)
    if (s->Name == name) return s.get();
  return nullptr;
}

std::string& TacThirdPartyList::Item(int i) {
  std::string* items[kCount] = {&ThirdEdits,      &ThirdButtons,    &ThirdBitBtns,      &ThirdCheckBoxes,
                                &ThirdGroupBoxes, &ThirdListViews,  &ThirdPanels,       &ThirdGrids,
                                &ThirdTreeViews,  &ThirdComboBoxes, &ThirdWWEdits,      &ThirdVirtualTrees,
                                &ThirdGridEh,     &ThirdPageControl, &ThirdTabControl,  &ThirdToolBar,
                                &ThirdStatusBar,  &ThirdSpeedButton};
  return *items[i];
}

// ---- Construction ---------------------------------------------------------------------

TsSkinManager::TsSkinManager(TComponent* AOwner)
    : TComponent(AOwner), model_(std::make_unique<TsSkinModel>(PlatformFacts())) {
  TacEngine& engine = acEngine();
  if (!engine.DefaultManager) engine.DefaultManager = this;
  MessageAdmission = &SkinMessageAdmitted;
  // Empty lists take their defaults: every list " " but the buttons, "TButton".
  for (int i = 0; i < TacThirdPartyList::kCount; ++i)
    if (ThirdParty.Item(i).empty()) ThirdParty.Item(i) = i == 1 ? "TButton" : " ";
  if (skinDirectory_.empty()) skinDirectory_ = "c:\\Skins";
}

TsSkinManager::~TsSkinManager() {
  Destroying();
  if (active_ && model_->SkinData.Active) SendRemoveSkin();
  WantHook(false);
  TacEngine& engine = acEngine();
  if (engine.DefaultManager == this) {
    engine.DefaultManager = nullptr;
    engine.DefaultModel = nullptr;
  }
}

void TsSkinManager::Loaded() {
  TComponent::Loaded();
  if (skinDirectory_.empty()) skinDirectory_ = "c:\\Skins";
  if (MenuSupport.IcoLineSkin.empty()) MenuSupport.IcoLineSkin = "ICOLINE";
  for (int i = 0; i < TacThirdPartyList::kCount; ++i)
    if (ThirdParty.Item(i).empty()) ThirdParty.Item(i) = i == 1 ? "TButton" : " ";
  if (active_ && !skinName_.empty()) SendNewSkin();
}

// ---- Properties -----------------------------------------------------------------------

bool TsSkinManager::IsDefault() const { return acEngine().DefaultManager == this; }

void TsSkinManager::SetIsDefault(bool v) {
  TacEngine& engine = acEngine();
  if (!v && engine.DefaultManager) return;
  engine.DefaultManager = this;
  if (IsLoadingState()) return;
  if (active_) {
    SendNewSkin();
  } else {
    SendRemoveSkin();
  }
}

void TsSkinManager::SetActive(bool v) {
  if (v == active_) return;
  active_ = v;
  if (v) {
    SetSkinName(skinName_);
  } else if (!IsLoadingState()) {
    SendRemoveSkin();
    UpdateSkinState();
  }
}

void TsSkinManager::SetCommonSections(const std::vector<std::string>& lines) {
  commonSections_.clear();
  for (const std::string& line : lines) {
    if (!line.empty() && line[0] == ';') {
      commonSections_.push_back(line);
      continue;
    }
    std::string s;
    for (char c : line)
      if (c != ' ') s += c;
    commonSections_.push_back(s);
  }
  SetSkinName(skinName_);
}

void TsSkinManager::SetSaturation(int32_t v) {
  if (v == saturation_) return;
  saturation_ = v;
  ReloadForColours();
}

void TsSkinManager::SetHueOffset(int32_t v) {
  if (v == hueOffset_) return;
  hueOffset_ = v;
  ReloadForColours();
}

void TsSkinManager::ReloadForColours() {
  if (!active_ || IsLoadingState()) return;
  {
    const TacFlagScope loading(acEngine().SkinLoading);
    model_->SkinData.Active = false;
    try {
      LoadSkin();
    } catch (const std::exception& e) {
      ShowLoadError(e.what());
    }
  }
  if (!active_) {
    SendRemoveSkin();
    return;
  }
  model_->UpdateCachedIndexes();
  model_->SkinData.Active = true;
  if (IsDefault()) acEngine().DefaultModel = model_.get();
  if (noAutoUpdate_) return;
  BroadcastCommand(SkinCommand::AnimationDone);
  BroadcastCommand(SkinCommand::RefreshSkin);
  for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
    TForm* f = Screen->Forms(i);
    if (f->HandleAllocated())
      RedrawWindow(f->Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TsSkinManager::SetSkinDirectory(const std::string& v) {
  skinDirectory_ = v;
  model_->SkinData.SkinPath = SkinFolder();
}

std::string TsSkinManager::SkinFolder() const { return AbsoluteSkinFolder(skinDirectory_, ApplicationFolder()); }

std::string TsSkinManager::SkinInfo() const {
  return SkinActive() ? FormatSkinVersion(model_->SkinData.Version) : "N/A";
}

std::string TsSkinManager::GetSkinNames(std::vector<std::string>& list, int kind) const {
  list.clear();
  for (int i = 0; i < InternalSkins.Count(); ++i) list.push_back(InternalSkins.Items(i).Name);
  const std::string folder = SkinFolder();
  if (!folder.empty() && FolderExists(folder)) {
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          if ((kind == 0 || kind == 2) && FileExists(folder + name + "\\Options.dat")) list.push_back(name);
        } else if ((kind == 1 || kind == 2) && name.size() > 4 &&
                   UpperCase(name.substr(name.size() - 4)) == ".ASZ") {
          list.push_back(name.substr(0, name.find('.')));
        }
      } while (FindNextFileA(find, &fd));
      FindClose(find);
    }
  }
  const std::string first = list.empty() ? std::string() : list.front();
  std::sort(list.begin(), list.end());
  return first;
}

// ---- Loading --------------------------------------------------------------------------

TsBuildParams TsSkinManager::BuildParams() const {
  TsBuildParams p;
  p.SkinName = skinName_;
  p.CommonSections = commonSections_;
  p.HueOffset = hueOffset_;
  p.Saturation = saturation_;
  const std::string name = skinName_;
  p.OnVersion = [name](double version) {
    const TsVersionNotice notice = CheckSkinVersion(version, HasSwitch(CommandLineArgs(), "/actest"));
    if (notice != TsVersionNotice::None)
      MessageBoxA(nullptr, SkinVersionMessage(notice, name).c_str(), "", MB_OK);
  };
  return p;
}

void TsSkinManager::SetSkinName(const std::string& v) {
  const std::string previous = skinName_;
  skinName_ = v;
  if (!active_) return;
  if (OnBeforeChange) OnBeforeChange(this);
  {
    const TacFlagScope loading(acEngine().SkinLoading);
    model_->SkinData.Active = false;
    try {
      LoadSkin();
    } catch (const std::exception& e) {
      skinName_ = previous;
      ShowLoadError(e.what());
    }
    if (!active_) {
      SendRemoveSkin();
    } else if (!noAutoUpdate_) {
      SendNewSkin();
    }
  }
  if (OnAfterChange) OnAfterChange(this);
}

void TsSkinManager::ShowLoadError(const std::string& message) const {
  MessageBoxA(nullptr, message.c_str(), "Error", MB_ICONERROR | MB_OK);
}

void TsSkinManager::LoadSkin() {
  const TsBuildParams params = BuildParams();
  const std::string packed = WithTrailingBackslash(skinDirectory_) + skinName_ + ".asz";
  if (!skinDirectory_.empty() && FileExists(packed)) {
    LoadPackedSkinFile(*model_, packed, params, SkinFolder());
    return;
  }
  LoadFolderOrInternal(params);
}

void TsSkinManager::LoadFolderOrInternal(const TsBuildParams& params) {
  const std::string skinPath = SkinFolder() + skinName_ + "\\";
  if (!previewOptions_.empty()) {
    const std::string text = std::move(previewOptions_);
    previewOptions_.clear();
    LoadOptionsTextSkin(*model_, text, skinPath, params);
    return;
  }
  if (LoadFolderSkin(*model_, skinPath, params)) return;
  TsStoredSkin* item = InternalSkins.Find(skinName_);
  if (!item) {
    if (InternalSkins.Count() == 0) {
      active_ = false;
      return;
    }
    item = &InternalSkins.Items(0);
    skinName_ = item->Name;
  }
  TsBuildParams p = params;
  p.SkinName = skinName_;
  LoadPackedSkin(*model_, item->Data, p, "");
}

bool TsSkinManager::LoadPreviewRecord(std::span<const uint8_t> data) {
  const auto record = ParsePreviewRecord(data);
  if (!record) return false;
  noAutoUpdate_ = true;
  previewOptions_ = record->Options;
  SetSkinDirectory(record->SkinFolder);
  SetSkinName(record->SkinName);
  previewOptions_.clear();  // a packed skin of that name took precedence
  noAutoUpdate_ = false;
  if (active_) SendNewSkin(false);
  return true;
}

bool TsSkinManager::IsLoadingState() const { return HasState(csLoading | csReading); }

// ---- Announcing -----------------------------------------------------------------------

void TsSkinManager::UpdateSkinState() {
  if (model_->SkinData.Active || !model_->Sections.empty()) model_->UpdateCachedIndexes();
  if (IsDefault()) acEngine().DefaultModel = SkinActive() ? model_.get() : nullptr;
}

void TsSkinManager::BroadcastCommand(uint16_t command) {
  const WPARAM wp = MakeSkinCommand(command);
  const LPARAM lp = reinterpret_cast<LPARAM>(this);
  TacEngine& engine = acEngine();
  if (command == SkinCommand::NewSkin || command == SkinCommand::RemoveSkin)
    engine.Announce([](TacSkinListener& l) { l.SkinGoing(); });
  engine.Announce([&](TacSkinListener& l) { l.SkinAnnounced(*this, command); });
  if (!Screen) return;
  for (int i = Screen->FormCount() - 1; i >= 0; --i) SendToForm(Screen->Forms(i), SM_ALPHACMD, wp, lp);
}

void TsSkinManager::SendNewSkin(bool animate) {
  (void)animate;  // the installer loads its one skin before any window shows: nothing to animate
  if (IsLoadingState()) return;
  model_->SkinData.Active = false;
  {
    const TacFlagScope changing(acEngine().SkinChanging);
    model_->UpdateCachedIndexes();
    model_->SkinData.Active = true;  // the receivers resolve their sections against it
    if (IsDefault()) acEngine().DefaultModel = model_.get();
    BroadcastCommand(SkinCommand::NewSkin);
  }
  if (IsDefault()) WantHook(true);
}

void TsSkinManager::SendRemoveSkin() {
  skinRemoving_ = true;
  WantHook(false);
  model_->SkinData.Active = false;
  if (IsDefault()) acEngine().DefaultModel = nullptr;
  BroadcastCommand(SkinCommand::RemoveSkin);
  model_->Clear();
  skinRemoving_ = false;
}

void TsSkinManager::WantHook(bool wanted) {
  if (wanted == hookWanted_) return;
  hookWanted_ = wanted;
  acEngine().Announce([wanted](TacSkinListener& l) { l.HookWanted(wanted); });
}

void TsSkinManager::SetActiveControl(HWND wnd) {
  if (wnd == activeControl_) return;
  const HWND old = activeControl_;
  activeControl_ = wnd;
  const LPARAM lp = reinterpret_cast<LPARAM>(this);
  if (old && IsWindow(old)) SendSkinCommand(old, SkinCommand::ActiveControlLeave, 0, lp);
  if (wnd) SendSkinCommand(wnd, SkinCommand::ActiveControlEnter, 0, lp);
}

// ---- Global colours -------------------------------------------------------------------

namespace {
constexpr TColor kSysBtnFace = static_cast<TColor>(0xFF00000F);
constexpr TColor kSysWindow = static_cast<TColor>(0xFF000005);
constexpr TColor kSysWindowText = static_cast<TColor>(0xFF000008);
constexpr TColor kSysHighlight = static_cast<TColor>(0xFF00000D);
constexpr TColor kSysHighlightText = static_cast<TColor>(0xFF00000E);

bool NoColour(TColor c) { return c == -1 || c == clFuchsia; }
}  // namespace

TColor TsSkinManager::GetGlobalColor() const {
  const int32_t g = model_->Cache.GlobalInfo;
  return SkinActive() && g >= 0 ? model_->Sections[static_cast<size_t>(g)].Color : kSysBtnFace;
}

TColor TsSkinManager::GetGlobalFontColor() const {
  const int32_t g = model_->Cache.GlobalInfo;
  return SkinActive() && g >= 0 ? model_->Sections[static_cast<size_t>(g)].FontColor : clFuchsia;
}

TColor TsSkinManager::GetGlobalHotColor() const {
  const int32_t g = model_->Cache.GlobalInfo;
  return SkinActive() && g >= 0 ? model_->Sections[static_cast<size_t>(g)].HotColor : kSysWindow;
}

TColor TsSkinManager::GetActiveEditFontColor() const {
  const int32_t e = SkinActive() ? model_->FindSection("EDIT") : -1;
  return e >= 0 ? model_->Sections[static_cast<size_t>(e)].FontColor : kSysWindowText;
}

TColor TsSkinManager::GetHighLightColor(bool focused) const {
  if (!SkinActive()) return kSysHighlight;
  const int32_t s = model_->FindSection("SELECTION");
  if (s >= 0) {
    const TsGeneralData& g = model_->Sections[static_cast<size_t>(s)];
    const TColor c = g.StateProps[focused && g.States >= 2 ? 1 : 0].Color;
    if (!NoColour(c)) return c;
  }
  const int32_t m = model_->FindSection("MENUITEM");
  if (m >= 0) {
    const TColor c = model_->Sections[static_cast<size_t>(m)].HotColor;
    if (!NoColour(c) && c != clWhite) return c;
  }
  return kSysHighlight;
}

TColor TsSkinManager::GetHighLightFontColor(bool focused) const {
  if (!SkinActive()) return kSysHighlightText;
  const int32_t s = model_->FindSection("SELECTION");
  if (s >= 0) {
    const TsGeneralData& g = model_->Sections[static_cast<size_t>(s)];
    const TColor c = g.StateProps[focused && g.States >= 2 ? 1 : 0].FontColor;
    if (!NoColour(c)) return c;
  }
  const int32_t m = model_->FindSection("MENUITEM");
  if (m >= 0) {
    const TColor c = model_->Sections[static_cast<size_t>(m)].HotFontColor;
    if (!NoColour(c)) return c;
  }
  return kSysHighlightText;
}

// ---- Messages between controls --------------------------------------------------------

LRESULT SendSkinCommand(TControl* control, uint16_t command, uint16_t param, LPARAM lParam) {
  if (!control) return 0;
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->HandleAllocated())
    return SendMessageA(w->Handle(), SM_ALPHACMD, MakeSkinCommand(command, param), lParam);
  return control->Perform(SM_ALPHACMD, MakeSkinCommand(command, param), lParam);
}

LRESULT SendSkinCommand(HWND wnd, uint16_t command, uint16_t param, LPARAM lParam) {
  if (!wnd) return 0;
  return SendMessageA(wnd, SM_ALPHACMD, MakeSkinCommand(command, param), lParam);
}

bool HandlesSkinCommands(HWND wnd) { return wnd && SendSkinCommand(wnd, SkinCommand::IsHandled) == 1; }

bool HandlesSkinCommandsControl(TControl* control) {
  return control && SendSkinCommand(control, SkinCommand::IsHandled) == 1;
}

void SendToChildren(TWinControl* parent, UINT msg, WPARAM wParam, LPARAM lParam) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    if (child->HasState(csDestroying)) return;
    auto* w = dynamic_cast<TWinControl*>(child);
    if (!w || !w->HandleAllocated()) {
      child->Perform(msg, wParam, lParam);
    } else if (HandlesSkinCommands(w->Handle())) {
      SendMessageA(w->Handle(), msg, wParam, lParam);
    } else {
      SendToChildren(w, msg, wParam, lParam);
    }
  }
}

// ---- Start-up -------------------------------------------------------------------------

std::vector<std::string> CommandLineArgs() {
  std::vector<std::string> args;
  int n = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
  if (!wide) return args;
  for (int i = 0; i < n; ++i) {
    const int len = WideCharToMultiByte(CP_ACP, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(len > 0 ? len - 1 : 0), '\0');
    if (len > 1) WideCharToMultiByte(CP_ACP, 0, wide[i], -1, s.data(), len, nullptr, nullptr);
    args.push_back(s);
  }
  LocalFree(wide);
  return args;
}

void acEngineStartup(const std::vector<std::string>& args) {
  // The first argument is the program itself; the switch counts only among the others.
  for (size_t i = 1; i < args.size(); ++i) {
    if (UpperCase(args[i]) == "/ACVER") {
      ShowMessage("Varnethic v7.30");
      return;
    }
  }
}

bool SkinMessageAdmitted(UINT msg, WPARAM wParam, LPARAM /*lParam*/) {
  if (msg != SM_ALPHACMD) return true;
  switch (HIWORD(wParam)) {
    case SkinCommand::NewSkin:
    case SkinCommand::RemoveSkin:
    case SkinCommand::RefreshSkin:
    case SkinCommand::RefreshSection:
    case SkinCommand::SetSection:
    case SkinCommand::PaintFadeFrame:
    case SkinCommand::AddControl:
    case SkinCommand::GetSkinIndex:
    case SkinCommand::GetBackgroundInfo:
      // While a message from another thread is handled, only the thread's own work may send
      // these: anything else came from elsewhere, and its lParam is nobody's pointer here.
      return InSendMessageEx(nullptr) == ISMEX_NOSEND || TOwnWork::Active();
    default:
      return true;
  }
}
