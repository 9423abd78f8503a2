// A small Windows helper for driving the installer from the X side: it finds
// top-level windows by caption and reports screen rectangles, so that xdotool
// can move the mouse and click like a person.
//
//   wininfo find  <caption>          -> "left top right bottom clientLeft clientTop"
//   wininfo child <caption> <text>   -> "left top right bottom enabled checked"
//   wininfo close <caption>
//   wininfo at <x> <y>               -> the text of the window on top at that screen point
// Exit code 1 when the window is not there.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The window's text as the window itself reports it (edits keep theirs apart from the caption).
std::string TextOf(HWND hwnd) {
  char buf[512] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000,
                           &copied))
    return {};
  return std::string(buf);
}

struct ChildQuery {
  const char* text;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM param) {
  auto* q = reinterpret_cast<ChildQuery*>(param);
  if (TextOf(hwnd) == q->text && IsWindowVisible(hwnd)) {
    q->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: wininfo find|child|close <caption> [text] | at <x> <y>\n");
    return 2;
  }
  const std::string cmd = argv[1];
  if (cmd == "at" && argc >= 4) {
    // Descends from the top-level window to the deepest visible child at the point,
    // disabled ones included (WindowFromPoint would skip those).
    const POINT screen{std::atol(argv[2]), std::atol(argv[3])};
    HWND hit = WindowFromPoint(screen);
    if (!hit) return 1;
    hit = GetAncestor(hit, GA_ROOT);
    for (;;) {
      POINT p = screen;
      ScreenToClient(hit, &p);
      HWND child = ChildWindowFromPointEx(hit, p, CWP_SKIPINVISIBLE);
      if (!child || child == hit) break;
      hit = child;
    }
    std::printf("%s\n", TextOf(hit).c_str());
    return 0;
  }
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
