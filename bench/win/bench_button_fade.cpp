// One fade frame of a 75 x 25 skinned button (copy of the old face, blend with the new one,
// copy to the window) against the fade's 10 ms tick. Prints the mean time per frame and its
// share of the tick; the goal is at most 0.05.
#include <windows.h>

#include <cstdio>

#include "framework/Forms.h"
#include "installer/Unit1.h"
#include "skin/controls/sButton.h"

int main() {
  Application->Initialize();
  TForm1* form = NewForm<TForm1>(Application);
  form->Show();
  Application->ProcessMessages();
  TsButton* b = form->sButton_cansel2;
  b->SetBounds(b->Left(), b->Top(), 75, 25);
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Application->ProcessMessages();
  b->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b));
  TsFadeTimer* fade = b->Fade();
  if (!fade || !fade->OnTimer) {
    std::printf("the button did not start a fade\n");
    return 1;
  }
  // The timer's own ticks stay out of the way: every frame below is one we ask for.
  fade->SetEnabled(false);
  constexpr int kFrames = 2000;
  LARGE_INTEGER freq, start, end;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kFrames; ++i) {
    fade->Frame = 1 + i % (fade->FrameCount - 1);  // always a frame in the middle of the fade
    fade->OnTimer(fade);
  }
  GdiFlush();
  QueryPerformanceCounter(&end);
  const double us = 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart) / kFrames;
  std::printf("%-34s %10.1f us\n%-34s %10.3f (goal <= 0.05)\n", "one fade frame, 75 x 25 button", us,
              "share of the 10 ms tick", us / 10000.0);
  delete form;
  return 0;
}
