// The harness itself: Windows programs run in the project's prefix, inside a
// virtual desktop, with the fonts the wizard asks for; the object counter of the leak checks.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "WinTestSupport.h"
#include "framework/Handles.h"

namespace {
int CALLBACK CountFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  ++*reinterpret_cast<int*>(found);
  return 1;
}
}  // namespace

TEST(WineHarness, RunsInsideAVirtualDesktopWithTahoma) {
  RECT desk{};
  ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &desk));
  EXPECT_EQ(desk.right - desk.left, 1024);
  EXPECT_EQ(desk.bottom - desk.top, 768);

  HDC dc = GetDC(nullptr);
  LOGFONTA lf{};
  lstrcpyA(lf.lfFaceName, "Tahoma");
  lf.lfCharSet = DEFAULT_CHARSET;
  int found = 0;
  EnumFontFamiliesExA(dc, &lf, CountFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  EXPECT_GT(found, 0) << "Tahoma (fonts-wine) is missing";
}

// The counter every leak check reads must see objects come and go: Wine's GetGuiResources
// answers 0 whatever the process holds.
TEST(WineHarness, TheObjectCounterSeesObjectsMadeAndFreed) {
  struct WindowDeleter {
    void operator()(HWND h) const { DestroyWindow(h); }
  };
  const GuiObjectCount start = GuiObjects();
  ASSERT_GT(start.Gdi, 0);
  {
    std::vector<UniqueBrush> brushes;
    for (int i = 0; i < 100; ++i) brushes.emplace_back(CreateSolidBrush(RGB(i, 0, 0)));
    EXPECT_EQ(GuiObjects().Gdi, start.Gdi + 100);
    brushes.resize(50);
    EXPECT_EQ(GuiObjects().Gdi, start.Gdi + 50);
  }
  EXPECT_EQ(GuiObjects().Gdi, start.Gdi);
  {
    // Ten hidden top-level windows, each with a child: twenty windows.
    std::vector<UniqueHandle<HWND, WindowDeleter>> windows;
    for (int i = 0; i < 10; ++i) {
      windows.emplace_back(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
      CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, windows.back().get(), nullptr, nullptr, nullptr);
    }
    EXPECT_EQ(GuiObjects().Windows, start.Windows + 20);
  }
  EXPECT_EQ(GuiObjects(), start);
}
