#include "WinTestSupport.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "image/PngWrite.h"
#include "skin/render/sGraphUtils.h"

namespace {
constexpr char kKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kValue[] = "ProgramFilesDir";

UniqueKey OpenKey() {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return UniqueKey(key);
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
  UniqueKey key = OpenKey();
  DWORD size = 0;
  if (key && RegQueryValueExA(key.get(), kValue, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
    data_.resize(size);
    RegQueryValueExA(key.get(), kValue, nullptr, &type_, data_.data(), &size);
    hadValue_ = true;
  }
}

ProgramFilesDirOverride::~ProgramFilesDirOverride() {
  if (hadValue_)
    Write(type_, data_.data(), static_cast<DWORD>(data_.size()));
  else
    Delete();
}

void ProgramFilesDirOverride::Write(DWORD type, const void* data, DWORD size) {
  if (UniqueKey key = OpenKey()) RegSetValueExA(key.get(), kValue, 0, type, static_cast<const BYTE*>(data), size);
}

void ProgramFilesDirOverride::SetString(const std::string& value, DWORD type) {
  Write(type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void ProgramFilesDirOverride::SetDword(DWORD value) { Write(REG_DWORD, &value, sizeof value); }

void ProgramFilesDirOverride::Delete() {
  if (UniqueKey key = OpenKey()) RegDeleteValueA(key.get(), kValue);
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
  const std::string path = std::string(dir) + "/" + name + ".png";
  return SavePng(CaptureScreen(r), path, false) ? path : std::string();
}

Bitmap32 CaptureScreen(const RECT& r) {
  TBitmap shot(r.right - r.left, r.bottom - r.top, true);
  {
    WindowDC screen(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen.get(), r.left, r.top, SRCCOPY);
  }
  const Bitmap32 view = shot.View();
  Bitmap32 copy(view.Width(), view.Height());
  CopyRect32(copy, 0, 0, view, TsRect{0, 0, view.Width(), view.Height()});
  return copy;
}

bool RunXdotool(const std::string& args) {
  // Wine starts Unix programs itself but gives no handle to wait on: the shell leaves a mark
  // when xdotool is done.
  static int serial = 0;
  const std::string mark = "/tmp/kestamor-xdo-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(++serial);
  std::string dosMark = "Z:" + mark;
  for (char& c : dosMark)
    if (c == '/') c = '\\';
  std::string command = "Z:\\bin\\sh -c \"/usr/bin/xdotool " + args + "; : > " + mark + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  const bool done = PumpUntil([&] { return GetFileAttributesA(dosMark.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
  DeleteFileA(dosMark.c_str());
  return done;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
