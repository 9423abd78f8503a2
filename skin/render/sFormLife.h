// The life of a skinned form as one state, and the rules that move it: prepared once, shown
// through its show effect, flown to the taskbar and back by the minimize animations, and held
// while it closes behind its hide effect. The form provider keeps one of these instead of
// separate flags, so that what may happen next is decided here alone.
#pragma once

#include <cstdint>

enum class TsFormState : uint8_t {
  Unprepared,  // made by the window hook; prepared when the window first asks for its frame
  Skinned,     // prepared, at rest
  Showing,     // the show effect is under way
  Minimizing,  // the picture flies to the taskbar
  Minimized,   // the picture has flown out; the form is minimized
  Restoring,   // the picture flies back
  Hiding,      // closing, its last picture taken for the hide effect
};

enum class TsFormEvent : uint8_t {
  Prepare,         // the run-time provider prepares its form
  ShowBegin,       // the show effect starts
  ShowEnd,         // ... and ends
  ShowNotice,      // the form is about to show (a close that was prepared is over)
  WindowShown,     // the window itself was shown (a flight out is over for it)
  MinimizeBegin,   // a picture starts flying out
  FlightArrived,   // ... and reached the taskbar
  RestoreBegin,    // the picture starts flying back
  RestoreEnd,      // ... and the form is shown again
  FlightDropped,   // a flight is dropped, the form left as the platform shows it
  HideBegin,       // the form is closing with its picture taken
  HideEnd,         // ... and the close is over
};

class TsFormLife {
 public:
  explicit TsFormLife(TsFormState start = TsFormState::Skinned) : state_(start), under_(start) {}

  // The state shown: a show or hide effect covers the state it interrupted.
  TsFormState State() const { return state_; }
  // The state under a show or hide effect (the state itself otherwise).
  TsFormState Base() const { return Covered() ? under_ : state_; }
  // Applies an event; false (and nothing changes) when the rules do not allow it now.
  bool Apply(TsFormEvent event);

  bool Unprepared() const { return Base() == TsFormState::Unprepared; }
  // From a flight's start until the form has been restored.
  bool InFlightLife() const;
  // Title buttons may animate: no flight moving and no close under way.
  bool TitleAnimationsAllowed() const;

 private:
  bool Covered() const { return state_ == TsFormState::Showing || state_ == TsFormState::Hiding; }
  void SetBase(TsFormState s);

  TsFormState state_;
  TsFormState under_;
};
