// kestamor.exe: the demo product. Its window shows the instance identifier the
// installer appended to this copy of the file, and can play one of the
// product's sounds.
#include <windows.h>
#include <mmsystem.h>

#include "product/InstanceIdentifier.h"
#include "product/kestamor/KestamorIds.h"

namespace {

constexpr int kIdentifierLength = 32;

// The last 32 bytes of this program's file, with a NUL after them; empty when
// the file is shorter or cannot be read.
void ReadTrailingBytes(char (&out)[kIdentifierLength + 1]) {
  out[0] = '\0';
  wchar_t path[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  if (n == 0 || n >= MAX_PATH * 2) return;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size{}, back{};
  back.QuadPart = -kIdentifierLength;
  DWORD read = 0;
  if (GetFileSizeEx(file, &size) && size.QuadPart >= kIdentifierLength &&
      SetFilePointerEx(file, back, nullptr, FILE_END) && ReadFile(file, out, kIdentifierLength, &read, nullptr) &&
      read == kIdentifierLength)
    out[kIdentifierLength] = '\0';
  else
    out[0] = '\0';
  CloseHandle(file);
}

// The program's folder + "sounds\wingame.wav".
void SoundPath(wchar_t (&out)[MAX_PATH * 2]) {
  DWORD n = GetModuleFileNameW(nullptr, out, MAX_PATH * 2);
  if (n == 0 || n >= MAX_PATH * 2 - 32) {
    out[0] = L'\0';
    return;
  }
  while (n > 0 && out[n - 1] != L'\\' && out[n - 1] != L'/') --n;
  lstrcpyW(out + n, L"sounds\\wingame.wav");
}

HWND AddChild(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
  HWND child = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w,
                               h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return child;
}

void CreateChildren(HWND window) {
  char trailing[kIdentifierLength + 1];
  ReadTrailingBytes(trailing);
  const bool stamped = IsInstanceIdentifier(std::string_view(trailing));
  AddChild(window, "STATIC", "Instance identifier of this copy:", SS_LEFT, kCaptionId, 16, 16, 360, 18);
  AddChild(window, "STATIC", stamped ? trailing : "This copy carries no instance identifier.", SS_LEFT | SS_NOPREFIX,
           kIdentifierId, 16, 38, 360, 18);
  AddChild(window, "BUTTON", "&Play a sound", BS_PUSHBUTTON | WS_TABSTOP, kPlayId, 16, 76, 110, 26);
  AddChild(window, "BUTTON", "Close", BS_DEFPUSHBUTTON | WS_TABSTOP, IDCANCEL, 266, 76, 110, 26);
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      CreateChildren(window);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kPlayId) {
        wchar_t sound[MAX_PATH * 2];
        SoundPath(sound);
        if (sound[0] == L'\0' || !PlaySoundW(sound, nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT))
          MessageBeep(MB_OK);
      } else if (LOWORD(wParam) == IDCANCEL) {
        DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      PlaySoundW(nullptr, nullptr, 0);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassExA(&wc)) return 1;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT bounds{0, 0, 392, 118};
  AdjustWindowRect(&bounds, style, FALSE);
  HWND window = CreateWindowExA(0, kWindowClass, "Kestamor", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr, nullptr, instance,
                                nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
