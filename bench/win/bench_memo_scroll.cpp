// One scroll step of the licence memo, skinned (the handler draws its bar after the platform
// scrolled) and with the skin switched off (the platform draws its own), side by side.
// Prints the mean time per step of each and their ratio (goal: at most 1.5).
#include <windows.h>

#include <cstdio>

#include "bench/win/BenchSupport.h"

namespace {

// Down, then up: every step moves the text and the thumb.
double MicrosecondsPerScroll(HWND memo, int rounds) {
  return MicrosecondsPerStep(
      [memo](int i) {
        SendMessageA(memo, WM_MOUSEWHEEL, MAKEWPARAM(0, i % 2 ? WHEEL_DELTA : -WHEEL_DELTA), 0);
        UpdateWindow(memo);
      },
      rounds);
}

}  // namespace

int main() {
  TForm1* form = OpenWizard();
  constexpr int kRounds = 500;
  form->sSkinManager1->SetActive(true);
  Application->ProcessMessages();
  const double skinned = MicrosecondsPerScroll(form->sMemo1->Handle(), kRounds);
  form->sSkinManager1->SetActive(false);
  Application->ProcessMessages();
  const double plain = MicrosecondsPerScroll(form->sMemo1->Handle(), kRounds);
  std::printf("%-24s %12s\n", "memo scroll step", "us/step");
  std::printf("skinned %28.1f\nplain   %28.1f\nratio   %28.2f\n", skinned, plain, skinned / plain);
  delete form;
  return 0;
}
