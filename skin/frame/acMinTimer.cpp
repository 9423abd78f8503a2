#include "skin/frame/acMinTimer.h"

#include <commctrl.h>

#include <cstdint>
#include <cstring>

#include "framework/Handles.h"
#include "skin/render/acLayered_win.h"
#include "skin/render/sGraphUtils.h"

// ---- The system's minimize animation ----------------------------------------------------------

TacSystemAnimationOff::TacSystemAnimationOff() {
  if (acCompositionEnabled()) return;
  ANIMATIONINFO info{sizeof info, 0};
  if (!SystemParametersInfoA(SPI_GETANIMATION, sizeof info, &info, 0)) return;
  previous_ = info.iMinAnimate;
  if (previous_ == 0) return;
  info.iMinAnimate = 0;
  restore_ = SystemParametersInfoA(SPI_SETANIMATION, sizeof info, &info, 0) != FALSE;
}

TacSystemAnimationOff::~TacSystemAnimationOff() {
  if (!restore_) return;
  ANIMATIONINFO info{sizeof info, previous_};
  SystemParametersInfoA(SPI_SETANIMATION, sizeof info, &info, 0);
}

// ---- The taskbar ----------------------------------------------------------------------------

namespace {

// Memory lent by another process, given back when done.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, SIZE_T size)
      : process_(process), at_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* Address() const { return at_; }
  bool Read(const void* from, void* into, SIZE_T size) const {
    SIZE_T read = 0;
    return ReadProcessMemory(process_, from, into, size, &read) && read == size;
  }

 private:
  HANDLE process_;
  void* at_;
};

}  // namespace

HWND acTaskbarWindow() { return FindWindowA("Shell_TrayWnd", nullptr); }

bool acFindTaskbarButton(HWND tray, HWND app, RECT& button) {
  HWND rebar = tray ? FindWindowExA(tray, nullptr, "ReBarWindow32", nullptr) : nullptr;
  HWND tasks = rebar ? FindWindowExA(rebar, nullptr, "MSTaskSwWClass", nullptr) : nullptr;
  HWND toolbar = tasks ? FindWindowExA(tasks, nullptr, "ToolbarWindow32", nullptr) : nullptr;
  if (!toolbar) return false;
  const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
  DWORD pid = 0;
  GetWindowThreadProcessId(toolbar, &pid);
  UniqueKernelHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, pid));
  if (!process) return false;
  RemoteBuffer buffer(process.get(), 4096);
  if (!buffer.Address()) return false;
  // The toolbar writes its button record in its own process's layout: 20 bytes with a 4-byte
  // data word at 12 in a 32-bit taskbar, 32 bytes with an 8-byte word at 16 in a 64-bit one.
  const bool selfWow64 = acIsWow64(GetCurrentProcess());
  const bool taskbar64 = sizeof(void*) == 8 ? !acIsWow64(process.get()) : selfWow64 && !acIsWow64(process.get());
  const size_t dataAt = taskbar64 ? 16 : 12;
  for (int i = 0; i < count; ++i) {
    uint8_t record[32] = {};
    if (!SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(buffer.Address()))) continue;
    if (!buffer.Read(buffer.Address(), record, taskbar64 ? 32 : 20)) continue;
    const uint8_t state = record[8], style = record[9];
    if ((state & TBSTATE_HIDDEN) || (style & BTNS_SEP)) continue;
    uint64_t data = 0;
    std::memcpy(&data, record + dataAt, taskbar64 ? 8 : 4);
    uint32_t owner = 0;  // window handles carry 32 significant bits in either layout
    if (!data || !buffer.Read(reinterpret_cast<const void*>(static_cast<uintptr_t>(data)), &owner, sizeof owner))
      continue;
    if (owner != static_cast<uint32_t>(reinterpret_cast<uintptr_t>(app))) continue;
    RECT r{};
    if (!SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(buffer.Address())) ||
        !buffer.Read(buffer.Address(), &r, sizeof r))
      return false;
    RECT at;
    GetWindowRect(toolbar, &at);
    OffsetRect(&r, at.left, at.top);
    button = r;
    return true;
  }
  return false;
}

