// The wizard window driven through its real windows under Wine: start state,
// licence choice, the proposed install folder from the registry, page changes,
// tab order of covered pages, the registry type error, and the install step.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "WizardTest.h"
#include "image/BmpFile.h"
#include "installer/Unit1.h"

namespace {

class Wizard : public WizardTest {
 protected:
  std::string EditText(TWinControl* edit) {
    char buf[512] = {};
    GetWindowTextA(edit->Handle(), buf, sizeof buf);
    return buf;
  }
  bool WindowEnabled(TWinControl* c) { return IsWindowEnabled(c->Handle()) != FALSE; }
  bool RadioChecked(TWinControl* c) { return SendMessageA(c->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
};

TEST_F(Wizard, StartsOnTheLicencePageWithNothingChosen) {
  EXPECT_EQ(FrontPage(), form->sPanel_2_license);
  EXPECT_FALSE(WindowEnabled(form->sButton_next2));
  EXPECT_FALSE(RadioChecked(form->sRadioButton1));
  EXPECT_FALSE(RadioChecked(form->sRadioButton2));
  EXPECT_EQ(EditText(form->sDirectoryEdit1), "");
  EXPECT_EQ(EditText(form->sEdit1), "Kestamor");
  EXPECT_EQ(Installer.PayloadOffset, 2329600);
  EXPECT_FALSE(WindowEnabled(form->sButton_4_finish));
  EXPECT_FALSE(IsWindowVisible(form->sCheckBox2->Handle()));
  EXPECT_FALSE(IsWindowVisible(form->sCheckBox4->Handle()));
  EXPECT_TRUE(form->sCheckBox4->Checked());
  EXPECT_FALSE(form->sLabel19->Visible());
  // The wizard asks for double buffering; its skin provider paints from a cache of the whole
  // window and takes the buffering off again when it attaches to the new window.
  EXPECT_FALSE(form->DoubleBuffered());

  // The window itself: class, caption, frame, size, z-order style, position.
  HWND wnd = form->Handle();
  char cls[64] = {}, caption[64] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  GetWindowTextA(wnd, caption, sizeof caption);
  EXPECT_STREQ(cls, "TForm1");
  EXPECT_STREQ(caption, "Kestamor Installer");
  RECT client{};
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 476);
  EXPECT_EQ(client.bottom, 428);
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE), ex = GetWindowLongPtrA(wnd, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  // Only the system menu's close button; the skinned frame draws it (the style itself keeps
  // no WS_SYSMENU while the skin is on).
  EXPECT_EQ(form->BorderIcons(), biSystemMenu);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  RECT w{};
  GetWindowRect(wnd, &w);
  RECT desk{};
  GetWindowRect(GetDesktopWindow(), &desk);
  EXPECT_NEAR((w.left + w.right) / 2, (desk.left + desk.right) / 2, 1);
  EXPECT_NEAR((w.top + w.bottom) / 2, (desk.top + desk.bottom) / 2, 1);

  EXPECT_NE(SaveWindowScreenshot(wnd, "wizard-1-licence"), "") << "screenshots are asked for by the test run";
}

// The program stores the picture compressed; the form must still hold the very picture the
// build drew, at its full size.
TEST_F(Wizard, HoldsTheBackgroundPictureTheBuildDrew) {
  const std::string file = ReadWholeFile(KESTAMOR_BINARY_DIR "/resources/background.bmp");
  ASSERT_FALSE(file.empty());
  const Bitmap32 drawn = ReadBmp(reinterpret_cast<const uint8_t*>(file.data()), file.size());
  TBitmap& held = form->Image2->Picture();
  ASSERT_EQ(held.Width(), drawn.Width());
  ASSERT_EQ(held.Height(), drawn.Height());
  const Bitmap32 view = held.View();
  int differing = 0;
  for (int y = 0; y < drawn.Height(); ++y)
    for (int x = 0; x < drawn.Width(); ++x) {
      const Pixel32 a = view.At(x, y), b = drawn.At(x, y);
      differing += a.B != b.B || a.G != b.G || a.R != b.R;
    }
  EXPECT_EQ(differing, 0);
}

TEST_F(Wizard, NextFollowsTheLastRadioClick) {
  Click(form->sRadioButton1);
  EXPECT_TRUE(RadioChecked(form->sRadioButton1));
  EXPECT_TRUE(WindowEnabled(form->sButton_next2));
  Click(form->sRadioButton2);
  EXPECT_FALSE(RadioChecked(form->sRadioButton1));
  EXPECT_TRUE(RadioChecked(form->sRadioButton2));
  EXPECT_FALSE(WindowEnabled(form->sButton_next2));
  Click(form->sRadioButton1);
  EXPECT_TRUE(WindowEnabled(form->sButton_next2));
}

TEST_F(Wizard, NextProposesAFolderBelowTheRegistrysProgramFiles) {
  ProgramFilesDirOverride reg;
  reg.SetString("C:\\Program Files");
  Click(form->sRadioButton1);
  Click(form->sButton_next2);
  EXPECT_EQ(FrontPage(), form->sPanel_3_install);
  EXPECT_EQ(EditText(form->sDirectoryEdit1), "C:\\Program Files\\Kestamor");
  EXPECT_EQ(Installer.InstallDirectory, "C:\\Program Files\\Kestamor\\");
  EXPECT_NE(SaveWindowScreenshot(form->Handle(), "wizard-2-path"), "");

  // Back keeps the licence choice; Next again replaces the folder with a new proposal.
  Click(form->sButton_prev3);
  EXPECT_EQ(FrontPage(), form->sPanel_2_license);
  EXPECT_TRUE(RadioChecked(form->sRadioButton1));
  EXPECT_TRUE(WindowEnabled(form->sButton_next2));

  reg.SetString("D:\\");
  Click(form->sButton_next2);
  EXPECT_EQ(EditText(form->sDirectoryEdit1), "D:\\Kestamor");
  EXPECT_EQ(Installer.InstallDirectory, "D:\\Kestamor\\");

  // An expandable string is expanded; a folder relative to the current directory is no
  // proposal, and the shell's Program Files folder is proposed instead.
  Click(form->sButton_prev3);
  reg.SetString("%SystemDrive%\\Apps", REG_EXPAND_SZ);
  Click(form->sButton_next2);
  EXPECT_EQ(EditText(form->sDirectoryEdit1), "C:\\Apps\\Kestamor");
  EXPECT_EQ(Installer.InstallDirectory, "C:\\Apps\\Kestamor\\");
  for (const char* relative : {"Apps", "%NoSuchVariable%\\Apps"}) {
    Click(form->sButton_prev3);
    reg.SetString(relative, REG_EXPAND_SZ);
    Click(form->sButton_next2);
    // Wine's shell derives its folder from the same value, so it may know none either.
    char shell[MAX_PATH] = {};
    const bool known = SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, shell) == S_OK;
    EXPECT_EQ(EditText(form->sDirectoryEdit1), (known ? std::string(shell) : "C:\\Program Files") + "\\Kestamor")
        << relative;
  }
}

TEST_F(Wizard, WithoutARegistryValueTheShellsProgramFilesIsProposed) {
  ProgramFilesDirOverride reg;
  reg.Delete();
  Click(form->sRadioButton1);
  Click(form->sButton_next2);
  // Asked only now: Wine's shell writes a default value back when it finds none.
  char shell[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, shell), S_OK);
  EXPECT_EQ(EditText(form->sDirectoryEdit1), std::string(shell) + "\\Kestamor");
  EXPECT_EQ(FrontPage(), form->sPanel_3_install);
}

