// Counts what a process holds of the window system: its GDI objects and its windows (top-level
// ones with all their children). Header-only, so that the Windows tests count their own process
// and wininfo.exe counts the installer's from outside with the same code.
//
// Wine's GetGuiResources answers 0 for every process, so where it does the GDI count is read from
// the process's shared GDI handle table, which the PEB points to: 0x10000 entries of 24 bytes,
// whose byte 14 is the object's type (0 for a free entry). Real Windows keeps that table empty
// and answers GetGuiResources instead.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace gui_count {

struct GuiObjectCount {
  long Gdi = 0;
  long Windows = 0;
  bool operator==(const GuiObjectCount&) const = default;
};

namespace detail {

struct BasicInformation {  // PROCESS_BASIC_INFORMATION
  LONG_PTR ExitStatus;
  void* PebBaseAddress;
  ULONG_PTR AffinityMask, BasePriority, UniqueProcessId, InheritedFromUniqueProcessId;
};
using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

constexpr size_t kTableEntries = 0x10000, kEntrySize = 24, kTypeOffset = 14;
constexpr size_t kTableInPeb = sizeof(void*) == 8 ? 0xF8 : 0x94;

// -1 when the table cannot be read.
inline long CountTableEntries(HANDLE process) {
  auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  BasicInformation info{};
  if (!query || query(process, 0, &info, sizeof info, nullptr) != 0) return -1;
  void* table = nullptr;
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, static_cast<BYTE*>(info.PebBaseAddress) + kTableInPeb, &table, sizeof table, &got) ||
      !table)
    return -1;
  std::vector<BYTE> entries(kTableEntries * kEntrySize);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &got)) return -1;
  long live = 0;
  for (size_t i = 0; i < kTableEntries; ++i) live += entries[i * kEntrySize + kTypeOffset] != 0;
  return live;
}

struct WindowQuery {
  DWORD process, thread;
  long count = 0;
};

inline BOOL CALLBACK CountChild(HWND, LPARAM param) {
  ++reinterpret_cast<WindowQuery*>(param)->count;
  return TRUE;
}

inline BOOL CALLBACK CountTopLevel(HWND wnd, LPARAM param) {
  auto* q = reinterpret_cast<WindowQuery*>(param);
  DWORD process = 0;
  const DWORD thread = GetWindowThreadProcessId(wnd, &process);
  if (process != q->process || (q->thread && thread != q->thread)) return TRUE;
  ++q->count;
  EnumChildWindows(wnd, CountChild, param);  // all descendants, not only direct children
  return TRUE;
}

}  // namespace detail

// The process's GDI objects; -1 when neither source answers.
inline long CountGdiObjects(HANDLE process) {
  if (const DWORD n = GetGuiResources(process, GR_GDIOBJECTS)) return static_cast<long>(n);
  return detail::CountTableEntries(process);
}

// The windows of a process (of one of its threads when `threadId` is not 0), children included.
inline long CountWindows(DWORD processId, DWORD threadId = 0) {
  detail::WindowQuery q{processId, threadId};
  EnumWindows(detail::CountTopLevel, reinterpret_cast<LPARAM>(&q));
  return q.count;
}

}  // namespace gui_count
