// Repainting the whole wizard window, skinned and with the skin switched off, side by side.
// Prints the mean time per repaint of each and their ratio.
#include <windows.h>

#include <cstdio>

#include "bench/win/BenchSupport.h"

namespace {

double MicrosecondsPerRepaint(TForm1* form, int rounds) {
  return MicrosecondsPerStep(
      [form](int) {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      },
      rounds);
}

}  // namespace

int main() {
  TForm1* form = OpenWizard();
  constexpr int kRounds = 300;
  std::printf("%-28s %12s\n", "whole wizard repaint", "us/repaint");
  for (TPanel* page : {static_cast<TPanel*>(form->sPanel_2_license), static_cast<TPanel*>(form->sPanel_3_install),
                       static_cast<TPanel*>(form->sPanel_4_finish)}) {
    page->BringToFront();
    form->sSkinManager1->SetActive(true);
    const double skinned = MicrosecondsPerRepaint(form, kRounds);
    form->sSkinManager1->SetActive(false);
    const double plain = MicrosecondsPerRepaint(form, kRounds);
    std::printf("%-20s skinned %12.1f\n%-20s plain   %12.1f\n%-20s ratio   %12.2f\n", page->Name().c_str(), skinned,
                page->Name().c_str(), plain, page->Name().c_str(), skinned / plain);
  }
  delete form;
  return 0;
}