TEST_F(Wizard, AValueOfAnotherTypeShowsTheErrorAndKeepsThePage) {
  ProgramFilesDirOverride reg;
  reg.SetDword(42);
  Click(form->sRadioButton1);
  MessageBoxWatcher box(Application->Title());
  Click(form->sButton_next2);
  const auto text = box.Text();
  ASSERT_TRUE(text.has_value()) << "no error box with caption " << Application->Title();
  EXPECT_EQ(*text, "Invalid data type for 'ProgramFilesDir'");
  EXPECT_EQ(FrontPage(), form->sPanel_2_license);
  EXPECT_EQ(EditText(form->sDirectoryEdit1), "");
  EXPECT_EQ(Installer.InstallDirectory, "");
}

// A covered page is disabled under the one in front: nothing on it can take the focus or a
// key. The tab order is the layout's: licence page first, then path, then progress.
TEST_F(Wizard, OnlyTheFrontPageTakesInput) {
  auto open = [&] {
    std::vector<TPanel*> pages;
    for (TPanel* page : {form->sPanel_2_license, form->sPanel_3_install, form->sPanel_4_finish})
      if (IsWindowEnabled(page->Handle())) pages.push_back(page);
    return pages;
  };
  EXPECT_EQ(open(), std::vector<TPanel*>{form->sPanel_2_license});
  EXPECT_FALSE(form->sButton_next3->CanFocus());
  form->ShowPage(form->sPanel_3_install);
  EXPECT_EQ(open(), std::vector<TPanel*>{form->sPanel_3_install});
  EXPECT_EQ(FrontPage(), form->sPanel_3_install);
  EXPECT_TRUE(form->sButton_next3->CanFocus());

  std::vector<TWinControl*> order;
  form->GetTabOrderList(order);
  auto pos = [&](TWinControl* c) { return std::find(order.begin(), order.end(), c) - order.begin(); };
  EXPECT_LT(pos(form->sPanel_2_license), pos(form->sPanel_3_install));
  EXPECT_LT(pos(form->sPanel_3_install), pos(form->sPanel_4_finish));
  EXPECT_LT(pos(form->sButton_cansel3), pos(form->sButton_next3));
  EXPECT_LT(pos(form->sButton_next3), pos(form->sButton_prev3));
}

