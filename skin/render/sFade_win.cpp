#include "skin/render/sFade_win.h"

#include <algorithm>
#include <vector>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/data/acEngine.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sAlphaGraph.h"
#include "skin/render/sCommonData_win.h"

namespace {

std::vector<std::unique_ptr<TsFadeTimer>>& Released() { return acFades().Released; }

void FreeReleased() {
  auto& timers = Released();
  timers.erase(std::remove_if(timers.begin(), timers.end(), [](const auto& t) { return !t->InTick(); }), timers.end());
}

// Runs from the message loop right after the tick that released a timer.
void CALLBACK FreeReleasedLater(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  FreeReleased();
}

std::vector<TsFadeTimer*>& LiveTimers() { return acFades().Live; }

bool FadingEnabled(const TsCommonData& binding) {
  const TsGeneralData* s = binding.Section();
  return s && s->FadingEnabled;
}

int32_t Iterations(const TsCommonData& binding) {
  const TsGeneralData* s = binding.Section();
  return s ? s->FadingIterations : 0;
}

bool OwnerAlive(const TsCommonData& binding) {
  return binding.OwnerControl && !binding.OwnerDestroying();
}

}  // namespace

TsFadeState& acFades() { return acEngine().Part<TsFadeState>(); }

TsFadeTimer::TsFadeTimer(TsCommonData& binding) : TTimer(nullptr), Binding(&binding), fades_(acFades()) {
  fades_.Live.push_back(this);
  SetEnabled(false);
  OnTimer = [this](TObject*) { Tick(); };
}

