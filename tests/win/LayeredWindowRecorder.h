// Records what the skin engine hands the layered-window function: without a compositor the
// screen cannot show a layered window's alpha, so tests read it here. The recorder is injected
// in the engine's place while it lives and hands every call on to the function it replaced.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Graphics.h"
#include "image/Bitmap32.h"
#include "skin/render/acLayered_win.h"
#include "skin/render/sGraphUtils.h"

// One picture shown: which window, where, how large, how opaque, and the picture itself.
struct LayeredShow {
  HWND Wnd;
  POINT Pos;
  SIZE Size;
  int Alpha;
  Bitmap32 Picture;
};

class LayeredWindowRecorder {
 public:
  LayeredWindowRecorder() : injection_(acLayered().Update ? &Record : nullptr) {
    Real() = injection_.Replaced();
    Shows().clear();
  }
  LayeredWindowRecorder(const LayeredWindowRecorder&) = delete;
  LayeredWindowRecorder& operator=(const LayeredWindowRecorder&) = delete;

  // False where the system has no layered windows.
  bool Installed() const { return Real() != nullptr; }
  static std::vector<LayeredShow>& Shows() {
    static std::vector<LayeredShow> shows;
    return shows;
  }
  static const LayeredShow* LastShowOf(HWND wnd) {
    const auto& shows = Shows();
    for (auto it = shows.rbegin(); it != shows.rend(); ++it)
      if (it->Wnd == wnd) return &*it;
    return nullptr;
  }
  static std::vector<int> AlphasOf(HWND wnd) {
    std::vector<int> alphas;
    for (const LayeredShow& s : Shows())
      if (s.Wnd == wnd) alphas.push_back(s.Alpha);
    return alphas;
  }

 private:
  // A 32-bit copy keeps the alpha bytes as they are.
  static Bitmap32 PictureIn(HDC dc, SIZE size) {
    if (!dc || size.cx <= 0 || size.cy <= 0) return Bitmap32();
    TBitmap copy(size.cx, size.cy, true);
    BitBlt(copy.Canvas().Handle(), 0, 0, size.cx, size.cy, dc, 0, 0, SRCCOPY);
    const Bitmap32 view = copy.View();
    Bitmap32 picture(size.cx, size.cy);
    CopyRect32(picture, 0, 0, view, TsRect{0, 0, size.cx, size.cy});
    return picture;
  }
  static BOOL WINAPI Record(HWND wnd, HDC dst, POINT* pos, SIZE* size, HDC src, POINT* srcPos, COLORREF key,
                           BLENDFUNCTION* blend, DWORD flags) {
    const SIZE s = size ? *size : SIZE{};
    Shows().push_back(
        LayeredShow{wnd, pos ? *pos : POINT{}, s, blend ? blend->SourceConstantAlpha : -1, PictureIn(src, s)});
    return Real()(wnd, dst, pos, size, src, srcPos, key, blend, flags);
  }
  static TUpdateLayeredWindow& Real() {
    static TUpdateLayeredWindow real = nullptr;
    return real;
  }

  TacLayeredInjection injection_;
};
