// Repainting the whole wizard window, skinned and with the skin switched off, side by side:
// the client area alone, then the whole window with its frame (from the frame cache, and with
// the cache rebuilt as after an activation change). Prints the mean time per repaint of each
// and their ratio.
#include <windows.h>

#include <cstdio>

#include "bench/win/BenchSupport.h"
#include "skin/frame/sSkinProvider.h"

namespace {

constexpr UINT kClient = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
constexpr UINT kWholeWindow = kClient | RDW_FRAME;

// `staleFrame`: the frame cache is rebuilt for every repaint.
double MicrosecondsPerRepaint(TForm1* form, int rounds, UINT flags = kClient, bool staleFrame = false) {
  TsSkinProvider* provider = FindSkinProvider(form);
  return MicrosecondsPerStep(
      [&](int) {
        if (staleFrame && provider) provider->MarkFrameStale();
        RedrawWindow(form->Handle(), nullptr, nullptr, flags);
      },
      rounds);
}

// One worker step on the bar: the new position and the bar's immediate repaint. Positions cycle
// through 1..100, so most steps add no block and some add one (or reach 100 %).
double MicrosecondsPerProgressStep(TForm1* form, int rounds) {
  TsProgressBar* bar = form->sProgressBar3;
  return MicrosecondsPerStep(
      [bar](int i) {
        bar->SetPosition(1 + i % 100);
        bar->Repaint();
      },
      rounds);
}

}  // namespace

int main() {
  TForm1* form = OpenWizard();
  constexpr int kRounds = 300;
  std::printf("%-28s %12s\n", "whole wizard repaint", "us/repaint");
  for (TsPanel* page : {form->sPanel_2_license, form->sPanel_3_install, form->sPanel_4_finish}) {
    form->ShowPage(page);
    form->sSkinManager1->SetActive(true);
    const double skinned = MicrosecondsPerRepaint(form, kRounds);
    form->sSkinManager1->SetActive(false);
    const double plain = MicrosecondsPerRepaint(form, kRounds);
    std::printf("%-20s skinned %12.1f\n%-20s plain   %12.1f\n%-20s ratio   %12.2f\n", page->Name().c_str(), skinned,
                page->Name().c_str(), plain, page->Name().c_str(), skinned / plain);
  }
  form->ShowPage(form->sPanel_2_license);
  form->sSkinManager1->SetActive(true);
  const double cached = MicrosecondsPerRepaint(form, kRounds, kWholeWindow);
  const double rebuilt = MicrosecondsPerRepaint(form, kRounds, kWholeWindow, true);
  form->sSkinManager1->SetActive(false);
  const double platform = MicrosecondsPerRepaint(form, kRounds, kWholeWindow);
  std::printf("%-20s skinned %12.1f (frame cache rebuilt: %.1f)\n%-20s plain   %12.1f\n%-20s ratio   %12.2f (rebuilt: "
              "%.2f; goal <= 1.5)\n",
              "window with frame", cached, rebuilt, "window with frame", platform, "window with frame",
              cached / platform, rebuilt / platform);
  form->ShowPage(form->sPanel_4_finish);
  form->sSkinManager1->SetActive(true);
  const double step = MicrosecondsPerProgressStep(form, 2000);
  form->sSkinManager1->SetActive(false);
  const double plainStep = MicrosecondsPerProgressStep(form, 2000);
  std::printf("%-20s skinned %12.1f us = %.3f of the 10 ms tick (goal <= 0.05)\n%-20s plain   %12.1f us\n",
              "progress step", step, step / 10000.0, "progress step", plainStep);
  delete form;
  return 0;
}
