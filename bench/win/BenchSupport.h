// Support for the window benchmarks: the wizard window shown, and the mean time of one step
// measured with the performance counter after one untimed step (caches and fonts are made on
// first use).
#pragma once

#include <windows.h>

#include "framework/Forms.h"
#include "installer/Unit1.h"

inline TForm1* OpenWizard() {
  Application->Initialize();
  TForm1* form = NewForm<TForm1>(Application);
  form->Show();
  Application->ProcessMessages();
  return form;
}

template <class Step>
double MicrosecondsPerStep(Step step, int rounds) {
  LARGE_INTEGER freq, start, end;
  QueryPerformanceFrequency(&freq);
  step(0);
  GdiFlush();
  QueryPerformanceCounter(&start);
  for (int i = 0; i < rounds; ++i) {
    step(i);
    GdiFlush();
  }
  QueryPerformanceCounter(&end);
  return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart) / rounds;
}
