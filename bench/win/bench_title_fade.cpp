// One step of the close button's hover animation (the faded picture handed to the layered
// window) against the animation's 12 ms tick. The fade runs in and out over and over; only
// the steps are timed, not the starts of the fades. Prints the mean time per step and its
// share of the tick; the goal is at most 0.05.
#include <windows.h>

#include <cstdio>

#include "BenchSupport.h"
#include "skin/frame/acTitleAnimation.h"

int main() {
  TForm1* form = OpenWizard();
  if (!acLayered().Update) {
    std::printf("no layered windows on this system\n");
    return 1;
  }
  const TsSkinModel& model = form->sSkinManager1->Model();
  const int32_t index = model.FindImage(model.Cache.GlobalInfo, "GLOBALINFO", "SICONCLOSE");
  if (index < 0) {
    std::printf("the skin has no close button image\n");
    return 1;
  }
  const TsMaskData& image = model.Images[static_cast<size_t>(index)];
  const TsRect rect{400, 2, 400 + image.CellWidth(), 2 + image.CellHeight()};
  TacSBAnimation animation(form->Handle(), nullptr);
  LARGE_INTEGER freq, start, end;
  QueryPerformanceFrequency(&freq);
  double ticks = 0;
  int steps = 0;
  constexpr int kFades = 200;
  for (int fade = 0; fade < kFades; ++fade) {
    animation.ChangeState(fade % 2 ? 0 : 1, image, rect);
    const HWND wnd = animation.Window();
    if (!wnd) continue;
    for (int i = 0; i < TacSBAnimation::kFadeSteps && animation.Window(); ++i) {
      QueryPerformanceCounter(&start);
      SendMessageA(wnd, WM_TIMER, 1, 0);
      GdiFlush();
      QueryPerformanceCounter(&end);
      ticks += static_cast<double>(end.QuadPart - start.QuadPart);
      ++steps;
    }
  }
  const double us = 1e6 * ticks / static_cast<double>(freq.QuadPart) / (steps ? steps : 1);

  // The platform's part: the same update of a layered window of the same size, alone.
  TBitmap picture(rect.Width(), rect.Height(), true);
  HWND bare = CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP, 0, 0,
                              rect.Width(), rect.Height(), form->Handle(), nullptr, nullptr, nullptr);
  ShowWindow(bare, SW_SHOWNOACTIVATE);
  const TUpdateLayeredWindow update = acLayered().Update;
  const double platform = MicrosecondsPerStep(
      [&](int i) {
        POINT pos{400, 2}, origin{0, 0};
        SIZE size{rect.Width(), rect.Height()};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(25 * (1 + i % 10)), AC_SRC_ALPHA};
        HDC screen = GetDC(nullptr);
        update(bare, screen, &pos, &size, picture.Canvas().Handle(), &origin, 0, &blend, ULW_ALPHA);
        ReleaseDC(nullptr, screen);
      },
      steps ? steps : 1);
  DestroyWindow(bare);
  std::printf("%-36s %10.1f us (%d steps)\n%-36s %10.1f us\n%-36s %10.3f (goal <= 0.05)\n",
              "one hover step, close button", us, steps, "the bare layered update (platform)", platform,
              "share of the 12 ms tick", us / 12000.0);
  delete form;
  return 0;
}
