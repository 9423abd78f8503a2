// The skinned frame of a top-level window, shared by the form provider and the dialog handler:
// the title buttons (their images, layout, hot and pressed states and the animations that show
// them), the frame cache painted from the skin's FORM and title sections with the caption, the
// window region cut from the frame's key-coloured corners, the paint onto the window DC and the
// skinned system menu. What it needs to know of its window it asks the window's host.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "skin/frame/acTitleAnimation.h"
#include "skin/frame/sSystemMenu.h"
#include "skin/render/sCommonData_win.h"
#include "skin/render/sTitleLayout.h"

// How the caption text is placed in the title band.
struct TacCaptionLook {
  // True: the text's own rectangle, aligned in the caption area beside the buttons (forms).
  // False: the whole band left of the buttons, with the window's reading order (dialogs).
  bool Fitted = true;
  TsCaptionAlign Align = TsCaptionAlign::Left;
  bool Enabled = true;
  std::optional<uint8_t> Charset;  // none: the font's own
  UINT ExtraFormat = 0;            // added to the single-line, ellipsis format
};

// What the frame needs from the window it dresses.
class TacFrameHost {
 public:
  virtual ~TacFrameHost() = default;
  virtual HWND FrameWindow() const = 0;  // nullptr while the window is not made
  virtual TsCommonData& FrameBinding() const = 0;
  virtual std::string FrameCaption() const = 0;
  virtual TacCaptionLook CaptionLook() const = 0;
  virtual TsFrameMetrics FrameMetrics() const = 0;
  virtual POINT FrameClientOrigin() const = 0;
  virtual bool FrameActive() const = 0;
  // Whether the frame is laid out and cut as a maximized one.
  virtual bool FrameZoomed() const = 0;
  // The skin section of the title band.
  virtual std::string TitleSection() const = 0;
  // Whether the title band (caption and buttons) is drawn at all.
  virtual bool DrawsTitle() const = 0;
  virtual bool ButtonShown(TsTitleButton b) const = 0;
  // A shown button drawn as usable (else greyed like an inactive frame's).
  virtual bool ButtonEnabled(int32_t hitCode) const = 0;
  // Whether a press on the button may start.
  virtual bool ButtonPressable(int32_t hitCode) const = 0;
  // Big-set spacing between the buttons.
  virtual bool BigSetSpacing() const = 0;
  // The frame cache may be painted now / the window DC may be painted now.
  virtual bool FrameCanPrepare() const = 0;
  virtual bool FrameCanPaint() const = 0;
  virtual bool TitleAnimationsAllowed() const = 0;
  // A hot button may glow: in its animation, and without one in a glow window when the
  // second is also true.
  virtual bool ButtonsGlow() const = 0;
  virtual bool GlowWindowAllowed() const = 0;
  // True: the frame's four border pieces are copied; false: the whole picture with the client
  // area clipped out.
  virtual bool PaintsFramePieces() const = 0;
  // Whether the window wants its region cut at all now.
  virtual bool RegionWanted() const = 0;
  // The system menu's entries, none when the window has no system menu.
  virtual std::optional<std::vector<TsSysMenuItem>> SystemMenuItems() = 0;
  // Told when the cache was first made and each time it has been painted whole.
  virtual void FrameCacheMade() = 0;
  virtual void FrameCachePainted() = 0;
};

class TacFrameSkin {
 public:
  // The timer that lets a hot title button go when the mouse has left it; ticks as often as
  // the title buttons' animation.
  static constexpr UINT_PTR kHotWatchTimer = 0xAC5B;
  static constexpr UINT kHotWatchInterval = 12;

  explicit TacFrameSkin(TacFrameHost& host);
  TacFrameSkin(const TacFrameSkin&) = delete;
  TacFrameSkin& operator=(const TacFrameSkin&) = delete;

  // ---- Title buttons ----
  struct Button {
    int32_t State = 0;  // 0 normal, 1 hot, 2 pressed
    int32_t ImageIndex = -1;
    TsRect Rect;
    bool BigIcon = false;
    int32_t HitCode = 0;
    int32_t GlowHandle = -1;  // its glow window while hot without an animation
    std::unique_ptr<TacSBAnimation> Animation;  // from the first state change, while allowed
  };
  // Every button back to nothing: no image, no state, no animation or glow.
  void ResetButtons();
  // The skin's images for the buttons: the big set or the small one (the big set when the
  // skin has no small close image); a lone close button takes its own image when the skin has one.
  void ChooseButtonImages(bool bigSet, bool closeAlone);
  Button& ButtonAt(TsTitleButton b) { return buttons_[static_cast<size_t>(b)]; }
  const Button& ButtonAt(TsTitleButton b) const { return buttons_[static_cast<size_t>(b)]; }
  TsTitleLayoutInput LayoutInput() const;
  TsTitleLayout TitleLayout() const;
  // Ends every button's animation and glow; true when one was running.
  bool StopAnimations();

  // ---- Hot and pressed ----
  int32_t HotCode() const { return hotCode_; }
  bool Pressed() const { return pressed_; }
  // The mouse over the frame (forms): the old hot button back to normal, `code`'s hot, and a
  // timer watches the mouse leave it. -1 marks a sizing border.
  void MoveHot(int32_t code);
  void ClearHot() { MoveHot(0); }
  // The mouse pressed on a button (forms).
  void Press(int32_t code);
  // The pressed button let go without being shown (its click is being carried out).
  void DropPress(int32_t code);
  // Lets the hot button go when the mouse is no longer over it (the watch timer's tick).
  void WatchHot();
  // Every button's state from one hot code (dialogs, which capture the mouse on a press).
  void SetHot(int32_t code, bool pressed);

  // ---- Cache, region, paint ----
  bool CacheMatchesWindow() const;
  void MarkRegionChanged() { regionChanged_ = true; }
  void PrepareCache();
  void ApplyRegion();
  // The frame from the cache onto a window DC.
  void PaintFrame(HDC dc);
  // Onto the window's own DC now.
  void PaintNow();
  // Marks the cache stale and paints the frame at once when the window may be painted.
  void Repaint();

  // ---- System menu ----
  void ShowSystemMenu(int x, int y);

 private:
  Button* ButtonOf(int32_t code);
  void PaintCaption(Bitmap32& cache, const TsTitleLayout& layout);
  void PaintButtons(const TsTitleLayout& layout);
  void PaintButton(Button& b);
  // One button in its new state: animation or glow, then its picture on screen.
  void ShowButtonState(Button& b);

  TacFrameHost& host_;
  std::array<Button, kSystemButtons> buttons_;
  TBitmap titleStrip_;  // the clean title bar under the buttons
  int32_t titleStripLeft_ = 0;
  int32_t hotCode_ = 0;
  bool pressed_ = false;
  bool watchingHot_ = false;
  bool regionChanged_ = true;
  bool regionChanging_ = false;
  int regionWidth_ = -1, regionHeight_ = -1;  // size the region was cut for
};

// The system's caption font (read once) given to a framework font: name, height and style.
void AssignCaptionFont(TFont& font);