TsFadeTimer::~TsFadeTimer() {
  auto& live = fades_.Live;
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void TsFadeTimer::Tick() {
  if (!Binding || released_) return;
  ticking_ = true;
  const bool alive = OwnerAlive(*Binding) && !(Application && Application->Terminated());
  if (!alive) {
    FadeKind = 0;
    SetEnabled(false);
  } else if (acFades().AnimationsOff || Frame < 0 || Frame > FrameCount) {
    // A fade cut short (a restart can leave it no frames at all) ends with the last blend
    // still on screen: the control shows its new look in full.
    if (!newLookShown_) Binding->RepaintOwner();
    // The control answers by stopping the fade, which releases this timer.
    SendSkinCommand(Binding->OwnerControl, SkinCommand::AnimationDone);
    ticking_ = false;
    return;
  }
  if (FadeKind == 1 || FadeKind == 2) ShowFrame();
  ticking_ = false;
}

void TsFadeTimer::ShowFrame() {
  TsCommonData& sd = *Binding;
  if (!OwnerAlive(sd) || FrameCount == 0 || acFades().AnimationsOff) return;
  TControl* control = sd.OwnerControl;
  if (!control->Enabled()) {
    SetEnabled(false);
    FrameCount = 0;
    sd.RepaintOwner();
    return;
  }
  HWND wnd = sd.OwnerHandle();
  if (wnd && StartImage && sd.Cache()) {
    TBitmap frame;
    frame.Assign(*StartImage);
    const int weight = std::clamp(255 - Frame * 256 / FrameCount, 0, 255);
    // A control resized during the fade keeps showing its old picture until the fade ends.
    const bool sameSize = frame.Width() == sd.Cache()->Width() && frame.Height() == sd.Cache()->Height();
    if (sameSize) {
      Bitmap32 dst = frame.View();
      BlendBitmaps(dst, sd.CacheView(), weight);
    }
    newLookShown_ = sameSize && weight == 0;
    WindowDC dc(wnd);
    SavedDC saved(dc.get());
    if (SendSkinCommand(control, SkinCommand::PaintFadeFrame, 0, reinterpret_cast<LPARAM>(&frame)) == 0)
      BitBlt(dc.get(), 0, 0, frame.Width(), frame.Height(), frame.Canvas().Handle(), 0, 0, SRCCOPY);
  }
  ++Frame;
}

bool AnimationAllowed(int event, TacAnimatEvents controlEvents, TsSkinManager* manager) {
  static constexpr uint8_t own[] = {aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp};
  static constexpr uint8_t global[] = {beMouseEnter, beMouseLeave, beMouseDown, beMouseUp};
  if (event < 0 || event > 3) return false;
  if (controlEvents & own[event]) return true;
  if (!(controlEvents & aeGlobalDef)) return false;
  if (!manager) manager = DefaultManager();
  return manager && (manager->AnimEffects.Buttons.Events & global[event]);
}

void ChangePaint(TsFadeSlot& slot, TsCommonData& binding, bool halfFrames, int kind, bool allowed) {
  if (!binding.IsSkinned()) return;
  const bool fades = allowed && !acEngine().SkinLoading && FadingEnabled(binding) && !acFades().AnimationsOff && binding.Cache() &&
                     !binding.CacheStale;
  binding.CacheStale = true;
  if (fades) {
    StartFade(slot, binding, halfFrames, kind);
  } else {
    if (slot) StopFade(slot, binding);
    binding.RepaintOwner();
    if (HWND wnd = binding.OwnerHandle()) UpdateWindow(wnd);
  }
  binding.UpdateGlow(halfFrames);
}

void StartFade(TsFadeSlot& slot, TsCommonData& binding, bool halfFrames, int kind) {
  if (!FadingEnabled(binding)) return;
  FreeReleased();
  const int32_t iterations = Iterations(binding);
  if (slot) {
    slot->Frame = iterations;
  } else {
    slot = std::make_unique<TsFadeTimer>(binding);
    slot->Frame = 1;
  }
  TsFadeTimer& t = *slot;
  TControl* control = binding.OwnerControl;
  if (binding.CacheStale && (!binding.Cache() || binding.Cache()->Empty()) && control)
    SendSkinCommand(control, SkinCommand::PrepareCache);
  // The old picture: what the cache holds before the control paints its new state.
  if (!t.StartImage) t.StartImage = std::make_unique<TBitmap>();
  if (binding.Cache()) t.StartImage->Assign(*binding.Cache());
  t.SetInterval(10);
  t.newLookShown_ = false;
  t.FrameCount = iterations;
  if (t.FadeKind == 1) t.FrameCount = t.Frame;
  else if (t.FadeKind == 2) t.FrameCount = iterations - t.Frame;
  if (halfFrames) t.FrameCount /= 2;
  if (t.Frame >= t.FrameCount || t.Frame <= 0) t.Frame = 1;
  if (control) SendSkinCommand(control, SkinCommand::PrepareCache);
  t.FadeKind = static_cast<uint8_t>(kind);
  if (t.Frame < 0) t.Frame = 1;
  t.SetEnabled(kind != 0);
}

void StopFade(TsFadeSlot& slot, TsCommonData& /*binding*/) {
  if (!slot) return;
  slot->SetEnabled(false);
  slot->FadeKind = 0;
  if (slot->ticking_) {
    // Still inside its own tick: free it as soon as the tick is over.
    slot->released_ = true;
    slot->StartImage.reset();
    Released().push_back(std::move(slot));
    SetTimer(nullptr, 0, 0, &FreeReleasedLater);
  } else {
    slot.reset();
  }
  FreeReleased();
}

bool FadesRunning() {
  return std::any_of(LiveTimers().begin(), LiveTimers().end(), [](const TsFadeTimer* t) { return t->Enabled(); });
}

void WaitForFades() {
  // Running fades end at their next tick once animations are off. The wait runs inside the
  // system's question, sent from another process; the painting meanwhile is our own.
  TOwnWork own;
  auto busy = [] { return FadesRunning() || !Released().empty(); };
  while (busy() && !(Application && Application->Terminated())) {
    if (Application) Application->ProcessMessages();
    if (busy()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}
