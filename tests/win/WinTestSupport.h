// Support for the Windows tests: message pumping, clicks through Windows
// messages, registry values set for one test, message boxes answered from a
// watcher thread, and screenshots of a window as PNG files.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "GuiObjectCount.h"
#include "framework/Forms.h"
#include "image/Bitmap32.h"

// Handles every waiting message a few times over, so that posted follow-ups run too.
void Pump(int rounds = 5);

// Handles messages until cond() holds; false when ms pass first.
template <class Cond>
bool PumpUntil(Cond cond, int ms = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!cond()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Application->ProcessMessages();
    Sleep(5);
  }
  return true;
}

// The window's class name.
std::string WindowClass(HWND wnd);

// A press and release of the left button, as the control's window receives it.
void Click(TWinControl* control);

// Runs xdotool with `args` on the X display (through the test emulator's relay), as a person's
// mouse and keys would arrive, handling this thread's messages meanwhile. False when it failed.
bool XInput(const std::string& args);
// The centre of a control on the screen (Windows screen coordinates are X coordinates).
POINT ScreenCentre(TControl* control);
// Moves the mouse (from the X side) to the centre of a control.
bool XMouseToCentre(TControl* control);
// Moves the mouse (from the X side) to a screen point and waits until Windows has it there.
bool XMouseTo(POINT screen);

// Sets (or deletes) HKLM ...\CurrentVersion "ProgramFilesDir" and puts the
// original value back when it goes out of scope.
class ProgramFilesDirOverride {
 public:
  ProgramFilesDirOverride();
  ~ProgramFilesDirOverride();
  ProgramFilesDirOverride(const ProgramFilesDirOverride&) = delete;
  ProgramFilesDirOverride& operator=(const ProgramFilesDirOverride&) = delete;

  void SetString(const std::string& value, DWORD type = REG_SZ);
  void SetDword(DWORD value);
  void Delete();

 private:
  void Write(DWORD type, const void* data, DWORD size);
  bool hadValue_ = false;
  DWORD type_ = 0;
  std::vector<BYTE> data_;
};

// Lets a test watch a window's messages: `before` sees each one before the window handles it,
// `after` once it has. One spy per window at a time; the window's procedure is given back when
// the spy goes.
class MessageSpy {
 public:
  using Watch = std::function<void(UINT msg, WPARAM wParam, LPARAM lParam)>;
  MessageSpy(HWND wnd, Watch before, Watch after = {});
  ~MessageSpy();
  MessageSpy(const MessageSpy&) = delete;
  MessageSpy& operator=(const MessageSpy&) = delete;

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND wnd_;
  Watch before_, after_;
  WNDPROC previous_ = nullptr;
};

// Waits on its own thread for a message box (dialog class "#32770") with the
// given caption, remembers its text and presses its first button.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(std::string caption);
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // The text of the box once it has been answered (joins the thread).
  std::optional<std::string> Text();

 private:
  std::string caption_;
  std::optional<std::string> text_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Waits on its own thread for a popup menu, reads its items ("-" for a separator, without
// the "&" marks) and closes it with Escape, or leaves it to the test's own keys.
class MenuWatcher {
 public:
  explicit MenuWatcher(bool close = true);
  ~MenuWatcher();
  MenuWatcher(const MenuWatcher&) = delete;
  MenuWatcher& operator=(const MenuWatcher&) = delete;
  // The items of the menu that opened (joins the thread); empty when none did.
  std::vector<std::string> Items();

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::string> items_;
  std::thread thread_;
};

// The whole file's bytes; "" when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);

// What the screen shows inside r (screen coordinates), as a bitmap of its own.
Bitmap32 CaptureScreen(const RECT& r);

// Saves what the screen shows of the window as <KESTAMOR_SCREENSHOTS>/<name>.png.
// Returns the path, or "" when screenshots are not asked for.
std::string SaveWindowScreenshot(HWND window, const std::string& name);

using gui_count::GuiObjectCount;
// The process's GDI objects and this thread's windows with their children.
GuiObjectCount GuiObjects();

// Reads the counts, runs `cycles(warmUp)` (what is made on first use may stay), reads them again,
// runs `cycles(count)`, which must leave them where the warm-up did, and prints all three.
void ExpectNoObjectsLeft(const std::function<void(int)>& cycles, int warmUp, int count);
