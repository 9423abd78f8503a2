// Showing and hiding a skinned form: the user sees a finished picture of the form in an
// effect window of its own (faded and zoomed in over the set time, or swapped in at once),
// while the real window is shown and painted behind it; a hidden form's last picture fades out.
#include <algorithm>
#include <memory>
#include <vector>

#include "framework/Handles.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/frame/acFormEffects.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/render/acGlow_win.h"
#include "skin/render/sGraphUtils.h"

namespace {

constexpr unsigned kStepInterval = 12;

// The window region as it is, for a window that shows the same outline.
void CopyRegion(HWND from, HWND to) {
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(from, region.get()) != ERROR && SetWindowRgn(to, region.get(), FALSE)) region.release();  // the window's now
}

}  // namespace

void TsSkinProvider::ShowingChanged(TMessage& m) {
  const bool aboutToShow = form_->Visible() && !form_->Showing();
  TsSkinManager* manager = skinData_->Manager();
  if (!aboutToShow || !drawNonClientArea_ || !form_->HandleAllocated() || !manager) {
    formProc_(m);
    return;
  }
  life_.Apply(TsFormEvent::ShowNotice);
  AdaptControls();
  const HWND wnd = form_->Handle();
  const bool used = !form_->Parent() && manager->AnimEffects.FormShow.Active && wnd != acPreviewWindow() &&
                    acLayered().Update && acLayered().SetAttributes;
  if (!used) {
    formProc_(m);
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    return;
  }
  // Windows shows the window while it is all but transparent and its children draw nothing.
  life_.Apply(TsFormEvent::ShowBegin);
  acFadeWindowTo(wnd, 1);
  frame_.ApplyRegion();
  std::vector<HWND> quiet;
  for (HWND c = GetWindow(wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (GetWindowLongPtrA(c, GWL_STYLE) & WS_VISIBLE) {
      SendMessageA(c, WM_SETREDRAW, FALSE, 0);
      quiet.push_back(c);
    }
  const std::shared_ptr<bool> alive = alive_;
  formProc_(m);
  if (!*alive || !IsWindow(wnd)) return;
  for (HWND c : quiet)
    if (IsWindow(c)) SendMessageA(c, WM_SETREDRAW, TRUE, 0);
  // Shown, but painting nothing until the effect has put the picture in front.
  SetWindowLongPtrA(wnd, GWL_STYLE, GetWindowLongPtrA(wnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
  acRemoveLayered(wnd);
  RunShowEffect(manager->AnimEffects.FormShow.Time, 255, manager->AnimEffects.FormShow.Mode);
}

void TsSkinProvider::RunShowEffect(unsigned time, int targetAlpha, int mode) {
  const HWND wnd = form_->Handle();
  acEngine().EffectRunning = true;
  PrepareFrameCache();
  const TBitmap* cache = skinData_->Cache();
  auto reveal = [&] {
    life_.Apply(TsFormEvent::ShowEnd);
    SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);  // WS_VISIBLE again
    acEngine().EffectRunning = false;
    RedrawWindow(wnd, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_UPDATENOW | RDW_ALLCHILDREN);
  };
  if (!cache || cache->Empty()) {
    reveal();
    return;
  }
  TBitmap picture;
  acSnapshotWindow(wnd, picture);
  auto holder = std::make_unique<TacEffectWindow>(wnd);
  TacEffectWindow& effect = *holder;
  if (!effect.Handle() || picture.Empty()) {
    reveal();
    return;
  }
  CopyRegion(wnd, effect.Handle());
  RECT wr;
  GetWindowRect(wnd, &wr);
  const POINT at{wr.left, wr.top};
  const int steps = static_cast<int>(time / kStepInterval);
  effect.Show(picture, at, steps ? 0 : targetAlpha);
  if (steps > 0) {
    const int w = picture.Width(), h = picture.Height();
    TBitmap work(w, h, true);
    int alpha = 0;
    for (int i = 0; i <= steps; ++i) {
      alpha = std::min(targetAlpha, alpha + targetAlpha / steps);
      if (mode == atAero) {
        // From an eighth in on every side out to the whole picture.
        const double inX = w / 8.0 - static_cast<double>(w) / (steps * 8) * i;
        const double inY = h / 8.0 - static_cast<double>(h) / (steps * 8) * i;
        Bitmap32 view = work.View();
        view.Fill(Pixel32{});
        const int l = std::max(0, static_cast<int>(inX)), t = std::max(0, static_cast<int>(inY));
        StretchRect32(view, TsRect{l, t, w - l, h - t}, picture.View(), TsRect{0, 0, w, h});
        effect.Show(work, at, alpha);
      } else {
        effect.Show(picture, at, alpha);
      }
      Sleep(kStepInterval);
    }
  }
  effect.Show(picture, at, targetAlpha);
  SetWindowPos(wnd, effect.Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  reveal();
  holder.reset();  // uncovers the painted window
  if (OnAfterAnimation) OnAfterAnimation(this, aeShowing);
}

void TsSkinProvider::PrepareHide(TMessage& m) {
  TsSkinManager* manager = skinData_->Manager();
  const bool prepare = manager && manager->AnimEffects.FormHide.Active && manager->AnimEffects.FormHide.Time > 0 &&
                       drawNonClientArea_ && life_.State() != TsFormState::Hiding && form_->HandleAllocated();
  if (!prepare) {
    formProc_(m);
    return;
  }
  // The picture is taken while everything is still on screen.
  life_.Apply(TsFormEvent::HideBegin);
  acSnapshotWindow(form_->Handle(), hidePicture_);
  const std::shared_ptr<bool> alive = alive_;
  formProc_(m);
  if (*alive) life_.Apply(TsFormEvent::HideEnd);
}

void TsSkinProvider::WindowPosChanged(TMessage& m) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
  TsSkinManager* manager = skinData_->Manager();
  const bool hiding = pos && (pos->flags & SWP_HIDEWINDOW) && form_->HandleAllocated() && !IsIconic(form_->Handle());
  if (!hiding || !manager || !acLayered().Update || !drawNonClientArea_ || hideFadeRunning_ ||
      !manager->AnimEffects.FormHide.Active || !skinData_->Cache()) {
    formProc_(m);
    return;
  }
  const HWND wnd = form_->Handle();
  const std::shared_ptr<bool> alive = alive_;
  formProc_(m);
  if (!*alive) return;
  hideFadeRunning_ = true;
  StopTitleAnimations();
  HideAllGlows();
  const TacAnimEffect& effect = manager->AnimEffects.FormHide;
  if (effect.Time / kStepInterval > 0) {
    acEngine().EffectRunning = true;
    // A hide that did not pass through closing takes its picture now.
    if (hidePicture_.Empty()) acSnapshotWindow(wnd, hidePicture_);
    auto window = std::make_unique<TacEffectWindow>(nullptr);
    CopyRegion(wnd, window->Handle());
    RECT wr;
    GetWindowRect(wnd, &wr);
    acStartHideFade(std::move(window), hidePicture_, POINT{wr.left, wr.top}, effect.Time, effect.Mode);
    acEngine().EffectRunning = false;
    if (Application && Application->Terminated()) acFinishHideFade();
  }
  hidePicture_.SetSize(0, 0);
  hideFadeRunning_ = false;
}
