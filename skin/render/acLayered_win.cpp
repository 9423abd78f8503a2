#include "skin/render/acLayered_win.h"

#include <utility>

#include "framework/Handles.h"
#include "skin/data/acEngine.h"

namespace {

template <class F>
F ProcByName(HMODULE module, const char* name) {
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

bool acCompositionEnabled() {
  using TDwmIsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);
  HMODULE dwm = LoadLibraryA("dwmapi.dll");
  auto enabled = ProcByName<TDwmIsCompositionEnabled>(dwm, "DwmIsCompositionEnabled");
  BOOL on = FALSE;
  const bool result = enabled && SUCCEEDED(enabled(&on)) && on;
  if (dwm) FreeLibrary(dwm);
  return result;
}

bool acIsWow64(HANDLE process) {
  using TIsWow64Process = BOOL(WINAPI*)(HANDLE, BOOL*);
  auto isWow64 = ProcByName<TIsWow64Process>(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
  BOOL wow64 = FALSE;
  return isWow64 && isWow64(process, &wow64) && wow64;
}

namespace {

bool PlatformSwitchesGlowingOff() { return acIsWow64(GetCurrentProcess()) && !acCompositionEnabled(); }

}  // namespace

TacLayeredFunctions::TacLayeredFunctions()
    : Update(ProcByName<TUpdateLayeredWindow>(GetModuleHandleA("user32.dll"), "UpdateLayeredWindow")),
      SetAttributes(ProcByName<TSetLayeredWindowAttributes>(GetModuleHandleA("user32.dll"), "SetLayeredWindowAttributes")),
      GlowingOffForPlatform(PlatformSwitchesGlowingOff()) {}

const TacLayeredFunctions& acLayered() { return acEngine().Part<TacLayeredFunctions>(); }

TacLayeredInjection::TacLayeredInjection(TUpdateLayeredWindow update)
    : replaced_(std::exchange(acEngine().Part<TacLayeredFunctions>().Update, update)) {}

TacLayeredInjection::~TacLayeredInjection() { acEngine().Part<TacLayeredFunctions>().Update = replaced_; }

HWND CreateLayeredPopup(const char* className, WNDPROC proc, HWND owner, bool topmost) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA existing;
  if (!GetClassInfoA(instance, className, &existing)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    if (!RegisterClassA(&wc)) return nullptr;
  }
  return CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE |
                             (topmost ? WS_EX_TOPMOST : 0),
                         className, "", WS_POPUP, 0, 0, 0, 0, owner, nullptr, instance, nullptr);
}

HWND acTopPlaceOver(HWND wnd) {
  return wnd && (GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_TOP;
}

void UpdateLayeredPicture(HWND wnd, POINT pos, TBitmap& picture, int alpha) {
  const TUpdateLayeredWindow update = acLayered().Update;
  if (!update || !wnd || picture.Empty()) return;
  SIZE size{picture.Width(), picture.Height()};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
  WindowDC screen(nullptr);
  update(wnd, screen.get(), &pos, &size, picture.Canvas().Handle(), &origin, 0, &blend, ULW_ALPHA);
}
