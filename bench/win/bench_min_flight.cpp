// One tick of the minimize flight (the wizard's picture stretched and handed to the layered
// window) against the flight's 15 ms tick, with the platform's bare layered update of a
// picture of the same size beside it. The wizard is the main form and is minimized and
// restored over and over; only the ticks are timed, not the starts.
#include <windows.h>

#include <cstdio>

#include "BenchSupport.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/render/acLayered_win.h"

int main() {
  Application->Initialize();
  TForm1* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  Application->ProcessMessages();
  TsSkinProvider* provider = FindSkinProvider(form);
  if (!acLayered().Update || !provider) {
    std::printf("no layered windows or no skinned main form\n");
    return 1;
  }
  LARGE_INTEGER freq, start, end;
  QueryPerformanceFrequency(&freq);
  double counted = 0;
  int ticks = 0;
  // Handles messages until the flight's timer stops, timing the ticks it dispatches.
  auto fly = [&] {
    MSG msg;
    const TacMinTimer* timer = provider->MinimizeTimer();
    while (timer && timer->Running() && GetMessageA(&msg, nullptr, 0, 0)) {
      const bool tick = msg.message == WM_TIMER && msg.hwnd == timer->AnimationWindow();
      QueryPerformanceCounter(&start);
      DispatchMessageA(&msg);
      GdiFlush();
      QueryPerformanceCounter(&end);
      if (tick) {
        counted += static_cast<double>(end.QuadPart - start.QuadPart);
        ++ticks;
      }
    }
  };
  constexpr int kFlights = 20;
  for (int i = 0; i < kFlights; ++i) {
    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    fly();
    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    fly();
  }
  const double us = 1e6 * counted / static_cast<double>(freq.QuadPart) / (ticks ? ticks : 1);

  RECT wr;
  GetWindowRect(form->Handle(), &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  TBitmap picture(w, h, true);
  HWND bare = CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP, 0, 0, w,
                              h, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(bare, SW_SHOWNOACTIVATE);
  const double platform = MicrosecondsPerStep(
      [&](int i) { UpdateLayeredPicture(bare, POINT{wr.left, wr.top}, picture, 20 * (1 + i % 12)); }, ticks ? ticks : 1);
  DestroyWindow(bare);
  std::printf("%-36s %10.1f us (%d ticks)\n%-36s %10.1f us\n%-36s %10.3f\n", "one flight tick, wizard window", us,
              ticks, "the bare layered update (platform)", platform, "share of the 15 ms tick", us / 15000.0);
  delete form;
  return 0;
}
