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
#include "skin/frame/acFrameSkin.h"
#include "skin/frame/acMinTimer.h"
#include "skin/frame/acTitleAnimation.h"
#include "skin/frame/sSystemMenu.h"
#include "skin/render/sCommonData_win.h"
#include "skin/render/sFormLife.h"
#include "skin/render/sTitleLayout.h"

// What OnAfterAnimation reports.
enum TacFormAnimEvent : int { aeShowing = 0, aeHiding = 1, aeSkinChanging = 2 };

class TsSkinProvider : public TComponent, private TacFrameHost {
 public:
  static constexpr UINT_PTR kHotWatchTimer = TacFrameSkin::kHotWatchTimer;
  static constexpr UINT kHotWatchInterval = TacFrameSkin::kHotWatchInterval;

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
  void PrepareFrameCache() { frame_.PrepareCache(); }
  // Copies the frame's four pieces from the cache onto a window DC.
  void PaintFrame(HDC windowDc) { frame_.PaintFrame(windowDc); }
  // The title bar's hit code of a screen point (and the hot button follows it).
  int32_t HitTest(POINT screen);
  // The skinned system menu at a screen point.
  void ShowSystemMenu(int x, int y);
  // Ends every title button's animation; their windows vanish.
  void StopTitleAnimations() { frame_.StopAnimations(); }
  // The animation of a title button (its window, its state), or nullptr while it has none.
  const TacSBAnimation* ButtonAnimation(TsTitleButton button) const { return frame_.ButtonAt(button).Animation.get(); }

  // ---- State ----
  bool Inert() const { return inert_; }
  // The minimize animations' timer once the form was minimized with them, else nullptr.
  const TacMinTimer* MinimizeTimer() const { return minTimer_.get(); }
  // True from a minimize or restore animation's start until the restored form is shown.
  bool Animating() const { return life_.InFlightLife(); }
  // Where the form is in its life.
  TsFormState LifeState() const { return life_.State(); }
  bool FormActive() const { return formActive_; }
  int32_t HotCode() const { return frame_.HotCode(); }
  int32_t ButtonState(TsTitleButton button) const { return frame_.ButtonAt(button).State; }
  TsFrameMetrics Metrics() const;
  // The client area's top-left corner in window coordinates.
  POINT ClientOrigin() const;
  // The title buttons laid out for the present window size.
  TsTitleLayout TitleLayout() const { return frame_.TitleLayout(); }
  TsCustomSysMenu* SystemMenu() const { return sysMenu_.get(); }
  // The control adapter while the form is skinned, else nullptr.
  TacCtrlAdapter* Adapter() const { return adapter_.get(); }
  // Gives the controls of `container` (nullptr: the whole form) that are not skin-aware
  // their handlers.
  void AdaptControls(TWinControl* container = nullptr);

 protected:
  void Loaded() override;

 private:
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
  // One handler per message of a skinned form.
  void Created(TMessage& m);
  void ParentNotify(TMessage& m);
  void Moved(TMessage& m);
  void MinMaxInfo(TMessage& m);
  void Sized(TMessage& m);
  void Print(TMessage& m);
  void WindowShown(TMessage& m);
  void QueryEndSession(TMessage& m);
  void EndSession(TMessage& m);
  void LookChanged(TMessage& m);
  void NcPaint(TMessage& m);
  void Activate(TMessage& m);
  void EnabledChanged(TMessage& m);
  void IconChanged(TMessage& m);
  void SetText(TMessage& m);
  void EraseBackground(TMessage& m);
  void Paint(TMessage& m);
  void HitTestMessage(TMessage& m);
  void NcButtonDown(TMessage& m);
  void NcButtonUp(TMessage& m);
  void NcDoubleClick(TMessage& m);
  void NcRightButtonDown(TMessage& m);
  void NcRightButtonUp(TMessage& m);
  void TaskbarSystemMenu(TMessage& m);
  void SysCommand(TMessage& m);
  void InitMenuPopup(TMessage& m);
  void MouseMove(TMessage& m);
  void Timer(TMessage& m);
  void MouseLeave(TMessage& m);
  void VisibleChanged(TMessage& m);
  void MenuChanged(TMessage& m);
  // The saved procedure with the platform's own frame drawing held back.
  void CallWithoutFrameDrawing(TMessage& m);
  bool IsSkinned() const;
  bool CanPaintFrame() const;
  bool Showing() const;
  void ClearHot() { frame_.ClearHot(); }

  // The frame's host (sSkinProviderFrame.cpp).
  void ChooseButtonImages();
  HWND FrameWindow() const override;
  TsCommonData& FrameBinding() const override { return *skinData_; }
  std::string FrameCaption() const override { return form_->Caption(); }
  TacCaptionLook CaptionLook() const override;
  TsFrameMetrics FrameMetrics() const override { return Metrics(); }
  POINT FrameClientOrigin() const override { return ClientOrigin(); }
  bool FrameActive() const override { return formActive_; }
  bool FrameZoomed() const override;
  std::string TitleSection() const override;
  bool DrawsTitle() const override { return drawNonClientArea_; }
  bool ButtonShown(TsTitleButton b) const override;
  bool ButtonEnabled(int32_t hitCode) const override;
  bool ButtonPressable(int32_t hitCode) const override;
  bool BigSetSpacing() const override;
  bool FrameCanPrepare() const override;
  bool FrameCanPaint() const override { return CanPaintFrame() && drawNonClientArea_; }
  bool TitleAnimationsAllowed() const override;
  bool ButtonsGlow() const override { return true; }
  bool GlowWindowAllowed() const override { return !form_->Parent(); }
  bool PaintsFramePieces() const override { return true; }
  bool RegionWanted() const override { return true; }
  std::optional<std::vector<TsSysMenuItem>> SystemMenuItems() override;
  void FrameCacheMade() override;
  void FrameCachePainted() override { skinData_->PaintingSuspended = false; }
  int State() const;
  TColor FormColor() const;

  TForm* form_;
  TWndMethod formProc_;
  std::unique_ptr<TsCommonData> skinData_;
  std::unique_ptr<TsSystemMenu> sysMenu_;
  std::unique_ptr<TacCtrlAdapter> adapter_;
  std::unique_ptr<TacMinTimer> minTimer_;  // the form timer
  TBitmap hidePicture_;                    // the form's last picture, taken when it closes
  TacFrameSkin frame_{*this};
  TsFormLife life_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool hideFadeRunning_ = false;  // the hide fade is under way (it hides the window again)
  bool activating_ = false;       // inside WM_NCACTIVATE: no title animations meanwhile
  bool inert_ = false;
  bool formActive_ = true;
  bool drawNonClientArea_ = true;
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

// The provider of a form, or nullptr.
TsSkinProvider* FindSkinProvider(TForm* form);
