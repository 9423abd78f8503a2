// The form skin provider: it takes over a form's window procedure and paints the whole frame
// (border, title bar, caption, title buttons) from a cache of the whole window built with the
// skin's FORM and FORMTITLE sections, cuts the window region from the frame's key-coloured
// corners, answers the children's background questions, and handles the title bar's mouse
// and the skinned system menu. The non-client sizes stay the ones Windows gives the style.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "skin/frame/acCtrlAdapter.h"
#include "skin/frame/acMinTimer.h"
#include "skin/frame/acTitleAnimation.h"
#include "skin/frame/sSystemMenu.h"
#include "skin/render/sCommonData_win.h"
#include "skin/render/sTitleLayout.h"

// What OnAfterAnimation reports.
enum TacFormAnimEvent : int { aeShowing = 0, aeHiding = 1, aeSkinChanging = 2 };

// Form-state flags of a provider (its own set, apart from the binding's StateFlags).
enum : uint32_t {
  fsMinimizing = 0x100,
  fsHidePrepared = 0x200,
  fsRestoredFromMin = 0x400,
  fsInNcActivate = 0x8000,
};

class TsSkinProvider : public TComponent {
 public:
  // The timer that lets a hot title button go when the mouse has left it; ticks as often as
  // the title buttons' animation.
  static constexpr UINT_PTR kHotWatchTimer = 0xAC5B;
  static constexpr UINT kHotWatchInterval = 12;

  // The owner must be a form. A provider made at run time (by the window hook) initialises
  // once the window first asks for its frame; a second provider on a form that already has
  // an initialised one stays inert.
  explicit TsSkinProvider(TComponent* AOwner, bool createdAtRunTime = false);
  ~TsSkinProvider() override;
  FRAMEWORK_CLASS(TsSkinProvider)

  // ---- Published ----
  TsCommonData& SkinData() { return *skinData_; }
  TAlignment CaptionAlignment = TAlignment::taLeftJustify;
  bool DrawNonClientArea() const { return drawNonClientArea_; }
  void SetDrawNonClientArea(bool value);
  // Kept for forms that set them; this program's title bars draw no icon and its system
  // menu has no skin-selection submenu.
  bool MakeSkinMenu = false;
  bool ShowAppIcon = true;
  std::string TitleSkin;  // empty: "FORMTITLE"
  bool UseGlobalColor = true;
  // Raised after the show effect.
  std::function<void(TsSkinProvider* sender, int event)> OnAfterAnimation;
  // Lets the form veto or re-section a control the adapter is about to skin.
  TacSkinItemEvent OnSkinItem;

  // ---- Operations ----
  // Marks the frame cache stale and paints the frame at once (caption, icon, alignment changes).
  void RepaintFrameNow();
  void MarkFrameStale() { skinData_->CacheStale = true; }
  // Paints the whole window into the frame cache.
  void PrepareFrameCache();
  // Copies the frame's four pieces from the cache onto a window DC.
  void PaintFrame(HDC windowDc);
  // The title bar's hit code of a screen point (and the hot button follows it).
  int32_t HitTest(POINT screen);
  // The skinned system menu at a screen point.
  void ShowSystemMenu(int x, int y);
  // Ends every title button's animation; their windows vanish.
  void StopTitleAnimations();
  // The animation of a title button (its window, its state), or nullptr while it has none.
  const TacSBAnimation* ButtonAnimation(TsTitleButton button) const {
    return buttons_[static_cast<size_t>(button)].Animation.get();
  }

  // ---- State ----
  bool Inert() const { return inert_; }
  // The minimize animations' timer once the form was minimized with them, else nullptr.
  const TacMinTimer* MinimizeTimer() const { return minTimer_.get(); }
  // True from a minimize or restore animation's start until the restored form is shown.
  bool Animating() const { return animating_; }
  bool FormActive() const { return formActive_; }
  int32_t HotCode() const { return hotCode_; }
  int32_t ButtonState(TsTitleButton button) const { return buttons_[static_cast<size_t>(button)].State; }
  TsFrameMetrics Metrics() const;
  // The client area's top-left corner in window coordinates.
  POINT ClientOrigin() const;
  // The title buttons laid out for the present window size.
  TsTitleLayout TitleLayout() const;
  TsCustomSysMenu* SystemMenu() const { return sysMenu_.get(); }
  // The control adapter while the form is skinned, else nullptr.
  TacCtrlAdapter* Adapter() const { return adapter_.get(); }
  // Gives the controls of `container` (nullptr: the whole form) that are not skin-aware
  // their handlers.
  void AdaptControls(TWinControl* container = nullptr);

 protected:
  void Loaded() override;

 private:
  struct ButtonSlot {
    int32_t State = 0;         // 0 normal, 1 hot, 2 pressed, -1 not drawn
    int32_t ImageIndex = -1;
    TsRect Rect;
    bool BigIcon = false;
    int32_t HitCode = 0;
    int32_t GlowHandle = -1;  // its glow window while hot without an animation
    std::unique_ptr<TacSBAnimation> Animation;  // from the first state change, while allowed
  };

