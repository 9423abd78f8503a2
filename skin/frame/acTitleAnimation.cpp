#include "skin/frame/acTitleAnimation.h"

#include <algorithm>

#include "skin/render/acGlow.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sStateImage.h"

namespace {

constexpr char kClassName[] = "TacSBAnimation";
constexpr UINT_PTR kTimerId = 1;

}  // namespace

TacSBAnimation::TacSBAnimation(HWND form, std::function<void()> onLeave) : form_(form), onLeave_(std::move(onLeave)) {}

TacSBAnimation::~TacSBAnimation() { Free(); }

void TacSBAnimation::ChangeState(int state, const TsMaskData& image, const TsRect& rect, TacButtonGlow glow) {
  rect_ = rect;
  const int previous = state_;
  state_ = state;
  if (state == 0) {
    // Out from wherever the fade-in had got to.
    fadingIn_ = false;
    if (!wnd_ || previous <= 0) {
      Free();
      state_ = -1;
      return;
    }
    steps_ = kFadeSteps;
    step_ = std::clamp(lastAlpha_ / (255 / kFadeSteps), 1, kFadeSteps);
  } else {
    MakePicture(image, glow);
    if (!wnd_ && !MakeWindow()) return;
    fadingIn_ = true;
    if (state == 2) {
      steps_ = 1;
      step_ = 1;
      showFull_ = true;
    } else {
      steps_ = kFadeSteps;
      step_ = 1;
      Show(std::min(step_ * (255 / steps_), 255));
      step_ = 2;
    }
  }
  if (!timer_) timer_ = SetTimer(wnd_, kTimerId, kInterval, nullptr) != 0;
}

void TacSBAnimation::Tick() {
  const int alphaStep = 255 / std::max(steps_, 1);
  if (fadingIn_) {
    if (showFull_) {
      showFull_ = false;
      Show(255);
      step_ = steps_ + 1;
      return;
    }
    // Every step's alpha up to the last (250 of ten), then fully opaque once.
    if (step_ <= steps_) {
      Show(std::min(alphaStep * step_, 255));
      ++step_;
      return;
    }
    if (step_ == steps_ + 1) {
      Show(255);
      ++step_;
      return;
    }
    // Fully shown: only the cursor is watched now.
    POINT cursor;
    RECT wr;
    if (state_ == 1 && GetCursorPos(&cursor) && GetWindowRect(form_, &wr)) {
      const LONG x = cursor.x - wr.left, y = cursor.y - wr.top;
      if (x < rect_.Left || x >= rect_.Right || y < rect_.Top || y >= rect_.Bottom) {
        Stop();
        if (onLeave_) onLeave_();  // may change this animation's state
      }
    }
    return;
  }
  if (step_ <= 0) {
    Free();
    state_ = -1;
    return;
  }
  Show(std::min(alphaStep * step_, 255));
  --step_;
}

void TacSBAnimation::MakePicture(const TsMaskData& image, TacButtonGlow glow) {
  offset_ = TsPoint{};
  if (state_ == 1 && glow.Image) {
    const Bitmap32 picture = GlowImagePicture(*glow.Image);
    if (!picture.Empty()) {
      picture_.SetTopDown(true);
      picture_.SetSize(picture.Width(), picture.Height());
      Bitmap32 view = picture_.View();
      CopyRect32(view, 0, 0, picture, TsRect{0, 0, picture.Width(), picture.Height()});
      offset_ = GlowPictureOffset(glow.Margin, picture.Width(), picture.Height(), rect_.Width(), rect_.Height());
      return;
    }
  }
  const int w = rect_.Width(), h = rect_.Height();
  picture_.SetTopDown(true);
  picture_.SetSize(w, h);
  if (picture_.Empty()) return;
  Bitmap32 view = picture_.View();
  const Pixel32 key{255, 0, 255, 255};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) view.At(x, y) = key;
  PaintStateImage(view, TsPoint{0, 0}, state_, MakeBgInfo(&view, 0, 0), image, 1);
  // What the image left key-coloured is transparent; the rest opaque (premultiplied alike).
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Pixel32& p = view.At(x, y);
      if (p.R == 255 && p.G == 0 && p.B == 255)
        p = Pixel32{0, 0, 0, 0};
      else
        p.A = 255;
    }
}

bool TacSBAnimation::MakeWindow() {
  if (!acLayered().Update || !IsWindow(form_)) return false;
  const bool topmost = (GetWindowLongPtrA(form_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  wnd_ = CreateLayeredPopup(kClassName, &TacSBAnimation::WndProc, form_, topmost);
  if (!wnd_) return false;
  SetWindowLongPtrA(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

void TacSBAnimation::Show(int alpha) {
  if (!wnd_ || picture_.Empty()) return;
  lastAlpha_ = alpha;
  RECT wr;
  GetWindowRect(form_, &wr);
  UpdateLayeredPicture(wnd_, POINT{wr.left + rect_.Left + offset_.X, wr.top + rect_.Top + offset_.Y}, picture_, alpha);
  if (!IsWindowVisible(wnd_)) {
    SetWindowPos(wnd_, acTopPlaceOver(form_), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(wnd_, SW_SHOWNOACTIVATE);
  }
}

void TacSBAnimation::Stop() {
  if (timer_ && wnd_) KillTimer(wnd_, kTimerId);
  timer_ = false;
}

void TacSBAnimation::Free() {
  Stop();
  if (wnd_) {
    SetWindowLongPtrA(wnd_, GWLP_USERDATA, 0);
    DestroyWindow(wnd_);
  }
  wnd_ = nullptr;
  picture_.SetSize(0, 0);
}

LRESULT CALLBACK TacSBAnimation::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER && wParam == kTimerId) {
    if (auto* self = reinterpret_cast<TacSBAnimation*>(GetWindowLongPtrA(wnd, GWLP_USERDATA))) self->Tick();
    return 0;
  }
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  return DefWindowProcA(wnd, msg, wParam, lParam);
}
