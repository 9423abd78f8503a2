// State fading: when a skinned button or box changes its look, its old cache picture is
// cross-faded into the new one over the section's FADINGITERATIONS frames, one every 10 ms.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/ExtCtrls.h"
#include "framework/Graphics.h"

class TsCommonData;
class TsSkinManager;

// Which of a control's mouse events fade (its AnimatEvents); aeGlobalDef defers to the
// manager's AnimEffects.Buttons.Events.
enum : uint8_t { aeMouseEnter = 1, aeMouseLeave = 2, aeMouseDown = 4, aeMouseUp = 8, aeGlobalDef = 16 };
using TacAnimatEvents = uint8_t;

// The events AnimationAllowed is asked about.
enum TacAnimEvent : int { evMouseEnter = 0, evMouseLeave = 1, evMouseDown = 2, evMouseUp = 3 };

struct TsFadeState;

class TsFadeTimer : public TTimer {
 public:
  explicit TsFadeTimer(TsCommonData& binding);
  ~TsFadeTimer() override;
  FRAMEWORK_CLASS(TsFadeTimer)

  uint8_t FadeKind = 0;  // 0 idle, 1 or 2 fading
  TsCommonData* Binding;
  int32_t FrameCount = 0;
  int32_t Frame = 1;
  std::unique_ptr<TBitmap> StartImage;  // the picture before the change
  bool InTick() const { return ticking_; }

 private:
  friend void StopFade(std::unique_ptr<TsFadeTimer>& slot, TsCommonData& binding);
  friend void StartFade(std::unique_ptr<TsFadeTimer>& slot, TsCommonData& binding, bool halfFrames, int kind);
  void Tick();
  void ShowFrame();

  TsFadeState& fades_;  // known from the start: a released timer may go with the fades' state
  bool ticking_ = false;
  bool released_ = false;  // StopFade came during this timer's own tick
  bool newLookShown_ = false;  // the last frame put on screen was the new picture itself
};

// The fades of the process (an engine part).
struct TsFadeState {
  // Set when Windows announces a log-off or shutdown: no more frames.
  bool AnimationsOff = false;
  // Every fade timer alive; a log-off waits for none to be left.
  std::vector<TsFadeTimer*> Live;
  // Timers whose fade ended inside their own tick: they are freed once that tick has returned.
  std::vector<std::unique_ptr<TsFadeTimer>> Released;
};
TsFadeState& acFades();

using TsFadeSlot = std::unique_ptr<TsFadeTimer>;

bool AnimationAllowed(int event, TacAnimatEvents controlEvents, TsSkinManager* manager = nullptr);
// Called right after a control's state flags changed: fades to the new look when the skin and
// the situation allow it, else repaints at once; then the control's glow follows the change.
void ChangePaint(TsFadeSlot& slot, TsCommonData& binding, bool halfFrames, int kind, bool allowed);
void StartFade(TsFadeSlot& slot, TsCommonData& binding, bool halfFrames, int kind);
// Ends a running fade and frees its timer (safe from within the timer's own tick).
void StopFade(TsFadeSlot& slot, TsCommonData& binding);
// Whether any fade timer is running.
bool FadesRunning();
// Handles messages until no fade runs; with AnimationsOff set, each running fade ends at its
// next tick.
void WaitForFades();
