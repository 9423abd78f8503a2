#include "WinTestSupport.h"

#include <chrono>
#include <cstdlib>

#include "image/Bitmap32.h"
#include "image/PngWrite.h"

namespace {
constexpr char kKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kValue[] = "ProgramFilesDir";

HKEY OpenKey() {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}
}  // namespace

void Pump(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    Application->ProcessMessages();
    Sleep(10);
  }
}

std::string WindowClass(HWND wnd) {
  char name[256] = {};
  GetClassNameA(wnd, name, sizeof name);
  return name;
}

void Click(TWinControl* control) {
  SendMessageA(control->Handle(), BM_CLICK, 0, 0);
  Pump();
}

ProgramFilesDirOverride::ProgramFilesDirOverride() {
  HKEY key = OpenKey();
  DWORD size = 0;
  if (key && RegQueryValueExA(key, kValue, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
    data_.resize(size);
    RegQueryValueExA(key, kValue, nullptr, &type_, data_.data(), &size);
    hadValue_ = true;
  }
  if (key) RegCloseKey(key);
}

ProgramFilesDirOverride::~ProgramFilesDirOverride() {
  if (hadValue_)
    Write(type_, data_.data(), static_cast<DWORD>(data_.size()));
  else
    Delete();
}

void ProgramFilesDirOverride::Write(DWORD type, const void* data, DWORD size) {
  HKEY key = OpenKey();
  if (!key) return;
  RegSetValueExA(key, kValue, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void ProgramFilesDirOverride::SetString(const std::string& value, DWORD type) {
  Write(type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void ProgramFilesDirOverride::SetDword(DWORD value) { Write(REG_DWORD, &value, sizeof value); }

void ProgramFilesDirOverride::Delete() {
  HKEY key = OpenKey();
  if (!key) return;
  RegDeleteValueA(key, kValue);
  RegCloseKey(key);
}

MessageBoxWatcher::MessageBoxWatcher(std::string caption) : caption_(std::move(caption)) {
  thread_ = std::thread([this] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!stop_ && std::chrono::steady_clock::now() < deadline) {
      HWND box = FindWindowA("#32770", caption_.c_str());
      if (box) {
        // The message text is the box's static control with id 0xFFFF.
        char buf[1024] = {};
        GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
        text_ = buf;
        HWND button = FindWindowExA(box, nullptr, "Button", nullptr);
        if (button)
          PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
        else
          PostMessageA(box, WM_CLOSE, 0, 0);
        return;
      }
      Sleep(50);
    }
  });
}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

std::optional<std::string> MessageBoxWatcher::Text() {
  if (thread_.joinable()) thread_.join();
  return text_;
}

std::string SaveWindowScreenshot(HWND window, const std::string& name) {
  const char* dir = std::getenv("KESTAMOR_SCREENSHOTS");
  if (!dir || !*dir) return {};
  CreateDirectoryA(dir, nullptr);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(10);
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  Bitmap32 view = Bitmap32::View(bits, w, h, static_cast<std::ptrdiff_t>(w) * 4);
  const std::string path = std::string(dir) + "/" + name + ".png";
  const bool ok = SavePng(view, path, false);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok ? path : std::string();
}
