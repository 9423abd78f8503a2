// A small Windows helper for driving the installer from the X side: it finds
// top-level windows by caption and reports screen rectangles, so that xdotool
// can move the mouse and click like a person.
//
//   wininfo find  <caption>          -> "left top right bottom clientLeft clientTop"
//   wininfo child <caption> <text>   -> "left top right bottom enabled checked"
//   wininfo close <caption>
//   wininfo at <x> <y>               -> the text of the window on top at that screen point
//   wininfo progress <caption>       -> the position of the window's first progress bar
//   wininfo focus <caption>          -> "class text" of the window with the keyboard focus
//   wininfo focusseen <caption>      -> "seen" when a person sees the focused control (the
//                                       screen point at its centre is it), "covered", or
//                                       "none" when no control has the focus
//   wininfo focuschild <caption> <text>  gives the keyboard focus to that child, covered or
//                                       not (a check's positive control: a control nobody sees)
//   wininfo class <class> <caption>  -> like find, for a window of that class
//   wininfo closeclass <class> <caption>
//   wininfo clipboard                -> the clipboard's text
//   wininfo minimize|restore <caption>  (the taskbar button's commands)
//   wininfo shown <caption>          -> "iconic|normal layered|plain"
//   wininfo objects <caption>        -> "gdi windows": the GDI objects of the window's process
//                                       and all its windows (top-level ones and their children)
//   wininfo hold                     -> stays on the desktop until killed
//   wininfo serve                    -> reads commands from standard input, one a line, arguments
//                                       separated by tabs; after each answer a line
//                                       "wininfo-end <exit code>" (one process for a whole run:
//                                       under emulation every process start costs a minute)
// Exit code 1 when the window is not there.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "GuiObjectCount.h"

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

// Descends from the top-level window to the deepest visible child at a screen point,
// disabled ones included (WindowFromPoint would skip those).
HWND TopmostAt(POINT screen) {
  HWND hit = WindowFromPoint(screen);
  if (!hit) return nullptr;
  hit = GetAncestor(hit, GA_ROOT);
  for (;;) {
    POINT p = screen;
    ScreenToClient(hit, &p);
    HWND child = ChildWindowFromPointEx(hit, p, CWP_SKIPINVISIBLE);
    if (!child || child == hit) break;
    hit = child;
  }
  return hit;
}

// Enumeration callbacks are named functions: a lambda converts only to a pointer with the
// default calling convention, which the 32-bit build's WNDENUMPROC (stdcall) is not.
struct HandleQuery {
  const char* text = nullptr;
  HWND found = nullptr;
};

BOOL CALLBACK MatchProgressBar(HWND hwnd, LPARAM param) {
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (lstrcmpiA(cls, PROGRESS_CLASSA) != 0 && !std::strstr(cls, "ProgressBar")) return TRUE;
  reinterpret_cast<HandleQuery*>(param)->found = hwnd;
  return FALSE;
}

BOOL CALLBACK MatchText(HWND hwnd, LPARAM param) {
  auto* q = reinterpret_cast<HandleQuery*>(param);
  if (TextOf(hwnd) != q->text) return TRUE;
  q->found = hwnd;
  return FALSE;
}

int Command(int argc, char** argv);

// One command per line, arguments separated by tabs (captions hold spaces).
int Serve() {
  GetDesktopWindow();  // on the desktop from the start, as "hold" is
  char line[2048];
  while (std::fgets(line, sizeof line, stdin)) {
    line[std::strcspn(line, "\r\n")] = '\0';
    std::vector<std::string> words{"wininfo"};
    for (char *start = line, *tab;; start = tab + 1) {
      tab = std::strchr(start, '\t');
      words.emplace_back(start, tab ? tab : start + std::strlen(start));
      if (!tab) break;
    }
    std::vector<char*> args;
    for (auto& w : words) args.push_back(w.data());
    args.push_back(nullptr);
    const int rc = words[1] == "hold" || words[1] == "serve" ? 2 : Command(static_cast<int>(words.size()), args.data());
    std::printf("wininfo-end %d\n", rc);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "serve") return Serve();
  return Command(argc, argv);
}