TEST_F(Wizard, ThePathEditTakesNoTypingButFollowsItsText) {
  form->sDirectoryEdit1->SetText("E:\\Apps");
  EXPECT_EQ(Installer.InstallDirectory, "E:\\Apps\\");
  form->sDirectoryEdit1->SetText("F:\\");
  EXPECT_EQ(Installer.InstallDirectory, "F:\\");

  HWND edit = form->sDirectoryEdit1->Handle();
  SendMessageA(edit, WM_CHAR, 'x', 0);
  SendMessageA(edit, WM_KEYDOWN, VK_BACK, 0);
  SendMessageA(edit, WM_CHAR, VK_BACK, 0);
  SendMessageA(edit, WM_CLEAR, 0, 0);
  SendMessageA(edit, WM_PASTE, 0, 0);
  Pump();
  EXPECT_EQ(EditText(form->sDirectoryEdit1), "F:\\");
  EXPECT_EQ(Installer.InstallDirectory, "F:\\");
}

TEST_F(Wizard, InstallShowsTheProgressPageAtItsFirstStep) {
  ProgramFilesDirOverride reg;
  reg.SetString("C:\\Program Files");
  Click(form->sRadioButton1);
  Click(form->sButton_next2);
  Click(form->sButton_next3);
  EXPECT_EQ(Installer.MainExecutablePath, "C:\\Program Files\\Kestamor\\kestamor.exe");
  EXPECT_EQ(FrontPage(), form->sPanel_4_finish);
  EXPECT_EQ(SendMessageA(form->sProgressBar3->Handle(), PBM_GETPOS, 0, 0), 10);
  EXPECT_EQ(form->sLabel_status->Caption(), "Create directories...");
  EXPECT_NE(SaveWindowScreenshot(form->Handle(), "wizard-3-progress"), "");
}

TEST_F(Wizard, CancelClosesTheWindow) {
  Click(form->sButton_cansel2);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST(ApplicationTitle, IsTheExecutablesNameUpToItsFirstDot) {
  // The first character keeps its case.
  EXPECT_EQ(Application->Title(), "test_wizard");
  EXPECT_EQ(TApplication::TitleFromExeName("C:\\Setup\\install_KESTAMOR.exe"), "install_kestamor");
  EXPECT_EQ(TApplication::TitleFromExeName("D:\\a.b\\SETUP.v2.EXE"), "Setup");
}

}  // namespace