TsRect acMinimizeTarget(HWND app, TsPoint startCentre) {
  HWND tray = acTaskbarWindow();
  if (!tray) return TsRect{};
  RECT r;
  if (!acCompositionEnabled() && acFindTaskbarButton(tray, app, r)) return TsRect{r.left, r.top, r.right, r.bottom};
  GetWindowRect(tray, &r);
  return acTaskbarEdgeTarget(TsRect{r.left, r.top, r.right, r.bottom}, startCentre);
}

// ---- The timer -------------------------------------------------------------------------------

namespace {

constexpr UINT_PTR kMinTimerId = 0xAC11;
constexpr const char* kTimerProp = "acMinTimer";

}  // namespace

TacMinTimer::TacMinTimer(HWND form, Landings landings) : landings_(std::move(landings)), form_(form) {}

TacMinTimer::~TacMinTimer() { Stop(); }

void TacMinTimer::Init(unsigned time) {
  RECT wr;
  GetWindowRect(form_, &wr);
  tray_ = acTaskbarWindow();
  const HWND app = form_;
  flight_.Init(time, 255, TsRect{wr.left, wr.top, wr.right, wr.bottom},
               [app](TsPoint centre) { return acMinimizeTarget(app, centre); });
  const TsRect& start = flight_.StartRect();
  work_.SetSize(start.Right - start.Left, start.Bottom - start.Top);
  Stop();
  window_ = std::make_unique<TacEffectWindow>(nullptr);  // unowned: it stays while the form is minimized
}

void TacMinTimer::TakePicture() {
  acSnapshotWindow(form_, picture_);
  ShowFinalPicture();
}

void TacMinTimer::ShowFinalPicture() {
  if (!window_) return;
  const TsRect& start = flight_.StartRect();
  window_->Show(picture_, POINT{start.Left, start.Top}, flight_.RestoreAlpha());
  SetWindowPos(window_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TacMinTimer::Start() {
  if (!window_ || !window_->Handle()) return;
  SetPropA(window_->Handle(), kTimerProp, this);
  running_ = SetTimer(window_->Handle(), kMinTimerId, TacMinFlight::kInterval, &TimerProc) != 0;
}

void TacMinTimer::Stop() {
  if (running_ && window_ && window_->Handle()) KillTimer(window_->Handle(), kMinTimerId);
  running_ = false;
}

VOID CALLBACK TacMinTimer::TimerProc(HWND wnd, UINT, UINT_PTR, DWORD) {
  if (auto* timer = static_cast<TacMinTimer*>(GetPropA(wnd, kTimerProp))) timer->Tick();
}

void TacMinTimer::Tick() {
  if (ticking_ || !running_) return;  // a tick still under way (or a late one after the stop)
  if (!window_) {
    Stop();
    return;
  }
  ticking_ = true;
  const bool outward = !flight_.Minimized;
  const TacFlightFrame frame = flight_.Step();
  switch (frame.What) {
    case TacFlightFrame::Shown: {
      Bitmap32 work = work_.View();
      if (outward) work.Fill(Pixel32{});
      if (frame.Width > 0 && frame.Height > 0)
        StretchRect32(work,
                      TsRect{frame.OffsetX, frame.OffsetY, frame.OffsetX + frame.Width, frame.OffsetY + frame.Height},
                      picture_.View(), TsRect{0, 0, picture_.Width(), picture_.Height()});
      window_->Show(work_, POINT{frame.At.X, frame.At.Y}, frame.Alpha);
      // Under the taskbar, so that the picture disappears behind it.
      if (tray_ && IsWindow(tray_))
        SetWindowPos(window_->Handle(), tray_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    }
    case TacFlightFrame::Arrived:
      Stop();
      ShowWindow(window_->Handle(), SW_HIDE);
      landings_.Arrived();
      break;
    case TacFlightFrame::Returned:
      Stop();
      ShowFinalPicture();
      ticking_ = false;
      landings_.Returned();  // frees the window
      return;
  }
  ticking_ = false;
}
