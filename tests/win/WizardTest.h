// A fixture for tests that drive the wizard window in this process.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "installer/Unit1.h"

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Installer = InstallerState{};
    form = NewForm<TForm1>(Application);
    form->Show();
    Pump();
  }
  void TearDown() override { delete form; }

  // The page panel whose window is on top at the pages' centre.
  TPanel* FrontPage() {
    POINT p{122 + 356 / 2, 101 + 322 / 2};
    HWND hit = ChildWindowFromPointEx(form->Handle(), p, CWP_SKIPINVISIBLE);
    for (TPanel* page : {form->sPanel_2_license, form->sPanel_3_install, form->sPanel_4_finish})
      if (page->Handle() == hit) return page;
    return nullptr;
  }

  TForm1* form = nullptr;
};
