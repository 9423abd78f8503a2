// The skin manager component: owns the application's skin model, chooses where a skin comes
// from (a folder, a packed file in SkinDirectory, or an internal skin), and announces skin
// changes to every window and skinned control through the skin command message.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "skin/data/acEngine.h"
#include "skin/data/sConst.h"
#include "skin/data/sSkinModel.h"

class TControl;
class TWinControl;
class TForm;
class TsSkinManager;

// One skin stored in the application. Only Name and Data take part in loading.
class TsStoredSkin : public TObject {
 public:
  FRAMEWORK_CLASS(TsStoredSkin)
  std::string Name;
  std::vector<uint8_t> Data;  // a packed skin archive
  TColor Shadow1Color = 0;
  int32_t Shadow1Offset = 0;
  int32_t Shadow1Blur = -1;
  int32_t Shadow1Transparency = 0;
  TColor BorderColor = clFuchsia;
  double Version = 0;
  std::string Author;
  std::string Description;
};

class TsStoredSkins {
 public:
  TsStoredSkin& Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TsStoredSkin& Items(int i) const { return *items_.at(static_cast<size_t>(i)); }
  void Clear() { items_.clear(); }
  // Exact, case-sensitive name; nullptr when none.
  TsStoredSkin* Find(const std::string& name) const;

 private:
  std::vector<std::unique_ptr<TsStoredSkin>> items_;
};

struct TacEffects {
  bool AllowGlowing = true;
};

// How a form effect moves its picture: alpha only, or alpha and zoom.
enum TacAnimType : int { atFading = 0, atAero = 1 };

struct TacAnimEffect {
  bool Active = true;
  unsigned Time = 0;
  TacAnimType Mode = atAero;
};

// Which mouse events animate buttons.
enum : uint8_t { beMouseEnter = 1, beMouseLeave = 2, beMouseDown = 4, beMouseUp = 8 };

struct TacAnimEffects {
  bool BlendOnMoving = false;
  struct {
    uint8_t Events = beMouseEnter | beMouseLeave | beMouseDown | beMouseUp;
  } Buttons;
  TacAnimEffect DialogShow, FormShow, FormHide, DialogHide, PageChange, SkinChanging;
  TacAnimEffect Minimizing{true, 200, atAero};
};

struct TacMenuSupport {
  std::string IcoLineSkin = "ICOLINE";
};

enum : uint8_t { srStdForms = 1, srStdDialogs = 2, srThirdParty = 4 };
using TacSkinningRules = uint8_t;

// The class-name lists that tell the control adapters which third-party controls to skin.
struct TacThirdPartyList {
  std::string ThirdEdits, ThirdButtons, ThirdBitBtns, ThirdCheckBoxes, ThirdGroupBoxes, ThirdListViews,
      ThirdPanels, ThirdGrids, ThirdTreeViews, ThirdComboBoxes, ThirdWWEdits, ThirdVirtualTrees, ThirdGridEh,
      ThirdPageControl, ThirdTabControl, ThirdToolBar, ThirdStatusBar, ThirdSpeedButton;
  static constexpr int kCount = 18;
  std::string& Item(int i);
};

// The manager that controls and providers without one of their own use; nullptr when none.
TsSkinManager* DefaultManager();

class TsSkinManager : public TComponent {
 public:
  explicit TsSkinManager(TComponent* AOwner);
  ~TsSkinManager() override;
  FRAMEWORK_CLASS(TsSkinManager)

  // ---- Properties, in the order the component declares them ----
  TacEffects Effects;
  bool ExtendedBorders() const { return extendedBorders_; }
  void SetExtendedBorders(bool v) { extendedBorders_ = v; }
  bool SkinnedPopups = true;
  TacAnimEffects AnimEffects;
  bool IsDefault() const;
  void SetIsDefault(bool v);
  bool Active() const { return active_; }
  void SetActive(bool v);
  const std::vector<std::string>& CommonSections() const { return commonSections_; }
  void SetCommonSections(const std::vector<std::string>& lines);
  int32_t Saturation() const { return saturation_; }
  void SetSaturation(int32_t v);
  int32_t HueOffset() const { return hueOffset_; }
  void SetHueOffset(int32_t v);
  TsStoredSkins InternalSkins;
  TacMenuSupport MenuSupport;
  const std::string& SkinDirectory() const { return skinDirectory_; }
  void SetSkinDirectory(const std::string& v);
  const std::string& SkinName() const { return skinName_; }
  void SetSkinName(const std::string& v);
  // The loaded skin's VERSION while a skin is active, else "N/A"; writing has no effect.
  std::string SkinInfo() const;
  void SetSkinInfo(const std::string&) {}
  TacSkinningRules SkinningRules = srStdForms | srStdDialogs | srThirdParty;
  TacThirdPartyList ThirdParty;
  std::string Version() const { return "7.30"; }
  void SetVersion(const std::string&) {}
  TNotifyEvent OnAfterChange;
  TNotifyEvent OnBeforeChange;

