// The pictures the form effects move about: a snapshot of a window as it looks (the window and
// every visible windowed child printed into one picture), and the plain layered window that
// shows such a picture over the screen while the real window is hidden, shown or painted.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/Graphics.h"

// Paints `wnd` and its visible windowed children into `picture` (made the window's size, 32
// bits, every alpha 255). Skinned windows paint through their print DC; others print themselves.
void acSnapshotWindow(HWND wnd, TBitmap& picture);

// Makes a shown window see-through to the given constant alpha (0: invisible) by making it
// layered, and gives it back its plain, opaque self.
void acFadeWindowTo(HWND wnd, int alpha);
void acRemoveLayered(HWND wnd);

// A layered, click-through tool window that never activates, owned by `owner`.
class TacEffectWindow {
 public:
  explicit TacEffectWindow(HWND owner);
  ~TacEffectWindow();
  TacEffectWindow(const TacEffectWindow&) = delete;
  TacEffectWindow& operator=(const TacEffectWindow&) = delete;

  HWND Handle() const { return wnd_; }
  // Shows `picture` (per-pixel alpha) at a screen position with a constant alpha.
  void Show(TBitmap& picture, POINT at, int alpha);

 private:
  HWND wnd_ = nullptr;
};

// The hide fade: the last picture of a hidden form fading out (and, for atAero, shrinking) in
// an effect window, one step every 12 ms, after which window and pictures are freed. One fade
// at a time: a new one frees the previous one's window. With a time below one step nothing is
// shown.
void acStartHideFade(std::unique_ptr<TacEffectWindow> window, TBitmap& picture, POINT at, unsigned time,
                     int mode);
// The window of the fade under way, or nullptr.
HWND acHideFadeWindow();
// Runs what is left of the fade at once (with its 12 ms pauses): the application is ending.
void acFinishHideFade();