  // Show and hide effects (sSkinProviderEffects.cpp).
  void ShowingChanged(TMessage& m);
  void RunShowEffect(unsigned time, int targetAlpha, int mode);
  void PrepareHide(TMessage& m);
  void WindowPosChanged(TMessage& m);

  // Minimize and restore animations (sSkinProviderMinimize.cpp).
  friend class TacMinTimer;
  bool FlightWanted() const;
  bool StartMinimizeAnimation();
  bool StartRestoreAnimation();
  void MinimizeFlightArrived();
  void RestoreFlightReturned();
  // Ends a flight under way and leaves the form as the platform shows it.
  void DropMinimizeAnimation();

  // Skin preview (sSkinProviderPreview.cpp).
  void PreviewMessage(TMessage& m);
  bool PreviewCopyData(TMessage& m);
  void BecomePreviewWindow();

  // Message routing (sSkinProvider.cpp).
  void ProviderWndProc(TMessage& m);
  bool AlwaysAnsweredCommand(TMessage& m);
  void UnskinnedWndProc(TMessage& m);
  void SkinCommand(TMessage& m);
  void SkinnedWndProc(TMessage& m);
  void InitRunTime();
  void PrepareForm();
  void RemoveSkin();
  void SkinAgain();
  void KeepSystemMenuOff();
  void FilterCreateParams(TCreateParams& params);
  void Activate(TMessage& m);
  void SetText(TMessage& m);
  void EraseBackground(TMessage& m);
  void Paint(TMessage& m);
  void HitTestMessage(TMessage& m);
  void NcButtonDown(TMessage& m);
  void NcButtonUp(TMessage& m);
  void NcDoubleClick(TMessage& m);
  void NcRightButtonUp(TMessage& m);
  void SysCommand(TMessage& m);
  // The saved procedure with the platform's own frame drawing held back.
  void CallWithoutFrameDrawing(TMessage& m);
  bool IsSkinned() const;
  bool CanPaintFrame() const;
  bool Showing() const;

  // Title bar (sSkinProviderTitle.cpp).
  void ChooseButtonImages();
  TsTitleLayoutInput LayoutInput() const;
  void PlaceButtons();
  void PaintCaption(Bitmap32& cache);
  void PaintButtons();
  void PaintButton(ButtonSlot& slot);
  void RedrawButton(int32_t code);
  ButtonSlot* SlotOf(int32_t code);
  void SetHotCode(int32_t code);
  void PressButton(int32_t code);
  void ClearHot() { SetHotCode(0); }
  void WatchHotButton();
  bool AnimationsAllowed() const;

  // Frame (sSkinProviderFrame.cpp).
  int State() const;
  int32_t TitleSectionIndex() const;
  TColor FormColor() const;
  void ApplyRegion();
  bool FrameCacheMatchesWindow() const;

  TForm* form_;
  TWndMethod formProc_;
  std::unique_ptr<TsCommonData> skinData_;
  std::unique_ptr<TsSystemMenu> sysMenu_;
  std::unique_ptr<TacCtrlAdapter> adapter_;
  std::unique_ptr<TacMinTimer> minTimer_;  // the form timer
  std::unique_ptr<TBitmap> titleStrip_;  // the clean title bar under the buttons
  TBitmap hidePicture_;                  // the form's last picture, taken when it closes
  int32_t titleStripLeft_ = 0;
  std::array<ButtonSlot, kSystemButtons> buttons_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool createdAtRunTime_ = false;
  bool inShowAnimation_ = false;
  bool skipAnimation_ = false;
  bool animating_ = false;
  bool inert_ = false;
  bool formActive_ = true;
  bool drawNonClientArea_ = true;
  bool regionChanged_ = true;
  bool regionChanging_ = false;
  bool pressed_ = false;
  bool watchingHot_ = false;
  int32_t hotCode_ = 0;
  int lockCount_ = 0;
  uint32_t formState_ = 0;
  int cachedWidth_ = -1, cachedHeight_ = -1;  // size the region was cut for
};

// Skin preview mode: a skin editor starts the program with "/acpreview" as its first
// parameter (exactly so) and sends it skins to show. The mode is on from the first provider
// until the main form first shows; that form becomes the preview window and is announced to
// the editor's window.
inline constexpr const char* kPreviewSwitch = "/acpreview";
inline constexpr const char* kSkinEditorTitle = "Quorindels Editor";
inline constexpr UINT kMsgSkinEditor = 0xA400;
bool PreviewRequested(const std::vector<std::string>& args);
// The preview state of the process (an engine part).
struct TacPreviewState {
  bool Mode = false;        // on until the main form first shows
  bool Checked = false;     // the command line has been asked
  HWND Window = nullptr;    // the preview window, or nullptr
  bool Copying = false;     // a record from the editor is being loaded
  // Turns the mode on when the command line asks for it; asks once.
  void CheckCommandLine();
};
TacPreviewState& acPreview();
// The preview window, or nullptr.
HWND acPreviewWindow();

// The system's caption font (read once) given to a framework font: name, height and style.
void AssignCaptionFont(TFont& font);

// The provider of a form, or nullptr.
TsSkinProvider* FindSkinProvider(TForm* form);