namespace {

int Command(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "hold") {
    // Wine closes its virtual desktop a second after the last program on it ends and
    // makes a new one for the next; a program starting while the old one is torn down
    // can lose its windows to the X server. A test run keeps one program on the desktop.
    GetDesktopWindow();
    Sleep(INFINITE);
  }
  if (argc >= 4 && std::string(argv[1]) == "skincmd") {
    // The skin command message sent from outside the installer's process: one answer per
    // window handle (decimal), one per line. "command,lparam" sends an lParam too (decimal).
    char* rest = nullptr;
    const auto command = static_cast<WPARAM>(std::strtoul(argv[2], &rest, 10));
    const auto lParam = static_cast<LPARAM>(rest && *rest == ',' ? std::strtoull(rest + 1, nullptr, 10) : 0);
    for (int i = 3; i < argc; ++i) {
      HWND wnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[i], nullptr, 10)));
      DWORD_PTR answer = 0;
      const LRESULT ok = SendMessageTimeoutA(wnd, 0xA100, command << 16, lParam, SMTO_ABORTIFHUNG, 5000, &answer);
      std::printf("%ld\n", ok ? static_cast<long>(answer) : -1L);
    }
    return 0;
  }
  if (argc == 2 && std::string(argv[1]) == "clipboard") {
    if (!OpenClipboard(nullptr)) return 1;
    bool found = false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      if (const auto* text = static_cast<const char*>(GlobalLock(data))) {
        std::printf("%s\n", text);
        found = true;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
    return found ? 0 : 1;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: wininfo find|child|close <caption> [text] | at <x> <y>\n");
    return 2;
  }
  const std::string cmd = argv[1];
  if (cmd == "at" && argc >= 4) {
    HWND hit = TopmostAt(POINT{std::atol(argv[2]), std::atol(argv[3])});
    if (!hit) return 1;
    std::printf("%s\n", TextOf(hit).c_str());
    return 0;
  }
  if (cmd == "class" && argc >= 4) {
    HWND wnd = FindWindowA(argv[2], argv[3]);
    if (!wnd || !IsWindowVisible(wnd)) return 1;
    RECT r{};
    GetWindowRect(wnd, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (cmd == "closeclass" && argc >= 4) {
    HWND wnd = FindWindowA(argv[2], argv[3]);
    if (!wnd) return 1;
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    return 0;
  }
  HWND top = FindWindowA(nullptr, argv[2]);
  if (!top) return 1;
  if (cmd == "progress") {
    // The bar sits on a page panel, not on the form itself, and its class may be the
    // common control's or a framework class of its own (plain or skinned).
    HandleQuery q;
    EnumChildWindows(top, MatchProgressBar, reinterpret_cast<LPARAM>(&q));
    HWND bar = q.found;
    if (!bar) return 1;
    std::printf("%ld\n", static_cast<long>(SendMessageA(bar, PBM_GETPOS, 0, 0)));
    return 0;
  }
  if (cmd == "focus") {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) || !info.hwndFocus) return 1;
    char cls[64] = {};
    GetClassNameA(info.hwndFocus, cls, sizeof cls);
    std::printf("%s %s\n", cls, TextOf(info.hwndFocus).c_str());
    return 0;
  }
  if (cmd == "focuschild" && argc >= 4) {
    HandleQuery q{argv[3]};
    EnumChildWindows(top, MatchText, reinterpret_cast<LPARAM>(&q));
    if (!q.found) return 1;
    // The focus belongs to the window's own thread: join its input state to set it. A
    // disabled ancestor (a covered page) would refuse it, so it is enabled for that moment.
    const DWORD self = GetCurrentThreadId(), owner = GetWindowThreadProcessId(top, nullptr);
    std::vector<HWND> disabled;
    for (HWND w = GetParent(q.found); w && w != top; w = GetParent(w))
      if (!IsWindowEnabled(w)) disabled.push_back(w);
    for (HWND w : disabled) EnableWindow(w, TRUE);
    AttachThreadInput(self, owner, TRUE);
    SetFocus(q.found);
    AttachThreadInput(self, owner, FALSE);
    for (HWND w : disabled) EnableWindow(w, FALSE);
    return 0;
  }
  if (cmd == "focusseen") {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) return 1;
    if (!info.hwndFocus || info.hwndFocus == top) {
      std::printf("none\n");
      return 0;
    }
    RECT r{};
    GetWindowRect(info.hwndFocus, &r);
    HWND hit = TopmostAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    const bool seen = hit == info.hwndFocus || IsChild(info.hwndFocus, hit);
    std::printf("%s\n", seen ? "seen" : "covered");
    return 0;
  }
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
  if (cmd == "minimize" || cmd == "restore") {
    // What the taskbar sends when its button is clicked.
    PostMessageA(top, WM_SYSCOMMAND, cmd == "minimize" ? SC_MINIMIZE : SC_RESTORE, 0);
    return 0;
  }
  if (cmd == "shown") {
    // "iconic" or "normal", then "layered" when the window is layered (a picture stands in
    // for it), else "plain".
    const bool layered = (GetWindowLongPtrA(top, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    std::printf("%s %s\n", IsIconic(top) ? "iconic" : "normal", layered ? "layered" : "plain");
    return 0;
  }
  if (cmd == "objects") {
    DWORD pid = 0;
    GetWindowThreadProcessId(top, &pid);
    const std::unique_ptr<void, decltype(&CloseHandle)> process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid), &CloseHandle);
    if (!process) return 1;
    const long gdi = gui_count::CountGdiObjects(process.get());
    if (gdi <= 0) return 1;
    std::printf("%ld %ld\n", gdi, gui_count::CountWindows(pid));
    return 0;
  }
  std::fprintf(stderr, "wininfo: unknown command %s\n", cmd.c_str());
  return 2;
}

}  // namespace
