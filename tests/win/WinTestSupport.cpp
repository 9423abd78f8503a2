#include "WinTestSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

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

bool XInput(const std::string& args) {
  // Wine cannot start Unix programs, so the test emulator's relay runs xdotool for us: the
  // request goes into its folder and the exit code comes back in "done".
  const char* relay = std::getenv("KESTAMOR_XINPUT");
  if (!relay || !*relay) return false;
  std::string dir = std::string("Z:") + relay;
  for (char& c : dir)
    if (c == '/') c = '\\';
  const std::string request = dir + "\\request", done = dir + "\\done";
  DeleteFileA(done.c_str());
  {
    std::ofstream out(request + ".tmp", std::ios::binary | std::ios::trunc);
    out << args;
  }
  if (!MoveFileExA((request + ".tmp").c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  const bool answered = PumpUntil([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000);
  const std::string code = ReadWholeFile(done);
  DeleteFileA(done.c_str());
  // The window takes in what the X server sent while this thread handles its messages: wait
  // until a few rounds in a row find no input, posted or sent message, or paint left (timers
  // of running fades do not count, they never rest).
  constexpr UINT kWaiting = QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT;
  int quiet = 0;
  PumpUntil([&] { return (quiet = HIWORD(GetQueueStatus(kWaiting)) ? 0 : quiet + 1) >= 3; }, 2000);
  return answered && code.rfind("0", 0) == 0;
}

POINT ScreenCentre(TControl* control) {
  return control->ClientToScreen(POINT{control->Width() / 2, control->Height() / 2});
}

bool XMouseToCentre(TControl* control) {
  const POINT p = ScreenCentre(control);
  return XInput("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y));
}

bool XMouseTo(POINT screen) {
  if (!XInput("mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y))) return false;
  return PumpUntil([&] {
    POINT now;
    return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
  });
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

namespace {
constexpr const char* kSpyProperty = "KestamorTestSpy";
}

MessageSpy::MessageSpy(HWND wnd, Watch before, Watch after)
    : wnd_(wnd), before_(std::move(before)), after_(std::move(after)) {
  SetPropA(wnd_, kSpyProperty, this);
  previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
}

MessageSpy::~MessageSpy() {
  SetWindowLongPtrA(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  RemovePropA(wnd_, kSpyProperty);
}

LRESULT CALLBACK MessageSpy::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<MessageSpy*>(GetPropA(wnd, kSpyProperty));
  if (self->before_) self->before_(msg, wParam, lParam);
  const LRESULT result = CallWindowProcA(self->previous_, wnd, msg, wParam, lParam);
  if (self->after_) self->after_(msg, wParam, lParam);
  return result;
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

MenuWatcher::MenuWatcher(bool close) {
  thread_ = std::thread([this, close] {
    for (int i = 0; i < 400 && !stop_; ++i, Sleep(25)) {
      HWND menuWnd = FindWindowA("#32768", nullptr);
      if (!menuWnd || !IsWindowVisible(menuWnd)) continue;
      auto menu = reinterpret_cast<HMENU>(SendMessageA(menuWnd, MN_GETHMENU, 0, 0));
      for (int k = 0; menu && k < GetMenuItemCount(menu); ++k) {
        char text[256] = {};
        GetMenuStringA(menu, static_cast<UINT>(k), text, sizeof text, MF_BYPOSITION);
        std::string item = (GetMenuState(menu, static_cast<UINT>(k), MF_BYPOSITION) & MF_SEPARATOR) ? "-" : text;
        std::erase(item, '&');
        items_.push_back(item);
      }
      if (close) PostMessageA(menuWnd, WM_KEYDOWN, VK_ESCAPE, 0);
      return;
    }
  });
}

MenuWatcher::~MenuWatcher() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

std::vector<std::string> MenuWatcher::Items() {
  if (thread_.joinable()) thread_.join();
  return items_;
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

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

GuiObjectCount GuiObjects() {
  return {gui_count::CountGdiObjects(GetCurrentProcess()),
          gui_count::CountWindows(GetCurrentProcessId(), GetCurrentThreadId())};
}

void ExpectNoObjectsLeft(const std::function<void(int)>& cycles, int warmUp, int count) {
  const GuiObjectCount start = GuiObjects();
  ASSERT_GT(start.Gdi, 0) << "the GDI count reads nothing";
  ASSERT_GT(start.Windows, 0) << "the window count reads nothing";
  cycles(warmUp);
  const GuiObjectCount warm = GuiObjects();
  cycles(count);
  const GuiObjectCount end = GuiObjects();
  const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
  std::printf("objects of %s: GDI %ld, %ld after %d warm-up cycles, %ld after %d more; windows %ld, %ld, %ld\n",
              name.c_str(), start.Gdi, warm.Gdi, warmUp, end.Gdi, count, start.Windows, warm.Windows, end.Windows);
  EXPECT_EQ(end.Gdi, warm.Gdi) << "GDI objects";
  EXPECT_EQ(end.Windows, warm.Windows) << "windows";
}
