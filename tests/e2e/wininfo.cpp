// A small Windows helper for driving the installer from the X side: it finds
// top-level windows by caption and reports screen rectangles, so that xdotool
// can move the mouse and click like a person.
//
//   wininfo find  <caption>          -> "left top right bottom clientLeft clientTop"
//   wininfo child <caption> <text>   -> "left top right bottom enabled checked"
//   wininfo close <caption>
// Exit code 1 when the window is not there.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct ChildQuery {
  const char* text;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM param) {
  auto* q = reinterpret_cast<ChildQuery*>(param);
  char buf[512] = {};
  GetWindowTextA(hwnd, buf, sizeof buf);
  if (std::strcmp(buf, q->text) == 0 && IsWindowVisible(hwnd)) {
    q->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: wininfo find|child|close <caption> [text]\n");
    return 2;
  }
  const std::string cmd = argv[1];
  HWND top = FindWindowA(nullptr, argv[2]);
  if (!top) return 1;
  if (cmd == "find") {
    RECT r{};
    GetWindowRect(top, &r);
    POINT origin{0, 0};
    ClientToScreen(top, &origin);
    std::printf("%ld %ld %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom, origin.x, origin.y);
    return 0;
  }
  if (cmd == "child" && argc >= 4) {
    ChildQuery q{argv[3], nullptr};
    EnumChildWindows(top, MatchChild, reinterpret_cast<LPARAM>(&q));
    if (!q.found) return 1;
    RECT r{};
    GetWindowRect(q.found, &r);
    const LRESULT check = SendMessageA(q.found, BM_GETCHECK, 0, 0);
    std::printf("%ld %ld %ld %ld %d %d\n", r.left, r.top, r.right, r.bottom, IsWindowEnabled(q.found) ? 1 : 0,
                check == BST_CHECKED ? 1 : 0);
    return 0;
  }
  if (cmd == "close") {
    PostMessageA(top, WM_CLOSE, 0, 0);
    return 0;
  }
  std::fprintf(stderr, "wininfo: unknown command %s\n", cmd.c_str());
  return 2;
}
