#include "skin/render/sFormLife.h"

void TsFormLife::SetBase(TsFormState s) {
  if (Covered())
    under_ = s;
  else
    state_ = under_ = s;
}

bool TsFormLife::InFlightLife() const {
  const TsFormState b = Base();
  return b == TsFormState::Minimizing || b == TsFormState::Minimized || b == TsFormState::Restoring;
}

bool TsFormLife::TitleAnimationsAllowed() const {
  const TsFormState b = Base();
  return state_ != TsFormState::Hiding && b != TsFormState::Minimizing && b != TsFormState::Restoring;
}

bool TsFormLife::Apply(TsFormEvent event) {
  const TsFormState base = Base();
  switch (event) {
    case TsFormEvent::Prepare:
      if (base != TsFormState::Unprepared) return false;
      SetBase(TsFormState::Skinned);
      return true;
    case TsFormEvent::ShowBegin:
      under_ = base;
      state_ = TsFormState::Showing;
      return true;
    case TsFormEvent::ShowEnd:
      if (state_ != TsFormState::Showing) return false;
      state_ = under_;
      return true;
    case TsFormEvent::ShowNotice:
    case TsFormEvent::HideEnd:
      if (state_ != TsFormState::Hiding) return false;
      state_ = under_;
      return true;
    case TsFormEvent::WindowShown:
      // Shown by the platform: a close is no longer pending and a flight out is over.
      if (state_ == TsFormState::Hiding) state_ = under_;
      if (Base() == TsFormState::Minimizing) SetBase(TsFormState::Minimized);
      return true;
    case TsFormEvent::MinimizeBegin:
      // A minimize while a restore flies turns that flight around.
      if (base == TsFormState::Minimizing) return false;
      SetBase(TsFormState::Minimizing);
      return true;
    case TsFormEvent::FlightArrived:
      if (base != TsFormState::Minimizing) return false;
      SetBase(TsFormState::Minimized);
      return true;
    case TsFormEvent::RestoreBegin:
      // Only a picture that flew out (or is flying out) flies back.
      if (base != TsFormState::Minimizing && base != TsFormState::Minimized) return false;
      SetBase(TsFormState::Restoring);
      return true;
    case TsFormEvent::RestoreEnd:
    case TsFormEvent::FlightDropped:
      if (!InFlightLife()) return false;
      SetBase(TsFormState::Skinned);
      return true;
    case TsFormEvent::HideBegin:
      if (state_ == TsFormState::Hiding) return false;
      under_ = base;
      state_ = TsFormState::Hiding;
      return true;
  }
  return false;
}
