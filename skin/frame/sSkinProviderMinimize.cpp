// Minimizing and restoring the main form with a flying picture. The main form owns the
// application's taskbar button, so the taskbar's minimize and restore commands arrive at its
// window procedure (SysCommand), which starts the animations around the platform's own
// minimize and restore.
#include "skin/data/sSkinManager_win.h"
#include "skin/frame/acFormEffects.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/render/acLayered_win.h"

bool TsSkinProvider::FlightWanted() const {
  TsSkinManager* manager = skinData_->Manager();
  return manager && manager->AnimEffects.Minimizing.Active && drawNonClientArea_ && IsSkinned() &&
         Application && Application->MainForm() == form_ && form_->HandleAllocated() &&
         IsWindowVisible(form_->Handle()) && acLayered().Update && acLayered().SetAttributes;
}

bool TsSkinProvider::StartMinimizeAnimation() {
  StopTitleAnimations();
  const bool turningRestoreAround = life_.Base() == TsFormState::Restoring;
  if (!life_.Apply(TsFormEvent::MinimizeBegin)) return false;
  const HWND wnd = form_->Handle();
  const unsigned time = skinData_->Manager()->AnimEffects.Minimizing.Time;
  // A minimize while a restore flies keeps that flight and turns it around.
  if (!minTimer_) {
    minTimer_ = std::make_unique<TacMinTimer>(
        wnd, TacMinTimer::Landings{[this] { MinimizeFlightArrived(); }, [this] { RestoreFlightReturned(); }});
    minTimer_->Init(time);
  } else if (!turningRestoreAround) {
    minTimer_->Init(time);
  }
  minTimer_->Flight().Minimized = false;
  if (!minTimer_->Flight().InFlight()) minTimer_->TakePicture();
  acFadeWindowTo(wnd, 0);
  minTimer_->Start();
  return true;
}

bool TsSkinProvider::StartRestoreAnimation() {
  TsSkinManager* manager = skinData_->Manager();
  // Only a picture that flew out (or is flying out) flies back: otherwise the form would stay
  // invisible with nothing to bring it back.
  const bool flownOut = minTimer_ && minTimer_->AnimationWindow() &&
                        (minTimer_->Flight().Minimized || life_.Base() == TsFormState::Minimizing);
  if (!flownOut || !manager || !manager->AnimEffects.Minimizing.Active || !life_.Apply(TsFormEvent::RestoreBegin))
    return false;
  acFadeWindowTo(form_->Handle(), 0);
  minTimer_->Flight().Minimized = true;
  minTimer_->Start();
  return true;
}

void TsSkinProvider::MinimizeFlightArrived() {
  ClearHot();
  life_.Apply(TsFormEvent::FlightArrived);
  acRemoveLayered(form_->Handle());
}

void TsSkinProvider::RestoreFlightReturned() {
  const HWND wnd = form_->Handle();
  const HWND picture = minTimer_->AnimationWindow();
  {
    TacSystemAnimationOff off;
    ShowWindow(wnd, IsZoomed(wnd) ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE);
  }
  // The picture stays in front while the window turns opaque, also over a topmost window.
  SetWindowPos(picture, acTopPlaceOver(wnd), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  acRemoveLayered(wnd);
  life_.Apply(TsFormEvent::RestoreEnd);
  // Whatever outline the window had while minimized goes; the frame cuts the one it has now.
  SetWindowRgn(wnd, nullptr, FALSE);
  frame_.MarkRegionChanged();
  skinData_->CacheStale = true;
  RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
  SetWindowPos(picture, wnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  minTimer_->FreeWindow();
  form_->SetWindowFocus();  // back to the control that had it
}

void TsSkinProvider::DropMinimizeAnimation() {
  if (!minTimer_) return;
  const bool flying = minTimer_->Running();
  minTimer_.reset();
  if (flying && form_->HandleAllocated()) acRemoveLayered(form_->Handle());
  life_.Apply(TsFormEvent::FlightDropped);
}