  // ---- The skin ----
  TsSkinModel& Model() { return *model_; }
  const TsSkinModel& Model() const { return *model_; }
  // The model is built and announced.
  bool SkinActive() const { return active_ && model_->SkinData.Active; }
  // The skin folder (SkinDirectory made absolute); folder skins live in its sub-folders.
  std::string SkinFolder() const;
  // The names of all internal skins, then of the folder skins (kind 0 or 2) and packed files
  // (kind 1 or 2) in the skin folder, sorted; returns the first name added.
  std::string GetSkinNames(std::vector<std::string>& list, int kind = 2) const;

  // ---- Global colours ----
  TColor GetGlobalColor() const;
  TColor GetGlobalFontColor() const;
  TColor GetGlobalHotColor() const;
  TColor GetActiveEditFontColor() const;
  TColor GetHighLightColor(bool focused = true) const;
  TColor GetHighLightFontColor(bool focused = true) const;

  // ---- Announcing ----
  // Sends NewSkin to every window and control and, for the default manager, asks for the
  // thread's window hook (the engine's listeners set it).
  void SendNewSkin(bool animate = false);
  // Sends RemoveSkin and frees the model.
  void SendRemoveSkin();
  // A skin a skin editor sent (a preview record): its options text stands in for the
  // skin's own options file; folder and name come from the record; announced at once.
  // False when the data is not a preview record.
  bool LoadPreviewRecord(std::span<const uint8_t> data);
  // Resolves every cached index of the model again.
  void UpdateSkinState();
  // Sends a skin command (lParam = the manager) to every form of the application and their
  // controls.
  void BroadcastCommand(uint16_t command);

  // The window that last got the mouse; a change tells the old and the new one.
  HWND ActiveControl() const { return activeControl_; }
  void SetActiveControl(HWND wnd);

  // The window hook is wanted: this default manager's skin is announced and not yet removed.
  bool HookInstalled() const { return hookWanted_; }
  // Extended-border shadow size (left, top, right, bottom); 0 while extended borders are off.
  RECT ShadowSize() const { return shadowSize_; }

 protected:
  void Loaded() override;

 private:
  void LoadSkin();
  void LoadFolderOrInternal(const TsBuildParams& params);
  TsBuildParams BuildParams() const;
  void ReloadForColours();
  void WantHook(bool wanted);
  void ShowLoadError(const std::string& message) const;
  bool IsLoadingState() const;

  std::unique_ptr<TsSkinModel> model_;
  bool extendedBorders_ = false;
  bool active_ = true;
  bool noAutoUpdate_ = false;
  bool skinRemoving_ = false;
  int32_t saturation_ = 0;
  int32_t hueOffset_ = 0;
  std::vector<std::string> commonSections_;
  std::string skinDirectory_;
  std::string skinName_;
  std::string previewOptions_;  // options text of a preview record, used once
  HWND activeControl_ = nullptr;
  bool hookWanted_ = false;
  RECT shadowSize_{0, 0, 0, 0};
};

// Sends a skin command to a control: by SendMessage to its window when it has one, else
// straight through its message handler. 0 when nothing answers.
LRESULT SendSkinCommand(TControl* control, uint16_t command, uint16_t param = 0, LPARAM lParam = 0);
LRESULT SendSkinCommand(HWND wnd, uint16_t command, uint16_t param = 0, LPARAM lParam = 0);
// True when the window answers IsHandled.
bool HandlesSkinCommands(HWND wnd);
// True when the control answers IsHandled.
bool HandlesSkinCommandsControl(TControl* control);
// Whether a window of the engine may handle a message that came through the system: skin
// commands whose lParam points into memory are taken only from the window's own thread, so that
// a number another program sends is never followed as a pointer.
bool SkinMessageAdmitted(UINT msg, WPARAM wParam, LPARAM lParam);
// Sends the message to every child of `parent`: windowless children directly, windowed ones
// that handle skin commands by message (they pass it on), other windowed ones are walked.
void SendToChildren(TWinControl* parent, UINT msg, WPARAM wParam, LPARAM lParam);

// The skin engine's start-up: "/acver" among the arguments shows the engine's version.
void acEngineStartup(const std::vector<std::string>& args);
// The command-line arguments of this process.
std::vector<std::string> CommandLineArgs();
