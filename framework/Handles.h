// RAII owners for Windows handles.
#pragma once

#include "framework/Messages.h"

#include <utility>

// Owns one handle and releases it with Deleter(handle) unless it is the null value.
template <class H, class Deleter>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, H{}));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  H get() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }
  H release() { return std::exchange(h_, H{}); }
  void reset(H h = H{}) {
    if (h_ != H{}) Deleter{}(h_);
    h_ = h;
  }

 private:
  H h_{};
};

struct GdiDeleter { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct DcDeleter { void operator()(HDC h) const { DeleteDC(h); } };
struct IconDeleter { void operator()(HICON h) const { DestroyIcon(h); } };
struct KeyDeleter { void operator()(HKEY h) const { RegCloseKey(h); } };
struct KernelDeleter { void operator()(HANDLE h) const { CloseHandle(h); } };
struct RegionDeleter { void operator()(HRGN h) const { DeleteObject(h); } };
struct FindDeleter { void operator()(HANDLE h) const { FindClose(h); } };

using UniqueFont = UniqueHandle<HFONT, GdiDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiDeleter>;
using UniquePen = UniqueHandle<HPEN, GdiDeleter>;
using UniqueBitmapHandle = UniqueHandle<HBITMAP, GdiDeleter>;
using UniqueRegion = UniqueHandle<HRGN, RegionDeleter>;
using UniqueDC = UniqueHandle<HDC, DcDeleter>;       // from CreateCompatibleDC
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueKey = UniqueHandle<HKEY, KeyDeleter>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelDeleter>;
using UniqueFind = UniqueHandle<HANDLE, FindDeleter>;  // from FindFirstFile (check for INVALID_HANDLE_VALUE first)

// A window's client-area device context from GetDC (the screen's for nullptr), given back
// with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() { if (dc_) ReleaseDC(wnd_, dc_); }
  HDC get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

// A window's whole-window device context (frame included) from GetWindowDC, given back with
// ReleaseDC; a DC the caller already has is used as it is and left alone.
class FrameDC {
 public:
  explicit FrameDC(HWND wnd, HDC given = nullptr)
      : wnd_(wnd), dc_(given ? given : GetWindowDC(wnd)), owned_(given == nullptr) {}
  FrameDC(const FrameDC&) = delete;
  FrameDC& operator=(const FrameDC&) = delete;
  ~FrameDC() { if (owned_ && dc_) ReleaseDC(wnd_, dc_); }
  HDC get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
  bool owned_;
};

// BeginPaint / EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND wnd) : wnd_(wnd) { dc_ = BeginPaint(wnd, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(wnd_, &ps_); }
  HDC get() const { return dc_; }
  const PAINTSTRUCT& ps() const { return ps_; }

 private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// SaveDC / RestoreDC around a drawing step.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;
  ~SavedDC() { if (id_) RestoreDC(dc_, id_); }

 private:
  HDC dc_;
  int id_;
};

// Selects a GDI object into a DC and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { if (old_) SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};
