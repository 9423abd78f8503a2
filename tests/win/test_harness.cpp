// The harness itself: Windows programs run in the project's prefix, inside a
// virtual desktop, with the fonts the wizard asks for.
#include <windows.h>

#include <gtest/gtest.h>

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
